#include "bitmap/gif_table.h"

#include <cstdint>

namespace tesselor {

namespace {

constexpr std::size_t kScreenDescriptorEnd = 13;
constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImageDescriptor = 0x2C;

std::uint8_t byteAt(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

// A packed field's table: flag in bit 7, size in bits 0-2 as 2^(n+1) entries.
std::optional<int> tableOf(std::uint8_t packed) {
    if ((packed & 0x80) == 0)
        return std::nullopt;
    return 2 << (packed & 0x07);
}

std::size_t tableBytes(std::optional<int> table) {
    return table ? static_cast<std::size_t>(*table) * 3 : 0;
}

} // namespace

bool isGif(std::string_view bytes) {
    return bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a");
}

std::optional<int> gifColourTableEntries(std::string_view bytes) {
    if (!isGif(bytes) || bytes.size() < kScreenDescriptorEnd)
        return std::nullopt;
    const std::optional<int> global = tableOf(byteAt(bytes, 10));
    std::size_t at = kScreenDescriptorEnd + tableBytes(global);
    // Extensions (each a label and sub-blocks ending in an empty one) come before the first image.
    while (at < bytes.size() && byteAt(bytes, at) == kExtension) {
        at += 2;
        while (at < bytes.size() && byteAt(bytes, at) != 0)
            at += 1 + std::size_t(byteAt(bytes, at));
        ++at;
    }
    // The image descriptor: separator, left, top, width, height (2 bytes each), packed field.
    if (at + 10 > bytes.size() || byteAt(bytes, at) != kImageDescriptor)
        return std::nullopt;
    if (const auto local = tableOf(byteAt(bytes, at + 9)))
        return local;
    return global;
}

} // namespace tesselor
