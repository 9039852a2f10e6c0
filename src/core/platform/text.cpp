#include "platform/text.h"

namespace tesselor::text {

std::vector<std::string> splitLines(std::string_view data) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < data.size()) {
        const char ch = data[i];
        if (ch == '\r' || ch == '\n') {
            lines.emplace_back(data.substr(start, i - start));
            i += (ch == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < data.size())
        lines.emplace_back(data.substr(start));
    return lines;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string dec(std::int64_t value) {
    return std::to_string(value);
}

std::string hex(std::uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(out.size()) < digits)
        out.insert(out.begin(), '0');
    return out;
}

} // namespace tesselor::text
