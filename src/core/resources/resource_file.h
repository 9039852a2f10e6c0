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

// The rows of the list: the first payload follows the 7 header bytes and an index record of 15 + N bytes
// per item; each further payload follows the previous one.
std::vector<ResourceRow> resourceRows(const ResourceItems& items);

// One line per item, CR LF after each: "const unsigned long " + name padded to the longest + " = 0x" +
// offset in at least eight upper-case hexadecimal digits + ";".
std::string resourceDeclarations(const std::vector<ResourceRow>& rows);

// " 0x" + at least eight digits, as the grid shows an offset.
std::string offsetCell(std::uint64_t offset);

// The .res file: "RSC", 01 00 00 00, a record per item (bit 15 of its length marks the last), then the
// payloads in list order.
Bytes writeResFile(const ResourceItems& items);

// The items of a .res file, rebuilt as resource items. Nothing when the file is not one: a wrong magic, a
// record or payload beyond the end, an index without its end mark, a tag other than "fnt" or "bmp", or a
// record length that disagrees with 15 + N.
std::optional<ResourceItems> readResFile(std::string_view bytes);

// A view of item bytes as text bytes.
inline std::string_view byteView(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace tesselor
