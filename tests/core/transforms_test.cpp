#include "editing/edit_commands.h"
#include "editing/transforms.h"
#include "model/app_state.h"

#include <gtest/gtest.h>

using namespace tesselor;

namespace {

// A font of codes 65..67 in a cell 8 x 5, all white, with the given widths.
FontModel font3(std::uint8_t w65 = 3, std::uint8_t w66 = 4, std::uint8_t w67 = 2) {
    FontModel font;
    font.CellImage = PixelImage(8, 5);
    font.RangeFrom = 65;
    font.RangeTo = 67;
    for (int c = 65; c <= 67; ++c)
        font.CharImages[static_cast<std::size_t>(c)] = PixelImage(8, 5);
    font.CharWidths[65] = w65;
    font.CharWidths[66] = w66;
    font.CharWidths[67] = w67;
    return font;
}

PixelImage& image(FontModel& font, int code) {
    return font.CharImages[static_cast<std::size_t>(code)];
}

} // namespace

TEST(InkTests, EdgesOfTheCellNotOfTheWidth) {
    PixelImage character(4, 3);
    EXPECT_FALSE(topRowHasInk(character, 4, 3));
    character.setPixel(3, 1, 0x808080); // grey is ink
    EXPECT_TRUE(rightColumnHasInk(character, 4, 3));
    EXPECT_FALSE(leftColumnHasInk(character, 4, 3));
    character.setPixel(0, 2, kBlack);
    EXPECT_TRUE(leftColumnHasInk(character, 4, 3));
    EXPECT_TRUE(bottomRowHasInk(character, 4, 3));
    EXPECT_FALSE(topRowHasInk(character, 4, 3));
}

TEST(ShiftChar, LeftIsRefusedByInkInColumnZeroThenCarriesTheWidth) {
    FontModel font = font3();
    image(font, 65).setPixel(0, 1, kBlack);
    image(font, 65).setPixel(2, 3, kBlack);
    const FontModel before = font;
    EXPECT_FALSE(shiftChar(font, 65, Direction::Left));
    EXPECT_EQ(font.CharImages, before.CharImages);
    EXPECT_EQ(font.CharWidths, before.CharWidths);
    image(font, 65).setPixel(0, 1, kWhite);
    EXPECT_TRUE(shiftChar(font, 65, Direction::Left));
    EXPECT_EQ(image(font, 65).pixel(1, 3), kBlack);
    EXPECT_EQ(image(font, 65).pixel(2, 3), kWhite);
    EXPECT_EQ(font.CharWidths[65], 2);
}

TEST(ShiftChar, RightIsRefusedAtTheCellWidthEvenWhenTheLastColumnIsWhite) {
    FontModel font = font3(8);
    EXPECT_FALSE(shiftChar(font, 65, Direction::Right));
    font.CharWidths[65] = 7;
    image(font, 65).setPixel(7, 0, kBlack);
    EXPECT_FALSE(shiftChar(font, 65, Direction::Right));
    image(font, 65).setPixel(7, 0, kWhite);
    image(font, 65).setPixel(0, 4, kBlack);
    EXPECT_TRUE(shiftChar(font, 65, Direction::Right));
    EXPECT_EQ(font.CharWidths[65], 8);
    EXPECT_EQ(image(font, 65).pixel(1, 4), kBlack);
    EXPECT_EQ(image(font, 65).pixel(0, 4), kWhite);
}

TEST(ShiftChar, UpAndDownMoveRowsAndKeepTheWidth) {
    FontModel font = font3();
    for (int y = 1; y < 5; ++y)
        image(font, 65).setPixel(y, y, kBlack);
    EXPECT_TRUE(shiftChar(font, 65, Direction::Up));
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(image(font, 65).pixel(y + 1, y), kBlack) << y;
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(image(font, 65).pixel(x, 4), kWhite);
    EXPECT_EQ(font.CharWidths[65], 3);
    EXPECT_FALSE(shiftChar(font, 65, Direction::Up)); // ink now in row 0
    EXPECT_TRUE(shiftChar(font, 65, Direction::Down));
    EXPECT_EQ(image(font, 65).pixel(1, 1), kBlack);
    EXPECT_FALSE(shiftChar(font, 65, Direction::Down)); // ink in the bottom row
}

TEST(ShiftChar, LeftOnWidthZeroIsRefused) {
    FontModel font = font3(0);
    EXPECT_FALSE(shiftChar(font, 65, Direction::Left));
    EXPECT_EQ(font.CharWidths[65], 0);
}

TEST(ShiftChar, RightStopsAtWidth255InAWiderCell) {
    FontModel font = font3(255);
    font.CellImage.setWidth(300);
    image(font, 65).setWidth(300);
    EXPECT_FALSE(shiftChar(font, 65, Direction::Right));
    EXPECT_EQ(font.CharWidths[65], 255);
}

TEST(MoveAllChars, LeftLeavesWidthsZeroAndOneAsTheyAre) {
    FontModel font = font3(3, 1, 0);
    image(font, 65).setPixel(2, 0, kBlack);
    image(font, 66).setPixel(3, 0, kBlack);
    EXPECT_TRUE(moveAllChars(font, Direction::Left));
    EXPECT_EQ(font.CharWidths[65], 2);
    EXPECT_EQ(image(font, 65).pixel(1, 0), kBlack);
    EXPECT_EQ(font.CharWidths[66], 1);
    EXPECT_EQ(image(font, 66).pixel(3, 0), kBlack); // unmoved
    EXPECT_EQ(font.CharWidths[67], 0);
    image(font, 67).setPixel(0, 2, kBlack);
    EXPECT_FALSE(moveAllChars(font, Direction::Left)); // ink in column 0 of any character
}

TEST(MoveAllChars, RightRaisesEveryWidthIncludingZeroAndOne) {
    FontModel font = font3(0, 1, 7);
    EXPECT_TRUE(moveAllChars(font, Direction::Right));
    EXPECT_EQ(font.CharWidths[65], 1);
    EXPECT_EQ(font.CharWidths[66], 2);
    EXPECT_EQ(font.CharWidths[67], 8);
    EXPECT_FALSE(moveAllChars(font, Direction::Right)); // widest = cell width
    font.CharWidths[67] = 5;
    image(font, 66).setPixel(7, 4, kBlack);
    EXPECT_FALSE(moveAllChars(font, Direction::Right)); // ink in the last column
}

TEST(MoveAllChars, UpAndDownAreRefusedByAnyCharacter) {
    FontModel font = font3();
    image(font, 67).setPixel(1, 0, kBlack);
    EXPECT_FALSE(moveAllChars(font, Direction::Up));
    EXPECT_TRUE(moveAllChars(font, Direction::Down));
    EXPECT_EQ(image(font, 67).pixel(1, 1), kBlack);
    EXPECT_TRUE(moveAllChars(font, Direction::Up));
    EXPECT_EQ(image(font, 67).pixel(1, 0), kBlack);
}

TEST(MoveAllChars, EmptyRangeHasNoInk) {
    FontModel font = font3();
    font.RangeTo = 60;
    EXPECT_TRUE(moveAllChars(font, Direction::Up));
}

TEST(CellSize, AddThenRemoveColumnRestoresSizeAndPixels) {
    FontModel font = font3();
    image(font, 65).setPixel(6, 2, kBlack);
    font.CellImage.setPixel(5, 1, kBlack);  // the clipboard
    font.CharImages[70] = PixelImage(8, 5); // outside the range
    const FontModel before = font;
    addColumn(font);
    EXPECT_EQ(font.FontWidth(), 9);
    EXPECT_EQ(image(font, 66).width(), 9);
    EXPECT_EQ(image(font, 70).width(), 8);
    EXPECT_EQ(image(font, 65).pixel(8, 2), kWhite);
    EXPECT_TRUE(removeColumn(font));
    EXPECT_EQ(font.CharImages, before.CharImages);
    EXPECT_EQ(font.CellImage, before.CellImage);
    EXPECT_EQ(font.CharWidths, before.CharWidths);
}

TEST(CellSize, RemoveColumnIsRefusedByInkOrByACharacterAsWideAsTheCell) {
    FontModel font = font3();
    image(font, 67).setPixel(7, 3, kBlack);
    EXPECT_FALSE(removeColumn(font));
    image(font, 67).setPixel(7, 3, kWhite);
    font.CharWidths[66] = 8;
    EXPECT_FALSE(removeColumn(font));
    font.CharWidths[66] = 7;
    EXPECT_TRUE(removeColumn(font));
    EXPECT_EQ(font.FontWidth(), 7);
}

TEST(CellSize, RowsAddAndRemoveAndKeepOneRow) {
    FontModel font = font3();
    addRow(font);
    EXPECT_EQ(font.FontHeight(), 6);
    EXPECT_EQ(image(font, 67).height(), 6);
    image(font, 65).setPixel(0, 5, kBlack);
    EXPECT_FALSE(removeRow(font));
    image(font, 65).setPixel(0, 5, kWhite);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(removeRow(font));
    EXPECT_EQ(font.FontHeight(), 1);
    EXPECT_FALSE(removeRow(font)); // at least one row stays
}

TEST(CellSize, AtLeastOneColumnStays) {
    FontModel font = font3(0, 0, 0);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(removeColumn(font));
    EXPECT_EQ(font.FontWidth(), 1);
    EXPECT_FALSE(removeColumn(font));
}

TEST(CharImage, HorizontalMirrorTwiceRestoresThePixels) {
    FontModel font = font3();
    image(font, 65).setPixel(1, 1, kBlack);
    image(font, 65).setPixel(2, 4, 0x0000FF);
    const PixelImage before = image(font, 65);
    mirrorHorizontal(font, 65);
    EXPECT_EQ(image(font, 65).pixel(6, 1), kBlack); // lands at the right edge of the cell
    EXPECT_EQ(image(font, 65).pixel(5, 4), 0x0000FFu);
    mirrorHorizontal(font, 65);
    EXPECT_EQ(image(font, 65), before);
}

TEST(CharImage, VerticalMirror) {
    FontModel font = font3();
    image(font, 66).setPixel(3, 0, kBlack);
    mirrorVertical(font, 66);
    EXPECT_EQ(image(font, 66).pixel(3, 4), kBlack);
    EXPECT_EQ(image(font, 66).pixel(3, 0), kWhite);
}

TEST(CharImage, InvertFlipsOnlyTheColumnsInsideTheWidth) {
    FontModel font = font3(3);
    image(font, 65).setPixel(1, 1, kBlack);
    image(font, 65).setPixel(2, 2, 0x00FF00); // any colour but white becomes white
    image(font, 65).setPixel(5, 0, kBlack);
    invertChar(font, 65);
    EXPECT_EQ(image(font, 65).pixel(0, 0), kBlack);
    EXPECT_EQ(image(font, 65).pixel(1, 1), kWhite);
    EXPECT_EQ(image(font, 65).pixel(2, 2), kWhite);
    EXPECT_EQ(image(font, 65).pixel(3, 0), kWhite); // column 3 is outside the width
    EXPECT_EQ(image(font, 65).pixel(5, 0), kBlack);
}

namespace {
AppState editState() {
    AppState state;
    state.font = font3(7, 4, 2);
    state.CurrentCode = 65;
    image(state.font, 65).setPixel(6, 2, kBlack);
    image(state.font, 66).setPixel(1, 1, kBlack);
    return state;
}
} // namespace

TEST(EditCommands, CutLeavesAWhiteCharacterOfWidthOneAndPasteBringsItBack) {
    AppState state = editState();
    cutChar(state);
    EXPECT_EQ(image(state.font, 65), PixelImage(8, 5, kWhite));
    EXPECT_EQ(state.font.CharWidths[65], 1);
    EXPECT_EQ(state.ClipWidth, 7);
    state.CurrentCode = 66;
    pasteChar(state);
    EXPECT_EQ(image(state.font, 66).pixel(6, 2), kBlack);
    EXPECT_EQ(image(state.font, 66).pixel(1, 1), kWhite);
    EXPECT_EQ(state.font.CharWidths[66], 7);
    EXPECT_EQ(state.RestoreWidth, 4);
    EXPECT_EQ(state.RestoreImage.pixel(1, 1), kBlack);
}

TEST(EditCommands, CopyThenPasteIntoTheSameCharacterChangesNoPixel) {
    AppState state = editState();
    const PixelImage before = image(state.font, 65);
    copyChar(state);
    EXPECT_EQ(image(state.font, 65), before);
    pasteChar(state);
    EXPECT_EQ(image(state.font, 65), before);
    EXPECT_EQ(state.font.CharWidths[65], 7);
}

TEST(EditCommands, RestoreWritesIntoTheCharacterCurrentAtRestore) {
    AppState state = editState();
    state.CurrentCode = 66;
    copyChar(state);
    state.CurrentCode = 65;
    pasteChar(state); // 65 becomes 66; its old pixels are the restore point
    state.CurrentCode = 67;
    restoreChar(state);
    EXPECT_EQ(image(state.font, 67).pixel(6, 2), kBlack);
    EXPECT_EQ(state.font.CharWidths[67], 7);
}

TEST(EditCommands, ClipboardFollowsTheCellSize) {
    AppState state = editState();
    copyChar(state);
    addColumn(state.font);
    EXPECT_EQ(state.font.CellImage.width(), 9);
    EXPECT_EQ(state.font.CellImage.pixel(6, 2), kBlack);
    state.CurrentCode = 66;
    pasteChar(state);
    EXPECT_EQ(image(state.font, 66).pixel(6, 2), kBlack);
    EXPECT_EQ(image(state.font, 66).pixel(8, 2), kWhite);
}
