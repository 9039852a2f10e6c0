#pragma once

#include "bitmap/bitmap_formats.h"
#include "bitmap/pixel_rows.h"
#include "model/pixel_image.h"
#include "platform/c_array.h"

#include <cstdint>
#include <functional>
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

// The native colour table: the RGB565 colours numbered in order of first appearance when the image is
// scanned column by column, each column top to bottom.
struct ColourTable {
    std::vector<std::uint16_t> colours; // at most 256 stored
    std::size_t count = 0;              // the number of colours met, also past 256
    std::vector<std::uint8_t> indexOf;  // for every RGB565 value, its index in the table

    std::uint8_t index(Colour colour) const { return indexOf[ToRgb565(colour)]; }
};
ColourTable scanColours(RowSource& rows);
ColourTable scanColours(const PixelImage& image);

// Byte 0 of the header: the rows and palette follow plainly, or as one zlib stream.
inline constexpr std::uint8_t kPlainPayload = 0x00;
inline constexpr std::uint8_t kDeflatedPayload = 0x01;
inline constexpr std::size_t kPayloadHeaderSize = 6;

// Where the luminance formats (L1, L2, L4, L8) take their levels: the alpha, the grey value, or (Auto) the
// alpha only when some pixel is translucent, so an opaque image with an alpha channel keeps its greys.
enum class LuminanceSource { Auto, Alpha, Grey };

// How an image is encoded besides its format.
struct EncodeOptions {
    EncodeOptions(bool diffuse = false) : dither(diffuse) {}
    bool dither = false; // Floyd-Steinberg for the formats that reduce colours
    LuminanceSource luminance = LuminanceSource::Auto;
    std::optional<Colour> background; // every pixel composited onto this colour first
    bool swapBytes = false; // 16-bit pixels and RGB565 table entries high byte first (native formats only)
};

// Whether some pixel of the image is not fully opaque.
bool hasTranslucentPixels(RowSource& rows);
// Whether a format keeps a pixel's alpha (an alpha channel, a palette with alpha, or luminance taken from
// the alpha).
bool keepsAlpha(const BitmapEncoding& encoding, const EncodeOptions& options, RowSource& rows);
// The bytes of one row in the payload: ceil(W x bits / 8).
std::size_t rowBytes(int width, int depth);
// The bytes of the colour table or palette after the payload header.
std::size_t tableBytes(const BitmapEncoding& encoding);

// The device encoding of an image: byte 0, format code, height, width (16 bits each, low byte first),
// the colour table or palette, then the rows, top first, each starting on a new byte. Appended to `out`
// so that an item header can come first without a copy. False, with `out` as it was, when the image
// has more colours than a native depth holds (the anomaly). Dithering diffuses the error of every
// reduced format (Floyd-Steinberg); the native colour tables are exact and take none.
// Throws Error when bytes are to be swapped in an FT8xx format (the controllers read little-endian).
bool appendBitmapPayload(RowSource& rows, const BitmapEncoding& encoding, const EncodeOptions& options,
                         Bytes& out);
// The same bytes given to `put` a piece at a time, so that a large payload is never held whole; false
// for the anomaly before any piece is given.
using PayloadSink = std::function<void(const std::uint8_t* bytes, std::size_t size)>;
bool writeBitmapPayload(RowSource& rows, const BitmapEncoding& encoding, const EncodeOptions& options,
                        const PayloadSink& put);
std::optional<Bytes> BitmapPayload(RowSource& rows, const BitmapEncoding& encoding,
                                   const EncodeOptions& options = {});
std::optional<Bytes> BitmapPayload(const PixelImage& image, const BitmapEncoding& encoding);

// Codes of one row of pixels into its bytes, `row` zero on entry: leftmost pixel in the most significant bits
// below 8 bits a pixel (the last byte filled with 0 bits), one byte at 8, low byte first at 16.
void packRow(const std::vector<std::uint32_t>& codes, int depth, std::uint8_t* row);

// The payload length: header, table and rows of ceil(W x bits / 8) bytes.
std::size_t bitmapPayloadSize(int width, int height, const BitmapEncoding& encoding);

// The .c file of the payload: the array named `arrayName`, CR LF after every line. Two bytes a line for
// the header and a table of 2-byte entries, one entry a line for 4-byte entries, then 25 pixels a line
// (two bytes each at 16 bits) or, for a zlib stream, 25 bytes a line.
std::string bitmapCSource(const Bytes& payload, const BitmapEncoding& encoding, bool forFT800,
                          const std::string& arrayName, const CArrayStyle& style = {});

} // namespace tesselor
