#pragma once

#include <string_view>

namespace tesselor {

// Whether an XBM text holds all the pixels its width and height declare: ceil(width / 8) x height
// hexadecimal bytes between its braces (16-bit values count two), and the closing brace. A text without
// both sizes gives true: the reader refuses it.
bool xbmPixelDataComplete(std::string_view text);

} // namespace tesselor
