#include "bitmap/gif_table.h"

#include "platform/bytes_at.h"

#include <cstdint>

namespace tesselor {

namespace {

constexpr std::size_t kScreenDescriptorEnd = 13;
constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImageDescriptor = 0x2C;

// A packed field's table: flag in bit 7, size in bits 0-2 as 2^(n+1) entries.
std::optional<int> tableOf(std::uint8_t packed) {
    if ((packed & 0x80) == 0)
        return std::nullopt;
    return 2 << (packed & 0x07);
}

std::size_t tableBytes(std::optional<int> table) {
    return table ? static_cast<std::size_t>(*table) * 3 : 0;
}

// Past the sub-blocks that start at `at` (each a length byte and its bytes, an empty one last); nothing when
// the bytes end first.
std::optional<std::size_t> pastSubBlocks(std::string_view bytes, std::size_t at) {
    while (at < bytes.size() && byteAt(bytes, at) != 0)
        at += 1 + std::size_t(byteAt(bytes, at));
    if (at >= bytes.size())
        return std::nullopt;
    return at + 1;
}

// Where the first image descriptor starts, past the extensions before it; nothing when there is none.
std::optional<std::size_t> firstImage(std::string_view bytes) {
    if (!isGif(bytes) || bytes.size() < kScreenDescriptorEnd)
        return std::nullopt;
    std::optional<std::size_t> at = kScreenDescriptorEnd + tableBytes(tableOf(byteAt(bytes, 10)));
    while (at && *at < bytes.size() && byteAt(bytes, *at) == kExtension)
        at = pastSubBlocks(bytes, *at + 2);
    // The image descriptor: separator, left, top, width, height (2 bytes each), packed field.
    if (!at || *at + 10 > bytes.size() || byteAt(bytes, *at) != kImageDescriptor)
        return std::nullopt;
    return at;
}

} // namespace

bool isGif(std::string_view bytes) {
    return bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a");
}

std::optional<int> gifColourTableEntries(std::string_view bytes) {
    const auto at = firstImage(bytes);
    if (!at)
        return std::nullopt;
    if (const auto local = tableOf(byteAt(bytes, *at + 9)))
        return local;
    return tableOf(byteAt(bytes, 10));
}

bool gifFirstImageComplete(std::string_view bytes) {
    const auto at = firstImage(bytes);
    if (!at)
        return false;
    // Past the descriptor and its local table, the code size byte, then the image data's sub-blocks.
    const std::size_t data = *at + 10 + tableBytes(tableOf(byteAt(bytes, *at + 9)));
    return data < bytes.size() && pastSubBlocks(bytes, data + 1).has_value();
}

} // namespace tesselor
