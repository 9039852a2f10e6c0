#include "fontio/font_file.h"
#include "model/error.h"
#include "platform/text.h"

#include <gtest/gtest.h>

using namespace tesselor;
using Lines = std::vector<std::string>;

namespace {

// The reader takes the file's text: the lines, CR LF after each.
FontModel readLines(const Lines& lines, const FontModel& previous) {
    return readFontFile(text::joinLinesCrLf(lines), previous);
}

FontModel tinyFont() {
    FontModel font;
    font.FontName = "Tiny";
    font.CellImage = PixelImage(3, 2);
    font.RangeFrom = 65;
    font.RangeTo = 65;
    font.CharImages[65] = PixelImage(3, 2);
    font.CharWidths[65] = 2;
    font.CharImages[65].setPixel(0, 0, kBlack);
    font.CharImages[65].setPixel(1, 0, kBlack);
    font.CharImages[65].setPixel(1, 1, kBlack);
    return font;
}

const Lines kTinyLines = {"FontName:Tiny", "FontWidth:3", "FontHeight:2",   "RangeFrom:65",  "RangeTo:65",
                          "Char:65",       "  Width:2",   "    BitMap:110", "           010"};

std::string errorOf(const Lines& lines, const FontModel& previous = {}) {
    try {
        readLines(lines, previous);
    } catch (const Error& error) {
        return error.what();
    }
    return {};
}

} // namespace

TEST(FontFileWriter, TinyExampleLineForLine) {
    EXPECT_EQ(writeFontFile(tinyFont()), kTinyLines);
    EXPECT_EQ(text::joinLinesCrLf(writeFontFile(tinyFont())),
              "FontName:Tiny\r\nFontWidth:3\r\nFontHeight:2\r\nRangeFrom:65\r\nRangeTo:65\r\nChar:65\r\n"
              "  Width:2\r\n    BitMap:110\r\n           010\r\n");
}

TEST(FontFileWriter, OnlyExactBlackIsOneAndEveryColumnIsWritten) {
    FontModel font = tinyFont();
    font.CharImages[65].setPixel(2, 0, 0x010101);
    font.CharImages[65].setPixel(2, 1, kInkPreviewColour);
    EXPECT_EQ(writeFontFile(font)[7], "    BitMap:110");
    EXPECT_EQ(writeFontFile(font)[8], "           010");
}

TEST(FontFileWriter, EmptyRangeIsTheHeaderAlone) {
    FontModel font = tinyFont();
    font.RangeFrom = 66;
    trimCellToWidestChar(font);
    EXPECT_EQ(writeFontFile(font),
              (Lines{"FontName:Tiny", "FontWidth:0", "FontHeight:2", "RangeFrom:66", "RangeTo:65"}));
}

TEST(FontFileWriter, TrimMakesTheCellAsWideAsTheWidestCharacter) {
    FontModel font;
    font.CellImage = PixelImage(10, 4);
    font.RangeFrom = 48;
    font.RangeTo = 49;
    font.CharImages[48] = PixelImage(10, 4);
    font.CharImages[49] = PixelImage(10, 4);
    font.CharImages[50] = PixelImage(10, 4); // outside the range: untouched
    font.CharWidths[48] = 7;
    font.CharWidths[49] = 3;
    trimCellToWidestChar(font);
    EXPECT_EQ(font.FontWidth(), 7);
    EXPECT_EQ(font.CharImages[48].width(), 7);
    EXPECT_EQ(font.CharImages[49].width(), 7);
    EXPECT_EQ(font.CharImages[50].width(), 10);
    EXPECT_EQ(writeFontFile(font)[1], "FontWidth:7");
}

TEST(FontFileReader, TinyExampleReadsBack) {
    const FontModel font = readLines(kTinyLines, {});
    EXPECT_EQ(font.FontName, "Tiny");
    EXPECT_EQ(font.FontWidth(), 3);
    EXPECT_EQ(font.FontHeight(), 2);
    EXPECT_EQ(font.RangeFrom, 65);
    EXPECT_EQ(font.RangeTo, 65);
    EXPECT_EQ(font.CharWidths[65], 2);
    EXPECT_EQ(font.CharImages[65], tinyFont().CharImages[65]);
    EXPECT_EQ(font.CharWidths[64], 1); // every other width becomes 1
}

TEST(FontFileReader, RoundTripKeepsCellRangeWidthsAndPixels) {
    FontModel font;
    font.FontName = "Round trip";
    font.CellImage = PixelImage(13, 5);
    font.RangeFrom = 32;
    font.RangeTo = 40;
    for (int c = 32; c <= 40; ++c) {
        auto& image = font.CharImages[static_cast<std::size_t>(c)];
        image = PixelImage(13, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                if ((x * 7 + y * 3 + c) % 4 == 0)
                    image.setPixel(x, y, kBlack);
        font.CharWidths[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c == 36 ? 0 : c % 14);
    }
    font.CharImages[33].setPixel(0, 0, 0x00FF00); // a colour reads back as white
    const FontModel back = readLines(writeFontFile(font), {});
    EXPECT_EQ(back.FontName, font.FontName);
    EXPECT_EQ(back.FontWidth(), 13);
    EXPECT_EQ(back.FontHeight(), 5);
    EXPECT_EQ(back.RangeFrom, 32);
    EXPECT_EQ(back.RangeTo, 40);
    font.CharImages[33].setPixel(0, 0, kWhite);
    for (int c = 32; c <= 40; ++c) {
        EXPECT_EQ(back.CharWidths[static_cast<std::size_t>(c)], font.CharWidths[static_cast<std::size_t>(c)])
            << c;
        EXPECT_EQ(back.CharImages[static_cast<std::size_t>(c)], font.CharImages[static_cast<std::size_t>(c)])
            << c;
    }
    EXPECT_EQ(writeFontFile(back), writeFontFile(font));
}

TEST(FontFileReader, CellOfHeightZeroSurvivesARoundTrip) {
    FontModel font = tinyFont();
    font.CellImage.setHeight(0);
    font.CharImages[65].setHeight(0);
    font.RangeTo = 66;
    font.CharImages[66] = PixelImage(3, 0);
    font.CharWidths[66] = 3;
    const FontModel back = readLines(writeFontFile(font), {});
    EXPECT_EQ(back.FontHeight(), 0);
    EXPECT_EQ(back.CharWidths[65], 2);
    EXPECT_EQ(back.CharWidths[66], 3);
}

TEST(FontFileReader, IntegerValues) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
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
        {"0", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"12 ", std::nullopt},
        {"1 2", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$100000000", std::nullopt},
        {"12a", std::nullopt},
        {"-", std::nullopt},
        {"\t1", std::nullopt},
        {"1.5", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseFontInteger(c.text), c.value) << "'" << c.text << "'";
}

TEST(FontFileReader, KeysMatchExactlyAndUnknownHeaderLinesKeepThePreviousValues) {
    FontModel previous = tinyFont();
    const FontModel font =
        readLines({"fontname:x", "FontWidth :4", "FontHeight:4", "RangeFrom:70", "RangeTo:71"}, previous);
    EXPECT_EQ(font.FontName, "Tiny");
    EXPECT_EQ(font.FontWidth(), 3);
    EXPECT_EQ(font.FontHeight(), 4);
    EXPECT_EQ(font.RangeFrom, 70);
    EXPECT_EQ(font.RangeTo, 71);
    EXPECT_EQ(font.CharImages[70], PixelImage(3, 4, kWhite));
}

TEST(FontFileReader, NameIsTheRestOfTheLineAfterTheFirstColon) {
    const FontModel font =
        readLines({"FontName: a:b ", "FontWidth:1", "FontHeight:1", "RangeFrom:1", "RangeTo:0"}, {});
    EXPECT_EQ(font.FontName, " a:b ");
}

TEST(FontFileReader, RowDecoding) {
    // Any character but "0" is black; a short row gives black; a short continuation line is all black.
    const Lines lines = {"FontName:R", "FontWidth:4", "FontHeight:3",   "RangeFrom:65", "RangeTo:65",
                         "Char:65",    "  Width:4",   "    BitMap:0x2", "short",        "           0"};
    const FontModel font = readLines(lines, {});
    const auto& image = font.CharImages[65];
    EXPECT_EQ(image.pixel(0, 0), kWhite);
    EXPECT_EQ(image.pixel(1, 0), kBlack);
    EXPECT_EQ(image.pixel(2, 0), kBlack);
    EXPECT_EQ(image.pixel(3, 0), kBlack); // missing position
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(image.pixel(x, 1), kBlack) << x;
    EXPECT_EQ(image.pixel(0, 2), kWhite);
    EXPECT_EQ(image.pixel(1, 2), kBlack);
}

TEST(FontFileReader, ContinuationLinesLoseTheirFirstElevenCharactersWhateverTheyAre) {
    const Lines lines = {"FontName:R", "FontWidth:2", "FontHeight:2",  "RangeFrom:65", "RangeTo:65",
                         "Char:65",    "  Width:2",   "    BitMap:00", "XXXXXXXXXXX01"};
    const FontModel font = readLines(lines, {});
    EXPECT_EQ(font.CharImages[65].pixel(0, 1), kWhite);
    EXPECT_EQ(font.CharImages[65].pixel(1, 1), kBlack);
}

TEST(FontFileReader, RecordRules) {
    const Lines lines = {
        "FontName:R", "FontWidth:1", "FontHeight:1", "RangeFrom:65",
        "RangeTo:67", "Chr:66",      "  Width:5",    "    BitMap:1", // no "Char:": stored as character 0
        "Char:65",    "  Wdth:5",    "    BitMap:1",                 // misspelt width: keeps 1
        "Char:66",    "  Width:300", "    BitMap:1",                 // the low 8 bits: 44
        "Char:200",   "  Width:3",   "    BitMap:1",                 // outside the range, loaded too
        "Char:66",    "  Width:$2",  "    BitMap:0",                 // a later record replaces the earlier
    };
    const FontModel font = readLines(lines, {});
    EXPECT_EQ(font.CharWidths[0], 5);
    EXPECT_EQ(font.CharImages[0].pixel(0, 0), kBlack);
    EXPECT_EQ(font.CharWidths[65], 1);
    EXPECT_EQ(font.CharWidths[66], 2);
    EXPECT_EQ(font.CharImages[66].pixel(0, 0), kWhite);
    EXPECT_EQ(font.CharWidths[67], 1); // in the range without a record: white, width 1
    EXPECT_EQ(font.CharImages[67], PixelImage(1, 1, kWhite));
    EXPECT_EQ(font.CharWidths[200], 3);

    const FontModel wide = readLines({"FontName:R", "FontWidth:1", "FontHeight:1", "RangeFrom:65",
                                      "RangeTo:65", "Char:65", "  Width:300", "    BitMap:1"},
                                     {});
    EXPECT_EQ(wide.CharWidths[65], 44);
}

TEST(FontFileReader, MisspeltBitMapKeyTakesThreeLinesSoRowsBecomeRecords) {
    const Lines lines = {"FontName:R",   "FontWidth:1",  "FontHeight:2", "RangeFrom:65",
                         "RangeTo:65",   "Char:65",      "  Width:1",    "    Bitmap:1",
                         "           1", "           1", "           1"};
    // The two row lines form a record of their own (character 0) that finds no BitMap line.
    const FontModel font = readLines(lines, {});
    EXPECT_EQ(font.CharImages[65], PixelImage(1, 2, kWhite));
}

TEST(FontFileReader, FewerThanFourLinesKeepNameCellAndRangeAndClearTheCharacters) {
    FontModel previous = tinyFont();
    for (const Lines& lines : {Lines{}, Lines{"FontName:Other"}, Lines{"a", "b", "c"}}) {
        const FontModel font = readLines(lines, previous);
        EXPECT_EQ(font.FontName, "Tiny");
        EXPECT_EQ(font.FontWidth(), 3);
        EXPECT_EQ(font.FontHeight(), 2);
        EXPECT_EQ(font.RangeFrom, 65);
        EXPECT_EQ(font.RangeTo, 65);
        EXPECT_EQ(font.CharImages[65], PixelImage(3, 2, kWhite));
        EXPECT_EQ(font.CharWidths[65], 1);
    }
}

TEST(FontFileReader, ClipboardPixelsOfTheCellAreKept) {
    FontModel previous = tinyFont();
    previous.CellImage.setPixel(0, 0, kBlack);
    const FontModel font =
        readLines({"FontName:A", "FontWidth:4", "FontHeight:2", "RangeFrom:1", "RangeTo:0"}, previous);
    EXPECT_EQ(font.CellImage.width(), 4);
    EXPECT_EQ(font.CellImage.pixel(0, 0), kBlack);
    EXPECT_EQ(font.CellImage.pixel(3, 0), kWhite);
}

TEST(FontFileReader, RefusalsNameTheLine) {
    const Lines header = {"FontName:R", "FontWidth:2", "FontHeight:1", "RangeFrom:65", "RangeTo:65"};
    auto with = [&](std::size_t index, const std::string& line) {
        Lines lines = header;
        lines[index] = line;
        return lines;
    };
    auto plus = [&](Lines extra) {
        Lines lines = header;
        lines.insert(lines.end(), extra.begin(), extra.end());
        return lines;
    };
    EXPECT_EQ(errorOf({"FontName:R", "FontWidth:2", "FontHeight:1", "RangeFrom:65"}),
              "Line 5 is missing: the file ends inside the font");
    EXPECT_EQ(errorOf(plus({"Char:65"})), "Line 7 is missing: the file ends inside the font");
    EXPECT_EQ(errorOf(plus({"Char:65", "  Width:1"})), "Line 8 is missing: the file ends inside the font");
    EXPECT_EQ(errorOf({"FontName:R", "FontWidth:2", "FontHeight:2", "RangeFrom:65", "RangeTo:65", "Char:65",
                       "  Width:1", "    BitMap:11"}),
              "Line 9 is missing: the file ends inside the font");
    EXPECT_EQ(errorOf(with(1, "FontWidth:two")), "Line 2: the value 'two' is not a valid number");
    EXPECT_EQ(errorOf(with(2, "FontHeight:1 ")), "Line 3: the value '1 ' is not a valid number");
    EXPECT_EQ(errorOf(with(1, "FontWidth:-1")), "Line 2: the cell width -1 is negative");
    EXPECT_EQ(errorOf(with(2, "FontHeight:-5")), "Line 3: the cell height -5 is negative");
    EXPECT_EQ(errorOf(with(3, "RangeFrom:256")), "Line 4: the first character code 256 is outside 0 to 255");
    EXPECT_EQ(errorOf(with(4, "RangeTo:-1")), "Line 5: the last character code -1 is outside 0 to 255");
    EXPECT_EQ(errorOf(plus({"Char:300", "  Width:1", "    BitMap:11"})),
              "Line 6: the character code 300 is outside 0 to 255");
    EXPECT_EQ(errorOf(plus({"Char:65", "  Width:wide", "    BitMap:11"})),
              "Line 7: the value 'wide' is not a valid number");
    EXPECT_EQ(errorOf(with(1, "FontWidth:5000")), "Line 2: the cell width 5000 is larger than 4096");
    EXPECT_EQ(errorOf({"FontName:R", "FontWidth:1000", "FontHeight:1000", "RangeFrom:65", "RangeTo:65"}),
              "The cell of 1000 x 1000 pixels is larger than the 262144 pixels a cell may have");
}

TEST(FontFileReader, ImporterSizedCellIsAccepted) {
    const FontModel font =
        readLines({"FontName:Big", "FontWidth:305", "FontHeight:300", "RangeFrom:32", "RangeTo:255"}, {});
    EXPECT_EQ(font.FontWidth(), 305);
    EXPECT_EQ(font.CharImages[255].height(), 300);
}
