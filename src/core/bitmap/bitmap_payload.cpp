#include "bitmap/bitmap_payload.h"

#include "platform/text.h"

#include <algorithm>
#include <utility>

namespace tesselor {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr char kHexDigits[] = "0123456789ABCDEF";

std::size_t tableEntries(int depth) {
    return depth == 16 ? 0 : std::size_t(1) << depth;
}

std::size_t rowBytes(int width, int depth) {
    const auto w = static_cast<std::size_t>(width);
    switch (depth) {
    case 1:
        return (w + 7) / 8;
    case 4:
        return (w + 1) / 2;
    case 8:
        return w;
    default:
        return 2 * w;
    }
}

void writeHex2(char* to, std::uint8_t value) {
    to[0] = '0';
    to[1] = 'x';
    to[2] = kHexDigits[value >> 4];
    to[3] = kHexDigits[value & 0xF];
}

} // namespace

BitmapEncoding bitmapEncoding(std::optional<std::uint8_t> bits, bool forFT800) {
    if (forFT800)
        return {16, kFt800FormatCode};
    if (bits && (*bits == 1 || *bits == 4 || *bits == 8))
        return {*bits, *bits};
    return {16, 16};
}

std::size_t bitmapPayloadSize(int width, int height, int depth) {
    return kHeaderSize + 2 * tableEntries(depth) + static_cast<std::size_t>(height) * rowBytes(width, depth);
}

ColourTable scanColours(const PixelImage& image) {
    const auto w = static_cast<std::size_t>(image.width());
    const auto h = static_cast<std::size_t>(image.height());
    // The place of a pixel in the column-by-column scan is x * H + y. Each colour's first place is found
    // in one pass along the rows, which is kind to the cache; ordering the colours by it gives exactly the
    // indices of the search in scan order.
    constexpr std::uint64_t kNever = ~std::uint64_t(0);
    std::vector<std::uint64_t> first(65536, kNever);
    const Colour* pixels = image.pixels().data();
    for (std::size_t y = 0; y < h; ++y) {
        const Colour* row = pixels + y * w;
        for (std::size_t x = 0; x < w; ++x) {
            std::uint64_t& place = first[ToRgb565(row[x])];
            const std::uint64_t here = x * h + y;
            if (here < place)
                place = here;
        }
    }
    std::vector<std::pair<std::uint64_t, std::uint16_t>> met;
    for (std::size_t colour = 0; colour < first.size(); ++colour)
        if (first[colour] != kNever)
            met.emplace_back(first[colour], static_cast<std::uint16_t>(colour));
    std::sort(met.begin(), met.end());

    ColourTable table;
    table.count = met.size();
    table.indexOf.assign(65536, 0);
    for (std::size_t i = 0; i < met.size() && i < 256; ++i) {
        table.colours.push_back(met[i].second);
        table.indexOf[met[i].second] = static_cast<std::uint8_t>(i);
    }
    return table;
}

std::optional<Bytes> BitmapPayload(const PixelImage& image, const BitmapEncoding& encoding) {
    const int w = image.width();
    const int h = image.height();
    const int depth = encoding.depth;
    ColourTable table;
    if (depth != 16) {
        table = scanColours(image);
        if (table.count > tableEntries(depth))
            return std::nullopt;
    }

    Bytes payload(bitmapPayloadSize(w, h, depth), 0);
    payload[1] = encoding.formatCode;
    payload[2] = static_cast<std::uint8_t>(h & 0xFF);
    payload[3] = static_cast<std::uint8_t>((h >> 8) & 0xFF);
    payload[4] = static_cast<std::uint8_t>(w & 0xFF);
    payload[5] = static_cast<std::uint8_t>((w >> 8) & 0xFF);
    std::size_t at = kHeaderSize;
    for (std::size_t i = 0; i < tableEntries(depth); ++i, at += 2) {
        const std::uint16_t colour = i < table.colours.size() ? table.colours[i] : 0;
        payload[at] = static_cast<std::uint8_t>(colour & 0xFF);
        payload[at + 1] = static_cast<std::uint8_t>(colour >> 8);
    }

    const std::size_t stride = rowBytes(w, depth);
    const Colour* pixels = image.pixels().data();
    for (int y = 0; y < h; ++y, at += stride) {
        const std::size_t rowStart = static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        std::uint8_t* row = payload.data() + at;
        switch (depth) {
        case 1:
            // Leftmost pixel in the most significant bit; the last byte is filled with 0 bits.
            for (int x = 0; x < w; ++x)
                row[x / 8] |= static_cast<std::uint8_t>(
                    table.index(pixels[rowStart + static_cast<std::size_t>(x)]) << (7 - x % 8));
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                row[x / 2] |= static_cast<std::uint8_t>(
                    table.index(pixels[rowStart + static_cast<std::size_t>(x)]) << (x % 2 == 0 ? 4 : 0));
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                row[x] = table.index(pixels[rowStart + static_cast<std::size_t>(x)]);
            break;
        default:
            for (int x = 0; x < w; ++x) {
                const std::uint16_t colour = ToRgb565(pixels[rowStart + static_cast<std::size_t>(x)]);
                row[2 * x] = static_cast<std::uint8_t>(colour & 0xFF);
                row[2 * x + 1] = static_cast<std::uint8_t>(colour >> 8);
            }
            break;
        }
    }
    return payload;
}

std::string bitmapCSource(const Bytes& payload, const BitmapEncoding& encoding, bool forFT800,
                          const std::string& arrayName, const CArrayStyle& style) {
    std::string out;
    out.reserve(256 + payload.size() * 5 + payload.size() / 10);
    auto line = [&out](const std::string& text) {
        out += text;
        out += "\r\n";
    };
    auto pair = [&](std::size_t at) {
        return "  0x" + text::hex(payload[at], 2) + ",0x" + text::hex(payload[at + 1], 2) + ",";
    };
    line("// Bitmap Generated by \"Tesselor\" 1.0");
    line("// Tesselor was written by the Tesselor developers, 2016");
    if (forFT800)
        line("// for the FT800 graphics controller");
    line("");
    out += style.includes();
    line("const " + style.elementType() + " " + arrayName + "[] = {");
    for (std::size_t at = 0; at < kHeaderSize; at += 2)
        line(pair(at));
    const std::size_t pixelsStart = kHeaderSize + 2 * tableEntries(encoding.depth);
    for (std::size_t at = kHeaderSize; at < pixelsStart; at += 2)
        line(pair(at));

    // 25 appends to a line: 25 bytes, or 25 pixels of two bytes for depth 16.
    const std::size_t perAppend = encoding.depth == 16 ? 2 : 1;
    const std::size_t appends = (payload.size() - pixelsStart) / perAppend;
    if (appends == 0) {
        line("};");
        return out;
    }
    const std::size_t appendLength = perAppend * 5; // "0xHH," per byte; the last separator may be "};"
    for (std::size_t first = 0; first < appends; first += 25) {
        const std::size_t count = std::min<std::size_t>(25, appends - first);
        const std::size_t start = out.size();
        out.resize(start + 2 + count * appendLength + 3);
        char* to = out.data() + start;
        *to++ = ' ';
        *to++ = ' ';
        for (std::size_t i = first; i < first + count; ++i) {
            const std::size_t at = pixelsStart + i * perAppend;
            writeHex2(to, payload[at]);
            to += 4;
            if (perAppend == 2) {
                *to++ = ',';
                writeHex2(to, payload[at + 1]);
                to += 4;
            }
            if (i + 1 == appends) {
                *to++ = '}';
                *to++ = ';';
            } else {
                *to++ = ',';
            }
        }
        *to++ = '\r';
        *to++ = '\n';
        out.resize(static_cast<std::size_t>(to - out.data()));
    }
    return out;
}

} // namespace tesselor
