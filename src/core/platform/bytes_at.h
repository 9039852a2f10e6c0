#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tesselor {

// Fields of a file's bytes, read where the caller has checked they are: a byte, and little-endian
// 16 and 32-bit values.
inline std::uint32_t byteAt(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}
inline std::uint32_t u16At(std::string_view bytes, std::size_t at) {
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}
inline std::uint32_t u32At(std::string_view bytes, std::size_t at) {
    return u16At(bytes, at) | u16At(bytes, at + 2) << 16;
}

} // namespace tesselor
