#include "model/grey_levels.h"

#include <algorithm>

namespace tesselor {

Colour levelColour(int level, int depth) {
    const int max = maxLevel(depth);
    const auto grey = static_cast<Colour>(255 - std::clamp(level, 0, max) * 255 / max);
    return grey | grey << 8 | grey << 16;
}

int levelOf(Colour colour, int depth) {
    const int red = static_cast<int>(colour & 0xFF);
    const int green = static_cast<int>((colour >> 8) & 0xFF);
    const int blue = static_cast<int>((colour >> 16) & 0xFF);
    // Luminance in thousandths, as the luminance bitmap formats weigh the channels.
    const int luminance = 299 * red + 587 * green + 114 * blue;
    const int ink = 255 * 1000 - luminance;
    const int max = maxLevel(depth);
    return (ink * max * 2 + 255 * 1000) / (2 * 255 * 1000);
}

bool isInk(Colour colour, int depth) {
    return depth <= 1 ? colour == kBlack : levelOf(colour, depth) > 0;
}

int convertLevel(int level, int depthIn, int depthOut) {
    const int maxIn = maxLevel(depthIn);
    return (level * maxLevel(depthOut) * 2 + maxIn) / (2 * maxIn);
}

} // namespace tesselor
