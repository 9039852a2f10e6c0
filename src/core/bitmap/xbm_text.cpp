#include "bitmap/xbm_text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

namespace tesselor {

namespace {

// The number after the first "#define NAME_<suffix>", or nothing.
std::optional<std::uint64_t> defined(std::string_view text, std::string_view suffix) {
    for (std::size_t at = text.find("#define"); at != std::string_view::npos;
         at = text.find("#define", at + 1)) {
        const std::size_t end = text.find('\n', at);
        const std::string_view line = text.substr(at, end == std::string_view::npos ? end : end - at);
        const std::size_t name = line.find(suffix);
        if (name == std::string_view::npos)
            continue;
        std::uint64_t value = 0;
        bool digits = false;
        for (std::size_t i = name + suffix.size(); i < line.size(); ++i) {
            if (std::isdigit(static_cast<unsigned char>(line[i]))) {
                value = std::min<std::uint64_t>(value * 10 + std::uint64_t(line[i] - '0'), 1u << 30);
                digits = true;
            } else if (digits) {
                break;
            }
        }
        if (digits)
            return value;
    }
    return std::nullopt;
}

} // namespace

bool xbmPixelDataComplete(std::string_view text) {
    const auto width = defined(text, "_width");
    const auto height = defined(text, "_height");
    const std::size_t open = text.find('{');
    if (!width || !height || open == std::string_view::npos)
        return true;
    const std::size_t close = text.find('}', open);
    if (close == std::string_view::npos)
        return false;
    const bool shorts = text.substr(0, open).find("short") != std::string_view::npos;
    std::uint64_t values = 0;
    for (std::size_t at = text.find("0x", open); at < close; at = text.find("0x", at + 2))
        ++values;
    return values * (shorts ? 2 : 1) >= (*width + 7) / 8 * *height;
}

} // namespace tesselor
