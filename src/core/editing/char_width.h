#pragma once

#include "model/pixel_image.h"

namespace tesselor {

// The rightmost column of the cell holding an exactly black pixel, plus 1; never less than 1.
int recomputedCharWidth(const PixelImage& character, int cellWidth, int cellHeight);

} // namespace tesselor
