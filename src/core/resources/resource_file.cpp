#include "resources/resource_file.h"

#include "bitmap/bitmap_layout.h"
#include "bitmap/bitmap_payload.h"
#include "model/error.h"
#include "platform/bytes_at.h"
#include "platform/c_array.h"
#include "platform/c_names.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>
#include <map>

namespace tesselor {

ItemEntry itemEntry(const ResourceItem& fields, std::string_view payloadStart) {
    return {fields,
            std::string(payloadStart.substr(0, std::min<std::size_t>(kPayloadPeek, fields.payloadSize)))};
}

std::vector<ItemEntry> itemEntries(const ResourceItems& items) {
    std::vector<ItemEntry> entries;
    entries.reserve(items.size());
    for (const Bytes& item : items) {
        // Items enter the list only after readResourceItem accepted them.
        const ResourceItem fields = readResourceItem(byteView(item)).value_or(ResourceItem{});
        entries.push_back(itemEntry(
            fields, byteView(item).substr(std::min<std::size_t>(fields.headerLength, item.size()))));
    }
    return entries;
}

std::vector<ResourceRow> resourceRows(const std::vector<ItemEntry>& entries) {
    std::vector<ResourceRow> rows;
    rows.reserve(entries.size());
    std::uint64_t index = 0;
    for (const ItemEntry& entry : entries)
        index += kRecordFixedSize + entry.fields.name.size();
    std::uint64_t offset = kResHeaderSize + index;
    for (const ItemEntry& entry : entries) {
        rows.push_back({entry.fields.name, resourceType(entry.fields.tag), entry.fields.payloadSize, offset});
        offset += entry.fields.payloadSize;
    }
    return rows;
}

std::string resourceType(std::string_view tag) {
    return tag == "fnt" ? "Font" : tag == "ftf" ? "FTFont" : "Image";
}

std::vector<ResourceRow> resourceRows(const ResourceItems& items) {
    return resourceRows(itemEntries(items));
}

std::string offsetCell(std::uint64_t offset) {
    return " 0x" + text::hex(offset, 8);
}

std::string resourceDeclarations(const std::vector<ResourceRow>& rows, const std::string& prefix) {
    const std::string before = prefix.empty() ? "" : prefix + "_";
    std::size_t longest = 0;
    for (const ResourceRow& row : rows)
        longest = std::max(longest, row.name.size());
    std::string text;
    for (const ResourceRow& row : rows) {
        text += "const unsigned long " + before + row.name + std::string(longest - row.name.size(), ' ') +
                " = 0x" + text::hex(row.offset, 8) + ";\r\n";
    }
    return text;
}

std::vector<std::string> namesThatAreNoIdentifier(const std::vector<ResourceRow>& rows) {
    std::vector<std::string> names;
    for (const ResourceRow& row : rows)
        if (!cnames::isIdentifier(row.name))
            names.push_back(row.name);
    return names;
}

ItemSummary summariseItem(std::string_view tag, std::string_view payload, std::uint64_t size,
                          bool ft8xxImages) {
    static_assert(kPayloadPeek >= 12 + 148 && kPayloadPeek >= kPayloadHeaderSize);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(payload.data());
    auto yesNo = [](bool yes) { return std::string(yes ? "yes" : "no"); };
    if (tag == "fnt")
        return size < 8 ? ItemSummary{"font", "-", "?", "no"}
                        : ItemSummary{"font", "-", text::dec(bytes[6]), "no"};
    if (tag == "ftf") {
        if (size < 12)
            return {"?", "?", "?", "?"};
        const auto format = encodingOfCode(bytes[1], true);
        ItemSummary summary{format ? std::string(format->name) : "code " + text::dec(bytes[1]) + "?", "-",
                            "-", yesNo(bytes[0] != 0)};
        if (bytes[0] == 0 && size >= 12 + 148) {
            summary.width = text::dec(u32At(payload, 12 + 136));
            summary.height = text::dec(u32At(payload, 12 + 140));
        }
        return summary;
    }
    // The layout reads the first six bytes and checks the size.
    if (const auto layout = bitmapLayout(bytes, static_cast<std::size_t>(size), ft8xxImages))
        return {encodingName(layout->encoding), text::dec(layout->width), text::dec(layout->height),
                yesNo(layout->deflated)};
    if (size < kPayloadHeaderSize)
        return {"?", "?", "?", "?"};
    return {"code " + text::dec(bytes[1]) + "?", text::dec(u16At(payload, 4)), text::dec(u16At(payload, 2)),
            yesNo(bytes[0] != 0)};
}

std::string defaultMacroPrefix(const std::string& path) {
    const std::string prefix = cnames::macroPart(paths::baseName(path));
    return prefix.empty() || (prefix.front() >= '0' && prefix.front() <= '9') ? "RES_" + prefix : prefix;
}

std::string resourceHeader(const ResourceItems& items, const std::string& prefix,
                           const std::string& headerFile, bool ft8xxImages) {
    return resourceHeader(itemEntries(items), prefix, headerFile, ft8xxImages);
}

std::string resourceHeader(const std::vector<ItemEntry>& entries, const std::string& prefix,
                           const std::string& headerFile, bool ft8xxImages) {
    const std::vector<ResourceRow> rows = resourceRows(entries);
    std::uint64_t fileBytes = kResHeaderSize;
    for (const ResourceRow& row : rows)
        fileBytes += kRecordFixedSize + row.name.size() + row.size;
    // Two names that differ only in what the macro form drops would give one macro twice.
    std::map<std::string, std::string> macros;
    std::map<std::string, std::string> itemMacros;
    for (const ResourceRow& row : rows) {
        const std::string macro = prefix + "_" + cnames::macroPart(row.name);
        const auto [at, added] = macros.emplace(macro, row.name);
        itemMacros.emplace(macro + "_OFFSET", row.name);
        itemMacros.emplace(macro + "_SIZE", row.name);
        if (!added)
            throw Error("The resources '" + cnames::escaped(at->second) + "' and '" +
                        cnames::escaped(row.name) + "' both give the macros " + macro + "_OFFSET and " +
                        macro + "_SIZE");
    }
    const std::string guard = includeGuard(headerFile);
    std::string out;
    auto line = [&out](const std::string& text) {
        out += text;
        out += "\r\n";
    };
    line("/* Generated by Tesselor; do not edit. */");
    line("#ifndef " + guard);
    line("#define " + guard);
    line("");
    line("/* Offsets count from the first byte of the .res file. Payloads are not aligned. */");
    line("#define " + prefix + "_ITEM_COUNT " + text::dec(static_cast<std::int64_t>(rows.size())) + "u");
    line("#define " + prefix + "_FILE_BYTES " + text::dec(static_cast<std::int64_t>(fileBytes)) + "u");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ResourceRow& row = rows[i];
        const std::string macro = prefix + "_" + cnames::macroPart(row.name);
        line("");
        line("#define " + macro + "_OFFSET 0x" + text::hex(row.offset, 8) + "u");
        line("#define " + macro + "_SIZE " + text::dec(row.size) + "u");
        if (entries[i].fields.tag != "bmp")
            continue;
        // An image's layout, from its own payload header: the family decides how its code reads.
        const auto layout =
            bitmapLayout(reinterpret_cast<const std::uint8_t*>(entries[i].payloadStart.data()),
                         entries[i].fields.payloadSize, ft8xxImages);
        // A header that compiled before still does: a payload of the other family only gets a comment.
        if (!layout)
            line(std::string("/* ") + macro + ": no layout, the payload is no " +
                 (ft8xxImages ? "FT8xx bitmap (made without the FT8xx option?)"
                              : "native bitmap (made for the FT8xx?)") +
                 " */");
        else
            for (const std::string& text : bitmapLayoutMacros(macro, *layout)) {
                // "logo_data" gives LOGO_DATA_OFFSET too: a header that compiled before keeps the item's.
                const std::string define = "#define ";
                const auto taken = text.starts_with(define)
                                       ? itemMacros.find(text.substr(
                                             define.size(), text.find(' ', define.size()) - define.size()))
                                       : itemMacros.end();
                if (taken != itemMacros.end())
                    line("/* " + taken->first + " belongs to the item '" + cnames::escaped(taken->second) +
                         "' */");
                else
                    line(text);
            }
    }
    line("");
    line("#endif");
    return out;
}

Bytes writeResFile(const ResourceItems& items) {
    const std::vector<ItemEntry> entries = itemEntries(items);
    std::size_t total = kResHeaderSize;
    for (const ItemEntry& entry : entries)
        total += kRecordFixedSize + entry.fields.name.size() + entry.fields.payloadSize;
    Bytes file = writeResIndex(entries);
    file.reserve(total);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto start = items[i].begin() + static_cast<std::ptrdiff_t>(entries[i].fields.headerLength);
        file.insert(file.end(), start, start + static_cast<std::ptrdiff_t>(entries[i].fields.payloadSize));
    }
    return file;
}

Bytes writeResIndex(const std::vector<ItemEntry>& entries) {
    const std::vector<ResourceRow> rows = resourceRows(entries);
    Bytes file;
    for (const char ch : {'R', 'S', 'C', '\x01', '\x00', '\x00', '\x00'})
        file.push_back(static_cast<std::uint8_t>(ch));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ResourceItem& item = entries[i].fields;
        const auto nameLength = static_cast<std::uint32_t>(item.name.size());
        const bool last = i + 1 == entries.size();
        appendU16(file, kRecordFixedSize + nameLength + (last ? 0x8000u : 0u));
        appendU32(file, static_cast<std::uint32_t>(rows[i].offset));
        appendU32(file, item.payloadSize);
        file.push_back(static_cast<std::uint8_t>(nameLength));
        file.insert(file.end(), item.name.begin(), item.name.end());
        file.push_back(0x03);
        file.insert(file.end(), item.tag.begin(), item.tag.end());
    }
    return file;
}

std::optional<std::vector<ResRecord>> readResIndex(std::string_view bytes) {
    return readResIndex(bytes, bytes.size()).records;
}

ResIndexReading readResIndex(std::string_view bytes, std::uint64_t fileSize) {
    // What the file holds beyond `bytes` can only make the index longer, never shorter.
    const auto refusedOrMore = [&bytes, fileSize](std::size_t needed) {
        return ResIndexReading{std::nullopt, needed <= fileSize && bytes.size() < fileSize};
    };
    if (bytes.size() < kResHeaderSize)
        return refusedOrMore(kResHeaderSize);
    if (bytes.substr(0, 3) != "RSC")
        return {};
    std::vector<ResRecord> records;
    std::size_t at = kResHeaderSize;
    for (bool last = false; !last;) {
        if (bytes.size() - at < kRecordFixedSize)
            return refusedOrMore(at + kRecordFixedSize);
        const std::uint32_t length = u16At(bytes, at);
        const std::size_t nameLength = static_cast<unsigned char>(bytes[at + 10]);
        if ((length & 0x7FFF) != kRecordFixedSize + nameLength)
            return {};
        if (bytes.size() - at < kRecordFixedSize + nameLength)
            return refusedOrMore(at + kRecordFixedSize + nameLength);
        const ResRecord record{bytes.substr(at + 11, nameLength), bytes.substr(at + 12 + nameLength, 3),
                               readU32(bytes, at + 2), readU32(bytes, at + 6)};
        if (!isItemTag(record.tag))
            return {};
        records.push_back(record);
        at += kRecordFixedSize + nameLength;
        last = (length & 0x8000) != 0;
    }
    // Every writer lays the payloads one after another behind the index. A payload inside the index or
    // shared by two records is refused, so the items never hold more bytes than the file.
    const std::size_t indexEnd = at;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
    for (const ResRecord& record : records) {
        if (record.offset < indexEnd || record.offset > fileSize || record.size > fileSize - record.offset)
            return {};
        if (record.size > 0)
            spans.emplace_back(record.offset, record.size);
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i)
        if (std::uint64_t(spans[i - 1].first) + spans[i - 1].second > spans[i].first)
            return {};
    return {std::move(records), false};
}

std::optional<ResourceItems> readResFile(std::string_view bytes) {
    const auto records = readResIndex(bytes);
    if (!records)
        return std::nullopt;
    ResourceItems items;
    items.reserve(records->size());
    for (const ResRecord& record : *records)
        items.push_back(writeResourceItem(std::string(record.tag), std::string(record.name),
                                          bytes.substr(record.offset, record.size)));
    return items;
}

} // namespace tesselor
