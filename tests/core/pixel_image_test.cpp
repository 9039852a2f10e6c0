#include "editing/char_width.h"
#include "model/app_state.h"
#include "model/pixel_image.h"

#include <gtest/gtest.h>

using namespace tesselor;

TEST(PixelImage, NewImageIsEmptyAndReadsWhiteEverywhere) {
    PixelImage image;
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.height(), 0);
    EXPECT_EQ(image.pixel(0, 0), kWhite);
    image.setPixel(0, 0, kBlack); // outside: nothing happens
    EXPECT_TRUE(image.pixels().empty());
}

TEST(PixelImage, ResizeKeepsPixelsAtTheirCoordinatesAndAddsWhite) {
    PixelImage image(3, 2, kBlack);
    image.setPixel(2, 1, 0x123456);
    image.setWidth(5);
    EXPECT_EQ(image.width(), 5);
    EXPECT_EQ(image.pixel(2, 1), 0x123456u);
    EXPECT_EQ(image.pixel(0, 0), kBlack);
    EXPECT_EQ(image.pixel(3, 0), kWhite);
    EXPECT_EQ(image.pixel(4, 1), kWhite);
    image.setHeight(1);
    EXPECT_EQ(image.height(), 1);
    EXPECT_EQ(image.pixel(2, 1), kWhite); // dropped row reads as outside
    image.setSize(2, 3);
    EXPECT_EQ(image.pixel(1, 0), kBlack);
    EXPECT_EQ(image.pixel(1, 2), kWhite);
}

TEST(PixelImage, ReadsAndWritesOutsideAreHarmless) {
    PixelImage image(2, 2, kBlack);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {100000, 100000}}) {
        EXPECT_EQ(image.pixel(x, y), kWhite);
        image.setPixel(x, y, 0x111111);
    }
    EXPECT_EQ(image, PixelImage(2, 2, kBlack));
}

TEST(PixelImage, FillClipsToTheImage) {
    PixelImage image(4, 4, kWhite);
    image.fill(2, 2, 10, 10, kBlack);
    EXPECT_EQ(image.pixel(1, 1), kWhite);
    EXPECT_EQ(image.pixel(2, 2), kBlack);
    EXPECT_EQ(image.pixel(3, 3), kBlack);
    image.fillAll(0x00FF00);
    EXPECT_EQ(image.pixel(0, 0), 0x00FF00u);
}

TEST(PixelImage, CopyRectWithinTheSameImageOverlapping) {
    PixelImage image(4, 1, kWhite);
    for (int x = 0; x < 4; ++x)
        image.setPixel(x, 0, static_cast<Colour>(x));
    image.copyRect(image, 0, 0, 3, 1, 1, 0); // shift right by one
    EXPECT_EQ(image.pixel(0, 0), 0u);
    EXPECT_EQ(image.pixel(1, 0), 0u);
    EXPECT_EQ(image.pixel(2, 0), 1u);
    EXPECT_EQ(image.pixel(3, 0), 2u);
}

TEST(PixelImage, CopyRectBetweenImagesSkipsOutsidePixels) {
    PixelImage source(2, 2, kBlack);
    PixelImage target(3, 3, kWhite);
    target.copyRect(source, 0, 0, 5, 5, 2, 2);
    EXPECT_EQ(target.pixel(2, 2), kBlack);
    EXPECT_EQ(target.pixel(1, 1), kWhite);
}

TEST(CharWidth, RightmostExactlyBlackColumnPlusOne) {
    PixelImage character(10, 3, kWhite);
    EXPECT_EQ(recomputedCharWidth(character, 10, 3), 1); // no ink
    character.setPixel(0, 1, kBlack);
    EXPECT_EQ(recomputedCharWidth(character, 10, 3), 1); // ink only in column 0
    character.setPixel(9, 2, kBlack);
    character.setPixel(4, 0, kBlack);
    EXPECT_EQ(recomputedCharWidth(character, 10, 3), 10);
    character.setPixel(9, 2, kWhite);
    EXPECT_EQ(recomputedCharWidth(character, 10, 3), 5);
    character.setPixel(7, 1, 0x808080); // grey does not count
    EXPECT_EQ(recomputedCharWidth(character, 10, 3), 5);
}

TEST(AppState, StartsAsTheModelDescribes) {
    AppState state;
    EXPECT_EQ(state.font.RangeFrom, 0);
    EXPECT_EQ(state.font.RangeTo, 0);
    EXPECT_EQ(state.font.FontWidth(), 0);
    EXPECT_EQ(state.font.FontHeight(), 0);
    for (const auto& image : state.font.CharImages)
        EXPECT_TRUE(image.isEmpty());
    for (auto width : state.font.CharWidths)
        EXPECT_EQ(width, 0);
    EXPECT_FALSE(state.FontModified);
    EXPECT_FALSE(state.ResourcesModified);
    EXPECT_EQ(state.GridZoom, 5);
    EXPECT_EQ(state.CurrentCode, 0);
    EXPECT_EQ(state.AppTitle, "Tesselor");
    EXPECT_EQ(state.FontPageTitle, "Tesselor");
    EXPECT_EQ(state.BitmapPageTitle, "Tesselor");
    EXPECT_EQ(state.ResourcesPageTitle, "Tesselor");
    EXPECT_EQ(state.BitmapBits, 0);
    EXPECT_FALSE(state.ForFT800);
    EXPECT_TRUE(state.ResourceList.empty());
    EXPECT_TRUE(state.BmpCharsFolder.empty());
    EXPECT_EQ(titleFor("/a/b.font"), "Tesselor [/a/b.font]");
}

TEST(FontModel, WidestWidthOfTheRangeOnly) {
    FontModel font;
    font.CharWidths[10] = 200;
    font.CharWidths[65] = 3;
    font.CharWidths[66] = 9;
    font.RangeFrom = 65;
    font.RangeTo = 66;
    EXPECT_EQ(font.widestWidth(), 9);
    font.RangeTo = 64;
    EXPECT_EQ(font.widestWidth(), 0);
    font.RangeFrom = 65535; // as a failed import leaves it
    font.RangeTo = 0;
    EXPECT_EQ(font.widestWidth(), 0);
}
