#pragma once

#include <utility>
#include <vector>

namespace tesselor {

// The cells a straight stroke from one cell to another passes, both ends included, each once and in
// order, every one touching the one before (at an edge or a corner). The pointer skips cells when it is
// moved fast; the stroke between two reported positions fills them in.
std::vector<std::pair<int, int>> cellsOnLine(int fromX, int fromY, int toX, int toY);

} // namespace tesselor
