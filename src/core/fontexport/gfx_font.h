#pragma once

#include "fontexport/text_layout.h"
#include "model/code_page.h"
#include "model/font_model.h"

#include <string>

namespace tesselor {

// The font as the Adafruit GFX library takes it (setFont): a header of the glyphs' bitmaps (each glyph's
// ink box, one bit a pixel, most significant first, rows not padded, each glyph from a new byte), the
// GFXglyph table and the GFXfont, with the struct definitions of the library's gfxfont.h. The cursor's y
// is the row under the baseline, so each glyph's yOffset counts from there. A grey font is given at one
// bit (the caller halves it). Throws Error naming the code of a glyph beyond the fields' ranges: a bitmap
// offset past 65535, a box or an advance past 255, an offset outside -128..127; or a cell higher than 255.
std::string gfxFontHeader(const FontModel& font, const CodePage& page, const std::string& headerFile,
                          const std::string& symbol, const Advances& advances);

} // namespace tesselor
