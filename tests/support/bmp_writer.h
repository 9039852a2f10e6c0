#pragma once

#include "model/pixel_image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Writes .bmp files of every layout the tests need: 1/4/8/16/24/32 bits, bit fields, RLE4/RLE8,
// bottom-up or top-down, with a core header or an info header of 40, 52, 56, 108 or 124 bytes.
struct BmpOptions {
    enum class Compression { Rgb, Rle8, Rle4, Bitfields };
    int bits = 24;
    Compression compression = Compression::Rgb;
    int headerSize = 40;
    bool topDown = false;
    // Red, green, blue (and alpha) masks for bit fields.
    std::vector<std::uint32_t> masks;
    // For palette depths: the palette as 0x00BBGGRR; empty means the image's colours in order of appearance.
    std::vector<tesselor::Colour> palette;
    // The fourth byte of 32-bit pixels without masks.
    std::uint8_t fillByte = 0;
};

std::string writeBmp(const tesselor::PixelImage& image, const BmpOptions& options = {});

// An image from rows of characters and a colour for each character.
tesselor::PixelImage imageFromRows(const std::vector<std::string>& rows,
                                   const std::vector<std::pair<char, tesselor::Colour>>& colours);

} // namespace testsupport
