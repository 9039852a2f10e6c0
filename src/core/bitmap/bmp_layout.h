#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tesselor {

// The stored pixel layout of a .bmp file, read from its own header.
struct BmpLayout {
    std::uint32_t headerSize = 0; // 12 (core header), 40, 52, 56, 108, 124 ...
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: top-down
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0; // 0 RGB, 1 RLE8, 2 RLE4, 3 BITFIELDS
    bool hasMasks = false;         // bit fields given, after a 40-byte header or inside a larger one
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    std::uint32_t dataOffset = 0;  // where the pixel data starts, from the file header
    std::uint32_t coloursUsed = 0; // palette entries; 0 means 2 to the bit count
};

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;

// The layout, or nothing when the bytes do not start with a .bmp header.
std::optional<BmpLayout> readBmpLayout(std::string_view bytes);

// The largest image the decoders make: a payload header holds 16-bit sides, and 4096 x 4096 pixels is
// far beyond any display such a device drives.
inline constexpr std::int64_t kMaxImageSide = 65535;
inline constexpr std::int64_t kMaxImagePixels = 4096 * 4096;

// Why an image of this size is refused, or nothing.
std::optional<std::string> imageSizeProblem(std::int64_t width, std::int64_t height);

// True when the file holds every row its header declares (uncompressed and bit-field layouts); a file
// cut short would leave rows that no byte of the file defines. Other layouts give true.
bool bmpPixelDataComplete(std::string_view bytes, const BmpLayout& layout);
bool bmpPixelDataComplete(std::uint64_t fileSize, const BmpLayout& layout);

// The format text of the status bar and the depth code; no depth code for a layout outside the table.
struct LayoutClass {
    std::string formatText;
    std::optional<std::uint8_t> bits;
};
LayoutClass classifyBmpLayout(const BmpLayout& layout);

} // namespace tesselor
