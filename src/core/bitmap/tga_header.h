#pragma once

#include <string_view>

namespace tesselor {

// Whether a TGA file holds all the pixels its header declares: the 18-byte header, the image ID, the colour
// map and width x height pixels for an uncompressed image (types 1, 2 and 3). A run-length image (9, 10 and
// 11) cannot be sized without decoding it and gives true. The header's size is not checked here.
bool tgaPixelDataComplete(std::string_view bytes);

} // namespace tesselor
