// The whole bitmap encoder on random images with and without alpha, in every encoding, with and
// without dithering, luminance sources, a background and swapped bytes: either the anomaly (more colours
// than a native depth holds) or a payload of the size its header and its layout give, that decodes, whose
// decoded image encodes to itself (every shown colour is one the format holds), and a closed C array.
#include "bitmap/bitmap_layout.h"
#include "bitmap/payload_decoder.h"
#include "fuzz_input.h"

#include <set>

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Input input(data, size);
    const int width = input.byte() % 40;
    const int height = input.byte() % 40;
    // Native depth codes first, then every FT8xx format.
    static constexpr int kCodes[] = {0, 1, 4, 8, 15, 16, -1};
    const std::size_t choice = input.byte() % (std::size(kCodes) + ft8xxFormats().size());
    const std::uint8_t choices = input.byte();
    EncodeOptions options(choices & 1);
    options.luminance = static_cast<LuminanceSource>((choices >> 2) % 3);
    if (choices & 0x10)
        options.background = input.u32() & 0xFFFFFF;
    const bool withAlpha = input.byte() & 1;
    const int colours = input.byte() % 40 + 1;
    std::vector<Rgba> palette;
    for (int i = 0; i < colours; ++i) {
        const std::uint32_t v = input.u32();
        palette.push_back({std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                           withAlpha ? std::uint8_t(v >> 24) : std::uint8_t(255)});
    }
    PixelImage image(width, height);
    std::vector<std::uint8_t> alpha;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgba pixel = palette[input.byte() % palette.size()];
            image.setPixel(x, y, colourOf(pixel));
            if (withAlpha)
                alpha.push_back(pixel.a);
        }

    BitmapEncoding encoding;
    if (choice < std::size(kCodes)) {
        const int code = kCodes[choice];
        encoding = bitmapEncoding(code < 0 ? std::nullopt : std::optional(std::uint8_t(code)), false);
    } else {
        encoding = ft8xxFormats()[choice - std::size(kCodes)];
    }
    options.swapBytes = (choices & 2) && !encoding.ft8xx;
    PixelImageRows rows(image, &alpha);
    const auto payload = BitmapPayload(rows, encoding, options);
    if (encoding.packing == Packing::NativeIndex) {
        std::set<std::uint16_t> distinct;
        for (const Colour c : image.pixels())
            distinct.insert(ToRgb565(c));
        // Translucent pixels composited onto a background are other colours than those given.
        if (!options.background || !withAlpha)
            FUZZ_CHECK(payload.has_value() == (distinct.size() <= std::size_t(encoding.tableEntries)));
        if (!payload)
            return 0;
    }
    FUZZ_CHECK(payload && payload->size() == bitmapPayloadSize(width, height, encoding));
    FUZZ_CHECK((*payload)[1] == encoding.formatCode);
    const auto layout = bitmapLayout(payload->data(), payload->size(), encoding.ft8xx);
    FUZZ_CHECK(layout && layout->dataOffset + std::size_t(height) * layout->stride == payload->size());
    const auto decoded = decodePayload(*payload, encoding.ft8xx, options.swapBytes);
    FUZZ_CHECK(decoded && decoded->image.width() == width && decoded->image.height() == height);
    // Luminance shows grey, whose grey is itself.
    const bool alphaShown = withAlpha && encoding.packing != Packing::Luminance && !options.background;
    PixelImageRows again(decoded->image, alphaShown ? &decoded->alpha : nullptr);
    EncodeOptions same;
    same.swapBytes = options.swapBytes;
    const auto twice =
        decodePayload(*BitmapPayload(again, encoding, same), encoding.ft8xx, options.swapBytes);
    FUZZ_CHECK(twice && twice->image == decoded->image);
    FUZZ_CHECK(twice->alpha == decoded->alpha);
    const std::string text = bitmapCSource(*payload, encoding, encoding.ft8xx, "fuzz_bmp");
    FUZZ_CHECK(text.size() >= 4 && text.compare(text.size() - 4, 4, "};\r\n") == 0);
    return 0;
}
