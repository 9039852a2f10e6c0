#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor::text {

// The lines of a text, split at CR LF, at a lone LF and at a lone CR; a line end at the very end adds no
// empty line. Lines are found as they are asked for, so a file of millions of lines costs no memory.
class Lines {
public:
    explicit Lines(std::string_view data);
    std::size_t count() const { return count_; }
    // Line `number`, counting from 1; at most count(). Asking for an earlier line than the last one asked
    // for starts again from the top.
    std::string_view line(std::size_t number);

private:
    void advance();

    std::string_view data_;
    std::size_t count_ = 0;
    std::size_t number_ = 0; // the line [start_, end_) holds; 0 before the first
    std::size_t start_ = 0;
    std::size_t end_ = 0;
    std::size_t next_ = 0; // where the line after it starts
};

// Every line followed by CR LF, the last one included.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

std::string dec(std::int64_t value);
// "32, 65, 127": numbers as a message lists them.
std::string decList(const std::vector<int>& values);
inline constexpr char kHexDigits[] = "0123456789ABCDEF";
// Upper-case hexadecimal with at least `digits` digits.
std::string hex(std::uint64_t value, int digits);
// The value of one hexadecimal digit of either case; -1 for any other character.
int hexDigit(char ch);

} // namespace tesselor::text
