#include "editing/char_width.h"

namespace tesselor {

int recomputedCharWidth(const PixelImage& character, int cellWidth, int cellHeight) {
    int rightmost = 0;
    for (int y = 0; y < cellHeight; ++y) {
        for (int x = cellWidth - 1; x > rightmost; --x) {
            if (character.pixel(x, y) == kBlack) {
                rightmost = x;
                break;
            }
        }
    }
    return rightmost + 1;
}

} // namespace tesselor
