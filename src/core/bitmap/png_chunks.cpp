#include "bitmap/png_chunks.h"

#include "platform/text.h"

#include <cstdint>

namespace tesselor {

namespace {
constexpr std::string_view kSignature("\x89PNG\r\n\x1A\n", 8);
constexpr std::size_t kChunkFrame = 12; // length, type and CRC
} // namespace

bool isPng(std::string_view bytes) {
    return bytes.starts_with(kSignature);
}

std::optional<std::string> pngChunkProblem(std::string_view bytes) {
    std::size_t at = kSignature.size();
    while (at + 8 <= bytes.size()) {
        std::uint64_t length = 0;
        for (std::size_t i = 0; i < 4; ++i)
            length = length << 8 | static_cast<unsigned char>(bytes[at + i]);
        const std::string_view type = bytes.substr(at + 4, 4);
        const std::uint64_t left = bytes.size() - at - 8;
        if (length + 4 > left)
            return "its " + std::string(type) + " chunk claims " +
                   text::dec(static_cast<std::int64_t>(length)) + " bytes; the file holds " +
                   text::dec(static_cast<std::int64_t>(left < 4 ? 0 : left - 4)) + " after it";
        if (type == "IEND")
            return std::nullopt;
        at += kChunkFrame + static_cast<std::size_t>(length);
    }
    return std::nullopt; // cut short between chunks: the PNG library says so
}

} // namespace tesselor
