#pragma once

#include "model/pixel_image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor {

// Whether a file is to be read as TGA: its name ends in .tga (letter case ignored) or it ends with the
// TGA 2.0 footer. The format has no signature at its start.
bool isTga(std::string_view path, std::string_view bytes);

// A TGA image: colour-mapped, true-colour or grey (types 1, 2, 3), uncompressed or run-length (9, 10, 11);
// 15, 16, 24 and 32-bit colour, 8-bit grey (16 with alpha), colour maps of 15 to 32-bit entries; either
// origin. Pixels as 0x00BBGGRR, top row first.
struct TgaImage {
    PixelImage pixels;
    std::vector<std::uint8_t> alpha; // empty without an alpha channel
    int depth = 0;                   // bits a pixel in the file (a colour-mapped image: its index's)
    std::optional<int> mapEntries;   // the colour map's length, for a colour-mapped image
};

// Throws Error for a header no TGA reader takes, a size past imageSizeProblem, an index past the colour
// map, or data that ends before the pixels do ("the image data is cut short").
TgaImage readTga(std::string_view bytes);

} // namespace tesselor
