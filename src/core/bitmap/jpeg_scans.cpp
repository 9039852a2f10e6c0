#include "bitmap/jpeg_scans.h"

#include "platform/text.h"

#include <cstdint>

namespace tesselor {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kEndOfImage = 0xD9;

std::uint8_t at(std::string_view bytes, std::size_t i) {
    return static_cast<std::uint8_t>(bytes[i]);
}

// Markers that stand alone, without a length: TEM, the restart markers, SOI and EOI.
bool standsAlone(std::uint8_t code) {
    return code == 0x01 || (code >= 0xD0 && code <= 0xD9);
}

} // namespace

bool isJpeg(std::string_view bytes) {
    return bytes.size() >= 3 && at(bytes, 0) == kMarker && at(bytes, 1) == 0xD8 && at(bytes, 2) == kMarker;
}

std::optional<std::string> jpegProblem(std::string_view bytes) {
    const std::string cutShort = "the image data is cut short";
    std::size_t i = 2;
    int scans = 0;
    while (i + 1 < bytes.size()) {
        if (at(bytes, i) != kMarker)
            return std::nullopt; // not a marker where one belongs: the decoder says what is wrong
        const std::uint8_t code = at(bytes, i + 1);
        i += 2;
        if (code == kMarker) { // fill bytes before a marker
            --i;
            continue;
        }
        if (code == kEndOfImage)
            return std::nullopt;
        if (standsAlone(code))
            continue;
        if (i + 2 > bytes.size())
            return cutShort;
        i += std::size_t(at(bytes, i)) << 8 | at(bytes, i + 1);
        if (code != kStartOfScan)
            continue;
        if (++scans > kMaxJpegScans)
            return "it has more than " + text::dec(kMaxJpegScans) +
                   " scans, each a pass over the whole image";
        // The entropy-coded data: a 0xFF in it is followed by 0x00 or a restart marker.
        while (i + 1 < bytes.size() && !(at(bytes, i) == kMarker && at(bytes, i + 1) != 0x00 &&
                                         (at(bytes, i + 1) < 0xD0 || at(bytes, i + 1) > 0xD7)))
            ++i;
    }
    return cutShort;
}

} // namespace tesselor
