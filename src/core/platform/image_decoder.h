#pragma once

#include "bitmap/bmp_layout.h"
#include "model/pixel_image.h"

#include <string>

namespace tesselor {

struct DecodedImage {
    PixelImage pixels;
    BmpLayout layout;
};

// Decodes a .bmp file into its pixels as 0x00BBGGRR, top row first, and the layout its header declares;
// palette images give their palette colours, and a channel at its full value reads as 255. Throws Error
// naming the file when it cannot be decoded.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    virtual DecodedImage decode(const std::string& path) = 0;
};

} // namespace tesselor
