#pragma once

#include "model/pixel_image.h"

#include <QColor>
#include <QImage>

#include <cstdint>
#include <vector>

namespace tesselor {

// 0x00BBGGRR to Qt's colours and images.
QRgb toQRgb(Colour colour);
QColor toQColor(Colour colour);
QImage toQImage(const PixelImage& image);
// With an alpha plane of one byte a pixel (straight alpha); without one, as above.
QImage toQImage(const PixelImage& image, const std::vector<std::uint8_t>& alpha);

} // namespace tesselor
