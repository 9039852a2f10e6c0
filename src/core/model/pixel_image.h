#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace tesselor {

// Colours are 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kSilver = 0xC0C0C0;
inline constexpr Colour kInkPreviewColour = 0xC6FFC6;

// Copies share their pixels until one of them is written: a font's blank characters, an undo step's
// snapshot and the clipboard cost one image, not one each.
class PixelImage {
public:
    PixelImage() = default;
    PixelImage(int width, int height, Colour fill = kWhite);
    PixelImage(const PixelImage&) = default;
    PixelImage& operator=(const PixelImage&) = default;
    // A moved-from image is empty, as a moved-from vector was.
    PixelImage(PixelImage&& other) noexcept
        : width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)),
          pixels_(std::exchange(other.pixels_, noPixels())) {}
    PixelImage& operator=(PixelImage&& other) noexcept {
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        pixels_ = std::exchange(other.pixels_, noPixels());
        return *this;
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return width_ == 0 || height_ == 0; }

    // Resizing keeps pixels at their coordinates; pixels added by an enlargement are white.
    void setWidth(int width) { setSize(width, height_); }
    void setHeight(int height) { setSize(width_, height); }
    void setSize(int width, int height);

    // Outside the image a read gives white and a write changes nothing.
    Colour pixel(int x, int y) const { return contains(x, y) ? (*pixels_)[index(x, y)] : kWhite; }
    void setPixel(int x, int y, Colour colour) {
        if (contains(x, y))
            own()[index(x, y)] = colour;
    }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    void fill(int x, int y, int width, int height, Colour colour);
    void fillAll(Colour colour) { fill(0, 0, width_, height_, colour); }

    // Copies a width x height block of source at (sx, sy) to (dx, dy) of this image; the source may be
    // this image. Pixels falling outside either image are skipped.
    void copyRect(const PixelImage& source, int sx, int sy, int width, int height, int dx, int dy);

    const std::vector<Colour>& pixels() const { return *pixels_; }

    friend bool operator==(const PixelImage& a, const PixelImage& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ &&
               (a.pixels_ == b.pixels_ || *a.pixels_ == *b.pixels_);
    }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    // The pixels, this image's alone: a shared copy is made its own first.
    std::vector<Colour>& own() {
        if (pixels_.use_count() > 1)
            detach();
        return *pixels_;
    }
    void detach();

    int width_ = 0;
    int height_ = 0;
    std::shared_ptr<std::vector<Colour>> pixels_ = noPixels();
    static const std::shared_ptr<std::vector<Colour>>& noPixels();
};

} // namespace tesselor
