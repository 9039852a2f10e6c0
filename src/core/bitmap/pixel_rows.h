#pragma once

#include "model/pixel_image.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace tesselor {

// One pixel with straight (not premultiplied) alpha.
struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

inline Rgba rgbaOf(Colour colour, std::uint8_t alpha = 255) {
    return {static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>((colour >> 8) & 0xFF),
            static_cast<std::uint8_t>((colour >> 16) & 0xFF), alpha};
}
inline Colour colourOf(Rgba pixel) {
    return static_cast<Colour>(pixel.r) | static_cast<Colour>(pixel.g) << 8 |
           static_cast<Colour>(pixel.b) << 16;
}

// A channel of 8 bits to n bits, rounded to the nearest level: round(v x (2^n - 1) / 255).
constexpr std::uint32_t reduce(std::uint32_t value, int bits) {
    const std::uint32_t max = (1u << bits) - 1;
    return (2 * value * max + 255) / 510;
}
// A level of n bits back to 8 bits, rounded.
constexpr std::uint8_t expand(std::uint32_t level, int bits) {
    const std::uint32_t max = (1u << bits) - 1;
    return static_cast<std::uint8_t>((2 * level * 255 + max) / (2 * max));
}
// The grey of a colour: 0.299 R + 0.587 G + 0.114 B, rounded.
constexpr std::uint32_t grey(Rgba pixel) {
    return (299u * pixel.r + 587u * pixel.g + 114u * pixel.b + 500u) / 1000u;
}

// An image read a row at a time, top row first, as often as an encoder needs it: a decoder can stream a
// large file instead of holding it whole.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Whether the image has an alpha channel (else every alpha is 255).
    virtual bool hasAlpha() const = 0;
    // Back to the top row.
    virtual void rewind() = 0;
    // The next row, width() pixels, valid until the next call.
    virtual const Rgba* nextRow() = 0;
};

// The rows of an image of the model, with an alpha plane of one byte a pixel when it has one.
class PixelImageRows : public RowSource {
public:
    explicit PixelImageRows(const PixelImage& image, const std::vector<std::uint8_t>* alpha = nullptr);
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    bool hasAlpha() const override { return alpha_ != nullptr && !alpha_->empty(); }
    void rewind() override { y_ = 0; }
    const Rgba* nextRow() override;

private:
    const PixelImage& image_;
    const std::vector<std::uint8_t>* alpha_;
    int y_ = 0;
    std::vector<Rgba> row_;
};

// Rows that own their image.
std::unique_ptr<RowSource> ownedRows(PixelImage image, std::vector<std::uint8_t> alpha = {});

// Thrown out of work that was asked to stop.
struct Cancelled : std::exception {
    const char* what() const noexcept override { return "Cancelled"; }
};

// Told how much of the current pass over some work is done (done of total; an encoder may read an image
// more than once, the first pass being 0); answers whether to go on.
using Progress = std::function<bool(int pass, long long done, long long total)>;

// The rows of another source, reporting each row read; the row after a "stop" throws Cancelled.
class WatchedRows : public RowSource {
public:
    WatchedRows(RowSource& rows, Progress progress) : rows_(rows), progress_(std::move(progress)) {}
    int width() const override { return rows_.width(); }
    int height() const override { return rows_.height(); }
    bool hasAlpha() const override { return rows_.hasAlpha(); }
    void rewind() override;
    const Rgba* nextRow() override;

private:
    RowSource& rows_;
    Progress progress_;
    int read_ = 0;
    int pass_ = 0;
};

// Every pixel of a source, read once, as the model's image and its alpha plane (empty without alpha).
void readAllRows(RowSource& rows, PixelImage& image, std::vector<std::uint8_t>& alpha);

} // namespace tesselor
