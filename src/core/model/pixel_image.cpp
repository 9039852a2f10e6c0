#include "model/pixel_image.h"

#include <algorithm>
#include <utility>

namespace tesselor {

PixelImage::PixelImage(int width, int height, Colour fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(std::make_shared<std::vector<Colour>>(
          static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill)) {}

const std::shared_ptr<std::vector<Colour>>& PixelImage::noPixels() {
    static const auto none = std::make_shared<std::vector<Colour>>();
    return none;
}

void PixelImage::detach() {
    pixels_ = std::make_shared<std::vector<Colour>>(*pixels_);
}

void PixelImage::setSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    PixelImage resized(width, height, kWhite);
    const int keepW = std::min(width, width_);
    const int keepH = std::min(height, height_);
    for (int y = 0; y < keepH; ++y)
        std::copy_n(pixels_->begin() + static_cast<std::ptrdiff_t>(index(0, y)), keepW,
                    resized.pixels_->begin() + static_cast<std::ptrdiff_t>(resized.index(0, y)));
    *this = std::move(resized);
}

void PixelImage::fill(int x, int y, int width, int height, Colour colour) {
    const int x0 = std::max(x, 0);
    const int y0 = std::max(y, 0);
    const int x1 = std::min(x + width, width_);
    const int y1 = std::min(y + height, height_);
    if (x0 >= x1 || y0 >= y1)
        return;
    std::vector<Colour>& pixels = own();
    for (int row = y0; row < y1; ++row)
        for (int col = x0; col < x1; ++col)
            pixels[index(col, row)] = colour;
}

void PixelImage::copyRect(const PixelImage& source, int sx, int sy, int width, int height, int dx, int dy) {
    if (&source == this) {
        const PixelImage copy = source;
        copyRect(copy, sx, sy, width, height, dx, dy);
        return;
    }
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            if (source.contains(sx + col, sy + row))
                setPixel(dx + col, dy + row, source.pixel(sx + col, sy + row));
        }
    }
}

} // namespace tesselor
