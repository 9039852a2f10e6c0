// Every FT8xx format byte for byte, the payload read back for every format with and without dithering,
// and the palettes.
#include "bitmap/palette.h"
#include "bitmap/payload_decoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

using namespace tesselor;

namespace {

// The rows of a few straight RGBA pixels.
struct Pixels {
    int width;
    std::vector<Rgba> pixels;
    bool alpha = true;

    PixelImage image() const {
        PixelImage out(width, int(pixels.size()) / width);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            out.setPixel(int(i) % width, int(i) / width, colourOf(pixels[i]));
        return out;
    }
    std::vector<std::uint8_t> alphas() const {
        std::vector<std::uint8_t> out;
        for (const Rgba& p : pixels)
            out.push_back(p.a);
        return alpha ? out : std::vector<std::uint8_t>{};
    }
};

Bytes encode(const Pixels& source, const BitmapEncoding& encoding, bool dither = false) {
    const PixelImage image = source.image();
    const auto alpha = source.alphas();
    PixelImageRows rows(image, &alpha);
    return BitmapPayload(rows, encoding, dither).value();
}

std::string hex(const Bytes& bytes, std::size_t from, std::size_t count) {
    std::string out;
    for (std::size_t i = from; i < from + count && i < bytes.size(); ++i) {
        static const char digits[] = "0123456789ABCDEF";
        out += out.empty() ? "" : " ";
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

// Red opaque, green at alpha 127, blue transparent: an odd width, alpha 0, 127 and 255.
const Pixels kThree{3, {{255, 0, 0, 255}, {0, 255, 0, 127}, {0, 0, 255, 0}}};

BitmapEncoding format(const char* name) {
    return ft8xxFormat(name).value();
}

} // namespace

// Each format: the header with its code, the palette (its first entries, the last is zero), the rows and
// the pixels read back, computed by hand from the table of the formats.
TEST(Ft8xxFormats, KnownBytesOfEveryFormat) {
    struct Case {
        const char* format;
        std::string palette; // the first three entries
        std::string rows;
        std::vector<Rgba> shown; // the three pixels read back
    };
    const Case cases[] = {
        {"ARGB1555", "", "00 FC E0 03 1F 00", {{255, 0, 0, 255}, {0, 255, 0, 0}, {0, 0, 255, 0}}},
        {"L1", "", "80", {{255, 255, 255, 255}, {0, 0, 0, 255}, {0, 0, 0, 255}}},
        {"L4",
         "",
         "F7 00",
         {{255, 255, 255, 255}, {119, 119, 119, 255}, {0, 0, 0, 255}}}, // 127 x 15 / 255 = 7.47
        {"L8", "", "FF 7F 00", {{255, 255, 255, 255}, {127, 127, 127, 255}, {0, 0, 0, 255}}},
        {"RGB332", "", "E0 1C 03", {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}}},
        {"ARGB2",
         "",
         "F0 4C 03",
         {{255, 0, 0, 255}, {0, 255, 0, 85}, {0, 0, 255, 0}}}, // 127 x 3 / 255 = 1.49
        {"ARGB4", "", "00 FF F0 70 0F 00", {{255, 0, 0, 255}, {0, 255, 0, 119}, {0, 0, 255, 0}}},
        {"RGB565", "", "00 F8 E0 07 1F 00", {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}}},
        {"PALETTED", "00 00 FF FF 00 FF 00 7F FF 00 00 00", "00 01 02", kThree.pixels},
        {"PALETTED565",
         "00 F8 E0 07 1F 00",
         "00 01 02",
         {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}}},
        {"PALETTED4444",
         "00 FF F0 70 0F 00",
         "00 01 02",
         {{255, 0, 0, 255}, {0, 255, 0, 119}, {0, 0, 255, 0}}},
        {"PALETTED8", "00 00 FF FF 00 FF 00 7F FF 00 00 00", "00 01 02", kThree.pixels},
        {"L2", "", "D0", {{255, 255, 255, 255}, {85, 85, 85, 255}, {0, 0, 0, 255}}},
    };
    ASSERT_EQ(std::size(cases), ft8xxFormats().size());
    for (const Case& c : cases) {
        const BitmapEncoding encoding = format(c.format);
        const Bytes payload = encode(kThree, encoding);
        const std::size_t table = std::size_t(encoding.tableEntries) * std::size_t(encoding.entryBytes());
        EXPECT_EQ(payload.size(), 6 + table + (c.rows.size() + 1) / 3) << c.format;
        EXPECT_EQ(hex(payload, 0, 6), "00 " + hex({encoding.formatCode}, 0, 1) + " 01 00 03 00") << c.format;
        EXPECT_EQ(hex(payload, 6, (c.palette.size() + 1) / 3), c.palette) << c.format;
        if (table > 0) {
            EXPECT_EQ(hex(payload, 6 + table - 2, 2), "00 00") << c.format;
        }
        EXPECT_EQ(hex(payload, 6 + table, payload.size()), c.rows) << c.format;
        const auto decoded = decodePayload(payload, true);
        ASSERT_TRUE(decoded) << c.format;
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(rgbaOf(decoded->image.pixels()[i], decoded->alpha[i]), c.shown[i])
                << c.format << " " << i;
    }
    // Without alpha, luminance is the grey: 0.299 R + 0.587 G + 0.114 B. Channels round where RGB565
    // drops bits: blue 7 is level 1 of 31, and 0 in RGB565.
    Pixels opaque = kThree;
    opaque.alpha = false;
    EXPECT_EQ(hex(encode(opaque, format("L8")), 6, 3), "4C 96 1D");
    const Pixels dark{1, {{0, 0, 7, 255}}, false};
    EXPECT_EQ(hex(encode(dark, format("ARGB1555")), 6, 2), "01 80");
    EXPECT_EQ(hex(encode(dark, format("RGB565")), 6, 2), "00 00");
    EXPECT_EQ(hex(encode(dark, bitmapEncoding(16, false)), 0, 8), "00 10 01 00 01 00 00 00");
}

TEST(Ft8xxFormats, NamesCodesAndChoice) {
    EXPECT_EQ(ft8xxFormat("argb4")->formatCode, 6);
    EXPECT_FALSE(ft8xxFormat("L3"));
    EXPECT_EQ(bitmapEncoding(8, true, "l2").formatCode, 17);
    EXPECT_EQ(bitmapEncoding(8, true).formatCode, kFt800FormatCode);
    EXPECT_EQ(bitmapEncoding(8, false, "L2").formatCode, 8); // the name needs the FT800 option
    // Byte 1 is read by the family: native 8 is a depth, FT8xx 8 is PALETTED.
    EXPECT_EQ(encodingOfCode(8, false)->depth * 100 + encodingOfCode(8, true)->tableEntries, 800 + 256);
    EXPECT_FALSE(encodingOfCode(7, false));
    EXPECT_FALSE(encodingOfCode(9, true));
}

namespace {

Pixels randomImage(int width, int height, int colours, bool alpha, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<Rgba> palette;
    for (int i = 0; i < colours; ++i) {
        const std::uint32_t v = random();
        palette.push_back({std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                           alpha ? std::uint8_t(v >> 24) : std::uint8_t(255)});
    }
    Pixels out{width, {}, alpha};
    for (int i = 0; i < width * height; ++i)
        out.pixels.push_back(palette[random() % palette.size()]);
    return out;
}

std::vector<BitmapEncoding> everyEncoding() {
    std::vector<BitmapEncoding> all = ft8xxFormats();
    for (std::uint8_t bits : {1, 4, 8, 16})
        all.push_back(bitmapEncoding(bits, false));
    return all;
}

} // namespace

// What a format shows is what it holds: encoding the picture a payload shows gives that picture again, for
// every format, with and without alpha and dithering (the known bytes above pin what is shown).
TEST(PayloadDecoder, WhatIsShownEncodesToItself) {
    for (const bool alpha : {false, true}) {
        for (const BitmapEncoding& encoding : everyEncoding()) {
            const int colours =
                encoding.packing == Packing::NativeIndex ? 1 << std::min(encoding.depth, 8) : 200;
            const Pixels source = randomImage(13, 7, std::min(colours, 200), alpha, 7);
            const bool kept =
                alpha && encoding.packing != Packing::NativeIndex && encoding.packing != Packing::Rgb565;
            for (const bool dither : {false, true}) {
                const Bytes payload = encode(source, encoding, dither);
                const auto shown = decodePayload(payload, encoding.ft8xx);
                ASSERT_TRUE(shown) << encoding.name;
                // A part of a row, as a view reads it, is that part of the whole.
                std::vector<Rgba> part(6);
                PayloadPixels::of(payload, encoding.ft8xx)->read(5, 3, 6, part.data());
                for (int x = 5; x < 11; ++x)
                    EXPECT_EQ(part[std::size_t(x - 5)],
                              rgbaOf(shown->image.pixel(x, 3), shown->alpha[std::size_t(3 * 13 + x)]))
                        << encoding.name;
                // Luminance shows grey, whose grey is itself.
                PixelImageRows rows(shown->image,
                                    kept && encoding.packing != Packing::Luminance ? &shown->alpha : nullptr);
                const auto twice = decodePayload(BitmapPayload(rows, encoding).value(), encoding.ft8xx);
                EXPECT_EQ(twice->image, shown->image) << encoding.name << " dither " << dither;
            }
        }
    }
}

// Watched rows tell how far each pass has come, and throw at the row after the answer to stop.
TEST(WatchedRows, ReportPassesAndStop) {
    const PixelImage image(2, 3);
    PixelImageRows rows(image);
    std::vector<std::array<long long, 3>> heard;
    int allowed = 4;
    WatchedRows watched(rows, [&](int pass, long long part, long long total) {
        heard.push_back({pass, part, total});
        return allowed-- > 0;
    });
    watched.rewind();
    for (int y = 0; y < 3; ++y)
        watched.nextRow();
    watched.rewind();
    watched.nextRow();
    EXPECT_THROW(watched.nextRow(), Cancelled);
    EXPECT_EQ(heard,
              (std::vector<std::array<long long, 3>>{{0, 0, 3}, {0, 1, 3}, {0, 2, 3}, {1, 0, 3}, {1, 1, 3}}));
}

// On a smooth ramp the dithered result keeps the mean of each 8 x 8 block where the plain one bands.
TEST(Dithering, KeepsTheToneOfABlock) {
    Pixels ramp{64, {}, false};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            ramp.pixels.push_back({std::uint8_t(x * 2), std::uint8_t(x * 3), std::uint8_t(100 + x), 255});
    for (const char* name : {"L1", "L4", "RGB332", "RGB565", "PALETTED565"}) {
        const BitmapEncoding encoding = format(name);
        double error[2] = {0, 0};
        for (const bool dither : {false, true}) {
            const auto shown = decodePayload(encode(ramp, encoding, dither), true).value();
            for (int bx = 0; bx < 64; bx += 8)
                for (int by = 0; by < 16; by += 8) {
                    double want = 0, got = 0;
                    for (int y = by; y < by + 8; ++y)
                        for (int x = bx; x < bx + 8; ++x) {
                            const Rgba p = ramp.pixels[std::size_t(y * 64 + x)];
                            const Rgba q = rgbaOf(shown.image.pixel(x, y));
                            want += encoding.packing == Packing::Luminance ? grey(p) : p.r + p.g + p.b;
                            got += encoding.packing == Packing::Luminance ? q.r : q.r + q.g + q.b;
                        }
                    error[dither] += std::abs(want - got) / 64;
                }
        }
        EXPECT_LT(error[1], error[0]) << name;
    }
}

// A translucent pixel spreads its colour error weighted by the square of its alpha (a transparent one
// none) and its alpha error at a quarter; opaque pixels spread everything (the bytes by hand above).
TEST(Dithering, TranslucentPixelsSpreadByTheirAlpha) {
    const struct {
        const char* format;
        Pixels pixels;
        const char* bytes; // the full spread would give the second pixel 21 84, 00 88, 00 80
    } cases[] = {
        // Colour 4 is level 0 of 5 bits; with its error the next pixel's 5 would be level 1.
        {"ARGB1555", {2, {{4, 4, 4, 0}, {4, 4, 4, 255}}}, "00 00 00 80"},
        // Red 12 shows 8 at alpha 200: 4 x 200 x 200 / 255 / 255 is 2, of which 7/16 is nothing (4 x 200 /
        // 255 = 3 would give 1 and make the next 12 a 13, level 2).
        {"ARGB1555", {2, {{12, 0, 0, 200}, {12, 0, 0, 255}}}, "00 84 00 84"},
        // Alpha 127 is level 7 of 4 bits (119): a quarter of the error (2) moves 126 to no other level.
        {"ARGB4", {2, {{0, 0, 0, 127}, {0, 0, 0, 126}}}, "00 70 00 70"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hex(encode(c.pixels, format(c.format), true), 6, 4), c.bytes) << c.format;
    // A palette without alpha shows every pixel opaque: the transparent 12 (shown 8, the first of two
    // entries as near) passes on its whole error, and the next 12 becomes 13, nearer 16.
    const Pixels opaqueEntries{3, {{12, 0, 0, 0}, {12, 0, 0, 255}, {16, 0, 0, 255}}};
    EXPECT_EQ(hex(encode(opaqueEntries, format("PALETTED565"), true), 6 + 512, 3), "00 01 01");
}

// At most 256 colours: exactly those, in order of appearance. More: 256 entries chosen from the image,
// each pixel the nearest of them.
TEST(Palette, ExactOrChosen) {
    const Pixels few = randomImage(16, 16, 256, true, 3);
    PixelImage image = few.image();
    auto alpha = few.alphas();
    PixelImageRows rows(image, &alpha);
    Palette exact(rows, PaletteEntry::Argb8888);
    EXPECT_EQ(exact.colours().front(), few.pixels.front());
    for (const Rgba& p : few.pixels)
        EXPECT_EQ(exact.colours()[std::size_t(exact.nearest(p))], p);

    // Half way between two entries: the first of them, even just after a pixel of the second.
    const Pixels two{2, {{0, 0, 0, 255}, {4, 0, 0, 255}}, false};
    image = two.image();
    PixelImageRows pairRows(image);
    Palette pair(pairRows, PaletteEntry::Argb8888);
    EXPECT_EQ(pair.nearest({4, 0, 0, 255}), 1);
    EXPECT_EQ(pair.nearest({2, 0, 0, 255}), 0);

    Pixels ramp{256, {}, false};
    for (int i = 0; i < 256 * 4; ++i)
        ramp.pixels.push_back({std::uint8_t(i % 256), std::uint8_t(i / 4), std::uint8_t(255 - i % 256), 255});
    image = ramp.image();
    PixelImageRows opaque(image);
    Palette chosen(opaque, PaletteEntry::Argb8888);
    EXPECT_EQ(chosen.colours().size(), 256u);
    double worst = 0;
    for (const Rgba& p : ramp.pixels) {
        const Rgba q = chosen.colours()[std::size_t(chosen.nearest(p))];
        worst = std::max(worst, std::hypot(p.r - q.r, p.g - q.g, p.b - q.b));
    }
    EXPECT_LT(worst, 24.0); // 1024 colours on a line: no pixel far from an entry

    // The search finds what a full scan finds: the least squared distance, the first entry of equal ones
    // (coarse levels make equal distances common). Each colour is followed by colours a few levels from
    // it, as neighbouring pixels are, walking towards and past the boundaries between entries.
    for (const bool translucent : {false, true}) {
        Pixels many = randomImage(200, 100, 20000, translucent, 5);
        for (std::size_t i = 0; i < many.pixels.size(); i += 3)
            many.pixels[i] = {std::uint8_t(many.pixels[i].r & 0xE0), std::uint8_t(many.pixels[i].g & 0xE0),
                              std::uint8_t(many.pixels[i].b & 0xE0), many.pixels[i].a};
        image = many.image();
        alpha = many.alphas();
        PixelImageRows source(image, translucent ? &alpha : nullptr);
        Palette palette(source, PaletteEntry::Argb8888);
        std::vector<Rgba> walk;
        for (const Rgba& p : many.pixels)
            for (int step = 0; step < 12; ++step)
                walk.push_back({std::uint8_t(std::min(p.r + 2 * step, 255)),
                                std::uint8_t(std::max(p.g - step, 0)), p.b,
                                std::uint8_t(std::min(p.a + step, 255))});
        for (Rgba p : walk) {
            if (!translucent)
                p.a = 255;
            int scan = 0, least = INT_MAX;
            for (std::size_t e = 0; e < palette.colours().size(); ++e) {
                const Rgba& c = palette.colours()[e];
                const int d = (c.r - p.r) * (c.r - p.r) + (c.g - p.g) * (c.g - p.g) +
                              (c.b - p.b) * (c.b - p.b) + (c.a - p.a) * (c.a - p.a);
                if (d < least) {
                    least = d;
                    scan = int(e);
                }
            }
            ASSERT_EQ(palette.nearest(p), scan) << translucent;
        }
    }
}

// The palette chosen for an image of many colours, and the indices, stay what they were: the searches that
// prune (the median cut's scores, the k-means rounds, the nearest entry) change the time, never a byte.
TEST(Palette, ChosenPaletteStaysTheSame) {
    for (const auto& [alpha, pinned] :
         {std::pair{false, 0xBA16974A89C1FC41ull}, std::pair{true, 0x80BEFC2C1FF33843ull}}) {
        Pixels smooth{160, {}, alpha};
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                smooth.pixels.push_back({std::uint8_t(127.5 + 127.5 * std::sin(x * 0.07 + y * 0.02)),
                                         std::uint8_t((x * 3 + y * 5) % 256),
                                         std::uint8_t(127.5 + 127.5 * std::cos(y * 0.05 - x * 0.01)),
                                         std::uint8_t(alpha ? 255 - y * 2 : 255)});
        std::uint64_t hash = 0xCBF29CE484222325ull; // FNV-1a
        for (const std::uint8_t byte : encode(smooth, format("PALETTED8")))
            hash = (hash ^ byte) * 0x100000001B3ull;
        EXPECT_EQ(hash, pinned) << "alpha " << alpha;
    }
}

// The reader refuses what is no payload of the family, without allocating for a claimed size.
TEST(PayloadDecoder, Refusals) {
    const Bytes plain = encode(kThree, format("L4"));
    Bytes deflated = plain;
    deflated[0] = kDeflatedPayload;
    Bytes longer = plain;
    longer.push_back(0);
    Bytes huge = {0, 3, 0xFF, 0xFF, 0xFF, 0xFF};
    for (const Bytes& bytes : {Bytes{}, Bytes(plain.begin(), plain.end() - 1), longer, deflated, huge})
        EXPECT_FALSE(decodePayload(bytes, true));
    EXPECT_FALSE(decodePayload(plain, false)); // native code 2 does not exist
    EXPECT_TRUE(decodePayload(plain, true));
}

// An image of exactly 256 colours keeps every one of them, in order of appearance, in each palette format
// (colours its entries hold exactly); entries are the nearest level, not the truncated bits: (15, 3, 12) is
// (2, 1, 1) in 5:6:5, shown (16, 4, 8) where truncation would show (8, 0, 8).
TEST(Palette, TwoHundredFiftySixColoursKeptAndEntriesRounded) {
    struct Case {
        const char* format;
        Rgba (*colour)(int i);
    };
    const Case cases[] = {
        {"PALETTED8",
         [](int i) {
             return Rgba{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), std::uint8_t(i | 1)};
         }},
        {"PALETTED565",
         [](int i) {
             return Rgba{expand(std::uint32_t(i % 32), 5), expand(std::uint32_t(i / 32), 6), 0, 255};
         }},
        {"PALETTED4444",
         [](int i) {
             return Rgba{expand(std::uint32_t(i % 16), 4), expand(std::uint32_t(i / 16), 4), 0, 255};
         }},
    };
    for (const Case& c : cases) {
        Pixels image{16, {}, true};
        for (int i = 0; i < 256; ++i)
            image.pixels.push_back(c.colour(255 - i));
        const auto shown = decodePayload(encode(image, format(c.format)), true);
        ASSERT_TRUE(shown) << c.format;
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_EQ(rgbaOf(shown->image.pixels()[i], shown->alpha[i]), image.pixels[i])
                << c.format << " " << i;
    }
    const Pixels odd{1, {{15, 3, 12, 0x88}}, true};
    EXPECT_EQ(rgbaOf(decodePayload(encode(odd, format("PALETTED565")), true)->image.pixels()[0]),
              (Rgba{16, 4, 8, 255}));
    // 4 bits: 15 -> 1 (17), 3 -> 0, 12 -> 1 (17), alpha 136 -> 8 (136).
    const auto four = decodePayload(encode(odd, format("PALETTED4444")), true);
    EXPECT_EQ(rgbaOf(four->image.pixels()[0], four->alpha[0]), (Rgba{17, 0, 17, 136}));
}

// Floyd-Steinberg by hand on a 4 x 3 grey image in L1: 7/16 of the error to the right, 3/16 down-left,
// 5/16 down, the rest (1/16) down-right, each share cut toward zero. Every other placement of the weights
// gives other bits for this image.
TEST(Dithering, FloydSteinbergWeightsByHand) {
    const int grey[3][4] = {{183, 115, 135, 10}, {37, 134, 199, 82}, {135, 129, 251, 8}};
    Pixels image{4, {}, false};
    for (const auto& row : grey)
        for (const int v : row)
            image.pixels.push_back({std::uint8_t(v), std::uint8_t(v), std::uint8_t(v), 255});
    // 183 -> 1, error -72: -31 right, -13 down-left, -22 down, -6 down-right; 115 - 31 = 84 -> 0; ...
    EXPECT_EQ(hex(encode(image, format("L1"), true), 6, 3), "A0 60 60");
    EXPECT_EQ(hex(encode(image, format("L1"), false), 6, 3), "A0 60 E0"); // each pixel alone
}
