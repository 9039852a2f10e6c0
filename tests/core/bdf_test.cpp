// BDF in and out: a tiny hand-written file byte for byte, its refusals with their line numbers, and a
// font sent out and brought back unchanged.
#include "fontexport/bdf_writer.h"
#include "fontio/bdf_reader.h"
#include "fontio/font_file.h"
#include "model/error.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <random>

using namespace tesselor;

namespace {

// 'A' standing on the baseline and a glyph reaching one row below it, in a charset of byte codes.
const std::string kTiny = R"(STARTFONT 2.1
COMMENT hand-written for the tests
FONT -Misc-Tiny-Medium-R-Normal--6-60-75-75-C-40-ISO8859-1
SIZE 6 75 75
FONTBOUNDINGBOX 4 6 0 -1
STARTPROPERTIES 4
FONT_ASCENT 5
FONT_DESCENT 1
CHARSET_REGISTRY "ISO8859"
CHARSET_ENCODING "1"
ENDPROPERTIES
CHARS 2
STARTCHAR A
ENCODING 65
SWIDTH 666 0
DWIDTH 4 0
BBX 3 5 0 0
BITMAP
40
A0
E0
A0
A0
ENDCHAR
STARTCHAR descender
ENCODING 66
SWIDTH 500 0
DWIDTH 3 0
BBX 2 3 1 -1
BITMAP
C0
40
C0
ENDCHAR
ENDFONT
)";

std::optional<int> sameCode(long encoding) {
    return encoding <= 255 ? std::optional(int(encoding)) : std::nullopt;
}

std::string fontText(const FontModel& font) {
    return text::joinLinesCrLf(writeFontFile(font));
}

// Replaces the first occurrence of `what` in the tiny file.
std::string tinyWith(const std::string& what, const std::string& by) {
    std::string out = kTiny;
    out.replace(out.find(what), what.size(), by);
    return out;
}

} // namespace

TEST(BdfImport, TinyFileByteForByte) {
    const BdfFile bdf = readBdf(kTiny);
    EXPECT_EQ(bdf.registry + "-" + bdf.encoding, "ISO8859-1");
    EXPECT_EQ(bdfCharsetName(bdf.registry, bdf.encoding), "ISO-8859-1");
    BdfImport result = importBdf(bdf, sameCode, std::nullopt, std::nullopt, "tiny");
    EXPECT_EQ(fontText(result.imported.font), "FontName:tiny\r\nFontWidth:4\r\nFontHeight:6\r\n"
                                              "RangeFrom:65\r\nRangeTo:66\r\n"
                                              "Char:65\r\n  Width:4\r\n    BitMap:0100\r\n"
                                              "           1010\r\n           1110\r\n           1010\r\n"
                                              "           1010\r\n           0000\r\n"
                                              "Char:66\r\n  Width:3\r\n    BitMap:0000\r\n"
                                              "           0000\r\n           0000\r\n           0110\r\n"
                                              "           0010\r\n           0110\r\n"
                                              "Baseline:4\r\n"); // FONT_ASCENT 5
    // A range past the glyphs: blank codes of width 0, listed.
    result = importBdf(bdf, sameCode, 64, 67, "tiny");
    EXPECT_EQ(result.missingCodes, (std::vector<int>{64, 67}));
    EXPECT_EQ(result.imported.font.CharWidths[64], 0);
    EXPECT_THROW(importBdf(bdf, sameCode, 70, 80, "tiny"), Error);
    // Unicode: the glyph's character through the code page.
    const BdfFile unicode = readBdf(tinyWith("ENCODING 65", "ENCODING 1102"));
    const auto koi8 = [](long encoding) {
        return encoding == 1102 ? std::optional(0xC0) : sameCode(encoding);
    };
    EXPECT_EQ(importBdf(unicode, koi8, std::nullopt, std::nullopt, "").imported.font.RangeTo, 0xC0);
}

TEST(BdfImport, RefusalsNameTheLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"COMMENT only\n", "Line 1 of the BDF file: a BDF file starts with STARTFONT"},
        {tinyWith("40\nA0", "4\nA0"),
         "Line 19 of the BDF file: a BITMAP row of 3 pixels needs 2 hexadecimal digits"},
        {tinyWith("E0", "G0"), "Line 21 of the BDF file: 'G0' is no hexadecimal row"},
        {tinyWith("A0\nA0\nENDCHAR", "A0\nENDCHAR"),
         "Line 23 of the BDF file: the BITMAP has 4 rows; its BBX says 5"},
        {tinyWith("C0\nENDCHAR", "C0\n00\nENDCHAR"),
         "Line 34 of the BDF file: the BITMAP has more rows than its BBX says (3)"},
        {tinyWith("ENDFONT\n", ""), "Line 34 of the BDF file: the file ends before ENDFONT"},
        {tinyWith("BBX 3 5 0 0", "BBX 4097 5 0 0"),
         "Line 17 of the BDF file: BBX value 4097 is outside 0 to 4096"},
        {tinyWith("DWIDTH 4 0", "DWIDTH x 0"), "Line 16 of the BDF file: 'x' is no whole number"},
        {tinyWith("ENCODING 65\n", ""),
         "Line 17 of the BDF file: the glyph has no ENCODING before its BITMAP"},
        {tinyWith("ENDCHAR\nSTARTCHAR", "STARTCHAR"),
         "Line 24 of the BDF file: the BITMAP has more rows than its BBX says (5)"},
        {tinyWith("FONT_ASCENT 5", "FONT_ASCENT 4096"),
         "Line 8 of the BDF file: FONT_ASCENT + FONT_DESCENT is 4097; a cell is 1 to 4096 pixels high"},
    };
    for (const auto& [bytes, message] : cases) {
        try {
            readBdf(bytes);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
    // The limits of a .font hold for the cell all glyphs make together.
    const BdfFile wide = readBdf(tinyWith("DWIDTH 4 0", "DWIDTH 4096 0"));
    const BdfFile tall = readBdf(tinyWith("FONT_ASCENT 5", "FONT_ASCENT 100"));
    EXPECT_NO_THROW(importBdf(tall, sameCode, std::nullopt, std::nullopt, ""));
    BdfFile both = wide;
    both.ascent = 100;
    EXPECT_THROW(importBdf(both, sameCode, std::nullopt, std::nullopt, ""), Error);
}

// A font out and back: every pixel of every cell, every width, the range; codes without a character go
// out as "ENCODING -1 code" and come back to their code.
TEST(BdfExport, RoundTripGivesTheSameFont) {
    CodePage page{"test-page", {}};
    for (char32_t c = 0; c < 256; ++c)
        page.characters[c] = c;
    page.characters[0x41] = U'Α';
    page.characters[0x43] = 0xFFFD;
    std::mt19937 random(5);
    FontModel font;
    font.CellImage = PixelImage(10, 7);
    font.RangeFrom = 64;
    font.RangeTo = 74;
    for (int c = 64; c <= 74; ++c) {
        PixelImage& image = font.CharImages[std::size_t(c)] = PixelImage(10, 7);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 10; ++x)
                image.setPixel(x, y, random() % 3 == 0 ? kBlack : kWhite);
        font.CharWidths[std::size_t(c)] = std::uint8_t(random() % 11);
    }
    font.CharImages['H'].fillAll(kWhite);
    font.CharImages['H'].setPixel(2, 4, kBlack); // the baseline under row 4
    const std::string bdf = bdfText(font, page, "rt");
    EXPECT_NE(bdf.find("FONT_ASCENT 5\nFONT_DESCENT 2\n"), std::string::npos);
    EXPECT_NE(bdf.find("ENCODING 913\n"), std::string::npos); // Α
    EXPECT_NE(bdf.find("ENCODING -1 67\n"), std::string::npos);
    const BdfImport back = importBdf(
        readBdf(bdf), [&](long encoding) { return page.codeOf(char32_t(encoding)); }, std::nullopt,
        std::nullopt, "");
    font.Baseline = 4;
    EXPECT_EQ(fontText(back.imported.font), fontText(font));
    // A baseline of the font's own wins over the ink of 'H', and comes back.
    font.Baseline = 2;
    EXPECT_NE(bdfText(font, page, "rt").find("FONT_ASCENT 3\nFONT_DESCENT 4\n"), std::string::npos);
    const BdfImport again = importBdf(
        readBdf(bdfText(font, page, "rt")), [&](long encoding) { return page.codeOf(char32_t(encoding)); },
        std::nullopt, std::nullopt, "");
    EXPECT_EQ(fontText(again.imported.font), fontText(font));

    CodePage own{kFontSpecific, {}};
    const std::string specific = bdfText(font, own, "rt");
    EXPECT_NE(specific.find("CHARSET_REGISTRY \"FontSpecific\"\nCHARSET_ENCODING \"0\"\n"),
              std::string::npos);
    EXPECT_EQ(fontText(importBdf(readBdf(specific), sameCode, std::nullopt, std::nullopt, "").imported.font),
              fontText(font));
}

// Files that bend the rules: without FONT_DESCENT a glyph below the bounding box keeps its rows; of two
// glyphs for one code the first counts; a charset named by its code page names that page; a BBX of too few
// numbers is refused by its line.
TEST(BdfImport, FilesThatBendTheRules) {
    const auto with = [](std::string text, const std::string& what, const std::string& by) {
        return text.replace(text.find(what), what.size(), by);
    };
    const std::string noDescent =
        with(tinyWith("FONT_DESCENT 1\n", ""), "FONTBOUNDINGBOX 4 6 0 -1", "FONTBOUNDINGBOX 4 5 0 0");
    const FontModel low =
        importBdf(readBdf(noDescent), sameCode, std::nullopt, std::nullopt, "").imported.font;
    EXPECT_EQ(low.FontHeight(), 6);
    EXPECT_EQ(low.CharImages[66].pixel(1, 5), kBlack); // the descender's last row
    EXPECT_EQ(low.Baseline, 4);

    const std::string twice = tinyWith(
        "ENDFONT", "STARTCHAR again\nENCODING 65\nDWIDTH 2 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\nENDFONT");
    EXPECT_EQ(
        importBdf(readBdf(twice), sameCode, std::nullopt, std::nullopt, "").imported.font.CharWidths[65], 4);

    EXPECT_EQ(bdfCharsetName("MICROSOFT", "CP1251"), "windows-1251");
    EXPECT_EQ(bdfCharsetName("microsoft", "cp1250"), "windows-1250");
    EXPECT_EQ(bdfCharsetName("IBM", "CP866"), "IBM866");
    EXPECT_EQ(bdfCharsetName("KOI8", "R"), "KOI8-R");
    try {
        readBdf(tinyWith("BBX 3 5 0 0", "BBX 3 5"));
        ADD_FAILURE() << "BBX 3 5 accepted";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Line 17 of the BDF file: BBX needs 4 numbers, has 2");
    }
}
