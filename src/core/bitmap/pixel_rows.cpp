#include "bitmap/pixel_rows.h"

namespace tesselor {

PixelImageRows::PixelImageRows(const PixelImage& image, const std::vector<std::uint8_t>* alpha)
    : image_(image), alpha_(alpha), row_(static_cast<std::size_t>(image.width())) {}

const Rgba* PixelImageRows::nextRow() {
    const auto w = static_cast<std::size_t>(image_.width());
    const Colour* pixels = image_.pixels().data() + static_cast<std::size_t>(y_) * w;
    const std::uint8_t* alpha = hasAlpha() ? alpha_->data() + static_cast<std::size_t>(y_) * w : nullptr;
    for (std::size_t x = 0; x < w; ++x)
        row_[x] = rgbaOf(pixels[x], alpha != nullptr ? alpha[x] : 255);
    ++y_;
    return row_.data();
}

namespace {
class OwnedRows : public RowSource {
public:
    OwnedRows(PixelImage image, std::vector<std::uint8_t> alpha)
        : image_(std::move(image)), alpha_(std::move(alpha)), rows_(image_, &alpha_) {}
    int width() const override { return rows_.width(); }
    int height() const override { return rows_.height(); }
    bool hasAlpha() const override { return rows_.hasAlpha(); }
    void rewind() override { rows_.rewind(); }
    const Rgba* nextRow() override { return rows_.nextRow(); }

private:
    PixelImage image_;
    std::vector<std::uint8_t> alpha_;
    PixelImageRows rows_;
};
} // namespace

std::unique_ptr<RowSource> ownedRows(PixelImage image, std::vector<std::uint8_t> alpha) {
    return std::make_unique<OwnedRows>(std::move(image), std::move(alpha));
}

void WatchedRows::rewind() {
    // The first rewind, before any row, starts the first pass.
    if (read_ > 0)
        ++pass_;
    read_ = 0;
    rows_.rewind();
}

const Rgba* WatchedRows::nextRow() {
    if (!progress_(pass_, read_, rows_.height()))
        throw Cancelled();
    ++read_;
    return rows_.nextRow();
}

void readAllRows(RowSource& rows, PixelImage& image, std::vector<std::uint8_t>& alpha) {
    const int w = rows.width();
    const int h = rows.height();
    image = PixelImage(w, h);
    alpha.assign(rows.hasAlpha() ? static_cast<std::size_t>(w) * static_cast<std::size_t>(h) : 0, 255);
    rows.rewind();
    for (int y = 0; y < h; ++y) {
        const Rgba* row = rows.nextRow();
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, colourOf(row[x]));
            if (!alpha.empty())
                alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                      static_cast<std::size_t>(x)] = row[x].a;
        }
    }
}

} // namespace tesselor
