#pragma once

#include "platform/image_decoder.h"

namespace tesselor {

// Decodes .bmp files with Qt's reader: 1, 4, 8, 16, 24 and 32 bits, bit fields, RLE4 and RLE8.
class QtImageDecoder : public ImageDecoder {
public:
    DecodedImage decode(const std::string& path) override;
};

} // namespace tesselor
