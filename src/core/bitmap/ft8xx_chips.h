#pragma once

#include "bitmap/bitmap_formats.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor {

// The generations of the FT8xx controllers, as far as their bitmaps differ.
enum class Chip { FT80x, FT81x, BT81x };

struct ChipLimits {
    Chip chip;
    const char* name;
    std::vector<std::uint8_t> formats; // the bitmap format codes it draws
    int maxStride;                     // BITMAP_LAYOUT's linestride field
    int maxHeight;                     // BITMAP_LAYOUT's height field
    int maxWidth;                      // BITMAP_SIZE's width field (0 there means the largest)
};

const std::vector<ChipLimits>& chipLimits();
const ChipLimits& limitsOf(Chip chip);
// A chip by its name, letter case ignored ("ft80x"); nothing for an unknown one.
std::optional<Chip> chipNamed(std::string_view name);

// Why the chip cannot draw a bitmap of this format and size, naming the limit; nothing when it can.
std::optional<std::string> chipRefusal(Chip chip, const BitmapEncoding& encoding, int width, int height);

} // namespace tesselor
