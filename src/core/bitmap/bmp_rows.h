#pragma once

#include "bitmap/bmp_layout.h"
#include "bitmap/pixel_rows.h"

#include <cstdint>
#include <optional>

namespace tesselor {

// Where the rows of the common photo layouts lie in their file and what they hold: an uncompressed
// 24-bit .bmp, or a 32-bit one with the 40-byte header (its fourth byte plays no part). A reader can take
// them a row at a time from the file instead of holding it whole.
class PlainBmp {
public:
    // Nothing for any other layout, a size beyond the limits, or a file too short for its rows.
    static std::optional<PlainBmp> of(const BmpLayout& layout, std::uint64_t fileSize);

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t stride() const { return stride_; }
    // Where the row `y` (0 at the top) starts in the file.
    std::uint64_t rowOffset(int y) const;
    // One stored row to its pixels.
    void convert(const std::uint8_t* stored, Rgba* out) const;

private:
    explicit PlainBmp(const BmpLayout& layout);

    int width_, height_;
    bool topDown_;
    std::size_t pixelBytes_, stride_;
    std::uint64_t offset_;
};

} // namespace tesselor
