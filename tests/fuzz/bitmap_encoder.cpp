// The whole bitmap encoder on random images of every depth code, with and without the FT800 option:
// either the payload of exactly 6 + 2 x P + H x R bytes and a closed C array, or the anomaly when the
// image has more colours than its depth holds.
#include "bitmap/bitmap_payload.h"
#include "fuzz_input.h"

#include <set>

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Input input(data, size);
    const int width = input.byte() % 48;
    const int height = input.byte() % 48;
    static constexpr int kCodes[] = {0, 1, 4, 8, 15, 16, -1};
    const int code = kCodes[input.byte() % 7];
    const bool ft800 = input.byte() & 1;
    const int colours = input.byte() % 24 + 1;
    std::vector<Colour> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back(input.u32() & 0xFFFFFF);
    PixelImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, palette[input.byte() % palette.size()]);

    const std::optional<std::uint8_t> bits =
        code < 0 ? std::nullopt : std::optional<std::uint8_t>(static_cast<std::uint8_t>(code));
    const BitmapEncoding encoding = bitmapEncoding(bits, ft800);
    const int depth = encoding.depth;
    FUZZ_CHECK(depth == 1 || depth == 4 || depth == 8 || depth == 16);
    FUZZ_CHECK(!ft800 || (depth == 16 && encoding.formatCode == 7));

    std::set<std::uint16_t> distinct;
    for (const Colour c : image.pixels())
        distinct.insert(ToRgb565(c));
    const auto payload = BitmapPayload(image, encoding);
    if (depth != 16 && distinct.size() > (std::size_t(1) << depth)) {
        FUZZ_CHECK(!payload);
        return 0;
    }
    FUZZ_CHECK(payload.has_value());
    const std::size_t tableEntries = depth == 16 ? 0 : std::size_t(1) << depth;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t rowBytes = depth == 1 ? (w + 7) / 8 : depth == 4 ? (w + 1) / 2 : depth == 8 ? w : 2 * w;
    FUZZ_CHECK(payload->size() == 6 + 2 * tableEntries + static_cast<std::size_t>(height) * rowBytes);
    FUZZ_CHECK((*payload)[1] == encoding.formatCode);
    FUZZ_CHECK(((*payload)[2] | (*payload)[3] << 8) == height &&
               ((*payload)[4] | (*payload)[5] << 8) == width);
    const std::string text = bitmapCSource(*payload, encoding, ft800, "fuzz_bmp");
    FUZZ_CHECK(text.size() >= 4 && text.compare(text.size() - 4, 4, "};\r\n") == 0);
    return 0;
}
