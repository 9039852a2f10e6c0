#pragma once

#include "bitmap/pixel_rows.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor {

// How a pixel becomes bits.
enum class Packing {
    NativeIndex, // an index into the native colour table (RGB565 entries, numbered column by column)
    Rgb565,      // RGB565 with the low bits dropped: the native 16-bit pixels and the FT800's as always
    Channels,    // A, R, G and B fields of the widths in argbBits, from the top bit down, each rounded
    Luminance,   // the alpha when the image has one, else the grey, rounded
    PaletteIndex // an index into a palette of up to 256 colours
};

// How an entry of a palette is stored.
enum class PaletteEntry {
    None,
    NativeRgb565, // the native colour table: RGB565, low bits dropped, low byte first
    Argb8888,     // bytes B, G, R, A
    Rgb565,       // rounded, low byte first
    Argb4444      // rounded, low byte first
};

// A format of the payload: byte 1 of the header, the bits of a pixel and how they are made.
struct BitmapEncoding {
    const char* name = "";
    std::uint8_t formatCode = 16;
    int depth = 16; // bits of one pixel in the rows
    Packing packing = Packing::Rgb565;
    std::array<int, 4> argbBits{}; // Channels: widths of A, R, G, B
    PaletteEntry palette = PaletteEntry::None;
    int tableEntries = 0; // entries of the colour table or palette
    bool ft8xx = false;   // a format of the FT8xx graphics controllers

    int entryBytes() const { return palette == PaletteEntry::Argb8888 ? 4 : 2; }
};

// The native encoding of an image of depth code `bits` (0, 1, 4, 8, 15 or 16; nothing for a .bmp layout
// outside the table): palette depths keep their depth, everything else is RGB565. With the FT800 option
// the FT8xx format named (letter case ignored), RGB565 when none or an unknown name is given.
BitmapEncoding bitmapEncoding(std::optional<std::uint8_t> bits, bool forFT800,
                              std::string_view ftFormat = {});

// Every format of the FT8xx controllers, in the order of their codes.
const std::vector<BitmapEncoding>& ft8xxFormats();
// A format by its name, letter case ignored ("L4", "argb1555"); nothing for an unknown name.
std::optional<BitmapEncoding> ft8xxFormat(std::string_view name);

inline constexpr std::uint8_t kFt800FormatCode = 7;

// A format as messages name it: "L4", or "native 16-bit".
std::string encodingName(const BitmapEncoding& encoding);

// The format of a payload from its header: byte 1 read as a native depth code or an FT8xx format code
// (their codes overlap). Nothing for a code of neither.
std::optional<BitmapEncoding> encodingOfCode(std::uint8_t formatCode, bool ft8xx);

// The colour a pixel code shows in a format without a table: each level widened to 8 bits, rounded;
// luminance as opaque grey; alpha 255 where the format has none.
Rgba codeColour(const BitmapEncoding& encoding, std::uint32_t code);
// The colour a stored table entry shows.
Rgba entryColour(PaletteEntry entry, const std::uint8_t* stored);

} // namespace tesselor
