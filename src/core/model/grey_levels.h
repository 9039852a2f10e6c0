#pragma once

#include "model/pixel_image.h"

namespace tesselor {

// A font's pixels hold levels of ink: 0 is paper, maxLevel(depth) full ink, at a depth of 1, 2, 4 or 8
// bits. They are stored as greys, level L as the grey 255 - L * 255 / max, so a 1-bit font keeps the black
// and white it always had and every level is one exact grey.
inline constexpr bool isFontDepth(int depth) {
    return depth == 1 || depth == 2 || depth == 4 || depth == 8;
}
inline constexpr int maxLevel(int depth) {
    return (1 << depth) - 1;
}

Colour levelColour(int level, int depth);
// The nearest level of a colour's luminance (any colour, not only the greys of the levels).
int levelOf(Colour colour, int depth);

// Ink: exactly black at depth 1 (what the device draws of a 1-bit font), any level above paper at more.
bool isInk(Colour colour, int depth);

// A level of one depth at another: level * maxOut / maxIn, rounded half up. To 1 bit it is the halving
// rule: ink at half the maximum or more.
int convertLevel(int level, int depthIn, int depthOut);

} // namespace tesselor
