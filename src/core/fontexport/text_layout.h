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

// How far the pen moves after a character. By default each character's width, as the device's own tables
// have it; the FT8xx controller's width table adds `spacing` to a character with ink and gives one without
// ink (a space) `spaceWidth`.
struct Advances {
    int spacing = 0;
    std::optional<int> spaceWidth; // nothing: a character without ink keeps its width too
};
// The controller's defaults: 1 pixel of spacing, a space a third of the cell height (rounded).
Advances controllerAdvances(const FontModel& font, std::optional<int> spacing = std::nullopt,
                            std::optional<int> spaceWidth = std::nullopt);
// Whether the character has ink in the columns of its width (what is drawn of it).
bool glyphHasInk(const FontModel& font, int code);
int advanceOf(const FontModel& font, int code, const Advances& advances);

// `codes` are the character codes of the text; a code outside 0..255 (a character the code page lacks) is
// outside the range too.
TextLayout layoutText(const FontModel& font, const std::vector<int>& codes, const Advances& advances = {});

struct TextStyle {
    Colour ink = kBlack;
    Colour paper = kWhite;
    int scale = 1;                // screen pixels per font pixel
    std::optional<Colour> marker; // a one-pixel column where a skipped character was
};

// The layout drawn: a pixel is ink where the character's pixel is exactly black (what the device draws of
// a 1-bit font); a grey font's levels mix ink and paper.
PixelImage renderText(const FontModel& font, const TextLayout& layout, const TextStyle& style);

} // namespace tesselor
