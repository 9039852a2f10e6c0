#include "fontexport/resource_item.h"

#include "model/error.h"
#include "platform/text.h"

namespace tesselor {

std::uint32_t readU32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

void appendU16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void appendU32(Bytes& out, std::uint32_t value) {
    appendU16(out, value & 0xFFFF);
    appendU16(out, value >> 16);
}

Bytes writeResourceItem(const std::string& tag, const std::string& name, const Bytes& payload) {
    return writeResourceItem(tag, name,
                             std::string_view(reinterpret_cast<const char*>(payload.data()), payload.size()));
}

Bytes writeResourceItem(const std::string& tag, const std::string& name, std::string_view payload) {
    Bytes item = resourceItemHeader(tag, name, payload.size());
    item.insert(item.end(), payload.begin(), payload.end());
    return item;
}

Bytes resourceItemHeader(const std::string& tag, const std::string& name, std::size_t payloadSize,
                         bool reserveForPayload) {
    if (name.size() > kMaxItemName)
        throw Error("The resource name is " + text::dec(static_cast<std::int64_t>(name.size())) +
                    " bytes long; a resource name has at most 255 bytes");
    Bytes item;
    item.reserve(kItemHeaderSize + name.size() + (reserveForPayload ? payloadSize : 0));
    item.insert(item.end(), tag.begin(), tag.end());
    appendU32(item, static_cast<std::uint32_t>(payloadSize));
    appendU32(item, static_cast<std::uint32_t>(kItemHeaderSize + name.size()));
    item.push_back(static_cast<std::uint8_t>(name.size()));
    item.insert(item.end(), name.begin(), name.end());
    return item;
}

bool isItemTag(std::string_view tag) {
    return tag == "fnt" || tag == "bmp" || tag == "ftf";
}

std::optional<ResourceItem> readResourceItem(std::string_view bytes) {
    return readResourceItem(bytes, bytes.size());
}

std::optional<ResourceItem> readResourceItem(std::string_view bytes, std::uint64_t fileSize) {
    if (bytes.size() < kItemHeaderSize)
        return std::nullopt;
    ResourceItem item;
    item.tag = std::string(bytes.substr(0, 3));
    if (!isItemTag(item.tag))
        return std::nullopt;
    item.payloadSize = readU32(bytes, 3);
    item.headerLength = readU32(bytes, 7);
    const std::size_t nameLength = static_cast<unsigned char>(bytes[11]);
    if (kItemHeaderSize + nameLength > bytes.size())
        return std::nullopt;
    item.name = std::string(bytes.substr(kItemHeaderSize, nameLength));
    // The payload lies where the header length puts it, after the name, and wholly inside the data.
    if (item.headerLength < kItemHeaderSize + nameLength || item.headerLength > fileSize ||
        item.payloadSize > fileSize - item.headerLength)
        return std::nullopt;
    return item;
}

} // namespace tesselor
