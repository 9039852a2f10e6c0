// The bitmap payload byte for byte at every depth, its .c text, and the classification of .bmp layouts.
#include "bitmap/bitmap_payload.h"
#include "bitmap/bmp_layout.h"
#include "bmp_writer.h"

#include <gtest/gtest.h>

using namespace tesselor;
using testsupport::BmpOptions;
using testsupport::imageFromRows;
using testsupport::writeBmp;

namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kBlue = 0xFF0000;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        out.push_back(text.substr(start, at - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return out;
}

Bytes payloadOf(const PixelImage& image, std::optional<std::uint8_t> bits, bool ft800 = false) {
    return BitmapPayload(image, bitmapEncoding(bits, ft800)).value_or(Bytes{});
}

std::vector<std::string> cLines(const PixelImage& image, int bits, bool ft800 = false) {
    const BitmapEncoding encoding = bitmapEncoding(std::uint8_t(bits), ft800);
    return lines(bitmapCSource(payloadOf(image, std::uint8_t(bits), ft800), encoding, ft800, "pic_bmp"));
}

} // namespace

TEST(ToRgb565, ChannelsAndDroppedBits) {
    const std::pair<Colour, std::uint16_t> cases[] = {
        {kWhite, 0xFFFF}, {kBlack, 0},        {kRed, 0xF800},     {kGreen, 0x07E0}, {kBlue, 0x001F},
        {0x070307, 0},    {0xF8FCF8, 0xFFFF}, {0xF8F8F8, 0xFFDF}, // below one step; green keeps six bits
    };
    for (const auto& [colour, rgb565] : cases)
        EXPECT_EQ(ToRgb565(colour), rgb565) << std::hex << colour;
}

// Each depth byte for byte: the header, the colour table numbered column by column, the rows.
TEST(BitmapPayload, EveryDepth) {
    const PixelImage oneBit = imageFromRows({"wbw", "bbw"}, {{'w', kWhite}, {'b', kBlack}});
    EXPECT_EQ(payloadOf(oneBit, 1),
              (Bytes{0x00, 0x01, 0x02, 0x00, 0x03, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x40, 0xC0}));
    EXPECT_EQ(payloadOf(PixelImage(1, 2, kBlack), 1), (Bytes{0, 1, 2, 0, 1, 0, 0, 0, 0, 0, 0x00, 0x00}));
    const Bytes fourBit = payloadOf(imageFromRows({"rbg"}, {{'r', kRed}, {'b', kBlue}, {'g', kGreen}}), 4);
    EXPECT_EQ(fourBit.size(), 6u + 32u + 2u);
    EXPECT_EQ((Bytes(fourBit.begin(), fourBit.begin() + 12)),
              (Bytes{0, 4, 1, 0, 3, 0, 0x00, 0xF8, 0x1F, 0x00, 0xE0, 0x07}));
    EXPECT_EQ((Bytes(fourBit.end() - 2, fourBit.end())), (Bytes{0x01, 0x20}));
    const PixelImage redBlue = imageFromRows({"rb"}, {{'r', kRed}, {'b', kBlue}});
    EXPECT_EQ(payloadOf(redBlue, 16), (Bytes{0x00, 0x10, 0x01, 0x00, 0x02, 0x00, 0x00, 0xF8, 0x1F, 0x00}));
    EXPECT_EQ(payloadOf(redBlue, 8, true),
              (Bytes{0x00, 0x07, 0x01, 0x00, 0x02, 0x00, 0x00, 0xF8, 0x1F, 0x00}));
    // Colours that fold to one RGB565 value are one colour; the column scan meets green before red.
    PixelImage folding(40, 1);
    for (int x = 0; x < 40; ++x)
        folding.setPixel(x, 0, 0x404040 + Colour(x % 4) * 0x010101);
    EXPECT_EQ(scanColours(folding).count, 1u);
    const ColourTable table =
        scanColours(imageFromRows({"gr", "bw"}, {{'r', kRed}, {'g', kGreen}, {'b', kBlue}, {'w', kWhite}}));
    EXPECT_EQ(table.colours, (std::vector<std::uint16_t>{0x07E0, 0x001F, 0xF800, 0xFFFF}));
    EXPECT_EQ(table.index(kRed), 2);
}

// Rows start on a new byte at every width, also past 2000 pixels, and the length is 6 + 2P + H x R.
TEST(BitmapPayload, RowsStartOnANewByte) {
    for (int width : {1, 7, 8, 9, 15, 17, 2100}) {
        PixelImage image(width, 3, kWhite);
        image.setPixel(width - 1, 1, kBlack);
        const std::size_t row1 = (std::size_t(width) + 7) / 8, row4 = (std::size_t(width) + 1) / 2;
        const Bytes one = payloadOf(image, 1);
        EXPECT_EQ(one[10 + row1 + std::size_t(width - 1) / 8], 0x80 >> ((width - 1) % 8)) << width;
        const Bytes four = payloadOf(image, 4);
        EXPECT_EQ(four[38 + row4 + std::size_t(width - 1) / 2], (width - 1) % 2 == 0 ? 0x10 : 0x01) << width;
        for (int depth : {1, 4, 8, 16})
            EXPECT_EQ(bitmapPayloadSize(width, 3, bitmapEncoding(std::uint8_t(depth), false)),
                      payloadOf(image, std::uint8_t(depth)).size());
    }
}

// More colours than a depth holds is the anomaly: 3 at 1 bit, 17 at 4 bits, 257 at 8 bits.
TEST(BitmapPayload, TooManyColoursIsTheAnomaly) {
    auto colours = [](int count) {
        PixelImage image(count, 1);
        for (int x = 0; x < count; ++x) // distinct in RGB565
            image.setPixel(x, 0, Colour(x % 32) << 3 | Colour(x / 32) << 10);
        return image;
    };
    const std::tuple<int, int, bool> cases[] = {{2, 1, true},   {3, 1, false},  {16, 4, true},
                                                {17, 4, false}, {256, 8, true}, {257, 8, false}};
    for (const auto& [count, bits, encoded] : cases)
        EXPECT_EQ(BitmapPayload(colours(count), bitmapEncoding(std::uint8_t(bits), false)).has_value(),
                  encoded)
            << count << " colours at " << bits << " bits";
    EXPECT_TRUE(BitmapPayload(colours(3), bitmapEncoding(1, true))); // FT800: 16-bit, no table
}

TEST(BitmapPayload, EncodingOfEveryDepthCode) {
    const std::tuple<std::optional<std::uint8_t>, bool, int, int> cases[] = {
        {1, false, 1, 1},
        {4, false, 4, 4},
        {8, false, 8, 8},
        {16, false, 16, 16},
        {0, false, 16, 16},
        {15, false, 16, 16},
        {std::nullopt, false, 16, 16},
        {8, true, 16, 7},
    };
    for (const auto& [bits, ft800, depth, code] : cases) {
        const BitmapEncoding encoding = bitmapEncoding(bits, ft800);
        EXPECT_EQ(encoding.depth * 100 + encoding.formatCode, depth * 100 + code);
    }
}

// The .c text: two bytes a line for the header and table, 25 pixels (or bytes) a line after them, the
// last separator "};"; an FT800 line; an empty image closes the array alone.
TEST(BitmapCSource, LinesOfTheArray) {
    const auto one = cLines(imageFromRows({"wbw", "bbw"}, {{'w', kWhite}, {'b', kBlack}}), 1);
    EXPECT_EQ(one,
              (std::vector<std::string>{"// Bitmap Generated by \"Tesselor\" 1.0", one[1], "",
                                        "const unsigned short pic_bmp[] = {", "  0x00,0x01,", "  0x02,0x00,",
                                        "  0x03,0x00,", "  0xFF,0xFF,", "  0x00,0x00,", "  0x40,0xC0};"}));
    EXPECT_TRUE(one[1].starts_with("// ") && one[1].find("2016") != std::string::npos);
    const auto ft800 = cLines(imageFromRows({"rb"}, {{'r', kRed}, {'b', kBlue}}), 16, true);
    EXPECT_EQ(ft800[2], "// for the FT800 graphics controller");
    EXPECT_EQ(ft800.back(), "  0x00,0xF8,0x1F,0x00};");
    const auto wide = cLines(PixelImage(30, 1, kRed), 16);
    std::string first = "  ";
    for (int i = 0; i < 25; ++i)
        first += "0x00,0xF8,";
    EXPECT_EQ(wide[7], first);
    EXPECT_EQ(wide[8], "  0x00,0xF8,0x00,0xF8,0x00,0xF8,0x00,0xF8,0x00,0xF8};");
    const auto bytes = cLines(PixelImage(20, 2, kWhite), 8);
    ASSERT_EQ(bytes.size(), 4u + 3u + 256u + 2u);
    EXPECT_EQ(bytes[bytes.size() - 2].size(), 2u + 25u * 5u);
    EXPECT_EQ(bytes.back().size(), 2u + 15u * 5u + 1u);
    for (int depth : {1, 16}) {
        const auto empty = cLines(PixelImage(0, 5), depth);
        EXPECT_EQ(empty.back(), "};");
    }
}

TEST(BmpLayout, EveryLayoutOfTheTable) {
    const PixelImage two = imageFromRows({"wb", "bw"}, {{'w', kWhite}, {'b', kBlack}});
    using C = BmpOptions::Compression;
    const std::vector<std::uint32_t> m565 = {0xF800, 0x07E0, 0x001F};
    const std::tuple<BmpOptions, std::string, std::optional<std::uint8_t>> cases[] = {
        {{.bits = 8, .compression = C::Rle8}, "Device", 0},
        {{.bits = 4, .compression = C::Rle4}, "Device", 0},
        {{.bits = 1}, "1 bit", 1},
        {{.bits = 1, .headerSize = 12}, "1 bit", 1},
        {{.bits = 4}, "4 bit", 4},
        {{.bits = 8, .headerSize = 124}, "8 bit", 8},
        {{.bits = 16}, "15 bit", 15},
        {{.bits = 16, .compression = C::Bitfields, .masks = m565}, "16 bit", 16},
        {{.bits = 16, .compression = C::Bitfields, .headerSize = 108, .masks = m565}, "16 bit", 16},
        {{.bits = 16, .compression = C::Bitfields, .masks = {0x7C00, 0x03E0, 0x001F}}, "", std::nullopt},
        {{.bits = 24, .headerSize = 12}, "24 bit", 16},
        {{.bits = 24, .topDown = true}, "24 bit", 16},
        {{.bits = 32}, "32 bit", 16},
        {{.bits = 32, .compression = C::Bitfields, .masks = {0xFF0000, 0xFF00, 0xFF}}, "", std::nullopt},
        {{.bits = 2}, "", std::nullopt},
    };
    for (const auto& [options, text, bits] : cases) {
        const LayoutClass result = classifyBmpLayout(*readBmpLayout(writeBmp(two, options)));
        EXPECT_EQ(result.formatText, text) << options.bits << " bits, header " << options.headerSize;
        EXPECT_EQ(result.bits, bits) << options.bits << " bits, header " << options.headerSize;
    }
}

TEST(BmpLayout, FieldsOfTheHeader) {
    const auto topDown = readBmpLayout(writeBmp(PixelImage(5, 3), {.bits = 24, .topDown = true}));
    EXPECT_EQ(topDown->height, -3);
    const auto masked =
        readBmpLayout(writeBmp(PixelImage(5, 3), {.bits = 16,
                                                  .compression = BmpOptions::Compression::Bitfields,
                                                  .headerSize = 108,
                                                  .masks = {0xF800, 0x07E0, 0x001F}}));
    EXPECT_TRUE(masked->hasMasks && masked->redMask == 0xF800u && masked->blueMask == 0x001Fu);
    // A 54-byte BITFIELDS file lacks its masks: none are read, nothing past the end.
    std::string bare = writeBmp(PixelImage(1, 1), {.bits = 16});
    bare.resize(54);
    bare[30] = 3;
    ASSERT_TRUE(readBmpLayout(bare));
    EXPECT_FALSE(readBmpLayout(bare)->hasMasks);
    for (const std::string& bytes :
         {std::string(), std::string("BM"), std::string("PK\x03\x04 not a bitmap, long enough"),
          writeBmp(PixelImage(2, 2)).substr(0, 30)})
        EXPECT_FALSE(readBmpLayout(bytes));
    std::string unknown = writeBmp(PixelImage(2, 2));
    unknown[14] = 20;
    EXPECT_FALSE(readBmpLayout(unknown));
}

// Every format's .c array, plain and deflated (odd lengths of the stream included), holds the payload's
// bytes in order: the array read back as C gives the .resdata payload exactly.
TEST(BitmapCSource, TheArrayReadsBackAsThePayload) {
    std::vector<BitmapEncoding> encodings = ft8xxFormats();
    for (std::uint8_t bits : {1, 4, 8, 16})
        encodings.push_back(bitmapEncoding(bits, false));
    const PixelImage image =
        imageFromRows({"wbw", "bbw", "wwb"}, {{'w', kWhite}, {'b', kBlack}}); // 1 bit holds it
    for (const BitmapEncoding& encoding : encodings) {
        const Bytes plain = BitmapPayload(image, encoding).value();
        for (const std::size_t stream : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(27)}) {
            Bytes payload = plain;
            if (stream > 0) { // a deflated payload: the header, then the zlib stream's bytes
                payload.resize(kPayloadHeaderSize);
                payload[0] = kDeflatedPayload;
                for (std::size_t i = 0; i < stream; ++i)
                    payload.push_back(std::uint8_t(0x78 + 31 * i));
            }
            const std::string text = bitmapCSource(payload, encoding, encoding.ft8xx, "pic");
            Bytes values;
            for (std::size_t at = text.find("0x", text.find("[] = {")); at != std::string::npos;
                 at = text.find("0x", at + 4))
                values.push_back(std::uint8_t(std::stoul(text.substr(at + 2, 2), nullptr, 16)));
            EXPECT_EQ(values, payload) << encoding.name << " " << int(encoding.depth) << " stream " << stream;
        }
    }
}
