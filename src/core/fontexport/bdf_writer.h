#pragma once

#include "model/code_page.h"
#include "model/font_model.h"

#include <functional>
#include <string>
#include <string_view>

namespace tesselor {

// The rows above a font's baseline (its FONT_ASCENT): the row under its own baseline when it has one;
// else the row under the ink of 'H', else of '0', else the row under the most characters' ink; the cell
// height when there is no ink.
int fontBaseline(const FontModel& font);

// A BDF 2.1 file of the font: one glyph per code of the range, each the whole cell (BBX cell width x
// height, on the baseline) with DWIDTH its width. ENCODING is the code's Unicode character in the code
// page ("ENCODING -1 code" for a code without one), or the code itself for a FontSpecific font.
std::string bdfText(const FontModel& font, const CodePage& page, const std::string& name);
// The same text given to `put` a glyph at a time.
void writeBdfText(const FontModel& font, const CodePage& page, const std::string& name,
                  const std::function<void(std::string_view)>& put);

} // namespace tesselor
