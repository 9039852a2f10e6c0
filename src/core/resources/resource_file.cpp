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

std::vector<ResourceItem> fieldsOfAll(const ResourceItems& items) {
    std::vector<ResourceItem> all;
    all.reserve(items.size());
    for (const Bytes& item : items)
        all.push_back(fieldsOf(item));
    return all;
}

std::vector<ResourceRow> rowsOf(const std::vector<ResourceItem>& items) {
    std::vector<ResourceRow> rows;
    rows.reserve(items.size());
    std::uint64_t index = 0;
    for (const ResourceItem& item : items)
        index += kRecordFixedSize + item.name.size();
    std::uint64_t offset = kResHeaderSize + index;
    for (const ResourceItem& item : items) {
        rows.push_back({item.name, item.tag == "fnt" ? "Font" : "Image", item.payloadSize, offset});
        offset += item.payloadSize;
    }
    return rows;
}

} // namespace

std::vector<ResourceRow> resourceRows(const ResourceItems& items) {
    return rowsOf(fieldsOfAll(items));
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
    const std::vector<ResourceItem> fields = fieldsOfAll(items);
    const std::vector<ResourceRow> rows = rowsOf(fields);
    std::size_t total = kResHeaderSize;
    for (const ResourceItem& item : fields)
        total += kRecordFixedSize + item.name.size() + item.payloadSize;
    Bytes file;
    file.reserve(total);
    for (const char ch : {'R', 'S', 'C', '\x01', '\x00', '\x00', '\x00'})
        file.push_back(static_cast<std::uint8_t>(ch));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ResourceItem& item = fields[i];
        const auto nameLength = static_cast<std::uint32_t>(item.name.size());
        const bool last = i + 1 == fields.size();
        appendU16(file, kRecordFixedSize + nameLength + (last ? 0x8000u : 0u));
        appendU32(file, static_cast<std::uint32_t>(rows[i].offset));
        appendU32(file, item.payloadSize);
        file.push_back(static_cast<std::uint8_t>(nameLength));
        file.insert(file.end(), item.name.begin(), item.name.end());
        file.push_back(0x03);
        file.insert(file.end(), item.tag.begin(), item.tag.end());
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto start = items[i].begin() + static_cast<std::ptrdiff_t>(fields[i].headerLength);
        file.insert(file.end(), start, start + static_cast<std::ptrdiff_t>(fields[i].payloadSize));
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
