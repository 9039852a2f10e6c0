#include "bitmap/bmp_rle.h"

#include "model/error.h"

#include <algorithm>
#include <vector>

namespace tesselor {

namespace {

constexpr std::size_t kFileHeader = 14;

// The stream, read forwards; past its end it reads as an end of bitmap.
class Stream {
public:
    Stream(std::string_view bytes, std::size_t at) : bytes_(bytes), at_(at) {}
    bool more() const { return at_ < bytes_.size(); }
    int next() { return at_ < bytes_.size() ? static_cast<unsigned char>(bytes_[at_++]) : -1; }
    void skip(std::size_t count) { at_ += count; }

private:
    std::string_view bytes_;
    std::size_t at_;
};

} // namespace

PixelImage decodeBmpRle(std::string_view bytes, const BmpLayout& layout) {
    const bool four = layout.compression == kBiRle4;
    if ((layout.compression != kBiRle8 && !four) || layout.bitCount != (four ? 4 : 8) || layout.height < 0 ||
        layout.width < 0)
        throw Error("the RLE header is not valid");
    const int width = layout.width;
    const int height = layout.height;

    const std::size_t maxColours = four ? 16 : 256;
    const std::size_t colours =
        layout.coloursUsed == 0 || layout.coloursUsed > maxColours ? maxColours : layout.coloursUsed;
    const std::size_t paletteAt = kFileHeader + layout.headerSize;
    if (paletteAt > bytes.size() || (bytes.size() - paletteAt) / 4 < colours)
        throw Error("the palette lies beyond the end of the file");
    std::vector<Colour> palette(256, kBlack);
    for (std::size_t i = 0; i < colours; ++i) {
        const auto* entry = reinterpret_cast<const unsigned char*>(bytes.data() + paletteAt + 4 * i);
        palette[i] = static_cast<Colour>(entry[2]) | static_cast<Colour>(entry[1]) << 8 |
                     static_cast<Colour>(entry[0]) << 16;
    }

    PixelImage image(width, height, kWhite);
    int x = 0;
    int row = 0; // counted from the bottom
    auto put = [&](int index) {
        if (x < width && row < height)
            image.setPixel(x, height - 1 - row, palette[static_cast<std::size_t>(index)]);
        ++x;
    };
    Stream stream(bytes, layout.dataOffset);
    while (stream.more() && row < height) {
        const int count = stream.next();
        const int value = stream.next();
        if (value < 0)
            break;
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i)
                put(four ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            const int dx = stream.next();
            const int dy = stream.next();
            if (dy < 0)
                break;
            x = std::min(x + dx, width);
            row = std::min(row + dy, height);
        } else { // absolute run of `value` pixels, padded to a 16-bit boundary
            const int stored = four ? (value + 1) / 2 : value;
            int data = 0;
            for (int i = 0; i < value; ++i) {
                if (!four || i % 2 == 0)
                    data = stream.next();
                if (data < 0)
                    break;
                if (x < width)
                    put(four ? (i % 2 == 0 ? data >> 4 : data & 0xF) : data);
            }
            if (stored % 2 == 1)
                stream.skip(1);
        }
    }
    return image;
}

} // namespace tesselor
