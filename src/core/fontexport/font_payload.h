#pragma once

#include "model/font_model.h"
#include "platform/c_array.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor {

using Bytes = std::vector<std::uint8_t>;

// The device encoding of a font: an 8-byte header, a 4-byte table entry per character (width and 24-bit
// glyph offset) and the glyphs, FontHeight rows of ceil(width / 8) bytes each, pixel x in bit (x mod 8).
// Only exactly black pixels are 1. A character of width 0 has no glyph bytes. Throws Error when the glyphs
// reach beyond what a 24-bit offset can address.
Bytes FontPayload(const FontModel& font);

// Bytes per glyph row of a character width.
inline int glyphRowBytes(int width) {
    return (width + 7) / 8;
}

// The array and item name: the file name without folder and last extension + "_" + W + "x" + FontHeight.
std::string fontOutputName(const std::string& path, const FontModel& font);

// The .c file: the payload as one array, CR LF after every line. Throws Error for an array of bytes when
// the height, which the .c writes whole, is above 255.
std::string fontCSource(const FontModel& font, const std::string& arrayName, const CArrayStyle& style = {});
// The same text given to `put` in pieces, so that it is never held whole; throws before the first piece.
void writeFontCSource(const FontModel& font, const std::string& arrayName, const CArrayStyle& style,
                      const std::function<void(std::string_view)>& put);

} // namespace tesselor
