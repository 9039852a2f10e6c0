#include "editing/edit_commands.h"
#include "editing/stroke.h"
#include "editing/transforms.h"
#include "editing/undo_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>
#include <vector>

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

namespace {

// A step of the transform table: the font of font3 with these widths and black pixels (code, x, y), one
// character or all of them moved one way; what it gives, or that it is refused with nothing changed.
struct Step {
    const char* what;
    int code; // 0: move all characters
    Direction direction;
    std::array<int, 3> widths;
    std::vector<std::array<int, 3>> ink;
    Refusal refusal; // None: done
    std::array<int, 3> widthsAfter;
    std::vector<std::array<int, 3>> inkAfter;
    int cellWidth = 8;
};

void check(const Step& step) {
    FontModel font =
        font3(std::uint8_t(step.widths[0]), std::uint8_t(step.widths[1]), std::uint8_t(step.widths[2]));
    for (int c = 65; c <= 67; ++c)
        image(font, c).setWidth(step.cellWidth);
    font.CellImage.setWidth(step.cellWidth);
    for (const auto& [code, x, y] : step.ink)
        image(font, code).setPixel(x, y, kBlack);
    const FontModel before = font;
    std::vector<int> moved;
    const Refusal refusal = step.code == 0 ? moveAllChars(font, step.direction, &moved)
                                           : shiftChar(font, step.code, step.direction);
    EXPECT_EQ(refusal, step.refusal) << step.what;
    if (step.refusal != Refusal::None) {
        EXPECT_EQ(font.CharImages, before.CharImages) << step.what;
        EXPECT_EQ(font.CharWidths, before.CharWidths) << step.what;
        return;
    }
    FontModel expected = font3(std::uint8_t(step.widthsAfter[0]), std::uint8_t(step.widthsAfter[1]),
                               std::uint8_t(step.widthsAfter[2]));
    for (int c = 65; c <= 67; ++c)
        image(expected, c).setWidth(step.cellWidth);
    for (const auto& [code, x, y] : step.inkAfter)
        image(expected, code).setPixel(x, y, kBlack);
    EXPECT_EQ(font.CharImages, expected.CharImages) << step.what;
    EXPECT_EQ(font.CharWidths, expected.CharWidths) << step.what;
    for (int c = 65; c <= 67 && step.code == 0; ++c) // the codes whose pixels moved: what Undo moves back
        EXPECT_EQ(std::count(moved.begin(), moved.end(), c) == 1,
                  step.direction != Direction::Left || step.widths[std::size_t(c - 65)] > 1)
            << step.what << " " << c;
}

using D = Direction;
using R = Refusal;

} // namespace

// One character: the width travels with a horizontal step; ink at the edge, a width of 0 on the left, and
// the cell (or 255) on the right refuse the step.
TEST(Transforms, ShiftOneCharacter) {
    const Step steps[] = {
        {"left", 65, D::Left, {3, 4, 2}, {{65, 2, 3}}, R::None, {2, 4, 2}, {{65, 1, 3}}},
        {"left, ink in column 0", 65, D::Left, {3, 4, 2}, {{65, 0, 1}, {65, 2, 3}}, R::InkAtEdge, {}, {}},
        {"left, width 0", 65, D::Left, {0, 4, 2}, {}, R::EmptyWidth, {}, {}},
        {"right", 65, D::Right, {7, 4, 2}, {{65, 0, 4}}, R::None, {8, 4, 2}, {{65, 1, 4}}},
        {"right, width of the cell", 65, D::Right, {8, 4, 2}, {}, R::WidthAtLimit, {}, {}},
        {"right, ink in the last column", 65, D::Right, {7, 4, 2}, {{65, 7, 0}}, R::InkAtEdge, {}, {}},
        {"right, width 255 in a wider cell", 65, D::Right, {255, 4, 2}, {}, R::WidthAtLimit, {}, {}, 300},
        {"up", 66, D::Up, {3, 4, 2}, {{66, 1, 1}, {66, 4, 4}}, R::None, {3, 4, 2}, {{66, 1, 0}, {66, 4, 3}}},
        {"up, ink in row 0", 66, D::Up, {3, 4, 2}, {{66, 1, 0}}, R::InkAtEdge, {}, {}},
        {"down", 66, D::Down, {3, 4, 2}, {{66, 1, 0}}, R::None, {3, 4, 2}, {{66, 1, 1}}},
        {"down, ink in the bottom row", 66, D::Down, {3, 4, 2}, {{66, 1, 4}}, R::InkAtEdge, {}, {}},
    };
    for (const Step& step : steps)
        check(step);
}

// All characters of the range: any one refuses the step; on the left, widths 0 and 1 stay as they are.
TEST(Transforms, MoveAllCharacters) {
    const Step steps[] = {
        {"left",
         0,
         D::Left,
         {3, 1, 0},
         {{65, 2, 0}, {66, 3, 0}},
         R::None,
         {2, 1, 0},
         {{65, 1, 0}, {66, 3, 0}}},
        {"left, ink in column 0", 0, D::Left, {3, 1, 0}, {{67, 0, 2}}, R::InkAtEdge, {}, {}},
        {"right raises every width", 0, D::Right, {0, 1, 7}, {{66, 0, 0}}, R::None, {1, 2, 8}, {{66, 1, 0}}},
        {"right, a width of the cell", 0, D::Right, {1, 2, 8}, {}, R::WidthAtLimit, {}, {}},
        {"right, ink in the last column", 0, D::Right, {1, 2, 5}, {{66, 7, 4}}, R::InkAtEdge, {}, {}},
        {"up, ink in row 0 of one", 0, D::Up, {3, 4, 2}, {{67, 1, 0}}, R::InkAtEdge, {}, {}},
        {"down",
         0,
         D::Down,
         {3, 4, 2},
         {{67, 1, 0}, {65, 2, 2}},
         R::None,
         {3, 4, 2},
         {{67, 1, 1}, {65, 2, 3}}},
    };
    for (const Step& step : steps)
        check(step);
    FontModel empty = font3();
    empty.RangeTo = 60;
    EXPECT_EQ(moveAllChars(empty, D::Up), Refusal::None); // an empty range has no ink
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
    EXPECT_EQ(removeColumn(font), Refusal::None);
    EXPECT_EQ(font.CharImages, before.CharImages);
    EXPECT_EQ(font.CellImage, before.CellImage);
    EXPECT_EQ(font.CharWidths, before.CharWidths);
}

// The clipboard may hold ink where a smaller cell cuts: what the cell drops comes back with its size.
TEST(CellSize, GrowingBackRestoresWhatTheSmallerCellDropped) {
    for (const bool row : {false, true}) {
        FontModel font = font3();
        font.CellImage.setPixel(row ? 2 : 7, row ? 4 : 1, kBlack);
        const FontModel before = font;
        const DroppedPixels dropped(font, row ? 8 : 7, row ? 4 : 5);
        EXPECT_EQ(row ? removeRow(font) : removeColumn(font), Refusal::None);
        row ? addRow(font) : addColumn(font);
        dropped.restore(font);
        EXPECT_EQ(font.CellImage, before.CellImage) << row;
        EXPECT_EQ(font.CharImages, before.CharImages) << row;
    }
}

TEST(CellSize, RemoveColumnIsRefusedByInkOrByACharacterAsWideAsTheCell) {
    FontModel font = font3();
    image(font, 67).setPixel(7, 3, kBlack);
    EXPECT_EQ(removeColumn(font), Refusal::InkAtEdge);
    image(font, 67).setPixel(7, 3, kWhite);
    font.CharWidths[66] = 8;
    EXPECT_EQ(removeColumn(font), Refusal::CharacterAsWideAsCell);
    font.CharWidths[66] = 7;
    EXPECT_EQ(removeColumn(font), Refusal::None);
    EXPECT_EQ(font.FontWidth(), 7);
}

TEST(CellSize, RowsAddAndRemoveAndKeepOneRow) {
    FontModel font = font3();
    addRow(font);
    EXPECT_EQ(font.FontHeight(), 6);
    EXPECT_EQ(image(font, 67).height(), 6);
    image(font, 65).setPixel(0, 5, kBlack);
    EXPECT_EQ(removeRow(font), Refusal::InkAtEdge);
    image(font, 65).setPixel(0, 5, kWhite);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(removeRow(font), Refusal::None);
    EXPECT_EQ(font.FontHeight(), 1);
    EXPECT_EQ(removeRow(font), Refusal::LastColumnOrRow);
}

TEST(CellSize, AtLeastOneColumnStays) {
    FontModel font = font3(0, 0, 0);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(removeColumn(font), Refusal::None);
    EXPECT_EQ(font.FontWidth(), 1);
    EXPECT_EQ(removeColumn(font), Refusal::LastColumnOrRow);
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
FontModel editFont() {
    FontModel font = font3(7, 4, 2);
    image(font, 65).setPixel(6, 2, kBlack);
    image(font, 66).setPixel(1, 1, kBlack);
    return font;
}
} // namespace

TEST(EditCommands, CutLeavesAWhiteCharacterOfWidthOneAndPasteBringsItBack) {
    FontModel font = editFont();
    CharClipboard clipboard;
    cutChar(font, 65, clipboard);
    EXPECT_EQ(image(font, 65), PixelImage(8, 5, kWhite));
    EXPECT_EQ(font.CharWidths[65], 1);
    EXPECT_EQ(clipboard.ClipWidth, 7);
    pasteChar(font, 66, clipboard);
    EXPECT_EQ(image(font, 66).pixel(6, 2), kBlack);
    EXPECT_EQ(image(font, 66).pixel(1, 1), kWhite);
    EXPECT_EQ(font.CharWidths[66], 7);
    EXPECT_EQ(clipboard.RestoreWidth, 4);
    EXPECT_EQ(clipboard.RestoreImage.pixel(1, 1), kBlack);
}

TEST(EditCommands, CopyThenPasteIntoTheSameCharacterChangesNoPixel) {
    FontModel font = editFont();
    CharClipboard clipboard;
    const PixelImage before = image(font, 65);
    copyChar(font, 65, clipboard);
    EXPECT_EQ(image(font, 65), before);
    pasteChar(font, 65, clipboard);
    EXPECT_EQ(image(font, 65), before);
    EXPECT_EQ(font.CharWidths[65], 7);
}

TEST(EditCommands, RestoreWritesIntoTheCharacterCurrentAtRestore) {
    FontModel font = editFont();
    CharClipboard clipboard;
    copyChar(font, 66, clipboard);
    pasteChar(font, 65, clipboard); // 65 becomes 66; its old pixels are the restore point
    restoreChar(font, 67, clipboard);
    EXPECT_EQ(image(font, 67).pixel(6, 2), kBlack);
    EXPECT_EQ(font.CharWidths[67], 7);
}

TEST(EditCommands, ClipboardFollowsTheCellSize) {
    FontModel font = editFont();
    CharClipboard clipboard;
    copyChar(font, 65, clipboard);
    addColumn(font);
    EXPECT_EQ(font.CellImage.width(), 9);
    EXPECT_EQ(font.CellImage.pixel(6, 2), kBlack);
    pasteChar(font, 66, clipboard);
    EXPECT_EQ(image(font, 66).pixel(6, 2), kBlack);
    EXPECT_EQ(image(font, 66).pixel(8, 2), kWhite);
}

// A fast drag reports cells far apart: the stroke between them has no gap, in either direction.
TEST(Stroke, CellsOnALineTouchEachOtherFromEndToEnd) {
    using Cells = std::vector<std::pair<int, int>>;
    EXPECT_EQ(cellsOnLine(3, 4, 3, 4), Cells({{3, 4}}));
    EXPECT_EQ(cellsOnLine(0, 0, 5, 2), Cells({{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));
    EXPECT_EQ(cellsOnLine(5, 2, 0, 0), Cells({{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}));
    EXPECT_EQ(cellsOnLine(0, 5, 0, 1), Cells({{0, 5}, {0, 4}, {0, 3}, {0, 2}, {0, 1}}));
    EXPECT_EQ(cellsOnLine(2, 0, 0, 2), Cells({{2, 0}, {1, 1}, {0, 2}}));
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{37, -11}, {-5, 300}, {511, 511}}) {
        const Cells cells = cellsOnLine(0, 0, x, y);
        EXPECT_EQ(cells.front(), std::pair(0, 0));
        EXPECT_EQ(cells.back(), std::pair(x, y));
        EXPECT_EQ(cells.size(), std::size_t(std::max(std::abs(x), std::abs(y)) + 1));
        for (std::size_t i = 1; i < cells.size(); ++i)
            EXPECT_EQ(std::max(std::abs(cells[i].first - cells[i - 1].first),
                               std::abs(cells[i].second - cells[i - 1].second)),
                      1);
    }
}
