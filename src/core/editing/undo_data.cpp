#include "editing/undo_data.h"

#include <algorithm>

namespace tesselor {

void PixelChanges::record(const PixelImage& image, int x, int y, Colour after) {
    if (!image.contains(x, y))
        return;
    width_ = image.width();
    const auto index = static_cast<std::uint32_t>(y * image.width() + x);
    const auto [at, added] = lookup_.emplace(index, changes_.size());
    if (added)
        changes_.push_back({index, image.pixel(x, y), after});
    else
        changes_[at->second].after = after;
}

void PixelChanges::finish() {
    lookup_ = {};
    changes_.shrink_to_fit();
}

void PixelChanges::undo(PixelImage& image) const {
    for (auto change = changes_.rbegin(); change != changes_.rend(); ++change)
        image.setPixel(static_cast<int>(change->index) % width_, static_cast<int>(change->index) / width_,
                       change->before);
}

void PixelChanges::redo(PixelImage& image) const {
    for (const Change& change : changes_)
        image.setPixel(static_cast<int>(change.index) % width_, static_cast<int>(change.index) / width_,
                       change.after);
}

PackedImage::PackedImage(const PixelImage& image) : width_(image.width()), height_(image.height()) {
    const std::vector<Colour>& pixels = image.pixels();
    const bool glyph =
        std::all_of(pixels.begin(), pixels.end(), [](Colour c) { return c == kBlack || c == kWhite; });
    if (glyph) {
        bits_.assign((pixels.size() + 7) / 8, 0);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (pixels[i] == kBlack)
                bits_[i / 8] = static_cast<std::uint8_t>(bits_[i / 8] | 1u << (i % 8));
        return;
    }
    for (const Colour colour : pixels) {
        if (!runs_.empty() && runs_.back().colour == colour)
            ++runs_.back().length;
        else
            runs_.push_back({1, colour});
    }
    runs_.shrink_to_fit();
}

PixelImage PackedImage::unpack() const {
    PixelImage image(width_, height_, kWhite);
    int x = 0;
    int y = 0;
    auto put = [&](Colour colour) {
        image.setPixel(x, y, colour);
        if (++x == width_) {
            x = 0;
            ++y;
        }
    };
    if (runs_.empty()) {
        const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
        for (std::size_t i = 0; i < count; ++i)
            put((bits_[i / 8] >> (i % 8)) & 1 ? kBlack : kWhite);
    }
    for (const Run& run : runs_)
        for (std::uint32_t i = 0; i < run.length; ++i)
            put(run.colour);
    return image;
}

FontSnapshot::FontSnapshot(const FontModel& font)
    : widths_(font.CharWidths), cell_(font.CellImage), rangeFrom_(font.RangeFrom), rangeTo_(font.RangeTo),
      name_(font.FontName), codePage_(font.CodePage), depth_(font.Depth), baseline_(font.Baseline) {
    for (std::size_t c = 0; c < images_.size(); ++c)
        if (!font.CharImages[c].pixels().empty())
            images_[c] = PackedImage(font.CharImages[c]);
}

void FontSnapshot::restore(FontModel& font) const {
    for (std::size_t c = 0; c < images_.size(); ++c)
        font.CharImages[c] = images_[c].unpack();
    font.CharWidths = widths_;
    font.CellImage = cell_.unpack();
    font.RangeFrom = rangeFrom_;
    font.RangeTo = rangeTo_;
    font.FontName = name_;
    font.CodePage = codePage_;
    font.Depth = depth_;
    font.Baseline = baseline_;
}

std::size_t FontSnapshot::bytes() const {
    std::size_t total = sizeof(*this) + cell_.bytes() + name_.capacity() + codePage_.capacity();
    for (const PackedImage& image : images_)
        total += image.bytes();
    return total;
}

namespace {
// The part of an image at (x, y) of this size, white where the image has no pixel.
PixelImage part(const PixelImage& image, int x, int y, int width, int height) {
    PixelImage out(std::max(width, 0), std::max(height, 0), kWhite);
    out.copyRect(image, x, y, width, height, 0, 0);
    return out;
}
} // namespace

DroppedPixels::DroppedPixels(const FontModel& font, int width, int height) : width_(width), height_(height) {
    auto keep = [&](int code, const PixelImage& image) {
        if (image.width() <= width && image.height() <= height)
            return;
        strips_.push_back(
            {code,
             PackedImage(part(image, width, 0, image.width() - width, std::min(height, image.height()))),
             PackedImage(part(image, 0, height, image.width(), image.height() - height))});
    };
    for (int c = font.firstCode(); c <= font.lastCode(); ++c)
        keep(c, font.CharImages[static_cast<std::size_t>(c)]);
    keep(-1, font.CellImage);
}

void DroppedPixels::restore(FontModel& font) const {
    for (const Strip& strip : strips_) {
        PixelImage& image =
            strip.code < 0 ? font.CellImage : font.CharImages[static_cast<std::size_t>(strip.code)];
        const PixelImage right = strip.right.unpack();
        const PixelImage bottom = strip.bottom.unpack();
        image.copyRect(right, 0, 0, right.width(), right.height(), width_, 0);
        image.copyRect(bottom, 0, 0, bottom.width(), bottom.height(), 0, height_);
    }
}

std::size_t DroppedPixels::bytes() const {
    std::size_t total = sizeof(*this) + strips_.capacity() * sizeof(Strip);
    for (const Strip& strip : strips_)
        total += strip.right.bytes() + strip.bottom.bytes();
    return total;
}

} // namespace tesselor
