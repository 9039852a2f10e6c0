#include "qtplatform/qt_image_decoder.h"

#include "bitmap/bmp_rle.h"
#include "model/error.h"
#include "qtplatform/file_io.h"

#include <QImage>

#include <algorithm>
#include <bit>
#include <climits>

namespace tesselor {

namespace {

// Qt widens a channel of n < 8 bits by shifting it left, so full intensity reads 0xF8 for five bits.
// Scale it instead, as the stored value means: full reads 255, white stays white.
struct Channel {
    int bits = 8;
    int widen(int value) const {
        if (bits <= 0 || bits >= 8)
            return value;
        const int stored = value >> (8 - bits);
        const int max = (1 << bits) - 1;
        return (stored * 255 + max / 2) / max;
    }
};

Channel channelOf(std::uint32_t mask) {
    return {std::popcount(mask)};
}

} // namespace

DecodedImage QtImageDecoder::decode(const std::string& path) {
    const std::string bytes = fileio::readFile(path);
    const auto layout = readBmpLayout(bytes);
    if (!layout)
        throw Error("Cannot decode '" + path + "' as a bitmap");
    // Checked before anything is allocated: the size the header claims, and that the file holds its rows.
    if (!bmpPixelDataComplete(bytes, *layout))
        throw Error("Cannot decode '" + path + "': the pixel data is cut short");
    const std::int64_t rows =
        layout->height < 0 ? -static_cast<std::int64_t>(layout->height) : layout->height;
    if (const auto problem = imageSizeProblem(layout->width, rows))
        throw Error("Cannot decode '" + path + "': " + *problem);
    // Qt leaves the pixels an RLE stream does not set uninitialised; ours makes them white.
    if (layout->compression == kBiRle8 || layout->compression == kBiRle4) {
        try {
            return {decodeBmpRle(bytes, *layout), *layout};
        } catch (const Error& error) {
            throw Error("Cannot decode '" + path + "': " + error.what());
        }
    }
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                       static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX)), "BMP");
    if (image.isNull())
        throw Error("Cannot decode '" + path + "' as a bitmap");

    Channel red, green, blue;
    if (layout->bitCount == 16 || (layout->bitCount == 32 && layout->hasMasks)) {
        const bool masks = layout->hasMasks;
        red = channelOf(masks ? layout->redMask : 0x7C00);
        green = channelOf(masks ? layout->greenMask : 0x03E0);
        blue = channelOf(masks ? layout->blueMask : 0x001F);
    }
    // The fourth byte of a pixel plays no part: take red, green and blue as stored.
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    DecodedImage decoded{PixelImage(image.width(), image.height()), *layout};
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = line[x];
            decoded.pixels.setPixel(x, y,
                                    static_cast<Colour>(red.widen(qRed(rgb))) |
                                        static_cast<Colour>(green.widen(qGreen(rgb))) << 8 |
                                        static_cast<Colour>(blue.widen(qBlue(rgb))) << 16);
        }
    }
    return decoded;
}

} // namespace tesselor
