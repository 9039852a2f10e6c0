#pragma once

#include "model/font_model.h"

#include <optional>
#include <vector>

namespace tesselor {

// A line of text as the device lays it out: each character of the range drawn from its pixels at the
// x where the one before ended (its CharWidths apart), the height of the cell; characters outside the
// range are skipped, and where they would have been is kept for a mark.
struct TextLayout {
    struct Glyph {
        int code;
        int x;
    };
    int width = 0;
    int height = 0;
    std::vector<Glyph> glyphs;
    std::vector<int> skipped; // x of each code outside the range
};

// `codes` are the character codes of the text; a code outside 0..255 (a character the code page lacks) is
// outside the range too.
TextLayout layoutText(const FontModel& font, const std::vector<int>& codes);

struct TextStyle {
    Colour ink = kBlack;
    Colour paper = kWhite;
    int scale = 1;                // screen pixels per font pixel
    std::optional<Colour> marker; // a one-pixel column where a skipped character was
};

// The layout drawn: a pixel is ink where the character's pixel is exactly black (what the device draws).
PixelImage renderText(const FontModel& font, const TextLayout& layout, const TextStyle& style);

} // namespace tesselor
