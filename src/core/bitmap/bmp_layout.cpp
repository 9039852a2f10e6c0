#include "bitmap/bmp_layout.h"

#include "platform/text.h"

#include <cstdint>

namespace tesselor {

namespace {
std::uint32_t u16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}
std::uint32_t u32(std::string_view bytes, std::size_t at) {
    return u16(bytes, at) | u16(bytes, at + 2) << 16;
}

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kMasksAt = kFileHeader + 40;
} // namespace

std::optional<BmpLayout> readBmpLayout(std::string_view bytes) {
    if (bytes.size() < kFileHeader + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    BmpLayout layout;
    layout.dataOffset = u32(bytes, 10);
    layout.headerSize = u32(bytes, kFileHeader);
    if (layout.headerSize == 12) {
        if (bytes.size() < kFileHeader + 12)
            return std::nullopt;
        layout.width = static_cast<std::int32_t>(u16(bytes, 18));
        layout.height = static_cast<std::int32_t>(u16(bytes, 20));
        layout.bitCount = static_cast<std::uint16_t>(u16(bytes, 24));
        return layout;
    }
    if (layout.headerSize < 40 || bytes.size() < kFileHeader + 40)
        return std::nullopt;
    layout.width = static_cast<std::int32_t>(u32(bytes, 18));
    layout.height = static_cast<std::int32_t>(u32(bytes, 22));
    layout.bitCount = static_cast<std::uint16_t>(u16(bytes, 28));
    layout.compression = u32(bytes, 30);
    layout.coloursUsed = u32(bytes, 46);
    // The masks follow a 40-byte header, or stand at the same place inside a V2 to V5 header.
    if (layout.compression == kBiBitfields && bytes.size() >= kMasksAt + 12) {
        layout.hasMasks = true;
        layout.redMask = u32(bytes, kMasksAt);
        layout.greenMask = u32(bytes, kMasksAt + 4);
        layout.blueMask = u32(bytes, kMasksAt + 8);
    }
    return layout;
}

std::optional<std::string> imageSizeProblem(std::int64_t width, std::int64_t height) {
    if (width < 0 || height < 0)
        return "its header gives a negative size";
    if (width > kMaxImageSide || height > kMaxImageSide)
        return "it is " + text::dec(width) + " x " + text::dec(height) + " pixels; a side may have at most " +
               text::dec(kMaxImageSide);
    if (width * height > kMaxImagePixels)
        return "it is " + text::dec(width) + " x " + text::dec(height) + " pixels, more than the " +
               text::dec(kMaxImagePixels) + " pixels an image may have";
    return std::nullopt;
}

bool bmpPixelDataComplete(std::string_view bytes, const BmpLayout& layout) {
    return bmpPixelDataComplete(bytes.size(), layout);
}

bool bmpPixelDataComplete(std::uint64_t fileSize, const BmpLayout& layout) {
    if (layout.compression != kBiRgb && layout.compression != kBiBitfields)
        return true;
    const std::int64_t width = layout.width;
    const std::int64_t rows = layout.height < 0 ? -static_cast<std::int64_t>(layout.height) : layout.height;
    const std::int64_t stride = (width * layout.bitCount + 31) / 32 * 4;
    if (width < 0 || stride == 0 || rows == 0)
        return true; // nothing to read, or refused by its size
    if (fileSize > static_cast<std::uint64_t>(INT64_MAX / 2))
        return true;
    const std::int64_t available = static_cast<std::int64_t>(fileSize) - layout.dataOffset;
    return available >= 0 && stride <= available / rows;
}

LayoutClass classifyBmpLayout(const BmpLayout& layout) {
    if (layout.compression == kBiRle8 || layout.compression == kBiRle4)
        return {"Device", 0};
    const bool plain = layout.compression == kBiRgb;
    switch (layout.bitCount) {
    case 1:
        return {"1 bit", 1};
    case 4:
        if (plain)
            return {"4 bit", 4};
        break;
    case 8:
        if (plain)
            return {"8 bit", 8};
        break;
    case 16:
        if (plain)
            return {"15 bit", 15};
        if (layout.hasMasks && layout.greenMask == 0x07E0)
            return {"16 bit", 16};
        break;
    case 24:
        if (plain)
            return {"24 bit", 16};
        break;
    case 32:
        if (plain)
            return {"32 bit", 16};
        break;
    default:
        break;
    }
    return {"", std::nullopt};
}

} // namespace tesselor
