#pragma once

#include "model/pixel_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tesselor {

inline constexpr int kCharCount = 256;
// The largest cell a font may have; larger ones are refused rather than allocated 256 times.
inline constexpr int kMaxCellSide = 4096;
inline constexpr int kMaxCellArea = 512 * 512;

// One font: 256 character images of one cell, each with its own width; RangeFrom..RangeTo are in use.
// The cell size is the size of CellImage, whose pixels are also the one-character clipboard.
struct FontModel {
    std::array<PixelImage, kCharCount> CharImages;
    std::array<std::uint8_t, kCharCount> CharWidths{};
    PixelImage CellImage;
    std::int32_t RangeFrom = 0;
    std::int32_t RangeTo = 0;
    std::string FontName;
    // The code page its codes are in; empty for the default, Windows-1252 (see model/code_page.h).
    std::string CodePage;
    // Bits of ink per pixel: 1 (black and white, every font before grey levels), 2, 4 or 8 (see
    // model/grey_levels.h).
    int Depth = 1;
    // The row the characters stand on, counted from the top of the cell; nothing: the bottom row, as for
    // every font before baselines.
    std::optional<int> Baseline;

    int FontWidth() const { return CellImage.width(); }
    int FontHeight() const { return CellImage.height(); }

    bool rangeIsEmpty() const { return RangeTo < RangeFrom; }
    // The codes of the range that address a character (a range left at 65535..0 holds none).
    int firstCode() const;
    int lastCode() const;
    // True when `code` addresses a character of the range.
    bool hasCode(int code) const { return !rangeIsEmpty() && code >= firstCode() && code <= lastCode(); }

    // The baseline's row within the cell (the bottom row when the font has none).
    int baselineRow() const;

    // The widest width of the range, 0 for an empty range.
    int widestWidth() const;

    // Whether a pixel is ink: exactly black at depth 1 (what the device draws), any level above paper at
    // more.
    bool isInk(Colour colour) const;
};

// The font at depth 1 by the halving rule (ink at half the maximum level or more is black), for the
// outputs that have one bit a pixel; a 1-bit font as it is.
FontModel bilevelFont(const FontModel& font);

} // namespace tesselor
