#pragma once

#include "model/grey_levels.h"

namespace tesselor {

// The rightmost column of the cell holding ink (an exactly black pixel at depth 1, any level above paper
// at more), plus 1; never less than 1.
int recomputedCharWidth(const PixelImage& character, int cellWidth, int cellHeight, int depth = 1);

} // namespace tesselor
