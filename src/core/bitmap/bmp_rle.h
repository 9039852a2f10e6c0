#pragma once

#include "bitmap/bmp_layout.h"
#include "model/pixel_image.h"

#include <string_view>

namespace tesselor {

// The pixels of an RLE8 or RLE4 .bmp (bottom-up, as the format requires) as 0x00BBGGRR, top row first.
// Every pixel comes from the file: pixels the stream does not set (it ends early, or skips them with an end
// of line or a delta) are white, an index beyond the palette is black, and runs past the end of a row or
// of the image are cut there. The layout's size must have passed imageSizeProblem. Throws Error when the
// header is no RLE bitmap or the palette lies beyond the end.
PixelImage decodeBmpRle(std::string_view bytes, const BmpLayout& layout);

} // namespace tesselor
