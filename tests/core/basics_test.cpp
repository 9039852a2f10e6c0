// The model's image, widths and paths, and the text helpers every writer uses.
#include "editing/char_width.h"
#include "model/app_state.h"
#include "model/font_model.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <gtest/gtest.h>

using namespace tesselor;

TEST(PixelImage, ResizeKeepsPixelsAtTheirCoordinatesAndAddsWhite) {
    PixelImage image(3, 2, kBlack);
    image.setPixel(2, 1, 0x123456);
    image.setWidth(5);
    EXPECT_EQ(image.pixel(2, 1), 0x123456u);
    EXPECT_EQ(image.pixel(4, 1), kWhite);
    image.setHeight(1);
    EXPECT_EQ(image.pixel(2, 1), kWhite); // a dropped row reads as outside
    image.setSize(2, 3);
    EXPECT_EQ(image.pixel(1, 0), kBlack);
    EXPECT_EQ(image.pixel(1, 2), kWhite);
}

// Outside the image a read is white and a write does nothing; fill and copy clip; a copy within one image
// may overlap.
TEST(PixelImage, ClippingAndOverlap) {
    PixelImage image(2, 2, kBlack);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {100000, 100000}}) {
        EXPECT_EQ(image.pixel(x, y), kWhite);
        image.setPixel(x, y, 0x111111);
    }
    EXPECT_EQ(image, PixelImage(2, 2, kBlack));
    PixelImage target(4, 4, kWhite);
    target.fill(2, 2, 10, 10, kBlack);
    target.copyRect(image, 0, 0, 5, 5, -1, -1);
    EXPECT_EQ(target.pixel(0, 0), kBlack);
    EXPECT_EQ(target.pixel(1, 1), kWhite);
    EXPECT_EQ(target.pixel(3, 3), kBlack);
    PixelImage row(4, 1);
    for (int x = 0; x < 4; ++x)
        row.setPixel(x, 0, Colour(x));
    row.copyRect(row, 0, 0, 3, 1, 1, 0);
    EXPECT_EQ(row.pixels(), (std::vector<Colour>{0, 0, 1, 2}));
}

TEST(CharWidth, RightmostExactlyBlackColumnPlusOne) {
    PixelImage character(10, 3, kWhite);
    EXPECT_EQ(recomputedCharWidth(character, 10, 3), 1);
    character.setPixel(9, 2, kBlack);
    character.setPixel(4, 0, kBlack);
    EXPECT_EQ(recomputedCharWidth(character, 10, 3), 10);
    character.setPixel(9, 2, 0x808080); // grey does not count
    EXPECT_EQ(recomputedCharWidth(character, 10, 3), 5);
}

TEST(FontModel, WidestWidthOfTheRangeOnly) {
    FontModel font;
    font.CharWidths[10] = 200;
    font.CharWidths[65] = 3;
    font.CharWidths[66] = 9;
    font.RangeFrom = 65;
    font.RangeTo = 66;
    EXPECT_EQ(font.widestWidth(), 9);
    font.RangeFrom = 65535; // as an import without characters leaves it
    font.RangeTo = 0;
    EXPECT_EQ(font.widestWidth(), 0);
    EXPECT_EQ(titleFor("/a/b.font"), "Tesselor [/a/b.font]");
}

TEST(Paths, NamesExtensionsAndFolders) {
    EXPECT_EQ(paths::fileName("/home/u/my font.old.c"), "my font.old.c");
    EXPECT_EQ(paths::removeExtension("/home/u/my font.old.c"), "/home/u/my font.old");
    EXPECT_EQ(paths::baseName("/home/u/my font.old.c"), "my font.old");
    EXPECT_EQ(paths::extension("/home/u.v/font"), ""); // a dot in a folder is no extension
    EXPECT_EQ(paths::baseName("dir/.hidden"), "");
    EXPECT_EQ(paths::folder("/home/u/a.font") + "|" + paths::folder("/a.font") + "|" +
                  paths::folder("a.font"),
              "/home/u|/|");
    EXPECT_EQ(paths::withDefaultExtension("/t.d/font", ".c"), "/t.d/font.c");
    EXPECT_EQ(paths::withDefaultExtension("/t/font.txt", ".font"), "/t/font.txt");
    EXPECT_EQ(paths::defaultFileName("Arial 16 Bold", ".font"), "Arial_16_Bold.font");
    EXPECT_EQ(paths::defaultFileName("", ".font"), "*.font");
}

// Lines end at CR LF, LF and CR; a line end at the very end adds no line; lines are found when asked.
TEST(Text, LinesAndNumbers) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\n\r", {"", ""}},
        {"", {}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& [data, expected] : cases) {
        text::Lines lines(data);
        std::vector<std::string> got;
        for (std::size_t i = 1; i <= lines.count(); ++i)
            got.emplace_back(lines.line(i));
        EXPECT_EQ(got, expected) << data;
        if (lines.count() > 1) {
            EXPECT_EQ(lines.line(1), expected[0]); // going back starts again from the top
        }
    }
    EXPECT_EQ(text::joinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(text::dec(-12) + text::hex(0x4A, 8) + text::hex(0x12C, 2) + text::hex(0, 2),
              "-120000004A12C00");
}
