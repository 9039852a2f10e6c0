#pragma once

#include "fontexport/text_layout.h"
#include "model/font_model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tesselor {

// A character as the graphics libraries store it: the box around its ink (within its width, as the
// preview draws it), the levels of the box row by row, and how far the pen moves after it.
struct GlyphBox {
    int code = 0;
    int x = 0; // the box's left column and top row in the cell
    int y = 0;
    int width = 0; // 0 by 0 for a character without ink
    int height = 0;
    int advance = 0;
    std::vector<int> levels; // width x height, at the font's depth
};

GlyphBox glyphBox(const FontModel& font, int code, const Advances& advances);

// Throws Error naming the character when a field's value is outside low..high of the format ("an LVGL
// font").
void checkGlyphField(int value, int low, int high, int code, const std::string& field,
                     const std::string& format);

// The levels packed `bits` to a pixel, most significant first, rows not padded; the last byte is filled
// with zeros.
void packLevels(const std::vector<int>& levels, int bits, std::vector<std::uint8_t>& out);

// The bytes as the rows of a C initializer: 16 a line, "0xHH, " apart, each line indented by four blanks and
// ended by CR LF; no comma after the last.
std::string cByteRows(const std::vector<std::uint8_t>& bytes);

// A code's name in a C comment: its hexadecimal value, and the character when it is plain ASCII that
// cannot end or break the comment.
std::string codeComment(int code, char32_t character);
// A font's name inside a // comment: control characters and a backslash (which would continue the comment
// on the next line) become "_".
std::string commentText(const std::string& name);

} // namespace tesselor
