// The .font file: the writer's lines, the reader's rules (lenient, as stored files need) and its refusals.
#include "fontio/font_file.h"
#include "model/error.h"
#include "platform/text.h"

#include <gtest/gtest.h>

using namespace tesselor;

namespace {

// A file from its lines separated by "|".
std::string file(std::string lines) {
    std::replace(lines.begin(), lines.end(), '|', '\n');
    return lines + "\n";
}
FontModel read(const std::string& lines, const FontModel& previous = {}) {
    return readFontFile(file(lines), previous);
}
std::string errorOf(const std::string& lines, FontReading reading = FontReading::Lenient) {
    try {
        readFontFile(file(lines), {}, reading);
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

FontModel tinyFont() {
    FontModel font;
    font.FontName = "Tiny";
    font.CellImage = PixelImage(3, 2);
    font.RangeFrom = font.RangeTo = 65;
    font.CharImages[65] = PixelImage(3, 2);
    font.CharWidths[65] = 2;
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {1, 1}})
        font.CharImages[65].setPixel(x, y, kBlack);
    return font;
}

const char* const kTinyLines =
    "FontName:Tiny|FontWidth:3|FontHeight:2|RangeFrom:65|RangeTo:65|Char:65|  Width:2|"
    "    BitMap:110|           010";

} // namespace

TEST(FontFileWriter, TinyExampleAndOnlyExactBlackIsOne) {
    FontModel font = tinyFont();
    font.CharImages[65].setPixel(2, 0, 0x010101);
    font.CharImages[65].setPixel(2, 1, kInkPreviewColour);
    EXPECT_EQ(text::joinLinesCrLf(writeFontFile(font)),
              "FontName:Tiny\r\nFontWidth:3\r\nFontHeight:2\r\nRangeFrom:65\r\nRangeTo:65\r\nChar:65\r\n"
              "  Width:2\r\n    BitMap:110\r\n           010\r\n");
    font.RangeFrom = 66; // an empty range is the header alone
    trimCellToWidestChar(font);
    EXPECT_EQ(text::joinLinesCrLf(writeFontFile(font)),
              "FontName:Tiny\r\nFontWidth:0\r\nFontHeight:2\r\nRangeFrom:66\r\nRangeTo:65\r\n");
}

TEST(FontFileWriter, TrimMakesTheCellAsWideAsTheWidestCharacterOfTheRange) {
    FontModel font;
    font.CellImage = PixelImage(10, 4);
    font.RangeFrom = 48;
    font.RangeTo = 49;
    for (int c : {48, 49, 50})
        font.CharImages[std::size_t(c)] = PixelImage(10, 4);
    font.CharWidths[48] = 7;
    font.CharWidths[49] = 3;
    font.CharWidths[50] = 9; // outside the range: neither counted nor trimmed
    // What the trim drops is told: ink at 7 and 9 of the range; nothing counts at 6 or outside the range.
    font.CharImages[48].setPixel(6, 0, kBlack);
    font.CharImages[50].setPixel(8, 0, kBlack);
    EXPECT_EQ(inkBeyond(font, 7), std::nullopt);
    font.CharImages[49].setPixel(9, 3, kBlack);
    font.CharImages[48].setPixel(7, 1, 0x00FF00);
    EXPECT_EQ(inkBeyond(font, 7), std::pair(7, 9));
    EXPECT_EQ(inkBeyond(font, 8), std::pair(9, 9));
    trimCellToWidestChar(font);
    EXPECT_EQ(font.FontWidth(), 7);
    EXPECT_EQ(font.CharImages[49].width(), 7);
    EXPECT_EQ(font.CharImages[50].width(), 10);
}

// What the writer writes the reader reads back: cell, range, widths (0 included), every pixel as black
// or white, and a cell of height 0.
TEST(FontFileReader, RoundTrips) {
    EXPECT_EQ(read(kTinyLines).CharImages[65], tinyFont().CharImages[65]);
    FontModel font;
    font.FontName = "Round trip";
    font.CellImage = PixelImage(13, 5);
    font.RangeFrom = 32;
    font.RangeTo = 40;
    for (int c = 32; c <= 40; ++c) {
        auto& image = font.CharImages[std::size_t(c)] = PixelImage(13, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                image.setPixel(x, y, (x * 7 + y * 3 + c) % 4 == 0 ? kBlack : kWhite);
        font.CharWidths[std::size_t(c)] = std::uint8_t(c == 36 ? 0 : c % 14);
    }
    const std::string written = text::joinLinesCrLf(writeFontFile(font));
    const FontModel back = readFontFile(written, {});
    EXPECT_EQ(back.FontName, font.FontName);
    EXPECT_EQ(back.RangeFrom, 32);
    EXPECT_EQ(back.RangeTo, 40);
    for (int c = 32; c <= 40; ++c) {
        EXPECT_EQ(back.CharWidths[std::size_t(c)], font.CharWidths[std::size_t(c)]) << c;
        EXPECT_EQ(back.CharImages[std::size_t(c)], font.CharImages[std::size_t(c)]) << c;
    }
    EXPECT_EQ(text::joinLinesCrLf(writeFontFile(back)), written);
    // A code page other than the default is one line after the records; the default writes none.
    font.CodePage = "KOI8-R";
    const auto withPage = writeFontFile(font);
    EXPECT_EQ(withPage.back(), "CodePage:KOI8-R");
    EXPECT_EQ(readFontFile(text::joinLinesCrLf(withPage), {}).CodePage, "KOI8-R");
    EXPECT_EQ(readFontFile(text::joinLinesCrLf(withPage), {}).CharImages[40], font.CharImages[40]);
    font.CodePage = "windows-1252";
    EXPECT_EQ(text::joinLinesCrLf(writeFontFile(font)), written);

    FontModel flat = tinyFont();
    flat.CellImage.setHeight(0);
    flat.CharImages[65].setHeight(0);
    const FontModel flatBack = readFontFile(text::joinLinesCrLf(writeFontFile(flat)), {});
    EXPECT_EQ(flatBack.FontHeight(), 0);
    EXPECT_EQ(flatBack.CharWidths[65], 2);
}

TEST(FontFileReader, IntegerValues) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"12", 12},
        {"  12", 12},
        {"+12", 12},
        {"-12", -12},
        {"$1A", 26},
        {"x1a", 26},
        {"X1A", 26},
        {"0x1A", 26},
        {"0X1a", 26},
        {"-$10", -16},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"", {}},
        {" ", {}},
        {"12 ", {}},
        {"1 2", {}},
        {"2147483648", {}},
        {"-2147483649", {}},
        {"$", {}},
        {"0x", {}},
        {"$100000000", {}},
        {"12a", {}},
        {"-", {}},
        {"\t1", {}},
        {"1.5", {}},
        {"--1", {}},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(parseFontInteger(text), value) << "'" << text << "'";
}

// Keys match exactly; a header line without its key, or a file of fewer than four lines, keeps the
// previous value; the name is everything after the first colon; the clipboard pixels of the cell stay.
TEST(FontFileReader, HeaderRules) {
    FontModel previous = tinyFont();
    previous.CellImage.setPixel(0, 0, kBlack);
    const FontModel font = read("fontname:x|FontWidth :4|FontHeight:4|RangeFrom:70|RangeTo:71", previous);
    EXPECT_EQ(font.FontName, "Tiny");
    EXPECT_EQ(font.FontWidth(), 3);
    EXPECT_EQ(font.FontHeight(), 4);
    EXPECT_EQ(font.RangeFrom, 70);
    EXPECT_EQ(font.CharImages[70], PixelImage(3, 4, kWhite));
    EXPECT_EQ(font.CellImage.pixel(0, 0), kBlack);
    EXPECT_EQ(read("FontName: a:b |FontWidth:1|FontHeight:1|RangeFrom:1|RangeTo:0").FontName, " a:b ");
    for (const char* lines : {"", "FontName:Other", "a|b|c"}) {
        const FontModel kept = readFontFile(lines[0] ? file(lines) : "", previous);
        EXPECT_EQ(kept.FontName, "Tiny");
        EXPECT_EQ(kept.FontWidth(), 3);
        EXPECT_EQ(kept.RangeTo, 65);
        EXPECT_EQ(kept.CharImages[65], PixelImage(3, 2, kWhite));
        EXPECT_EQ(kept.CharWidths[65], 1);
    }
}

// Any row character but "0" is black, a short row gives black, continuation lines lose their first eleven
// characters whatever they are.
TEST(FontFileReader, RowDecoding) {
    const FontModel font =
        read("FontName:R|FontWidth:4|FontHeight:4|RangeFrom:65|RangeTo:65|Char:65|  Width:4|    BitMap:0x2|"
             "short|           0|XXXXXXXXXXX01");
    const auto& image = font.CharImages[65];
    std::string rows;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            rows += image.pixel(x, y) == kBlack ? '#' : '.';
    EXPECT_EQ(rows, ".###"
                    "####"
                    ".###"
                    ".###");
}

TEST(FontFileReader, RecordRules) {
    const FontModel font =
        read("FontName:R|FontWidth:1|FontHeight:1|RangeFrom:65|RangeTo:67|"
             "Chr:66|  Width:5|    BitMap:1|"         // no "Char:": character 0
             "Char:65|  Wdth:5|    BitMap:1|"         // misspelt width: keeps 1
             "Char:66|  Width:300|    BitMap:1|"      // the low 8 bits: 44
             "Char:200|  Width:3|    BitMap:1|"       // outside the range, loaded too
             "Char:66|  Width:$2|    BitMap:0|"       // a later record replaces the earlier
             "Char:67|  Width:1|    Bitmap:1|1|1|1"); // misspelt BitMap: three lines, rows become records
    EXPECT_EQ(font.CharWidths[0], 5);
    EXPECT_EQ(font.CharImages[0].pixel(0, 0), kBlack);
    EXPECT_EQ(font.CharWidths[65], 1);
    EXPECT_EQ(font.CharWidths[66], 2);
    EXPECT_EQ(font.CharImages[66].pixel(0, 0), kWhite);
    EXPECT_EQ(font.CharImages[67], PixelImage(1, 1, kWhite));
    EXPECT_EQ(font.CharWidths[200], 3);
    EXPECT_EQ(
        read("FontName:R|FontWidth:1|FontHeight:1|RangeFrom:65|RangeTo:65|Char:65|  Width:300|    BitMap:1")
            .CharWidths[65],
        44);
}

// A file named with a line end names its font so: the name's line must not end early.
TEST(FontFileWriter, LineEndsInTheName) {
    FontModel font = tinyFont();
    font.FontName = "a\nb\rc";
    EXPECT_EQ(writeFontFile(font).front(), "FontName:a_b_c");
}

// The strict reader of the command line: every record of the range whole, widths a byte.
TEST(FontFileReader, StrictRefusals) {
    const std::string header = "FontName:R|FontWidth:1|FontHeight:1|RangeFrom:65|RangeTo:66|Char:65|";
    const std::pair<std::string, const char*> cases[] = {
        {header + "  Width:255|    BitMap:1|Char:66|  Width:0|    BitMap:0", ""},
        {header + "  Width:1|    BitMap:1", "The record of character 66 is missing: the range is 65 to 66"},
        {"FontName:m|FontWidth:512|FontHeight:512|RangeFrom:0|RangeTo:255",
         "The record of character 0 is missing: the range is 0 to 255"},
        {header + "  Width:-3|    BitMap:1", "Line 7: the width -3 is outside 0 to 255"},
        {header + "  Width:256|    BitMap:1", "Line 7: the width 256 is outside 0 to 255"},
        {header + "  Wdth:1|    BitMap:1", "Line 7 should start with 'Width:'"},
        {header + "  Width:1|    Bitmap:1", "Line 8 should start with 'BitMap:'"},
        {header + "  Width:1|    BitMap:1|Chr:66|  Width:1|    BitMap:1", "Line 9 should start with 'Char:'"},
    };
    for (const auto& [lines, error] : cases)
        EXPECT_EQ(errorOf(lines, FontReading::Strict), error) << lines;
}

// Refusals name the line; sizes are bounded: 512 x 512 is the largest cell, 4096 the longest side.
TEST(FontFileReader, Refusals) {
    const std::string header = "FontName:R|FontWidth:2|FontHeight:1|RangeFrom:65|RangeTo:65";
    const std::pair<std::string, const char*> cases[] = {
        {"FontName:R|FontWidth:2|FontHeight:1|RangeFrom:65",
         "Line 5 is missing: the file ends inside the font"},
        {header + "|Char:65", "Line 7 is missing: the file ends inside the font"},
        {"FontName:R|FontWidth:2|FontHeight:2|RangeFrom:65|RangeTo:65|Char:65|  Width:1|    BitMap:11",
         "Line 9 is missing: the file ends inside the font"},
        {"FontName:R|FontWidth:two|FontHeight:1|RangeFrom:65|RangeTo:65",
         "Line 2: the value 'two' is not a valid number"},
        {"FontName:R|FontWidth:2|FontHeight:1 |RangeFrom:65|RangeTo:65",
         "Line 3: the value '1 ' is not a valid number"},
        {"FontName:R|FontWidth:-1|FontHeight:1|RangeFrom:65|RangeTo:65",
         "Line 2: the cell width -1 is negative"},
        {"FontName:R|FontWidth:2|FontHeight:1|RangeFrom:256|RangeTo:65",
         "Line 4: the first character code 256 is outside 0 to 255"},
        {"FontName:R|FontWidth:2|FontHeight:1|RangeFrom:65|RangeTo:-1",
         "Line 5: the last character code -1 is outside 0 to 255"},
        {header + "|Char:300|  Width:1|    BitMap:11", "Line 6: the character code 300 is outside 0 to 255"},
        {header + "|Char:65|  Width:wide|    BitMap:11", "Line 7: the value 'wide' is not a valid number"},
        {"FontName:R|FontWidth:4097|FontHeight:1|RangeFrom:65|RangeTo:65",
         "Line 2: the cell width 4097 is larger than 4096"},
        {"FontName:R|FontWidth:513|FontHeight:512|RangeFrom:65|RangeTo:65",
         "The cell of 513 x 512 pixels is larger than the 262144 pixels a cell may have"},
        {"FontName:R|FontWidth:512|FontHeight:512|RangeFrom:65|RangeTo:65", ""},
        {"FontName:R|FontWidth:4096|FontHeight:64|RangeFrom:1|RangeTo:0", ""},
    };
    for (const auto& [lines, error] : cases)
        EXPECT_EQ(errorOf(lines), error) << lines;
}
