#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor::text {

// Splits at CR LF, at a lone LF and at a lone CR; a line end at the very end adds no empty line.
std::vector<std::string> splitLines(std::string_view data);
// Every line followed by CR LF, the last one included.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

std::string dec(std::int64_t value);
// Upper-case hexadecimal with at least `digits` digits.
std::string hex(std::uint64_t value, int digits);

} // namespace tesselor::text
