#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kItemHeaderSize = 12;
inline constexpr std::size_t kMaxItemName = 255;

// A resource item (.resdata): tag "fnt" (the device's font), "bmp" (an image) or "ftf" (a font for the FT8xx
// controllers), payload size S, header length 12 + N, name length N, the name and the payload, numbers
// little-endian.
struct ResourceItem {
    std::string tag;
    std::string name;
    std::uint32_t payloadSize = 0;
    std::uint32_t headerLength = 0; // where the payload starts
};

// The item bytes. Throws Error when the name is longer than its length byte holds.
Bytes writeResourceItem(const std::string& tag, const std::string& name, std::string_view payload);
Bytes writeResourceItem(const std::string& tag, const std::string& name, const Bytes& payload);
// The bytes before the payload, with room reserved for it (unless the payload is written elsewhere, as a
// stream): the payload can be appended without a copy.
Bytes resourceItemHeader(const std::string& tag, const std::string& name, std::size_t payloadSize,
                         bool reserveForPayload = true);

bool isItemTag(std::string_view tag);

// The fields of an item checked against its own bytes: at least 12 bytes, a known tag, the name
// inside the data and the payload inside the data where the header puts it. Bytes after the payload are
// ignored. Nothing when the bytes are no such item.
std::optional<ResourceItem> readResourceItem(std::string_view bytes);
// The same checks from the first bytes of an item file and the file's size: the payload must lie inside
// the file. Nothing also when `start` ends before the name does.
std::optional<ResourceItem> readResourceItem(std::string_view start, std::uint64_t fileSize);

std::uint32_t readU32(std::string_view bytes, std::size_t at);
void appendU16(Bytes& out, std::uint32_t value);
void appendU32(Bytes& out, std::uint32_t value);

} // namespace tesselor
