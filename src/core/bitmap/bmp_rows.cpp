#include "bitmap/bmp_rows.h"

namespace tesselor {

PlainBmp::PlainBmp(const BmpLayout& layout)
    : width_(layout.width), height_(layout.height < 0 ? -layout.height : layout.height),
      topDown_(layout.height < 0), pixelBytes_(layout.bitCount / 8u),
      stride_((std::size_t(width_) * layout.bitCount + 31) / 32 * 4), offset_(layout.dataOffset) {}

std::optional<PlainBmp> PlainBmp::of(const BmpLayout& layout, std::uint64_t fileSize) {
    const bool plain = layout.compression == kBiRgb &&
                       (layout.bitCount == 24 || (layout.bitCount == 32 && layout.headerSize == 40));
    const std::int64_t rows = layout.height < 0 ? -std::int64_t(layout.height) : layout.height;
    if (!plain || layout.width <= 0 || rows == 0 || imageSizeProblem(layout.width, rows) ||
        !bmpPixelDataComplete(fileSize, layout))
        return std::nullopt;
    return PlainBmp(layout);
}

std::uint64_t PlainBmp::rowOffset(int y) const {
    const auto stored = static_cast<std::uint64_t>(topDown_ ? y : height_ - 1 - y);
    return offset_ + stored * stride_;
}

void PlainBmp::convert(const std::uint8_t* stored, Rgba* out) const {
    for (int x = 0; x < width_; ++x, stored += pixelBytes_)
        out[x] = {stored[2], stored[1], stored[0], 255};
}

} // namespace tesselor
