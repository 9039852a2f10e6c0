#pragma once

#include "bitmap/pixel_rows.h"

#include <memory>
#include <optional>
#include <string>

namespace tesselor {

struct DecodedImage {
    std::unique_ptr<RowSource> rows;
    // The status bar's format: a .bmp's layout ("24 bit", "Device"), else the file type and its depth
    // ("PNG 8 bit").
    std::string formatText;
    // The depth code of the native encoding: a .bmp's classified layout; 1, 4 or 8 for an indexed image
    // of at most 2, 16 or 256 colours; 16 for any other image. Nothing for a .bmp layout outside the table.
    std::optional<std::uint8_t> bits;

    // Every pixel, read from the rows.
    PixelImage pixels() const;
};

// Decodes an image file into its pixels, top row first, with straight alpha when the file has an alpha
// channel; palette images give their palette colours, and a channel at its full value reads as 255.
// Throws Error naming the file when it cannot be decoded.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    DecodedImage decode(const std::string& path) {
        return decode(path, [](int, long long, long long) { return true; });
    }
    // Telling `progress` how much of the file was read, and throwing Cancelled once it answers no; the
    // rows returned are then read without it.
    virtual DecodedImage decode(const std::string& path, const Progress& progress) = 0;
};

} // namespace tesselor
