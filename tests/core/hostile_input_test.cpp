// Readers facing files made to hurt: every pixel comes from the file, sizes are bounded before anything
// is allocated, and no payload is counted twice.
#include "bitmap/bmp_layout.h"
#include "bitmap/bmp_rle.h"
#include "bitmap/gif_table.h"
#include "bitmap/jpeg_scans.h"
#include "bitmap/tga_reader.h"
#include "bitmap/xbm_text.h"
#include "bmp_writer.h"
#include "fontexport/resource_item.h"
#include "fontio/font_file.h"
#include "model/error.h"
#include "platform/text.h"
#include "resources/resource_file.h"

#include <gtest/gtest.h>

using namespace tesselor;

namespace {

// An RLE8 file of the given size whose palette maps index i to colour 0x010101 * i, and the stream.
std::string rle8(int width, int height, const std::string& stream) {
    testsupport::BmpOptions options{.bits = 8, .compression = testsupport::BmpOptions::Compression::Rle8};
    for (Colour c = 0; c < 256; ++c)
        options.palette.push_back(c * 0x010101);
    std::string file = testsupport::writeBmp(PixelImage(width, height, 0), options);
    const std::size_t data = static_cast<unsigned char>(file[10]) | static_cast<unsigned char>(file[11]) << 8;
    return file.substr(0, data) + stream;
}

std::vector<std::string> rowsOf(const PixelImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x)
            row += image.pixel(x, y) == kWhite ? '.' : static_cast<char>('0' + (image.pixel(x, y) & 0xFF));
        rows.push_back(row);
    }
    return rows;
}

} // namespace

// Bottom row first; what the stream does not set is white, runs stop at the row's end.
TEST(BmpRle, EveryPixelComesFromTheFile) {
    struct Case {
        std::string stream;
        std::vector<std::string> rows; // top row first; digits are palette indices
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"\x04\x01\x00\x00\x04\x02\x00\x01"s, {"....", "....", "2222", "1111"}}, // end of line, end
        {"\x04\x01\x00\x01"s, {"....", "....", "....", "1111"}},                 // ends early
        {"\x04\x01"s, {"....", "....", "....", "1111"}},                         // no end mark
        {"\x02\x03\x00\x02\x01\x01\x01\x04"s, {"....", "....", "...4", "33.."}}, // delta
        {"\x09\x05\x00\x01"s, {"....", "....", "....", "5555"}},                 // run past the row
        {"\x00\x03\x01\x02\x03\x00\x02\x04"s, {"....", "....", "....", "1234"}}, // absolute, padded
        {"\x00\x06\x01\x02\x03\x04\x05\x06\x00\x00\x01\x07"s,
         {"....", "....", "7...", "1234"}},                                      // absolute past the row
        {"\x01\x09\x00\x02\xFF\x07\x04\x01"s, {"....", "....", "....", "9..."}}, // delta beyond the image
        {"\x00\x02\x00"s, {"....", "....", "....", "...."}},                     // delta cut short
    };
    for (const Case& c : cases) {
        const std::string file = rle8(4, 4, c.stream);
        const auto layout = readBmpLayout(file);
        ASSERT_TRUE(layout);
        EXPECT_EQ(rowsOf(decodeBmpRle(file, *layout)), c.rows) << testing::PrintToString(c.stream);
    }
}

TEST(BmpRle, FourBitRunsAlternateTheirNibbles) {
    testsupport::BmpOptions options{.bits = 4, .compression = testsupport::BmpOptions::Compression::Rle4};
    for (Colour c = 0; c < 16; ++c)
        options.palette.push_back(c * 0x010101);
    std::string file = testsupport::writeBmp(PixelImage(5, 1, 0), options);
    const std::size_t data = static_cast<unsigned char>(file[10]);
    file = file.substr(0, data) + std::string("\x05\x12\x00\x01", 4);
    EXPECT_EQ(rowsOf(decodeBmpRle(file, *readBmpLayout(file))), std::vector<std::string>{"12121"});
}

// The rows the header declares must all be in the file: exactly enough is accepted, one byte less not.
TEST(BmpLayout, PixelDataMustBeComplete) {
    for (const auto& [bits, width, height] :
         {std::tuple{24, 3, 2}, {1, 9, 3}, {4, 3, -2}, {32, 1, 1}, {16, 5, 1}}) {
        std::string file =
            testsupport::writeBmp(PixelImage(width, std::abs(height)), {.bits = bits, .topDown = height < 0});
        EXPECT_TRUE(bmpPixelDataComplete(file, *readBmpLayout(file))) << bits;
        file.pop_back();
        EXPECT_FALSE(bmpPixelDataComplete(file, *readBmpLayout(file))) << bits;
    }
    // Sizes that overflow any 32-bit product are refused, not wrapped.
    std::string huge = testsupport::writeBmp(PixelImage(1, 1));
    huge.replace(18, 8, std::string("\xFF\xFF\xFF\x7F\xFF\xFF\xFF\x7F", 8));
    EXPECT_FALSE(bmpPixelDataComplete(huge, *readBmpLayout(huge)));
}

TEST(BmpLayout, ImageSizeLimits) {
    EXPECT_FALSE(imageSizeProblem(4096, 4096));
    EXPECT_TRUE(imageSizeProblem(4097, 4096));
    EXPECT_FALSE(imageSizeProblem(65535, 256));
    EXPECT_TRUE(imageSizeProblem(65536, 1));
    EXPECT_TRUE(imageSizeProblem(-1, 1));
    EXPECT_EQ(*imageSizeProblem(5792, 5792),
              "it is 5792 x 5792 pixels, more than the 16777216 pixels an image may have");
}

// Payloads lie behind the index and do not overlap; each byte of the file is in one item at most.
TEST(ResFile, PayloadsMayNotOverlapTheIndexOrEachOther) {
    // Two items of two payload bytes each; the index ends at 7 + 2 * 16 = 39.
    auto file = [](std::uint32_t first, std::uint32_t second, std::uint32_t secondSize) {
        Bytes bytes = {'R', 'S', 'C', 1, 0, 0, 0};
        const std::uint32_t offsets[] = {first, second};
        const std::uint32_t sizes[] = {2, secondSize};
        for (int i = 0; i < 2; ++i) {
            appendU16(bytes, 16 + (i == 1 ? 0x8000u : 0u));
            appendU32(bytes, offsets[i]);
            appendU32(bytes, sizes[i]);
            for (const int b : {1, int('a'), 3, int('b'), int('m'), int('p')})
                bytes.push_back(static_cast<std::uint8_t>(b));
            bytes[bytes.size() - 5] = static_cast<std::uint8_t>('a' + i);
        }
        for (std::uint8_t b : {1, 2, 3, 4})
            bytes.push_back(b);
        return readResFile(byteView(bytes)).has_value();
    };
    EXPECT_TRUE(file(39, 41, 2));  // one after the other
    EXPECT_TRUE(file(41, 39, 2));  // the other order
    EXPECT_TRUE(file(39, 43, 0));  // an empty payload at the end
    EXPECT_TRUE(file(39, 40, 0));  // an empty payload overlaps nothing
    EXPECT_FALSE(file(39, 40, 2)); // overlapping by one byte
    EXPECT_FALSE(file(39, 39, 2)); // the same payload twice
    EXPECT_FALSE(file(38, 41, 2)); // inside the index
    EXPECT_FALSE(file(39, 42, 2)); // past the end
}

TEST(FontFile, StrictReadersCheckTheFiveHeaderKeys) {
    const std::string header = "FontName:x\nFontWidth:1\nFontHeight:1\nRangeFrom:1\nRangeTo:0\n";
    EXPECT_FALSE(fontHeaderProblem(header));
    EXPECT_EQ(fontHeaderProblem(""), "line 1 should start with 'FontName:'");
    EXPECT_EQ(fontHeaderProblem("FontName:x\nFontWidth:1\nFontHeight:1\nRangeFrom:1\n"),
              "line 5 should start with 'RangeTo:'");
    EXPECT_EQ(fontHeaderProblem("FontName:x\r\nFontWidth:1\r\nfontHeight:1\r\n"),
              "line 3 should start with 'FontHeight:'");
}

namespace {

// A JPEG of `scans` scans of one entropy byte each, ending with EOI when `ended`; an APP1 segment first
// whose bytes hold an EOI marker, which only the segment's length tells apart.
std::string jpegOfScans(int scans, bool ended) {
    std::string jpeg("\xFF\xD8\xFF\xE1\x00\x06\xFF\xD9\x00\x00", 10);
    for (int i = 0; i < scans; ++i)
        jpeg += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x5A\xFF\x00", 13);
    return ended ? jpeg + "\xFF\xD9" : jpeg;
}

} // namespace

// The readers that would make up what a file lacks: each refuses the file one byte short of its pixels
// (or, for a JPEG, of its end marker) and takes it whole.
TEST(ImageData, CutShortIsRefused) {
    const std::string cutShort = "the image data is cut short";
    EXPECT_EQ(jpegProblem(jpegOfScans(kMaxJpegScans, true)), std::nullopt);
    EXPECT_EQ(jpegProblem(jpegOfScans(kMaxJpegScans + 1, true)),
              "it has more than 500 scans, each a pass over the whole image");
    EXPECT_EQ(jpegProblem(jpegOfScans(3, false)), cutShort);
    EXPECT_EQ(jpegProblem(jpegOfScans(3, true).substr(0, 20)), cutShort);

    // A GIF of one 2 x 1 image: its data is a code size byte and sub-blocks, the empty one last.
    const std::string gif = std::string("GIF89a\x02\x00\x01\x00\x80\x00\x00", 13) + std::string(6, '\0') +
                            std::string("\x2C\0\0\0\0\x02\0\x01\0\0\x02\x02\x44\x01\x00", 15);
    EXPECT_TRUE(gifFirstImageComplete(gif));
    EXPECT_TRUE(gifFirstImageComplete(gif + ";"));
    for (const std::size_t size : {gif.size() - 1, gif.size() - 3, std::size_t(30)})
        EXPECT_FALSE(gifFirstImageComplete(gif.substr(0, size))) << size;

    // 10 x 2 pixels are 2 bytes a row, 4 in all; 16-bit values count two bytes.
    const std::string xbm = "#define a_width 10\n#define a_height 2\nstatic char a_bits[] = {";
    EXPECT_TRUE(xbmPixelDataComplete(xbm + "0x01, 0x02, 0x03, 0x04 };\n"));
    EXPECT_FALSE(xbmPixelDataComplete(xbm + "0x01, 0x02, 0x03 };\n"));
    EXPECT_FALSE(xbmPixelDataComplete(xbm + "0x01, 0x02, 0x03, 0x04"));
    EXPECT_TRUE(
        xbmPixelDataComplete("#define a_width 10\n#define a_height 2\nstatic short a_bits[] = {0x0102, "
                             "0x0304};\n"));
}

namespace {

// A TGA header: ID length 0, the colour map (type, first, length, bits), image type, size, bits, descriptor.
std::string tgaHeader(int type, int width, int height, int bits, int descriptor, int mapLength = 0,
                      int mapFirst = 0, int mapBits = 0) {
    const char header[18] = {0,
                             char(mapLength ? 1 : 0),
                             char(type),
                             char(mapFirst),
                             0,
                             char(mapLength),
                             0,
                             char(mapBits),
                             0,
                             0,
                             0,
                             0,
                             char(width),
                             0,
                             char(height),
                             0,
                             char(bits),
                             char(descriptor)};
    return std::string(header, 18);
}

std::string tgaPixels(const TgaImage& image) {
    std::string out;
    for (int y = 0; y < image.pixels.height(); ++y)
        for (int x = 0; x < image.pixels.width(); ++x)
            out += text::hex(image.pixels.pixel(x, y), 6) +
                   (image.alpha.empty()
                        ? ""
                        : "/" + text::hex(image.alpha[std::size_t(y * image.pixels.width() + x)], 2)) +
                   " ";
    return out;
}

} // namespace

// Each kind of TGA, its bytes worked by hand: pixels as 0x00BBGGRR, top row first.
TEST(TgaReader, EveryKindByHand) {
    const std::pair<std::string, std::string> cases[] = {
        // True colour, 24 bits, bottom row first: blue-green-red bytes.
        {tgaHeader(2, 2, 2, 24, 0) + std::string("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\x10\x20\x30", 12),
         "FF0000 102030 0000FF 00FF00 "},
        // Run-length, 32 bits with 8 alpha bits, top row first: a run of 3 crosses the row, then one raw.
        {tgaHeader(10, 2, 2, 32, 0x28) + std::string("\x82\x01\x02\x03\x80\x00\x04\x05\x06\xFF", 10),
         "010203/80 010203/80 010203/80 040506/FF "},
        // Colour-mapped: 8-bit indices into a 24-bit map whose first index is 1.
        {tgaHeader(1, 2, 1, 8, 0x20, 2, 1, 24) + std::string("\x00\x00\xFF\xFF\x00\x00\x02\x01", 8),
         "FF0000 0000FF "},
        // Grey, run-length.
        {tgaHeader(11, 3, 1, 8, 0x20) + std::string("\x81\x40\x00\x7F", 4), "404040 404040 7F7F7F "},
        // 16 bits, 5-5-5 with the attribute bit: the top bit is opaque.
        {tgaHeader(2, 1, 1, 16, 0x21) + std::string("\x1F\x00", 2), "FF0000/00 "},
    };
    for (const auto& [bytes, pixels] : cases)
        EXPECT_EQ(tgaPixels(readTga(bytes)), pixels) << bytes.size();

    auto refusal = [](const std::string& bytes) {
        try {
            readTga(bytes);
        } catch (const Error& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    EXPECT_EQ(refusal(tgaHeader(2, 2, 2, 24, 0) + std::string(11, '\0')), "the image data is cut short");
    EXPECT_EQ(refusal(tgaHeader(10, 2, 2, 24, 0) + std::string("\x82\x01\x02\x03", 4)),
              "the image data is cut short");
    EXPECT_EQ(refusal(tgaHeader(1, 1, 1, 8, 0, 1, 0, 24) + std::string("\x01\x02\x03\x01", 4)),
              "a pixel's index 1 is past the colour map");
    EXPECT_EQ(refusal(tgaHeader(2, 1, 1, 12, 0) + "xx"),
              "it is no TGA image of a kind read here (type 2, 12 bits)");
    // 4096 x 4096 claimed by 92 bytes.
    EXPECT_EQ(
        refusal(std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\0\x10\0\x10\x20\x08", 18) + std::string(74, '\0')),
        "the image data is cut short");
    EXPECT_TRUE(isTga("A.TGA", "") && !isTga("a.png", "") &&
                isTga("x", std::string(30, '\0') + std::string("TRUEVISION-XFILE.\0", 18)));
}
