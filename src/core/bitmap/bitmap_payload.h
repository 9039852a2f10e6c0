#pragma once

#include "model/pixel_image.h"
#include "platform/c_array.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tesselor {

using Bytes = std::vector<std::uint8_t>;

// 0x00BBGGRR to RGB565: red in bits 15..11, green 10..5, blue 4..0; low bits dropped, not rounded.
constexpr std::uint16_t ToRgb565(Colour colour) {
    const std::uint32_t r = colour & 0xFF;
    const std::uint32_t g = (colour >> 8) & 0xFF;
    const std::uint32_t b = (colour >> 16) & 0xFF;
    return static_cast<std::uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

inline constexpr std::uint8_t kFt800FormatCode = 7;

// How an image is encoded: the depth of its rows (1, 4, 8 or 16) and the format code of the header.
struct BitmapEncoding {
    int depth = 16;
    std::uint8_t formatCode = 16;
};

// The encoding of an image of depth code `bits` (0, 1, 4, 8, 15 or 16; nothing for a layout outside the
// table). The FT800 option gives 16-bit rows with format code 7; RLE, 15-bit and unlisted layouts are
// written as 16-bit RGB565.
BitmapEncoding bitmapEncoding(std::optional<std::uint8_t> bits, bool forFT800);

// The colour table: the RGB565 colours numbered in order of first appearance when the image is scanned
// column by column, each column top to bottom.
struct ColourTable {
    std::vector<std::uint16_t> colours; // at most 256 stored
    std::size_t count = 0;              // the number of colours met, also past 256
    std::vector<std::uint8_t> indexOf;  // for every RGB565 value, its index in the table

    std::uint8_t index(Colour colour) const { return indexOf[ToRgb565(colour)]; }
};
ColourTable scanColours(const PixelImage& image);

// The device encoding of an image: 0x00, format code, height, width (16 bits each), the colour table of
// 2, 16 or 256 entries for depths 1, 4 and 8, then the rows. Nothing when the image has more colours
// than the depth holds (the anomaly).
std::optional<Bytes> BitmapPayload(const PixelImage& image, const BitmapEncoding& encoding);

// The .c file of the payload: the array named `arrayName`, CR LF after every line.
std::string bitmapCSource(const Bytes& payload, const BitmapEncoding& encoding, bool forFT800,
                          const std::string& arrayName, const CArrayStyle& style = {});

// The payload length: 6 + 2 x P + H x R.
std::size_t bitmapPayloadSize(int width, int height, int depth);

} // namespace tesselor
