#include "bitmap/bitmap_payload.h"

#include "bitmap/palette.h"
#include "model/error.h"
#include "platform/text.h"

#include <algorithm>
#include <utility>

namespace tesselor {

namespace {

void writeHex2(char* to, std::uint8_t value) {
    to[0] = '0';
    to[1] = 'x';
    to[2] = text::kHexDigits[value >> 4];
    to[3] = text::kHexDigits[value & 0xF];
}

void putU16(std::uint8_t* to, std::uint32_t value) {
    to[0] = static_cast<std::uint8_t>(value & 0xFF);
    to[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void swapPairs(std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i + 1 < size; i += 2)
        std::swap(bytes[i], bytes[i + 1]);
}

std::uint32_t rgb565Code(Rgba p) {
    return ToRgb565(colourOf(p));
}

// Whether the luminance formats take the alpha (the other formats read it from the pixel as they need it).
bool luminanceFromAlpha(const BitmapEncoding& encoding, RowSource& rows, LuminanceSource luminance) {
    if (encoding.packing != Packing::Luminance || !rows.hasAlpha() || luminance == LuminanceSource::Grey)
        return false;
    return luminance == LuminanceSource::Alpha || hasTranslucentPixels(rows);
}

// The rows of an image composited onto a background colour: opaque, as a format without alpha shows it.
class CompositedRows : public RowSource {
public:
    CompositedRows(RowSource& rows, Colour background)
        : rows_(rows), background_(rgbaOf(background)), row_(static_cast<std::size_t>(rows.width())) {}
    int width() const override { return rows_.width(); }
    int height() const override { return rows_.height(); }
    bool hasAlpha() const override { return false; }
    void rewind() override { rows_.rewind(); }
    const Rgba* nextRow() override {
        const Rgba* row = rows_.nextRow();
        for (std::size_t x = 0; x < row_.size(); ++x) {
            const int a = row[x].a;
            auto over = [a](std::uint8_t top, std::uint8_t bottom) {
                return static_cast<std::uint8_t>((top * a + bottom * (255 - a) + 127) / 255);
            };
            row_[x] = {over(row[x].r, background_.r), over(row[x].g, background_.g),
                       over(row[x].b, background_.b), 255};
        }
        return row_.data();
    }

private:
    RowSource& rows_;
    Rgba background_;
    std::vector<Rgba> row_;
};

// The pixel codes of a format, and the colour each code shows, which dithering needs.
class Coder {
public:
    Coder(const BitmapEncoding& encoding, RowSource& rows, LuminanceSource luminance)
        : encoding_(encoding), alpha_(luminanceFromAlpha(encoding, rows, luminance)) {
        if (encoding.packing == Packing::NativeIndex)
            table_ = scanColours(rows);
        else if (encoding.packing == Packing::PaletteIndex)
            palette_.emplace(rows, encoding.palette);
    }

    const std::optional<ColourTable>& table() const { return table_; }
    const std::optional<Palette>& palette() const { return palette_; }

    // The colour a format codes, before its levels: luminance formats see one grey value, formats
    // without alpha see every pixel opaque.
    Rgba prepare(Rgba p) const {
        switch (encoding_.packing) {
        case Packing::Luminance: {
            const auto l = static_cast<std::uint8_t>(alpha_ ? p.a : grey(p));
            return {l, l, l, 255};
        }
        case Packing::Channels:
            if (encoding_.argbBits[0] == 0)
                p.a = 255;
            return p;
        case Packing::PaletteIndex:
            // Entries without alpha show every pixel opaque: its colour error is seen whole.
            if (encoding_.palette == PaletteEntry::Rgb565)
                p.a = 255;
            return p;
        default:
            p.a = 255;
            return p;
        }
    }

    std::uint32_t code(Rgba p) {
        switch (encoding_.packing) {
        case Packing::NativeIndex:
            return table_->index(colourOf(p));
        case Packing::Rgb565:
            return rgb565Code(p);
        case Packing::Luminance:
            return reduce(p.r, encoding_.depth);
        case Packing::PaletteIndex:
            return static_cast<std::uint32_t>(palette_->nearest(p));
        case Packing::Channels:
            break;
        }
        const auto& [a, r, g, b] = encoding_.argbBits;
        const std::uint32_t alpha = a == 0 ? 0 : reduce(p.a, a);
        return alpha << (r + g + b) | reduce(p.r, r) << (g + b) | reduce(p.g, g) << b | reduce(p.b, b);
    }

    Rgba value(std::uint32_t code) const {
        if (palette_)
            return palette_->colours()[code];
        if (table_) {
            std::uint8_t stored[2];
            putU16(stored, table_->colours[code]);
            return entryColour(PaletteEntry::NativeRgb565, stored);
        }
        return codeColour(encoding_, code);
    }

private:
    const BitmapEncoding& encoding_;
    bool alpha_;
    std::optional<ColourTable> table_;
    std::optional<Palette> palette_;
};

// Floyd-Steinberg: 7/16 of a pixel's error to the right, 3/16, 5/16 and 1/16 to the row below.
class Diffusion {
public:
    explicit Diffusion(int width)
        : width_(static_cast<std::size_t>(width)), here_((width_ + 2) * 4, 0), below_((width_ + 2) * 4, 0) {}

    Rgba wanted(std::size_t x, Rgba p) const {
        const int* e = &here_[(x + 1) * 4];
        return {clamp(p.r + e[0]), clamp(p.g + e[1]), clamp(p.b + e[2]), clamp(p.a + e[3])};
    }
    void spread(std::size_t x, Rgba wanted, Rgba shown) {
        // A translucent pixel's colour error shows scaled by its alpha, and again by the alpha of the
        // pixel it goes to: it is weighted by the square of the lesser alpha. The alpha error spreads at a
        // quarter, so that the edge of a fade stays smooth. An opaque pixel spreads its whole error.
        const int alpha = std::min(wanted.a, shown.a);
        const int weight = alpha * alpha / 255;
        const int error[4] = {(wanted.r - shown.r) * weight / 255, (wanted.g - shown.g) * weight / 255,
                              (wanted.b - shown.b) * weight / 255, (wanted.a - shown.a) / 4};
        for (std::size_t c = 0; c < 4; ++c) {
            const int right = error[c] * 7 / 16, downLeft = error[c] * 3 / 16, down = error[c] * 5 / 16;
            here_[(x + 2) * 4 + c] += right;
            below_[x * 4 + c] += downLeft;
            below_[(x + 1) * 4 + c] += down;
            below_[(x + 2) * 4 + c] += error[c] - right - downLeft - down;
        }
    }
    void nextRow() {
        std::swap(here_, below_);
        std::fill(below_.begin(), below_.end(), 0);
    }

private:
    static std::uint8_t clamp(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

    std::size_t width_;
    std::vector<int> here_, below_;
};

} // namespace

std::size_t rowBytes(int width, int depth) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(depth) + 7) / 8;
}

std::size_t tableBytes(const BitmapEncoding& encoding) {
    return static_cast<std::size_t>(encoding.tableEntries) * static_cast<std::size_t>(encoding.entryBytes());
}

void packRow(const std::vector<std::uint32_t>& codes, int depth, std::uint8_t* row) {
    const std::size_t w = codes.size();
    switch (depth) {
    case 16:
        for (std::size_t x = 0; x < w; ++x) {
            row[2 * x] = static_cast<std::uint8_t>(codes[x] & 0xFF);
            row[2 * x + 1] = static_cast<std::uint8_t>(codes[x] >> 8);
        }
        break;
    case 8:
        for (std::size_t x = 0; x < w; ++x)
            row[x] = static_cast<std::uint8_t>(codes[x]);
        break;
    default: {
        const std::size_t perByte = 8 / static_cast<std::size_t>(depth);
        for (std::size_t x = 0; x < w; ++x) {
            const auto shift = static_cast<unsigned>(8 - depth * static_cast<int>(x % perByte + 1));
            row[x / perByte] |= static_cast<std::uint8_t>(codes[x] << shift);
        }
        break;
    }
    }
}

std::size_t bitmapPayloadSize(int width, int height, const BitmapEncoding& encoding) {
    return kPayloadHeaderSize + tableBytes(encoding) +
           static_cast<std::size_t>(height) * rowBytes(width, encoding.depth);
}

ColourTable scanColours(RowSource& rows) {
    const auto w = static_cast<std::size_t>(rows.width());
    const auto h = static_cast<std::size_t>(rows.height());
    // The place of a pixel in the column-by-column scan is x * H + y. Each colour's first place is found
    // in one pass along the rows; ordering the colours by it gives exactly the indices of the scan.
    constexpr std::uint64_t kNever = ~std::uint64_t(0);
    std::vector<std::uint64_t> first(65536, kNever);
    rows.rewind();
    for (std::size_t y = 0; y < h; ++y) {
        const Rgba* row = rows.nextRow();
        for (std::size_t x = 0; x < w; ++x) {
            std::uint64_t& place = first[rgb565Code(row[x])];
            place = std::min<std::uint64_t>(place, x * h + y);
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

ColourTable scanColours(const PixelImage& image) {
    PixelImageRows rows(image);
    return scanColours(rows);
}

bool hasTranslucentPixels(RowSource& rows) {
    if (!rows.hasAlpha())
        return false;
    rows.rewind();
    for (int y = 0; y < rows.height(); ++y) {
        const Rgba* row = rows.nextRow();
        if (std::any_of(row, row + rows.width(), [](Rgba p) { return p.a != 255; }))
            return true;
    }
    return false;
}

bool keepsAlpha(const BitmapEncoding& encoding, const EncodeOptions& options, RowSource& rows) {
    if (options.background)
        return false;
    switch (encoding.packing) {
    case Packing::Channels:
        return encoding.argbBits[0] > 0;
    case Packing::PaletteIndex:
        return encoding.palette == PaletteEntry::Argb8888 || encoding.palette == PaletteEntry::Argb4444;
    case Packing::Luminance:
        return luminanceFromAlpha(encoding, rows, options.luminance);
    default:
        return false;
    }
}

bool writeBitmapPayload(RowSource& source, const BitmapEncoding& encoding, const EncodeOptions& options,
                        const PayloadSink& put) {
    if (options.swapBytes && encoding.ft8xx)
        throw Error("The FT8xx formats stay low byte first, as the controller reads them: bytes cannot be "
                    "swapped for " +
                    std::string(encoding.name));
    std::optional<CompositedRows> composited;
    if (options.background)
        composited.emplace(source, *options.background);
    RowSource& rows = composited ? static_cast<RowSource&>(*composited) : source;
    const int w = rows.width();
    const int h = rows.height();
    Coder coder(encoding, rows, options.luminance);
    if (coder.table() && coder.table()->count > static_cast<std::size_t>(encoding.tableEntries))
        return false;

    // The header and the table, entries past the colours met zero.
    Bytes head(kPayloadHeaderSize + tableBytes(encoding), 0);
    head[0] = kPlainPayload;
    head[1] = encoding.formatCode;
    putU16(&head[2], static_cast<std::uint32_t>(h));
    putU16(&head[4], static_cast<std::uint32_t>(w));
    std::uint8_t* table = head.data() + kPayloadHeaderSize;
    if (const auto& colours = coder.table()) {
        for (std::size_t i = 0; i < colours->colours.size(); ++i)
            putU16(table + 2 * i, colours->colours[i]);
        if (options.swapBytes)
            swapPairs(table, 2 * colours->colours.size());
    } else if (const auto& palette = coder.palette()) {
        for (std::size_t i = 0; i < palette->colours().size(); ++i)
            palette->store(static_cast<int>(i), table + i * static_cast<std::size_t>(encoding.entryBytes()));
    }
    put(head.data(), head.size());

    // The rows, some at a time: few calls of the sink, and never the whole image in memory.
    const bool diffuse = options.dither && encoding.packing != Packing::NativeIndex;
    const bool swap = options.swapBytes && encoding.depth == 16;
    Diffusion diffusion(w);
    std::vector<std::uint32_t> codes(static_cast<std::size_t>(w));
    const std::size_t stride = rowBytes(w, encoding.depth);
    const std::size_t rowsAtOnce =
        std::max<std::size_t>(1, (std::size_t(1) << 18) / std::max<std::size_t>(stride, 1));
    Bytes block;
    rows.rewind();
    for (int y = 0; y < h; ++y) {
        const Rgba* row = rows.nextRow();
        if (encoding.packing == Packing::Rgb565 && !diffuse) {
            for (std::size_t x = 0; x < codes.size(); ++x)
                codes[x] = rgb565Code(row[x]);
        } else if (!diffuse) {
            for (std::size_t x = 0; x < codes.size(); ++x)
                codes[x] = coder.code(coder.prepare(row[x]));
        } else {
            for (std::size_t x = 0; x < codes.size(); ++x) {
                const Rgba wanted = diffusion.wanted(x, coder.prepare(row[x]));
                codes[x] = coder.code(wanted);
                diffusion.spread(x, wanted, coder.value(codes[x]));
            }
            diffusion.nextRow();
        }
        block.resize(block.size() + stride, 0);
        packRow(codes, encoding.depth, block.data() + block.size() - stride);
        if (swap)
            swapPairs(block.data() + block.size() - stride, stride);
        if (block.size() >= rowsAtOnce * stride || y + 1 == h) {
            put(block.data(), block.size());
            block.clear();
        }
    }
    return true;
}

bool appendBitmapPayload(RowSource& rows, const BitmapEncoding& encoding, const EncodeOptions& options,
                         Bytes& out) {
    out.reserve(out.size() + bitmapPayloadSize(rows.width(), rows.height(), encoding));
    return writeBitmapPayload(rows, encoding, options, [&out](const std::uint8_t* bytes, std::size_t size) {
        out.insert(out.end(), bytes, bytes + size);
    });
}

std::optional<Bytes> BitmapPayload(RowSource& rows, const BitmapEncoding& encoding,
                                   const EncodeOptions& options) {
    Bytes payload;
    if (!appendBitmapPayload(rows, encoding, options, payload))
        return std::nullopt;
    return payload;
}

std::optional<Bytes> BitmapPayload(const PixelImage& image, const BitmapEncoding& encoding) {
    PixelImageRows rows(image);
    return BitmapPayload(rows, encoding);
}

std::string bitmapCSource(const Bytes& payload, const BitmapEncoding& encoding, bool forFT800,
                          const std::string& arrayName, const CArrayStyle& style) {
    std::string out;
    out.reserve(256 + payload.size() * 5 + payload.size() / 10);
    auto line = [&out](const std::string& text) {
        out += text;
        out += "\r\n";
    };
    const bool deflated = payload[0] == kDeflatedPayload;
    line("// Bitmap Generated by \"Tesselor\" 1.0");
    line("// Tesselor was written by the Tesselor developers, 2016");
    if (forFT800) {
        // The historic line stays alone for the historic format.
        std::string format = encoding.formatCode == kFt800FormatCode ? "" : encoding.name;
        if (deflated)
            format += format.empty() ? "zlib stream" : ", zlib stream";
        line("// for the FT800 graphics controller" + (format.empty() ? "" : ": " + format));
    }
    line("");
    out += style.includes();
    line("const " + style.elementType() + " " + arrayName + "[] = {");
    // One entry a line: the header and 2-byte entries in pairs, 4-byte entries whole.
    const std::size_t entry = deflated ? 2 : static_cast<std::size_t>(encoding.entryBytes());
    const std::size_t pixelsStart = deflated ? kPayloadHeaderSize : kPayloadHeaderSize + tableBytes(encoding);
    for (std::size_t at = 0; at < pixelsStart;) {
        const std::size_t size = at < kPayloadHeaderSize ? 2 : entry;
        std::string text = " ";
        for (std::size_t i = at; i < at + size; ++i)
            text += (i == at ? " 0x" : "0x") + text::hex(payload[i], 2) + ",";
        line(text);
        at += size;
    }

    // 25 appends to a line: 25 bytes, or 25 pixels of two bytes at 16 bits.
    const std::size_t perAppend = encoding.depth == 16 && !deflated ? 2 : 1;
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
