#include "bitmap/tga_reader.h"

#include "bitmap/bmp_layout.h"
#include "model/error.h"
#include "platform/bytes_at.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>

namespace tesselor {

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr std::string_view kFooterSignature = "TRUEVISION-XFILE.";

// One stored value (little-endian, 1 to 4 bytes) as colour and alpha.
struct Stored {
    Colour colour;
    std::uint8_t alpha;
};

// A value of `bits` bits: 8 grey; 16 grey and alpha for a grey image, else 5-5-5 with the top bit as alpha;
// 24 BGR; 32 BGRA.
Stored valueOf(std::uint32_t value, int bits, bool grey) {
    auto colour = [](std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return static_cast<Colour>(r | g << 8 | b << 16);
    };
    if (grey && bits == 8)
        return {colour(value, value, value), 255};
    if (grey)
        return {colour(value & 0xFF, value & 0xFF, value & 0xFF), static_cast<std::uint8_t>(value >> 8)};
    if (bits == 15 || bits == 16) {
        auto widen = [](std::uint32_t five) { return (five * 255 + 15) / 31; };
        return {colour(widen(value >> 10 & 0x1F), widen(value >> 5 & 0x1F), widen(value & 0x1F)),
                static_cast<std::uint8_t>(bits == 16 && (value & 0x8000) == 0 ? 0 : 255)};
    }
    return {colour(value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF),
            static_cast<std::uint8_t>(bits == 32 ? value >> 24 : 255)};
}

class Cursor {
public:
    Cursor(std::string_view bytes, std::size_t at) : bytes_(bytes), at_(at) {}
    std::uint32_t take(int bytes) {
        if (at_ + static_cast<std::size_t>(bytes) > bytes_.size())
            throw Error("the image data is cut short");
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= byteAt(bytes_, at_ + static_cast<std::size_t>(i)) << (8 * i);
        at_ += static_cast<std::size_t>(bytes);
        return value;
    }
    void skip(int bytes) {
        if (at_ + static_cast<std::size_t>(bytes) > bytes_.size())
            throw Error("the image data is cut short");
        at_ += static_cast<std::size_t>(bytes);
    }

private:
    std::string_view bytes_;
    std::size_t at_;
};

} // namespace

bool isTga(std::string_view path, std::string_view bytes) {
    std::string suffix(path.substr(path.size() >= 4 ? path.size() - 4 : 0));
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return suffix == ".tga" || (bytes.size() >= kHeaderSize + 26 &&
                                bytes.substr(bytes.size() - 18, kFooterSignature.size()) == kFooterSignature);
}

TgaImage readTga(std::string_view bytes) {
    if (bytes.size() < kHeaderSize)
        throw Error("the image data is cut short");
    const std::uint32_t type = byteAt(bytes, 2);
    const bool runs = type >= 9;
    const std::uint32_t kind = runs ? type - 8 : type;
    const bool mapped = kind == 1;
    const bool grey = kind == 3;
    const int bits = static_cast<int>(byteAt(bytes, 16));
    const int mapBits = static_cast<int>(byteAt(bytes, 7));
    const bool bitsTaken = mapped      ? bits == 8 || bits == 16
                           : grey      ? bits == 8 || bits == 16
                           : kind == 2 ? bits == 15 || bits == 16 || bits == 24 || bits == 32
                                       : false;
    if ((kind != 1 && kind != 2 && kind != 3) || !bitsTaken ||
        (mapped &&
         (byteAt(bytes, 1) != 1 || (mapBits != 15 && mapBits != 16 && mapBits != 24 && mapBits != 32))))
        throw Error("it is no TGA image of a kind read here (type " + text::dec(type) + ", " +
                    text::dec(bits) + " bits)");
    const int width = static_cast<int>(u16At(bytes, 12));
    const int height = static_cast<int>(u16At(bytes, 14));
    if (const auto problem = imageSizeProblem(width, height))
        throw Error(*problem);
    const std::uint32_t descriptor = byteAt(bytes, 17);
    const bool alphaBits = (descriptor & 0x0F) != 0;

    // The colour map, where the header says it lies; its first index is the map's origin.
    Cursor cursor(bytes, kHeaderSize + byteAt(bytes, 0));
    std::vector<Stored> map;
    const std::uint32_t mapFirst = u16At(bytes, 3);
    if (byteAt(bytes, 1) == 1) {
        // An image that is not colour-mapped may still carry a map, of any entry size: passed over.
        const std::uint32_t length = u16At(bytes, 5);
        for (std::uint32_t i = 0; i < length; ++i) {
            if (!mapped) {
                cursor.skip((mapBits + 7) / 8);
                continue;
            }
            map.push_back(valueOf(cursor.take((mapBits + 7) / 8), mapBits, false));
        }
    }

    // Checked before the pixels are allocated: the data must hold them all, a run-length packet at most 128.
    const std::uint64_t count64 = std::uint64_t(width) * std::uint64_t(height);
    const std::uint64_t pixelBytes64 = std::uint64_t(bits + 7) / 8;
    const std::uint64_t least = runs ? (count64 + 127) / 128 * (1 + pixelBytes64) : count64 * pixelBytes64;
    const std::uint64_t mapBytes =
        byteAt(bytes, 1) == 1 ? u16At(bytes, 5) * (std::uint64_t(mapBits + 7) / 8) : 0;
    if (kHeaderSize + byteAt(bytes, 0) + mapBytes + least > bytes.size())
        throw Error("the image data is cut short");

    TgaImage image{
        PixelImage(width, height), {}, bits, mapped ? std::optional(int(map.size())) : std::nullopt};
    const bool withAlpha = grey     ? bits == 16
                           : mapped ? mapBits == 32 || mapBits == 16
                                    : (bits == 32 || bits == 16);
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 255);
    const int pixelBytes = (bits + 7) / 8;
    auto pixelOf = [&](std::uint32_t value) {
        if (!mapped)
            return valueOf(value, bits, grey);
        if (value < mapFirst || value - mapFirst >= map.size())
            throw Error("a pixel's index " + text::dec(value) + " is past the colour map");
        return map[value - mapFirst];
    };
    const bool topFirst = (descriptor & 0x20) != 0;
    const bool rightFirst = (descriptor & 0x10) != 0;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::size_t done = 0;
    auto put = [&](const Stored& pixel) {
        const int stored = static_cast<int>(done / static_cast<std::size_t>(width));
        const int column = static_cast<int>(done % static_cast<std::size_t>(width));
        const int x = rightFirst ? width - 1 - column : column;
        const int y = topFirst ? stored : height - 1 - stored;
        image.pixels.setPixel(x, y, pixel.colour);
        alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
            pixel.alpha;
        ++done;
    };
    while (done < count) {
        if (!runs) {
            put(pixelOf(cursor.take(pixelBytes)));
            continue;
        }
        // A packet: a run of one value, or that many values as they are; either may cross rows.
        const std::uint32_t head = cursor.take(1);
        const std::size_t length = std::min<std::size_t>((head & 0x7F) + 1, count - done);
        if (head & 0x80) {
            const Stored pixel = pixelOf(cursor.take(pixelBytes));
            for (std::size_t i = 0; i < length; ++i)
                put(pixel);
        } else {
            for (std::size_t i = 0; i < length; ++i)
                put(pixelOf(cursor.take(pixelBytes)));
        }
    }
    // Alpha counts only where the header gives attribute bits and some pixel is not opaque: many writers
    // leave the fourth byte zero with no attribute bits.
    if (withAlpha && alphaBits &&
        std::any_of(alpha.begin(), alpha.end(), [](std::uint8_t a) { return a != 255; }))
        image.alpha = std::move(alpha);
    return image;
}

} // namespace tesselor
