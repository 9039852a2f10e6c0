#pragma once

#include "fontexport/resource_item.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor {

// The items of a resource file under construction, each the complete bytes of a checked resource item.
using ResourceItems = std::vector<Bytes>;

// One row of the list: what the grid shows of an item, and where its payload lies in the .res file.
struct ResourceRow {
    std::string name;
    std::string type; // "Font" or "Image"
    std::uint32_t size = 0;
    std::uint64_t offset = 0;
};

inline constexpr std::size_t kResHeaderSize = 7;
inline constexpr std::size_t kRecordFixedSize = 15;

// "Font" for the tag "fnt", "Image" for "bmp", "FTFont" for "ftf".
std::string resourceType(std::string_view tag);

// An item as the outputs of a list need it when its payload stays in its file: its fields and the first
// bytes of its payload, enough for every header read from it (a font's height, an image's layout, an FT8xx
// font's metrics).
inline constexpr std::size_t kPayloadPeek = 160;
struct ItemEntry {
    ResourceItem fields;
    std::string payloadStart; // the first min(kPayloadPeek, payloadSize) bytes
};
ItemEntry itemEntry(const ResourceItem& fields, std::string_view payloadStart);
std::vector<ItemEntry> itemEntries(const ResourceItems& items);

// The rows of the list: the first payload follows the 7 header bytes and an index record of 15 + N bytes
// per item; each further payload follows the previous one.
std::vector<ResourceRow> resourceRows(const ResourceItems& items);
std::vector<ResourceRow> resourceRows(const std::vector<ItemEntry>& entries);

// One line per item, CR LF after each: "const unsigned long " + name padded to the longest + " = 0x" +
// offset in at least eight upper-case hexadecimal digits + ";". A prefix goes before every name with "_",
// so that the declarations do not collide with arrays of the items' names.
std::string resourceDeclarations(const std::vector<ResourceRow>& rows, const std::string& prefix = "");

// The names of the rows that are no C identifier, in list order: their declarations would not compile.
std::vector<std::string> namesThatAreNoIdentifier(const std::vector<ResourceRow>& rows);

// A header of macros for the .res file: include guard, PREFIX_ITEM_COUNT, PREFIX_FILE_BYTES, then
// PREFIX_NAME_OFFSET and PREFIX_NAME_SIZE per item, names in macro form, and for an image the macros of its
// layout, its format code read as an FT8xx one when `ft8xxImages`, else as a native one (a comment instead
// when the payload is no bitmap of that family). `headerFile` names the guard; the prefix must be a C
// identifier. Throws Error when two items give the same macro.
std::string resourceHeader(const ResourceItems& items, const std::string& prefix,
                           const std::string& headerFile, bool ft8xxImages = false);
std::string resourceHeader(const std::vector<ItemEntry>& entries, const std::string& prefix,
                           const std::string& headerFile, bool ft8xxImages = false);

// What res-list --long shows of an item, read from its payload's own header: "?" where it does not read,
// "-" where the item has no such field.
struct ItemSummary {
    std::string format; // "L4", "native 16-bit", "font"
    std::string width;
    std::string height;
    std::string deflated; // "yes" or "no"
};
// Read from the payload's first bytes (kPayloadPeek are enough) and its whole size.
ItemSummary summariseItem(std::string_view tag, std::string_view payloadStart, std::uint64_t payloadSize,
                          bool ft8xxImages);

// The prefix of the header's macros for a file: its base name in macro form, "RES_" before a leading digit.
std::string defaultMacroPrefix(const std::string& path);

// " 0x" + at least eight digits, as the grid shows an offset.
std::string offsetCell(std::uint64_t offset);

// The .res file: "RSC", 01 00 00 00, a record per item (bit 15 of its length marks the last), then the
// payloads in list order.
Bytes writeResFile(const ResourceItems& items);
// The part of that file before the first payload: the payloads follow it in list order.
Bytes writeResIndex(const std::vector<ItemEntry>& entries);

// One record of a .res index; the name and tag are views into the file's bytes.
struct ResRecord {
    std::string_view name;
    std::string_view tag;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// The index of a .res file with every check readResFile makes; nothing when the file is refused.
std::optional<std::vector<ResRecord>> readResIndex(std::string_view bytes);
// The same from the file's first bytes and its size, so that a large file is never read whole: the
// payloads are checked against the size. `needsMore` when the index runs on past `start` inside the file:
// read more of it and ask again.
struct ResIndexReading {
    std::optional<std::vector<ResRecord>> records;
    bool needsMore = false;
};
ResIndexReading readResIndex(std::string_view start, std::uint64_t fileSize);

// The items of a .res file, rebuilt as resource items. Nothing when the file is not one: a wrong magic, a
// record or payload beyond the end, an index without its end mark, a tag other than "fnt", "bmp" or "ftf", a
// record length that disagrees with 15 + N, or a payload that overlaps the index or another payload.
std::optional<ResourceItems> readResFile(std::string_view bytes);

// A view of item bytes as text bytes.
inline std::string_view byteView(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace tesselor
