#pragma once

#include "model/pixel_image.h"

#include <QColor>
#include <QImage>

namespace tesselor {

// 0x00BBGGRR to Qt's colours and images.
QRgb toQRgb(Colour colour);
QColor toQColor(Colour colour);
QImage toQImage(const PixelImage& image);

} // namespace tesselor
