#pragma once

#include "fontexport/text_layout.h"
#include "model/font_model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tesselor {

// The font as the FT8xx graphics controllers take it (the programmer guide's "ROM and RAM fonts"): the
// 148-byte font metric block, then the glyph cells in one of the luminance bitmap formats.
struct Ft8xxFontOptions {
    std::string format = "L1"; // L1, L2, L4 or L8
    std::uint32_t address = 0; // where the block is written in the controller's RAM
    std::optional<int> first;  // the codes stored; the font's range by default
    std::optional<int> last;
    std::optional<int> spacing; // the controller's advances (see controllerAdvances)
    std::optional<int> spaceWidth;
};

inline constexpr std::uint32_t kFontBlockBytes = 148;
inline constexpr int kLastControllerCode = 127;

struct Ft8xxFont {
    std::vector<std::uint8_t> bytes; // the block, then the cells of first..last
    std::string format;
    std::uint32_t formatCode = 0;
    std::uint32_t stride = 0; // bytes of a glyph row
    std::uint32_t width = 0;  // the cell
    std::uint32_t height = 0;
    int first = 0;
    int last = 0;
    std::uint32_t address = 0;
    std::uint32_t pointer = 0; // the block's glyph address: where the cell of code 0 would be
};

// The lowest 4-byte aligned address at which the glyph pointer is not below 0 for these options (the codes
// before the first take no room, but the pointer counts from code 0).
std::uint32_t lowestFontAddress(const FontModel& font, const Ft8xxFontOptions& options);

// The block for `options.address` and the glyphs: the width table holds each code's advance (0 outside the
// codes stored), the format's levels come from the font's (level x max_out / max_in, rounded half up), and
// each glyph is cut to its character's width, as the preview draws it. Throws Error naming what does not
// fit: codes past 127, an advance past 255, an address that is not 4-byte aligned or that would put the
// glyph pointer below 0 (with the smallest address that works).
Ft8xxFont ft8xxFont(const FontModel& font, const Ft8xxFontOptions& options);

// The declarations firmware needs to load the font: SYMBOL_ADDRESS, _BLOCK_BYTES, _FORMAT, _STRIDE, _WIDTH,
// _HEIGHT, _FIRST, _LAST, _POINTER, _SIZE (the bytes stored: `storedBytes`, the zlib stream when deflated,
// with _INFLATED_SIZE then), the array's declaration when `elementType` is given (a .c), and the display
// list lines that use it.
std::string ft8xxFontHeader(const std::string& headerFile, const std::string& symbol, const Ft8xxFont& font,
                            std::size_t storedBytes, bool deflated, const std::string& elementType);

// The resource item's payload (tag "ftf"): a 12-byte header (0x00 plain or 0x01 deflated, the format code,
// the first and last code, the address, the size of the bytes inflated), then the bytes as stored.
std::vector<std::uint8_t> ft8xxFontItemPayload(const Ft8xxFont& font, const std::vector<std::uint8_t>& stored,
                                               bool deflated);

} // namespace tesselor
