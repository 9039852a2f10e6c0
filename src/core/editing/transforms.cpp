#include "editing/transforms.h"

#include "model/grey_levels.h"

#include <algorithm>

namespace tesselor {

namespace {

constexpr int kMaxWidth = 255;

bool rowHasInk(const PixelImage& character, int width, int row) {
    for (int x = 0; x < width; ++x)
        if (character.pixel(x, row) != kWhite)
            return true;
    return false;
}

bool columnHasInk(const PixelImage& character, int height, int column) {
    for (int y = 0; y < height; ++y)
        if (character.pixel(column, y) != kWhite)
            return true;
    return false;
}

bool edgeHasInk(const PixelImage& character, int width, int height, Direction edge) {
    switch (edge) {
    case Direction::Up:
        return topRowHasInk(character, width, height);
    case Direction::Down:
        return bottomRowHasInk(character, width, height);
    case Direction::Left:
        return leftColumnHasInk(character, width, height);
    case Direction::Right:
        return rightColumnHasInk(character, width, height);
    }
    return false;
}

bool rangeEdgeHasInk(const FontModel& font, Direction edge) {
    for (int c = font.firstCode(); c <= font.lastCode(); ++c)
        if (edgeHasInk(font.CharImages[static_cast<std::size_t>(c)], font.FontWidth(), font.FontHeight(),
                       edge))
            return true;
    return false;
}

template <typename Each> void forEachInRange(FontModel& font, Each each) {
    for (int c = font.firstCode(); c <= font.lastCode(); ++c)
        each(font.CharImages[static_cast<std::size_t>(c)], font.CharWidths[static_cast<std::size_t>(c)]);
}

} // namespace

bool topRowHasInk(const PixelImage& character, int width, int height) {
    return height > 0 && rowHasInk(character, width, 0);
}

bool bottomRowHasInk(const PixelImage& character, int width, int height) {
    return height > 0 && rowHasInk(character, width, height - 1);
}

bool leftColumnHasInk(const PixelImage& character, int width, int height) {
    return width > 0 && columnHasInk(character, height, 0);
}

bool rightColumnHasInk(const PixelImage& character, int width, int height) {
    return width > 0 && columnHasInk(character, height, width - 1);
}

void shiftPixels(PixelImage& character, int width, int height, Direction direction) {
    if (width <= 0 || height <= 0)
        return;
    switch (direction) {
    case Direction::Left:
        character.copyRect(character, 1, 0, width - 1, height, 0, 0);
        character.fill(width - 1, 0, 1, height, kWhite);
        break;
    case Direction::Right:
        character.copyRect(character, 0, 0, width - 1, height, 1, 0);
        character.fill(0, 0, 1, height, kWhite);
        break;
    case Direction::Up:
        character.copyRect(character, 0, 1, width, height - 1, 0, 0);
        character.fill(0, height - 1, width, 1, kWhite);
        break;
    case Direction::Down:
        character.copyRect(character, 0, 0, width, height - 1, 0, 1);
        character.fill(0, 0, width, 1, kWhite);
        break;
    }
}

const char* describe(Refusal refusal) {
    switch (refusal) {
    case Refusal::None:
        return "";
    case Refusal::InkAtEdge:
        return "ink would leave the cell";
    case Refusal::EmptyWidth:
        return "the character has the width 0";
    case Refusal::WidthAtLimit:
        return "the width would pass the cell or 255";
    case Refusal::CharacterAsWideAsCell:
        return "a character is as wide as the cell";
    case Refusal::LastColumnOrRow:
        return "the cell keeps at least one column and one row";
    }
    return "";
}

Direction opposite(Direction direction) {
    switch (direction) {
    case Direction::Up:
        return Direction::Down;
    case Direction::Down:
        return Direction::Up;
    case Direction::Left:
        return Direction::Right;
    case Direction::Right:
        return Direction::Left;
    }
    return direction;
}

Refusal shiftChar(FontModel& font, int code, Direction direction) {
    const int w = font.FontWidth();
    const int h = font.FontHeight();
    auto& character = font.CharImages[static_cast<std::size_t>(code & 0xFF)];
    auto& width = font.CharWidths[static_cast<std::size_t>(code & 0xFF)];
    if (edgeHasInk(character, w, h, direction))
        return Refusal::InkAtEdge;
    // A width of 0 has nothing to lose on the left; a width stops at the cell and at one byte.
    if (direction == Direction::Left && width == 0)
        return Refusal::EmptyWidth;
    if (direction == Direction::Right && (width >= w || width >= kMaxWidth))
        return Refusal::WidthAtLimit;
    shiftPixels(character, w, h, direction);
    if (direction == Direction::Left)
        --width;
    else if (direction == Direction::Right)
        ++width;
    return Refusal::None;
}

Refusal moveAllChars(FontModel& font, Direction direction, std::vector<int>* moved) {
    const int w = font.FontWidth();
    const int h = font.FontHeight();
    if (rangeEdgeHasInk(font, direction))
        return Refusal::InkAtEdge;
    if (direction == Direction::Right) {
        const int widest = font.widestWidth();
        if (widest >= w || widest >= kMaxWidth)
            return Refusal::WidthAtLimit;
    }
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        PixelImage& character = font.CharImages[static_cast<std::size_t>(c)];
        std::uint8_t& width = font.CharWidths[static_cast<std::size_t>(c)];
        // On the left, characters of width 0 or 1 stay as they are.
        if (direction == Direction::Left && width <= 1)
            continue;
        shiftPixels(character, w, h, direction);
        if (direction == Direction::Left)
            --width;
        else if (direction == Direction::Right)
            ++width;
        if (moved != nullptr)
            moved->push_back(c);
    }
    // The characters keep standing on their baseline.
    if (direction == Direction::Up || direction == Direction::Down)
        font.Baseline =
            std::clamp(font.baselineRow() + (direction == Direction::Up ? -1 : 1), 0, std::max(h - 1, 0));
    return Refusal::None;
}

void resizeCell(FontModel& font, int width, int height) {
    font.CellImage.setSize(width, height);
    forEachInRange(font, [&](PixelImage& character, std::uint8_t&) { character.setSize(width, height); });
}

void addColumn(FontModel& font) {
    resizeCell(font, font.FontWidth() + 1, font.FontHeight());
}

Refusal removeColumn(FontModel& font) {
    const int w = font.FontWidth();
    if (w <= 1)
        return Refusal::LastColumnOrRow;
    if (rangeEdgeHasInk(font, Direction::Right))
        return Refusal::InkAtEdge;
    if (font.widestWidth() >= w)
        return Refusal::CharacterAsWideAsCell;
    resizeCell(font, w - 1, font.FontHeight());
    return Refusal::None;
}

void addRow(FontModel& font) {
    resizeCell(font, font.FontWidth(), font.FontHeight() + 1);
}

Refusal removeRow(FontModel& font) {
    const int h = font.FontHeight();
    if (h <= 1)
        return Refusal::LastColumnOrRow;
    if (rangeEdgeHasInk(font, Direction::Down))
        return Refusal::InkAtEdge;
    resizeCell(font, font.FontWidth(), h - 1);
    return Refusal::None;
}

void mirrorHorizontal(FontModel& font, int code) {
    auto& character = font.CharImages[static_cast<std::size_t>(code & 0xFF)];
    const PixelImage old = character;
    const int w = font.FontWidth();
    for (int y = 0; y < font.FontHeight(); ++y)
        for (int x = 0; x < w; ++x)
            character.setPixel(x, y, old.pixel(w - 1 - x, y));
}

void mirrorVertical(FontModel& font, int code) {
    auto& character = font.CharImages[static_cast<std::size_t>(code & 0xFF)];
    const PixelImage old = character;
    const int h = font.FontHeight();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < font.FontWidth(); ++x)
            character.setPixel(x, y, old.pixel(x, h - 1 - y));
}

void invertChar(FontModel& font, int code) {
    auto& character = font.CharImages[static_cast<std::size_t>(code & 0xFF)];
    const int width = font.CharWidths[static_cast<std::size_t>(code & 0xFF)];
    const int max = maxLevel(font.Depth);
    for (int y = 0; y < font.FontHeight(); ++y)
        for (int x = 0; x < width; ++x) {
            const Colour colour = character.pixel(x, y);
            character.setPixel(x, y,
                               font.Depth <= 1 ? (colour == kWhite ? kBlack : kWhite)
                                               : levelColour(max - levelOf(colour, font.Depth), font.Depth));
        }
}

} // namespace tesselor
