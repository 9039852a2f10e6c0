#include "platform/image_decoder.h"

namespace tesselor {

PixelImage DecodedImage::pixels() const {
    PixelImage image;
    std::vector<std::uint8_t> alpha;
    readAllRows(*rows, image, alpha);
    return image;
}

} // namespace tesselor
