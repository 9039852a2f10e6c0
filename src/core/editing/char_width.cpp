#include "editing/char_width.h"

namespace tesselor {

int recomputedCharWidth(const PixelImage& character, int cellWidth, int cellHeight, int depth) {
    int rightmost = 0;
    for (int y = 0; y < cellHeight; ++y) {
        for (int x = cellWidth - 1; x > rightmost; --x) {
            if (isInk(character.pixel(x, y), depth)) {
                rightmost = x;
                break;
            }
        }
    }
    return rightmost + 1;
}

} // namespace tesselor
