#pragma once

#include "platform/image_decoder.h"

namespace tesselor {

// Decodes .bmp files (1, 4, 8, 16, 24 and 32 bits, bit fields, RLE4 and RLE8) and every other format
// Qt's image readers offer on the machine; the first frame of an animation.
class QtImageDecoder : public ImageDecoder {
public:
    using ImageDecoder::decode;
    DecodedImage decode(const std::string& path, const Progress& progress) override;
};

} // namespace tesselor
