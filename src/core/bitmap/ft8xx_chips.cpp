#include "bitmap/ft8xx_chips.h"

#include "bitmap/bitmap_payload.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>

namespace tesselor {

const std::vector<ChipLimits>& chipLimits() {
    // The FT80x lays out 10 bits of stride and 9 of height; the later chips add two high bits to each
    // (BITMAP_LAYOUT_H, BITMAP_SIZE_H). The FT81x dropped PALETTED for the three palettes of its own.
    static const std::vector<ChipLimits> table = {
        {Chip::FT80x, "FT80x", {0, 1, 2, 3, 4, 5, 6, 7, 8}, 1023, 511, 512},
        {Chip::FT81x, "FT81x", {0, 1, 2, 3, 4, 5, 6, 7, 14, 15, 16, 17}, 4095, 2047, 2048},
        {Chip::BT81x, "BT81x", {0, 1, 2, 3, 4, 5, 6, 7, 14, 15, 16, 17}, 4095, 2047, 2048},
    };
    return table;
}

const ChipLimits& limitsOf(Chip chip) {
    return chipLimits()[static_cast<std::size_t>(chip)];
}

std::optional<Chip> chipNamed(std::string_view name) {
    for (const ChipLimits& limits : chipLimits()) {
        const std::string_view known = limits.name;
        if (std::equal(known.begin(), known.end(), name.begin(), name.end(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) ==
                       std::toupper(static_cast<unsigned char>(b));
            }))
            return limits.chip;
    }
    return std::nullopt;
}

std::optional<std::string> chipRefusal(Chip chip, const BitmapEncoding& encoding, int width, int height) {
    const ChipLimits& limits = limitsOf(chip);
    const std::string on = std::string(" on the ") + limits.name;
    if (!encoding.ft8xx || std::find(limits.formats.begin(), limits.formats.end(), encoding.formatCode) ==
                               limits.formats.end()) {
        std::string others;
        for (const ChipLimits& other : chipLimits())
            if (std::find(other.formats.begin(), other.formats.end(), encoding.formatCode) !=
                other.formats.end())
                others += std::string(others.empty() ? "" : ", ") + other.name;
        return encodingName(encoding) + " is no bitmap format" + on +
               (encoding.ft8xx && !others.empty() ? " (it needs " + others + ")" : "");
    }
    const std::size_t stride = rowBytes(width, encoding.depth);
    if (stride > static_cast<std::size_t>(limits.maxStride))
        return "A row of " + text::dec(width) + " pixels in " + encoding.name + " is " +
               text::dec(static_cast<std::int64_t>(stride)) + " bytes: BITMAP_LAYOUT takes at most " +
               text::dec(limits.maxStride) + on;
    if (width > limits.maxWidth)
        return "The bitmap is " + text::dec(width) + " pixels wide: BITMAP_SIZE takes at most " +
               text::dec(limits.maxWidth) + on;
    if (height > limits.maxHeight)
        return "The bitmap is " + text::dec(height) + " lines high: BITMAP_LAYOUT takes at most " +
               text::dec(limits.maxHeight) + on;
    return std::nullopt;
}

} // namespace tesselor
