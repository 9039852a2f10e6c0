#include "platform/text.h"

namespace tesselor::text {

Lines::Lines(std::string_view data) : data_(data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r' || data[i] == '\n') {
            ++count_;
            if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
                ++i;
        }
    }
    if (!data.empty() && data.back() != '\r' && data.back() != '\n')
        ++count_;
}

void Lines::advance() {
    start_ = next_;
    end_ = start_;
    while (end_ < data_.size() && data_[end_] != '\r' && data_[end_] != '\n')
        ++end_;
    next_ = end_;
    if (next_ < data_.size())
        next_ += (data_[next_] == '\r' && next_ + 1 < data_.size() && data_[next_ + 1] == '\n') ? 2 : 1;
    ++number_;
}

std::string_view Lines::line(std::size_t number) {
    if (number < number_) {
        number_ = 0;
        next_ = 0;
    }
    while (number_ < number)
        advance();
    return data_.substr(start_, end_ - start_);
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

std::string decList(const std::vector<int>& values) {
    std::string list;
    for (const int value : values)
        list += (list.empty() ? "" : ", ") + dec(value);
    return list;
}

int hexDigit(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

} // namespace tesselor::text
