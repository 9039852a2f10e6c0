#include "bmp_writer.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace testsupport {

using tesselor::Colour;
using tesselor::PixelImage;

namespace {

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::uint32_t packMasked(Colour colour, const std::vector<std::uint32_t>& masks) {
    const std::uint32_t channels[3] = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
    std::uint32_t value = 0;
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t mask = masks[static_cast<std::size_t>(i)];
        if (mask == 0)
            continue;
        const int shift = std::countr_zero(mask);
        const int width = std::popcount(mask);
        const std::uint32_t scaled = width >= 8 ? channels[i] << (width - 8) : channels[i] >> (8 - width);
        value |= (scaled << shift) & mask;
    }
    return value;
}

} // namespace

PixelImage imageFromRows(const std::vector<std::string>& rows,
                         const std::vector<std::pair<char, Colour>>& colours) {
    const int height = static_cast<int>(rows.size());
    const int width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    PixelImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (const auto& [ch, colour] : colours)
                if (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == ch)
                    image.setPixel(x, y, colour);
    return image;
}

std::string writeBmp(const PixelImage& image, const BmpOptions& options) {
    using C = BmpOptions::Compression;
    const int w = image.width();
    const int h = image.height();
    const int bits = options.bits;
    const bool paletted = bits <= 8;

    std::vector<Colour> palette = options.palette;
    if (paletted && palette.empty()) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (std::find(palette.begin(), palette.end(), image.pixel(x, y)) == palette.end())
                    palette.push_back(image.pixel(x, y));
    }
    if (paletted && palette.size() > (std::size_t(1) << bits))
        throw std::invalid_argument("too many colours for the depth");
    auto indexOf = [&](int x, int y) {
        return static_cast<std::uint32_t>(std::find(palette.begin(), palette.end(), image.pixel(x, y)) -
                                          palette.begin());
    };

    // Pixel data, rows in file order.
    std::string pixels;
    for (int i = 0; i < h; ++i) {
        const int y = options.topDown ? i : h - 1 - i;
        if (options.compression == C::Rle8 || options.compression == C::Rle4) {
            int x = 0;
            while (x < w) {
                int run = 1;
                while (x + run < w && run < 255 && indexOf(x + run, y) == indexOf(x, y))
                    ++run;
                pixels += static_cast<char>(run);
                const std::uint32_t index = indexOf(x, y);
                pixels += static_cast<char>(options.compression == C::Rle8 ? index : (index << 4) | index);
                x += run;
            }
            pixels += std::string("\0\0", 2); // end of line
            continue;
        }
        std::string row;
        if (paletted) {
            std::uint32_t accumulator = 0;
            int filled = 0;
            for (int x = 0; x < w; ++x) {
                accumulator = (accumulator << bits) | indexOf(x, y);
                filled += bits;
                if (filled == 8) {
                    row += static_cast<char>(accumulator);
                    accumulator = 0;
                    filled = 0;
                }
            }
            if (filled > 0)
                row += static_cast<char>(accumulator << (8 - filled));
        } else {
            for (int x = 0; x < w; ++x) {
                const Colour c = image.pixel(x, y);
                const std::uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
                if (bits == 16) {
                    const std::uint32_t value = options.masks.empty()
                                                    ? ((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))
                                                    : packMasked(c, options.masks);
                    put16(row, value);
                } else if (bits == 24) {
                    row += static_cast<char>(b);
                    row += static_cast<char>(g);
                    row += static_cast<char>(r);
                } else {
                    put32(row, options.masks.empty()
                                   ? (b | g << 8 | r << 16 | std::uint32_t(options.fillByte) << 24)
                                   : packMasked(c, options.masks));
                }
            }
        }
        while (row.size() % 4 != 0)
            row += '\0';
        pixels += row;
    }
    if (options.compression == C::Rle8 || options.compression == C::Rle4)
        pixels += std::string("\0\1", 2); // end of bitmap

    // Headers.
    const bool core = options.headerSize == 12;
    std::string info;
    if (core) {
        put32(info, 12);
        put16(info, static_cast<std::uint32_t>(w));
        put16(info, static_cast<std::uint32_t>(h));
        put16(info, 1);
        put16(info, static_cast<std::uint32_t>(bits));
    } else {
        const std::uint32_t compression = options.compression == C::Rle8        ? 1
                                          : options.compression == C::Rle4      ? 2
                                          : options.compression == C::Bitfields ? 3
                                                                                : 0;
        put32(info, static_cast<std::uint32_t>(options.headerSize));
        put32(info, static_cast<std::uint32_t>(w));
        put32(info, static_cast<std::uint32_t>(options.topDown ? -h : h));
        put16(info, 1);
        put16(info, static_cast<std::uint32_t>(bits));
        put32(info, compression);
        put32(info, static_cast<std::uint32_t>(pixels.size()));
        put32(info, 2835);
        put32(info, 2835);
        put32(info, paletted ? static_cast<std::uint32_t>(palette.size()) : 0);
        put32(info, 0);
        std::vector<std::uint32_t> masks = options.masks;
        masks.resize(4, 0);
        // V2 and later carry the masks inside the header.
        if (options.headerSize >= 52)
            for (int i = 0; i < 3; ++i)
                put32(info, masks[static_cast<std::size_t>(i)]);
        if (options.headerSize >= 56)
            put32(info, masks[3]);
        while (static_cast<int>(info.size()) < options.headerSize)
            info += '\0';
        if (options.headerSize == 40 && options.compression == C::Bitfields)
            for (int i = 0; i < 3; ++i)
                put32(info, masks[static_cast<std::size_t>(i)]);
    }
    std::string table;
    for (const Colour c : palette) {
        table += static_cast<char>((c >> 16) & 0xFF);
        table += static_cast<char>((c >> 8) & 0xFF);
        table += static_cast<char>(c & 0xFF);
        if (!core)
            table += '\0';
    }

    std::string file = "BM";
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size() + table.size());
    put32(file, static_cast<std::uint32_t>(offset + pixels.size()));
    put32(file, 0);
    put32(file, offset);
    return file + info + table + pixels;
}

} // namespace testsupport
