// Fonts of grey levels: the levels and their greys, the .font file at each depth, the halving rule of the
// 1-bit outputs, and the editing and drawing that must keep levels.
#include "editing/char_width.h"
#include "editing/transforms.h"
#include "fontexport/text_layout.h"
#include "fontio/font_file.h"
#include "model/error.h"
#include "model/grey_levels.h"
#include "platform/text.h"

#include <gtest/gtest.h>

using namespace tesselor;

namespace {

// One character 65 of a cell 4 x 1 with the levels given, at a depth.
FontModel greyFont(int depth, std::vector<int> levels) {
    FontModel font;
    font.FontName = "G";
    font.Depth = depth;
    font.CellImage = PixelImage(static_cast<int>(levels.size()), 1);
    font.RangeFrom = font.RangeTo = 65;
    font.CharImages[65] = font.CellImage;
    font.CharWidths[65] = static_cast<std::uint8_t>(levels.size());
    for (std::size_t x = 0; x < levels.size(); ++x)
        font.CharImages[65].setPixel(static_cast<int>(x), 0, levelColour(levels[x], depth));
    return font;
}

std::string written(const FontModel& font) {
    return text::joinLinesCrLf(writeFontFile(font));
}

} // namespace

// Every level is one exact grey and reads back as itself; 1 bit keeps black and white.
TEST(GreyLevels, EveryLevelIsAGreyThatReadsBack) {
    EXPECT_EQ(levelColour(0, 1), kWhite);
    EXPECT_EQ(levelColour(1, 1), kBlack);
    EXPECT_EQ(levelColour(8, 4), Colour(0x777777));
    for (const int depth : {1, 2, 4, 8})
        for (int level = 0; level <= maxLevel(depth); ++level)
            EXPECT_EQ(levelOf(levelColour(level, depth), depth), level) << depth << " " << level;
}

// level x max_out / max_in, rounded half up; to one bit, ink at half the maximum or more.
TEST(GreyLevels, ConversionRoundsHalfUp) {
    const struct {
        int level, in, out, expected;
    } rows[] = {{7, 4, 1, 0},   {8, 4, 1, 1},   {1, 2, 1, 0},    {2, 2, 1, 1}, {127, 8, 1, 0},
                {128, 8, 1, 1}, {1, 1, 8, 255}, {15, 4, 8, 255}, {8, 4, 2, 2}, {119, 8, 4, 7},
                {120, 8, 4, 7}, {127, 8, 4, 7}, {128, 8, 4, 8},  {1, 4, 2, 0}, {3, 4, 2, 1}};
    for (const auto& row : rows)
        EXPECT_EQ(convertLevel(row.level, row.in, row.out), row.expected)
            << row.level << " at " << row.in << " to " << row.out;
}

// A hexadecimal level a pixel (two digits at depth 8) and the depth after the last record; 1-bit files
// stay as they were.
TEST(GreyFontFile, WritesLevelsAndReadsThemBack) {
    EXPECT_EQ(written(greyFont(4, {0, 8, 15, 3})),
              "FontName:G\r\nFontWidth:4\r\nFontHeight:1\r\nRangeFrom:65\r\n"
              "RangeTo:65\r\nChar:65\r\n  Width:4\r\n    BitMap:08F3\r\n"
              "Depth:4\r\n");
    FontModel eight = greyFont(8, {0, 0x80, 0xFF, 0x0A});
    eight.CodePage = "KOI8-R";
    EXPECT_TRUE(written(eight).ends_with("    BitMap:0080FF0A\r\nCodePage:KOI8-R\r\nDepth:8\r\n"));
    EXPECT_EQ(written(greyFont(1, {0, 1, 1, 0})).find("Depth"), std::string::npos);
    for (const FontModel& font : {greyFont(2, {0, 1, 2, 3}), greyFont(4, {15, 0, 7, 8}), eight}) {
        const FontModel back = readFontFile(written(font), FontModel{});
        EXPECT_EQ(back.Depth, font.Depth);
        EXPECT_EQ(back.CharImages[65], font.CharImages[65]);
        EXPECT_EQ(written(back), written(font));
    }
}

TEST(GreyFontFile, RefusesWhatIsNoLevel) {
    const std::string head =
        "FontName:G\nFontWidth:2\nFontHeight:1\nRangeFrom:65\nRangeTo:65\nChar:65\n  Width:2\n";
    const std::pair<std::string, std::string> rows[] = {
        {"    BitMap:01\nDepth:3\n", "Line 9: the depth 3 is none of 1, 2, 4 and 8"},
        {"    BitMap:0G\nDepth:4\n", "Line 8: 'G' is no level of a 4-bit font"},
        {"    BitMap:34\nDepth:2\n", "Line 8: '4' is no level of a 2-bit font"},
        {"    BitMap:ZZ00\nDepth:8\n", "Line 8: 'ZZ' is no level of a 8-bit font"},
    };
    for (const auto& [rest, message] : rows) {
        try {
            readFontFile(head + rest, FontModel{});
            ADD_FAILURE() << rest;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}

// The 1-bit outputs take the halving rule; a 1-bit font stays as it is.
TEST(GreyFont, BilevelFontHalves) {
    const FontModel bilevel = bilevelFont(greyFont(4, {0, 7, 8, 15}));
    EXPECT_EQ(bilevel.Depth, 1);
    const Colour expected[] = {kWhite, kWhite, kBlack, kBlack};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(bilevel.CharImages[65].pixel(x, 0), expected[x]) << x;
    FontModel oneBit = greyFont(1, {0, 1, 0, 0});
    oneBit.CharImages[65].setPixel(3, 0, 0x010101); // only exact black is ink at 1 bit
    EXPECT_EQ(bilevelFont(oneBit).CharImages[65], oneBit.CharImages[65]);
}

// Invert gives the maximum less each level; the width counts any level above paper; the text mixes ink and
// paper by level.
TEST(GreyFont, EditingAndDrawingKeepLevels) {
    FontModel font = greyFont(4, {0, 5, 15, 0});
    invertChar(font, 65);
    EXPECT_EQ(levelOf(font.CharImages[65].pixel(1, 0), 4), 10);
    EXPECT_EQ(font.CharImages[65].pixel(2, 0), kWhite);
    EXPECT_EQ(recomputedCharWidth(greyFont(4, {0, 1, 0, 0}).CharImages[65], 4, 1, 4), 2);
    EXPECT_EQ(recomputedCharWidth(greyFont(4, {0, 1, 0, 0}).CharImages[65], 4, 1, 1), 1);
    const FontModel drawn = greyFont(4, {0, 8, 15, 3});
    const PixelImage text =
        renderText(drawn, layoutText(drawn, {65}), {0x0000FF /* red ink */, kWhite, 1, std::nullopt});
    EXPECT_EQ(text.pixel(0, 0), kWhite);
    EXPECT_EQ(text.pixel(1, 0), Colour(0x7777FF));
    EXPECT_EQ(text.pixel(2, 0), Colour(0x0000FF));
}

// The controller's advances: each width plus the spacing, a character without ink the space width; the
// defaults are 1 and a third of the cell height.
TEST(Advances, SpacingAndSpaceWidth) {
    FontModel font = greyFont(1, {1, 0, 0, 0});
    font.CellImage = PixelImage(4, 16);
    font.RangeTo = 66;
    font.CharImages[66] = PixelImage(4, 16);
    font.CharWidths[66] = 1;
    const Advances defaults = controllerAdvances(font);
    EXPECT_EQ(defaults.spacing, 1);
    EXPECT_EQ(defaults.spaceWidth, 5);
    EXPECT_EQ(controllerAdvances(greyFont(1, {0})).spaceWidth, 0);
    for (const auto& [height, space] : {std::pair{13, 4}, std::pair{17, 6}, std::pair{18, 6}}) {
        FontModel tall = font;
        tall.CellImage = PixelImage(4, height);
        EXPECT_EQ(controllerAdvances(tall).spaceWidth, space) << height; // a third, rounded
    }
    EXPECT_EQ(advanceOf(font, 65, defaults), 5);
    EXPECT_EQ(advanceOf(font, 66, defaults), 5);
    EXPECT_EQ(advanceOf(font, 66, {2, 7}), 7);
    EXPECT_EQ(advanceOf(font, 65, {}), 4);
    EXPECT_EQ(layoutText(font, {65, 66, 65}, {2, 3}).width, 6 + 3 + 6);
}
