// What the device needs besides the pixels: where the levels come from, a background for what a format
// cannot keep, byte order, the layout for the display list and what each chip draws.
#include "bitmap/bitmap_layout.h"
#include "bitmap/bitmap_payload.h"
#include "bitmap/ft8xx_chips.h"
#include "bitmap/gif_table.h"
#include "bitmap/payload_decoder.h"
#include "model/error.h"

#include <gtest/gtest.h>

using namespace tesselor;

namespace {

// One row of straight RGBA pixels, with or without an alpha channel.
Bytes encode(const std::vector<Rgba>& pixels, const BitmapEncoding& encoding, const EncodeOptions& options,
             bool alphaChannel = true) {
    PixelImage image(static_cast<int>(pixels.size()), 1);
    std::vector<std::uint8_t> alpha;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        image.setPixel(static_cast<int>(i), 0, colourOf(pixels[i]));
        alpha.push_back(pixels[i].a);
    }
    if (!alphaChannel)
        alpha.clear();
    PixelImageRows rows(image, &alpha);
    return BitmapPayload(rows, encoding, options).value();
}

Bytes tail(const Bytes& payload, std::size_t from = kPayloadHeaderSize) {
    return {payload.begin() + static_cast<std::ptrdiff_t>(from), payload.end()};
}

EncodeOptions withLuminance(LuminanceSource source) {
    EncodeOptions options;
    options.luminance = source;
    return options;
}

EncodeOptions onto(Colour background) {
    EncodeOptions options;
    options.background = background;
    return options;
}

const BitmapEncoding kL8 = *ft8xxFormat("L8");
const BitmapEncoding kRgb565 = bitmapEncoding(16, false);

} // namespace

// Grey 0x48 at alpha 0x90, or opaque: Auto takes the alpha only when some pixel is translucent.
TEST(LuminanceSource, AlphaOnlyWhenTranslucent) {
    const Rgba opaque{0x48, 0x48, 0x48, 0xFF}, translucent{0x48, 0x48, 0x48, 0x90};
    const struct {
        LuminanceSource source;
        Rgba pixel;
        std::uint8_t level;
    } cases[] = {
        {LuminanceSource::Auto, opaque, 0x48},      {LuminanceSource::Auto, translucent, 0x90},
        {LuminanceSource::Alpha, opaque, 0xFF},     {LuminanceSource::Alpha, translucent, 0x90},
        {LuminanceSource::Grey, translucent, 0x48},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tail(encode({c.pixel}, kL8, withLuminance(c.source))), Bytes{c.level})
            << static_cast<int>(c.source) << " " << int(c.pixel.a);
    // Without an alpha channel there is no alpha to take.
    EXPECT_EQ(tail(encode({opaque}, kL8, withLuminance(LuminanceSource::Alpha), false)), Bytes{0x48});
}

// Red at alpha 128 over blue, worked by hand: (255 x 128 + 127) / 255 = 128 red, (255 x 127 + 127) / 255 =
// 127 blue; RGB565 0x800F. Without the background the hidden red is kept, and the loss is known.
TEST(Background, CompositesATranslucentPixel) {
    const Rgba red{255, 0, 0, 128};
    EXPECT_EQ(tail(encode({red}, kRgb565, onto(0xFF0000))), (Bytes{0x0F, 0x80}));
    EXPECT_EQ(tail(encode({red}, kRgb565, {})), (Bytes{0x00, 0xF8}));
    EXPECT_EQ(tail(encode({red}, kL8, onto(0xFF0000))), Bytes{53});    // the grey of (128, 0, 127)
    EXPECT_EQ(tail(encode({{1, 1, 1, 128}}, kL8, onto(0))), Bytes{1}); // 128 / 255 rounds up
    // A format with alpha keeps it, unless a background is given; L8 keeps it through Auto.
    PixelImage image(1, 1, colourOf(red));
    std::vector<std::uint8_t> alpha = {128};
    PixelImageRows rows(image, &alpha);
    EXPECT_TRUE(hasTranslucentPixels(rows));
    EXPECT_FALSE(keepsAlpha(kRgb565, {}, rows));
    EXPECT_TRUE(keepsAlpha(*ft8xxFormat("ARGB4"), {}, rows));
    EXPECT_TRUE(keepsAlpha(*ft8xxFormat("PALETTED4444"), {}, rows));
    EXPECT_FALSE(keepsAlpha(*ft8xxFormat("PALETTED565"), {}, rows));
    EXPECT_TRUE(keepsAlpha(kL8, {}, rows));
    EXPECT_FALSE(keepsAlpha(kL8, withLuminance(LuminanceSource::Grey), rows));
    EXPECT_FALSE(keepsAlpha(*ft8xxFormat("ARGB4"), onto(0), rows));
}

// Red then blue: the 16-bit pixels and the native table entries high byte first; the header stays as it
// is, and the decoder told so reads the same pixels back. The FT8xx formats refuse.
TEST(SwapBytes, TwoPixels) {
    const std::vector<Rgba> redBlue = {{255, 0, 0, 255}, {0, 0, 255, 255}};
    EncodeOptions swap;
    swap.swapBytes = true;
    const Bytes plain = encode(redBlue, kRgb565, {});
    const Bytes swapped = encode(redBlue, kRgb565, swap);
    EXPECT_EQ(plain, (Bytes{0x00, 0x10, 0x01, 0x00, 0x02, 0x00, 0x00, 0xF8, 0x1F, 0x00}));
    EXPECT_EQ(swapped, (Bytes{0x00, 0x10, 0x01, 0x00, 0x02, 0x00, 0xF8, 0x00, 0x00, 0x1F}));
    const BitmapEncoding oneBit = bitmapEncoding(1, false);
    EXPECT_EQ(tail(encode(redBlue, oneBit, swap)), (Bytes{0xF8, 0x00, 0x00, 0x1F, 0x40}));
    for (const BitmapEncoding& encoding : {kRgb565, oneBit})
        EXPECT_EQ(decodePayload(encode(redBlue, encoding, swap), false, true)->image,
                  decodePayload(encode(redBlue, encoding, {}), false)->image);
    EXPECT_THROW(encode(redBlue, *ft8xxFormat("RGB565"), swap), Error);
}

// For every format of both families, plain and deflated: the macros agree with the payload's own fields,
// and the rows they point at are the rows.
TEST(BitmapLayout, MacrosAgreeWithThePayload) {
    std::vector<BitmapEncoding> formats = ft8xxFormats();
    for (const std::uint8_t bits : {1, 4, 8, 16})
        formats.push_back(bitmapEncoding(bits, false));
    // 5 x 3, its last row one colour of its own, so that a row out of place shows.
    PixelImage image(5, 3, 0x202020);
    for (int x = 0; x < 5; ++x)
        image.setPixel(x, 2, 0xFFFFFF);
    for (const BitmapEncoding& encoding : formats) {
        SCOPED_TRACE(encodingName(encoding));
        const Bytes payload = *BitmapPayload(image, encoding);
        const auto layout = bitmapLayout(payload.data(), payload.size(), encoding.ft8xx);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->width, 5);
        EXPECT_EQ(layout->height, 3);
        EXPECT_EQ(layout->stride, (5 * std::size_t(encoding.depth) + 7) / 8);
        EXPECT_EQ(layout->dataOffset + 3 * layout->stride, payload.size());
        EXPECT_EQ(layout->dataOffset - layout->paletteBytes, kPayloadHeaderSize);
        const std::size_t lastRow = layout->dataOffset + 2 * layout->stride;
        EXPECT_NE(Bytes(payload.begin() + std::ptrdiff_t(lastRow - layout->stride),
                        payload.begin() + std::ptrdiff_t(lastRow)),
                  Bytes(payload.begin() + std::ptrdiff_t(lastRow), payload.end()));
        // Deflated: the stream inflates to the palette and rows; the rows start after the palette there.
        Bytes deflated(payload.begin(), payload.begin() + kPayloadHeaderSize);
        deflated[0] = kDeflatedPayload;
        deflated.push_back(0x78);
        const auto inflated = bitmapLayout(deflated.data(), deflated.size(), encoding.ft8xx);
        ASSERT_TRUE(inflated);
        EXPECT_EQ(inflated->inflatedSize, payload.size() - kPayloadHeaderSize);
        EXPECT_EQ(inflated->dataOffset, layout->paletteBytes);
        const auto lines = bitmapLayoutMacros("S", *inflated);
        EXPECT_EQ(lines.back(), "#define S_INFLATED_SIZE " + std::to_string(inflated->inflatedSize) + "u");
        EXPECT_EQ(bitmapLayoutMacros("S", *layout).size() + 1, lines.size());
    }
    // The documented L4 example, whole; read as the other family its length does not fit.
    const Bytes l4 = {0x00, 0x02, 0x01, 0x00, 0x03, 0x00, 0xF7, 0x00};
    EXPECT_EQ(bitmapLayoutMacros("ICON", *bitmapLayout(l4.data(), l4.size(), true)),
              (std::vector<std::string>{"/* ICON_FORMAT: the FT8xx format L4 */", "#define ICON_FT8XX 1u",
                                        "#define ICON_FORMAT 2u", "#define ICON_WIDTH 3u",
                                        "#define ICON_HEIGHT 1u", "#define ICON_STRIDE 2u",
                                        "#define ICON_PALETTE_BYTES 0u", "#define ICON_DATA_OFFSET 6u"}));
    EXPECT_FALSE(bitmapLayout(l4.data(), l4.size(), false));
    EXPECT_FALSE(bitmapLayout(l4.data(), l4.size() - 1, true));
    EXPECT_FALSE(bitmapLayout(l4.data(), 5, true));
}

// Each limit at its value and one past it, and the formats a chip lacks, named.
TEST(ChipLimits, AtTheLimitAndOnePast) {
    const struct {
        Chip chip;
        const char* format;
        int width, height;
        const char* refusal; // empty: drawn
    } cases[] = {
        {Chip::FT80x, "ARGB4", 511, 511, ""},
        {Chip::FT80x, "ARGB4", 512, 1,
         "A row of 512 pixels in ARGB4 is 1024 bytes: BITMAP_LAYOUT takes at most 1023 on the FT80x"},
        {Chip::FT80x, "L8", 512, 1, ""},
        {Chip::FT80x, "L8", 513, 1,
         "The bitmap is 513 pixels wide: BITMAP_SIZE takes at most 512 on the FT80x"},
        {Chip::FT80x, "L1", 8, 512,
         "The bitmap is 512 lines high: BITMAP_LAYOUT takes at most 511 on the FT80x"},
        {Chip::FT80x, "PALETTED", 8, 8, ""},
        {Chip::FT80x, "L2", 8, 8, "L2 is no bitmap format on the FT80x (it needs FT81x, BT81x)"},
        {Chip::FT81x, "PALETTED", 8, 8, "PALETTED is no bitmap format on the FT81x (it needs FT80x)"},
        {Chip::FT81x, "ARGB4", 2047, 2047, ""},
        {Chip::FT81x, "ARGB4", 2048, 1,
         "A row of 2048 pixels in ARGB4 is 4096 bytes: BITMAP_LAYOUT takes at most 4095 on the FT81x"},
        {Chip::BT81x, "L8", 2048, 1, ""},
        {Chip::BT81x, "L8", 2049, 1,
         "The bitmap is 2049 pixels wide: BITMAP_SIZE takes at most 2048 on the BT81x"},
        {Chip::BT81x, "L1", 8, 2048,
         "The bitmap is 2048 lines high: BITMAP_LAYOUT takes at most 2047 on the BT81x"},
        {Chip::BT81x, "PALETTED8", 8, 8, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chipRefusal(c.chip, *ft8xxFormat(c.format), c.width, c.height).value_or(""), c.refusal)
            << c.format << " " << c.width << " x " << c.height;
    EXPECT_EQ(chipRefusal(Chip::FT80x, bitmapEncoding(16, false), 1, 1).value_or(""),
              "native 16-bit is no bitmap format on the FT80x");
    EXPECT_EQ(chipNamed("ft81X"), Chip::FT81x);
    EXPECT_FALSE(chipNamed("FT82x"));
}

// The table a GIF's first image is drawn with: its own, else the global one; extensions are passed over.
TEST(GifTable, LocalElseGlobal) {
    const std::string screen = std::string("GIF89a\x02\x00\x01\x00", 10);
    const std::string global16 = screen + std::string("\x83\x00\x00", 3) + std::string(48, '\0');
    const std::string noGlobal = screen + std::string("\x00\x00\x00", 3);
    const std::string image = std::string("\x2C\0\0\0\0\x02\0\x01\0", 9);
    const std::string control = std::string("\x21\xF9\x04\x01\x00\x00\x00\x00", 8);
    const std::pair<std::string, std::optional<int>> cases[] = {
        {global16 + image + '\0', 16},
        {global16 + control + image + '\0', 16},
        {noGlobal + image + '\x80' + std::string(6, '\0'), 2},
        {global16 + image + '\x87', 256},
        {noGlobal + image + '\0', std::nullopt},
        {global16 + control.substr(0, 5), std::nullopt},
        {global16 + image.substr(0, 8), std::nullopt},
        {"GIF89", std::nullopt},
        {"\x89PNG", std::nullopt},
    };
    for (const auto& [bytes, entries] : cases)
        EXPECT_EQ(gifColourTableEntries(bytes), entries) << bytes.size();
}
