#include "editing/transforms.h"

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

bool shiftChar(FontModel& font, int code, Direction direction) {
    const int w = font.FontWidth();
    const int h = font.FontHeight();
    auto& character = font.CharImages[static_cast<std::size_t>(code & 0xFF)];
    auto& width = font.CharWidths[static_cast<std::size_t>(code & 0xFF)];
    if (edgeHasInk(character, w, h, direction))
        return false;
    // A width of 0 has nothing to lose on the left; a width stops at the cell and at one byte.
    if (direction == Direction::Left && width == 0)
        return false;
    if (direction == Direction::Right && (width >= w || width >= kMaxWidth))
        return false;
    shiftPixels(character, w, h, direction);
    if (direction == Direction::Left)
        --width;
    else if (direction == Direction::Right)
        ++width;
    return true;
}

bool moveAllChars(FontModel& font, Direction direction) {
    const int w = font.FontWidth();
    const int h = font.FontHeight();
    if (rangeEdgeHasInk(font, direction))
        return false;
    if (direction == Direction::Right) {
        const int widest = font.widestWidth();
        if (widest >= w || widest >= kMaxWidth)
            return false;
    }
    forEachInRange(font, [&](PixelImage& character, std::uint8_t& width) {
        switch (direction) {
        case Direction::Left:
            // Characters of width 0 or 1 stay as they are.
            if (width > 1) {
                shiftPixels(character, w, h, direction);
                --width;
            }
            break;
        case Direction::Right:
            shiftPixels(character, w, h, direction);
            ++width;
            break;
        case Direction::Up:
        case Direction::Down:
            shiftPixels(character, w, h, direction);
            break;
        }
    });
    return true;
}

void addColumn(FontModel& font) {
    const int w = font.FontWidth() + 1;
    font.CellImage.setWidth(w);
    forEachInRange(font, [&](PixelImage& character, std::uint8_t&) { character.setWidth(w); });
}

bool removeColumn(FontModel& font) {
    const int w = font.FontWidth();
    if (w <= 1 || rangeEdgeHasInk(font, Direction::Right) || font.widestWidth() >= w)
        return false;
    font.CellImage.setWidth(w - 1);
    forEachInRange(font, [&](PixelImage& character, std::uint8_t&) { character.setWidth(w - 1); });
    return true;
}

void addRow(FontModel& font) {
    const int h = font.FontHeight() + 1;
    font.CellImage.setHeight(h);
    forEachInRange(font, [&](PixelImage& character, std::uint8_t&) { character.setHeight(h); });
}

bool removeRow(FontModel& font) {
    const int h = font.FontHeight();
    if (h <= 1 || rangeEdgeHasInk(font, Direction::Down))
        return false;
    font.CellImage.setHeight(h - 1);
    forEachInRange(font, [&](PixelImage& character, std::uint8_t&) { character.setHeight(h - 1); });
    return true;
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
    for (int y = 0; y < font.FontHeight(); ++y)
        for (int x = 0; x < width; ++x)
            character.setPixel(x, y, character.pixel(x, y) == kWhite ? kBlack : kWhite);
}

} // namespace tesselor
