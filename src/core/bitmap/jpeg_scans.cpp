#include "bitmap/jpeg_scans.h"

#include "platform/bytes_at.h"
#include "platform/text.h"

#include <cstdint>

namespace tesselor {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kEndOfImage = 0xD9;

// Markers that stand alone, without a length: TEM, the restart markers, SOI and EOI.
bool standsAlone(std::uint8_t code) {
    return code == 0x01 || (code >= 0xD0 && code <= 0xD9);
}

} // namespace

bool isJpeg(std::string_view bytes) {
    return bytes.size() >= 3 && byteAt(bytes, 0) == kMarker && byteAt(bytes, 1) == 0xD8 &&
           byteAt(bytes, 2) == kMarker;
}

std::optional<std::string> jpegProblem(std::string_view bytes) {
    const std::string cutShort = "the image data is cut short";
    std::size_t i = 2;
    int scans = 0;
    while (i + 1 < bytes.size()) {
        if (byteAt(bytes, i) != kMarker)
            return std::nullopt; // not a marker where one belongs: the decoder says what is wrong
        const std::uint8_t code = byteAt(bytes, i + 1);
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
        i += std::size_t(byteAt(bytes, i)) << 8 | byteAt(bytes, i + 1); // big-endian
        if (code != kStartOfScan)
            continue;
        if (++scans > kMaxJpegScans)
            return "it has more than " + text::dec(kMaxJpegScans) +
                   " scans, each a pass over the whole image";
        // The entropy-coded data: a 0xFF in it is followed by 0x00 or a restart marker.
        while (i + 1 < bytes.size() && !(byteAt(bytes, i) == kMarker && byteAt(bytes, i + 1) != 0x00 &&
                                         (byteAt(bytes, i + 1) < 0xD0 || byteAt(bytes, i + 1) > 0xD7)))
            ++i;
    }
    return cutShort;
}

} // namespace tesselor
