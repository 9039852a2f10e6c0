#include "qtplatform/qt_pixels.h"

namespace tesselor {

QRgb toQRgb(Colour colour) {
    return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

QColor toQColor(Colour colour) {
    return QColor(toQRgb(colour));
}

QImage toQImage(const PixelImage& image) {
    QImage picture(image.width(), image.height(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const Colour* pixels =
            image.pixels().data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width());
        for (int x = 0; x < image.width(); ++x)
            line[x] = toQRgb(pixels[x]);
    }
    return picture;
}

QImage toQImage(const PixelImage& image, const std::vector<std::uint8_t>& alpha) {
    if (alpha.empty())
        return toQImage(image);
    QImage picture(image.width(), image.height(), QImage::Format_ARGB32);
    const auto w = static_cast<std::size_t>(image.width());
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const std::size_t row = static_cast<std::size_t>(y) * w;
        for (std::size_t x = 0; x < w; ++x) {
            const Colour colour = image.pixels()[row + x];
            line[x] = qRgba(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                            static_cast<int>((colour >> 16) & 0xFF), alpha[row + x]);
        }
    }
    return picture;
}

} // namespace tesselor
