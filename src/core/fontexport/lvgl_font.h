#pragma once

#include "fontexport/text_layout.h"
#include "model/code_page.h"
#include "model/font_model.h"

#include <string>
#include <vector>

namespace tesselor {

inline constexpr int kDefaultLvglVersion = 9;

// The font in LVGL's text font format, as a .c defining `symbol` (an lv_font_t): the glyphs' bitmaps at the
// font's depth (bpp 1, 2, 4 or 8: each glyph's ink box, rows not padded, most significant bits first,
// each glyph from a new byte), their descriptors (glyph 0 is the library's "not found"), one character map
// from Unicode points (a code's character in the font's code page; a font of its own encoding keeps its
// codes) and the font's description, without kerning or compression; for LVGL 9, or 8 where the
// description also points at a glyph cache. line_height is the cell's height and base_line the rows under
// the baseline. Codes without a character in the code page are left out, and `warnings` says which.
// Throws Error naming the code of a glyph beyond the fields' ranges (a bitmap index past 1 MiB, a box or an
// advance past 255, an offset outside -128..127).
std::string lvglFontSource(const FontModel& font, const CodePage& page, const std::string& symbol,
                           const Advances& advances, int version, std::vector<std::string>& warnings);

} // namespace tesselor
