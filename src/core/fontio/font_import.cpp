#include "fontio/font_import.h"

#include "model/error.h"
#include "model/grey_levels.h"
#include "platform/text.h"

#include <algorithm>

namespace tesselor {

namespace {

constexpr int kMaxWidth = 255;
constexpr int kNoRangeFrom = 65535;

std::uint8_t storedWidth(ImportedFont& imported, int code, int width) {
    if (width > kMaxWidth) {
        imported.limitedCodes.push_back(code);
        return kMaxWidth;
    }
    return static_cast<std::uint8_t>(width);
}

void widenRange(FontModel& font, int code) {
    font.RangeFrom = std::min(font.RangeFrom, code);
    font.RangeTo = std::max(font.RangeTo, code);
}

} // namespace

void StoreImportedChar(ImportedFont& imported, int code, bool removeLeftBlank) {
    FontModel& font = imported.font;
    const PixelImage& cell = font.CellImage;
    const int w = cell.width();
    const int h = cell.height();
    int left = w;
    int right = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < left; ++x)
            if (cell.pixel(x, y) != kWhite) {
                left = x;
                break;
            }
    for (int y = 0; y < h; ++y)
        for (int x = w - 1; x > right; --x)
            if (cell.pixel(x, y) != kWhite) {
                right = x;
                break;
            }
    const bool hasInk = left < w;

    auto& character = font.CharImages[static_cast<std::size_t>(code)];
    auto& width = font.CharWidths[static_cast<std::size_t>(code)];
    character = PixelImage(w, h, kWhite);
    if (!removeLeftBlank) {
        width = storedWidth(imported, code, right + 1);
        character.copyRect(cell, 0, 0, w, h, 0, 0);
    } else if (hasInk) {
        width = storedWidth(imported, code, right - left + 1);
        character.copyRect(cell, left, 0, right - left + 1, h, 0, 0);
    }
}

std::string fontLabel(const std::string& face, int points, const FontStyle& style) {
    std::string word;
    if (!style.underline && !style.strikeout) {
        if (style.bold && style.italic)
            word = "Bold_Italic";
        else if (style.bold)
            word = "Bold";
        else if (style.italic)
            word = "Italic";
        else
            word = "Regular";
    }
    return face + " " + text::dec(points) + " " + word;
}

void toLevels(PixelImage& image, int depth) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, levelColour(levelOf(image.pixel(x, y), depth), depth));
}

bool hasGreys(const FontModel& font) {
    for (int c = font.firstCode(); c <= font.lastCode(); ++c)
        for (const Colour colour : font.CharImages[static_cast<std::size_t>(c)].pixels())
            if (colour != kBlack && colour != kWhite)
                return true;
    return false;
}

ImportedFont importSystemFont(Rasteriser& rasteriser, int firstCode, int lastCode, bool removeLeftBlank,
                              const std::string& name, int depth) {
    ImportedFont imported;
    FontModel& font = imported.font;
    font.FontName = name;
    font.Depth = depth;
    PixelImage& cell = font.CellImage;

    // Measuring pass: white on black, so the box shows as black in row 0 and column 0.
    cell = PixelImage(kMeasuringSide, kMeasuringSide, kWhite);
    int maxX = 0;
    int maxY = 0;
    for (int c = firstCode; c <= lastCode; ++c) {
        cell.fill(0, 0, kMeasuringSide, 1, kWhite);
        cell.fill(0, 0, 1, kMeasuringSide, kWhite);
        rasteriser.drawChar(cell, c, 0, 0, kWhite, kBlack);
        for (int x = kMeasuringSide - 1; x > 0; --x)
            if (cell.pixel(x, 0) == kBlack) {
                maxX = std::max(maxX, x);
                break;
            }
        for (int y = kMeasuringSide - 1; y > 0; --y)
            if (cell.pixel(0, y) == kBlack) {
                maxY = std::max(maxY, y);
                break;
            }
    }

    // The widest box plus 5 pixels by the full line height.
    cell = PixelImage(maxX + 1 + 5, maxY + 1, kWhite);
    font.CharWidths.fill(1);
    font.RangeFrom = kNoRangeFrom;
    font.RangeTo = 0;
    int c = firstCode;
    do {
        widenRange(font, c);
        cell.fillAll(kWhite);
        rasteriser.drawChar(cell, c, 1, 0, kBlack, kWhite);
        if (depth > 1)
            toLevels(cell, depth);
        StoreImportedChar(imported, c, removeLeftBlank);
        ++c;
    } while (c <= lastCode);
    font.Baseline = std::clamp(rasteriser.ascent() - 1, 0, std::max(cell.height() - 1, 0));
    return imported;
}

std::string bmpCharFile(const std::string& folder, int code,
                        const std::function<bool(const std::string&)>& fileExists) {
    const std::string stem = (folder.ends_with('/') ? folder : folder + "/") + text::dec(code);
    for (const char* extension : {".bmp", ".BMP"})
        if (fileExists(stem + extension))
            return stem + extension;
    return {};
}

BmpCharsImport importBmpChars(const std::string& folder, ImageDecoder& decoder,
                              const std::function<bool(const std::string&)>& fileExists, bool removeLeftBlank,
                              const std::string& name, int depth) {
    BmpCharsImport result;
    FontModel& font = result.imported.font;
    font.FontName = name;
    font.Depth = depth;
    font.CharWidths.fill(1);
    font.RangeFrom = kNoRangeFrom;
    font.RangeTo = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    for (int c = 32; c <= 255; ++c) {
        const std::string file = bmpCharFile(folder, c, fileExists);
        if (file.empty())
            continue;
        widenRange(font, c);
        font.CellImage = decoder.decode(file).pixels();
        if (depth > 1)
            toLevels(font.CellImage, depth);
        // The cell grows to the widest and the tallest file: the limit holds for the cell they make
        // together, not only for each file.
        const int w = font.CellImage.width();
        const int h = font.CellImage.height();
        const int grownWidth = std::max(cellWidth, w);
        const int grownHeight = std::max(cellHeight, h);
        if (grownWidth > kMaxCellSide || grownHeight > kMaxCellSide ||
            static_cast<std::int64_t>(grownWidth) * grownHeight > kMaxCellArea)
            throw Error("The character file '" + file + "' is " + text::dec(w) + " x " + text::dec(h) +
                        " pixels: with the others the cell would be " + text::dec(grownWidth) + " x " +
                        text::dec(grownHeight) + ", larger than the " + text::dec(kMaxCellArea) +
                        " pixels a cell may have");
        StoreImportedChar(result.imported, c, removeLeftBlank);
        cellWidth = grownWidth;
        cellHeight = grownHeight;
    }
    result.found = font.RangeTo != 0;
    if (!result.found)
        return result;

    // Every character of the range gets the one cell, so editor and writers never cut ink.
    font.CellImage.setSize(cellWidth, cellHeight);
    for (int code = font.RangeFrom; code <= font.RangeTo; ++code)
        font.CharImages[static_cast<std::size_t>(code)].setSize(cellWidth, cellHeight);
    // Character files say nothing of a baseline: they stand on their bottom row.
    font.Baseline = cellHeight - 1;
    return result;
}

FontModel blankFont(int width, int height, int first, int last) {
    FontModel font;
    font.CellImage = PixelImage(width, height, kWhite);
    font.RangeFrom = first;
    font.RangeTo = last;
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        font.CharImages[static_cast<std::size_t>(c)] = font.CellImage;
        font.CharWidths[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(std::min(width, 255));
    }
    return font;
}

} // namespace tesselor
