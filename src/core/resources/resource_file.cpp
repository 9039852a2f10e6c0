#include "resources/resource_file.h"

#include "platform/text.h"

#include <algorithm>

namespace tesselor {

namespace {

ResourceItem fieldsOf(const Bytes& item) {
    // Items enter the list only after readResourceItem accepted them.
    return readResourceItem(byteView(item)).value_or(ResourceItem{});
}

std::uint32_t u16At(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

} // namespace

std::vector<ResourceRow> resourceRows(const ResourceItems& items) {
    std::vector<ResourceRow> rows;
    rows.reserve(items.size());
    std::uint64_t index = 0;
    for (const Bytes& item : items)
        index += kRecordFixedSize + item[11];
    std::uint64_t offset = kResHeaderSize + index;
    for (const Bytes& item : items) {
        const ResourceItem fields = fieldsOf(item);
        rows.push_back({fields.name, fields.tag == "fnt" ? "Font" : "Image", fields.payloadSize, offset});
        offset += fields.payloadSize;
    }
    return rows;
}

std::string offsetCell(std::uint64_t offset) {
    return " 0x" + text::hex(offset, 8);
}

std::string resourceDeclarations(const std::vector<ResourceRow>& rows) {
    std::size_t longest = 0;
    for (const ResourceRow& row : rows)
        longest = std::max(longest, row.name.size());
    std::string text;
    for (const ResourceRow& row : rows) {
        text += "const unsigned long " + row.name + std::string(longest - row.name.size(), ' ') + " = 0x" +
                text::hex(row.offset, 8) + ";\r\n";
    }
    return text;
}

Bytes writeResFile(const ResourceItems& items) {
    const std::vector<ResourceRow> rows = resourceRows(items);
    std::size_t total = kResHeaderSize;
    for (const Bytes& item : items)
        total += kRecordFixedSize + item[11] + fieldsOf(item).payloadSize;
    Bytes file;
    file.reserve(total);
    for (const char ch : {'R', 'S', 'C', '\x01', '\x00', '\x00', '\x00'})
        file.push_back(static_cast<std::uint8_t>(ch));
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ResourceItem fields = fieldsOf(items[i]);
        const auto nameLength = static_cast<std::uint32_t>(fields.name.size());
        const bool last = i + 1 == items.size();
        appendU16(file, kRecordFixedSize + nameLength + (last ? 0x8000u : 0u));
        appendU32(file, static_cast<std::uint32_t>(rows[i].offset));
        appendU32(file, fields.payloadSize);
        file.push_back(static_cast<std::uint8_t>(nameLength));
        file.insert(file.end(), fields.name.begin(), fields.name.end());
        file.push_back(0x03);
        file.insert(file.end(), fields.tag.begin(), fields.tag.end());
    }
    for (const Bytes& item : items) {
        const ResourceItem fields = fieldsOf(item);
        const auto start = item.begin() + static_cast<std::ptrdiff_t>(fields.headerLength);
        file.insert(file.end(), start, start + static_cast<std::ptrdiff_t>(fields.payloadSize));
    }
    return file;
}

std::optional<ResourceItems> readResFile(std::string_view bytes) {
    if (bytes.size() < kResHeaderSize || bytes.substr(0, 3) != "RSC")
        return std::nullopt;
    ResourceItems items;
    std::size_t at = kResHeaderSize;
    for (;;) {
        if (bytes.size() - at < kRecordFixedSize)
            return std::nullopt;
        const std::uint32_t length = u16At(bytes, at);
        const std::uint32_t offset = readU32(bytes, at + 2);
        const std::uint32_t size = readU32(bytes, at + 6);
        const std::size_t nameLength = static_cast<unsigned char>(bytes[at + 10]);
        if (bytes.size() - at < kRecordFixedSize + nameLength ||
            (length & 0x7FFF) != kRecordFixedSize + nameLength)
            return std::nullopt;
        const std::string name(bytes.substr(at + 11, nameLength));
        const std::string tag(bytes.substr(at + 12 + nameLength, 3));
        if (tag != "fnt" && tag != "bmp")
            return std::nullopt;
        if (offset > bytes.size() || size > bytes.size() - offset)
            return std::nullopt;
        items.push_back(writeResourceItem(tag, name, bytes.substr(offset, size)));
        at += kRecordFixedSize + nameLength;
        if (length & 0x8000)
            return items;
    }
}

} // namespace tesselor
