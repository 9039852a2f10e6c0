#include "bitmap/tga_header.h"

#include <cstdint>

namespace tesselor {

namespace {

constexpr std::size_t kHeaderSize = 18;

std::uint64_t u8At(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}
std::uint64_t u16At(std::string_view bytes, std::size_t at) {
    return u8At(bytes, at) | u8At(bytes, at + 1) << 8;
}
std::uint64_t bytesOf(std::uint64_t bits) {
    return (bits + 7) / 8;
}

} // namespace

bool tgaPixelDataComplete(std::string_view bytes) {
    if (bytes.size() < kHeaderSize)
        return false;
    const std::uint64_t type = u8At(bytes, 2);
    if (type != 1 && type != 2 && type != 3)
        return true;
    const std::uint64_t colourMap = u8At(bytes, 1) == 1 ? u16At(bytes, 5) * bytesOf(u8At(bytes, 7)) : 0;
    const std::uint64_t pixels = u16At(bytes, 12) * u16At(bytes, 14) * bytesOf(u8At(bytes, 16));
    return kHeaderSize + u8At(bytes, 0) + colourMap + pixels <= bytes.size();
}

} // namespace tesselor
