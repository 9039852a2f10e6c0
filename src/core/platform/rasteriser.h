#pragma once

#include "model/pixel_image.h"

namespace tesselor {

// Draws one character of a chosen font, bi-level: every pixel it touches is exactly the text colour or the
// background colour. (x, y) is the top-left corner of the character's box (advance width by ascent +
// descent), which gets the background wherever there is no ink; ink may reach beyond the box.
class Rasteriser {
public:
    virtual ~Rasteriser() = default;
    virtual void drawChar(PixelImage& image, int code, int x, int y, Colour text, Colour background) = 0;
    // The rows of the box above the baseline: the characters stand on row ascent() - 1.
    virtual int ascent() const = 0;
};

} // namespace tesselor
