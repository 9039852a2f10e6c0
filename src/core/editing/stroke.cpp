#include "editing/stroke.h"

#include <algorithm>
#include <cstdlib>

namespace tesselor {

// Bresenham's line: whole numbers only, so a stroke is the same on every machine.
std::vector<std::pair<int, int>> cellsOnLine(int fromX, int fromY, int toX, int toY) {
    const int dx = std::abs(toX - fromX);
    const int dy = -std::abs(toY - fromY);
    const int stepX = fromX < toX ? 1 : -1;
    const int stepY = fromY < toY ? 1 : -1;
    std::vector<std::pair<int, int>> cells;
    cells.reserve(static_cast<std::size_t>(std::max(dx, -dy)) + 1);
    int x = fromX;
    int y = fromY;
    int error = dx + dy;
    for (;;) {
        cells.emplace_back(x, y);
        if (x == toX && y == toY)
            return cells;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

} // namespace tesselor
