#include "qtplatform/qt_image_decoder.h"

#include "bitmap/bitmap_payload.h"
#include "bitmap/bmp_layout.h"
#include "bitmap/bmp_rle.h"
#include "bitmap/bmp_rows.h"
#include "bitmap/gif_table.h"
#include "bitmap/jpeg_scans.h"
#include "bitmap/png_chunks.h"
#include "bitmap/tga_reader.h"
#include "bitmap/xbm_text.h"
#include "model/error.h"
#include "qtplatform/file_io.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

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

// The rows of an image Qt decoded, in straight RGBA: bytes in the order of Rgba, so a row is the image's own.
class QImageRows : public RowSource {
public:
    explicit QImageRows(const QImage& image)
        : image_(image.convertToFormat(QImage::Format_RGBA8888)), alpha_(image.hasAlphaChannel()) {}
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    bool hasAlpha() const override { return alpha_; }
    void rewind() override { y_ = 0; }
    const Rgba* nextRow() override {
        static_assert(sizeof(Rgba) == 4 && alignof(Rgba) == 1);
        return reinterpret_cast<const Rgba*>(image_.constScanLine(y_++));
    }

private:
    QImage image_;
    bool alpha_;
    int y_ = 0;
};

// The rows of a plain photo layout, read from the file a row at a time, or from the bytes of a file
// that could only be read whole (a pipe).
class PlainBmpRows : public RowSource {
public:
    PlainBmpRows(const PlainBmp& bmp, const std::string& path, std::string bytes)
        : bmp_(bmp), bytes_(std::move(bytes)), stored_(bmp.stride()),
          row_(static_cast<std::size_t>(bmp.width())) {
        if (bytes_.empty())
            file_ = std::make_unique<fileio::PieceReader>(path);
    }
    int width() const override { return bmp_.width(); }
    int height() const override { return bmp_.height(); }
    bool hasAlpha() const override { return false; }
    void rewind() override { y_ = 0; }
    const Rgba* nextRow() override {
        const std::uint64_t offset = bmp_.rowOffset(y_++);
        if (file_)
            file_->read(offset, stored_.data(), stored_.size());
        else // PlainBmp::of checked that the bytes hold every row
            std::copy_n(bytes_.data() + offset, stored_.size(), reinterpret_cast<char*>(stored_.data()));
        bmp_.convert(stored_.data(), row_.data());
        return row_.data();
    }

private:
    PlainBmp bmp_;
    std::string bytes_;
    std::unique_ptr<fileio::PieceReader> file_;
    std::vector<std::uint8_t> stored_;
    int y_ = 0;
    std::vector<Rgba> row_;
};

// What refuses a bitmap by its header: rows the file does not hold, or more pixels than an image may have.
std::optional<std::string> bmpProblem(std::uint64_t fileSize, const BmpLayout& layout) {
    if (!bmpPixelDataComplete(fileSize, layout))
        return "the pixel data is cut short";
    return imageSizeProblem(layout.width, layout.height < 0 ? -std::int64_t(layout.height) : layout.height);
}

DecodedImage decodeBmp(const std::string& path, std::string bytes, const BmpLayout& layout) {
    // Checked before anything is allocated: the size the header claims, and that the file holds its rows.
    if (const auto problem = bmpProblem(bytes.size(), layout))
        throw Error("Cannot decode '" + path + "': " + *problem);
    const LayoutClass layoutClass = classifyBmpLayout(layout);
    DecodedImage decoded{nullptr, layoutClass.formatText, layoutClass.bits};
    // Qt leaves the pixels an RLE stream does not set uninitialised; ours makes them white.
    if (layout.compression == kBiRle8 || layout.compression == kBiRle4) {
        try {
            decoded.rows = ownedRows(decodeBmpRle(bytes, layout));
            return decoded;
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
    if (layout.bitCount == 16 || (layout.bitCount == 32 && layout.hasMasks)) {
        const bool masks = layout.hasMasks;
        red = channelOf(masks ? layout.redMask : 0x7C00);
        green = channelOf(masks ? layout.greenMask : 0x03E0);
        blue = channelOf(masks ? layout.blueMask : 0x001F);
    }
    const bool alpha = image.hasAlphaChannel();
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    PixelImage pixels(image.width(), image.height());
    std::vector<std::uint8_t> alphas(alpha ? static_cast<std::size_t>(image.width()) * image.height() : 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = line[x];
            pixels.setPixel(x, y,
                            static_cast<Colour>(red.widen(qRed(rgb))) |
                                static_cast<Colour>(green.widen(qGreen(rgb))) << 8 |
                                static_cast<Colour>(blue.widen(qBlue(rgb))) << 16);
            if (alpha)
                alphas[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width()) +
                       static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(qAlpha(rgb));
        }
    }
    decoded.rows = ownedRows(std::move(pixels), std::move(alphas));
    return decoded;
}

// While it lives, what the image libraries write to standard error themselves (libpng's errors, libtiff's
// warnings) goes nowhere: a decoder's failure is the program's one line, and a success says nothing.
// Standard error is the process's: two threads decoding at once take turns, or one would restore the
// other's sink.
class LibraryMessagesHeld {
public:
    LibraryMessagesHeld() : turn_(mutex()) {
        std::fflush(stderr);
        const int sink = ::memfd_create("tesselor-library-messages", MFD_CLOEXEC);
        if (sink < 0)
            return;
        saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (saved_ >= 0)
            ::dup2(sink, STDERR_FILENO);
        ::close(sink);
    }
    ~LibraryMessagesHeld() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    LibraryMessagesHeld(const LibraryMessagesHeld&) = delete;
    LibraryMessagesHeld& operator=(const LibraryMessagesHeld&) = delete;

private:
    static std::mutex& mutex() {
        static std::mutex shared;
        return shared;
    }
    std::lock_guard<std::mutex> turn_;
    int saved_ = -1;
};

// Formats whose Qt reader makes up the pixels a file cut short lacks (or, for JPEG, takes minutes on a
// file of many scans): checked on the bytes first. The other readers refuse such files themselves.
std::optional<std::string> contentProblem(const QByteArray& format, const std::string& bytes) {
    const std::string cutShort = "the image data is cut short";
    if (format == "jpeg" || format == "jpg")
        return isJpeg(bytes) ? jpegProblem(bytes) : std::nullopt;
    if (format == "gif")
        return gifFirstImageComplete(bytes) ? std::nullopt : std::optional(cutShort);
    if (format == "xbm")
        return xbmPixelDataComplete(bytes) ? std::nullopt : std::optional(cutShort);
    return std::nullopt;
}

// The depth a file's pixels have, as far as the decoded image tells: an indexed image the fewest bits
// that hold its colours, 24 bits for colour without alpha.
int depthOf(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
        return image.colorCount() <= 2 ? 1 : image.colorCount() <= 16 ? 4 : 8;
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        return 24;
    case QImage::Format_RGBX64:
        return 48;
    default:
        return image.depth();
    }
}

// The file's bytes as Qt's reader takes them, telling how far it has read; a read after a "stop" fails.
class WatchedBuffer : public QBuffer {
public:
    WatchedBuffer(QByteArray* data, const Progress& progress) : QBuffer(data), progress_(progress) {}
    bool stopped() const { return stopped_; }

protected:
    qint64 readData(char* data, qint64 size) override {
        if (stopped_ || !progress_(0, pos(), this->size())) {
            stopped_ = true;
            return -1;
        }
        return QBuffer::readData(data, size);
    }

private:
    const Progress& progress_;
    bool stopped_ = false;
};

DecodedImage decodeOther(const std::string& path, const std::string& bytes, const Progress& progress) {
    if (isPng(bytes))
        if (const auto problem = pngChunkProblem(bytes))
            throw Error("Cannot decode '" + path + "': " + *problem);
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    WatchedBuffer buffer(&data, progress);
    buffer.open(QIODevice::ReadOnly);
    // The content decides first; the name's suffix helps a format without a signature (TGA), whose content
    // another reader may claim.
    const QList<QByteArray> known = QImageReader::supportedImageFormats();
    QList<QByteArray> formats;
    for (const QByteArray& format : {QImageReader::imageFormat(&buffer),
                                     QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1()})
        if (known.contains(format) && !formats.contains(format))
            formats << format;
    if (formats.isEmpty())
        throw Error("Cannot decode '" + path + "': no image format known here reads it");
    std::string failure;
    const LibraryMessagesHeld held;
    for (const QByteArray& format : formats) {
        buffer.seek(0);
        QImageReader reader(&buffer, format);
        reader.setAutoTransform(true);
        const std::string type = format.toUpper().toStdString();
        // The size the header claims is checked before the pixels are allocated.
        const QSize claimed = reader.size();
        if (claimed.isValid())
            if (const auto problem = imageSizeProblem(claimed.width(), claimed.height()))
                throw Error("Cannot decode '" + path + "': " + *problem);
        if (const auto problem = contentProblem(format, bytes))
            throw Error("Cannot decode '" + path + "': " + *problem);
        const QImage image = reader.read();
        if (buffer.stopped())
            throw Cancelled();
        if (image.isNull()) { // the last tried, the name's format, says why
            failure = "Cannot decode '" + path + "' as " + type + ": " + reader.errorString().toStdString();
            continue;
        }
        if (const auto problem = imageSizeProblem(image.width(), image.height()))
            throw Error("Cannot decode '" + path + "': " + *problem);
        int depth = depthOf(image);
        bool indexed = image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB ||
                       image.format() == QImage::Format_Indexed8;
        auto rows = std::make_unique<QImageRows>(image);
        // Qt hands a GIF over in 32 bits; the file's colour table says its depth, as it does for a PNG.
        if (const auto entries = format == "gif" ? gifColourTableEntries(bytes) : std::nullopt;
            entries && !indexed) {
            // A transparent pixel may show a colour past the table: the depth must hold what is shown.
            const std::size_t shown = std::max<std::size_t>(std::size_t(*entries), scanColours(*rows).count);
            if (shown <= 256) {
                depth = shown <= 2 ? 1 : shown <= 16 ? 4 : 8;
                indexed = true;
            }
        }
        return {std::move(rows), type + " " + std::to_string(depth) + " bit",
                static_cast<std::uint8_t>(indexed ? depth : 16)};
    }
    throw Error(failure);
}

// The size a file's header claims, checked before the file is read whole: an image larger than the
// limits is refused from its first bytes, however large the file.
std::optional<std::string> claimedSizeProblem(const std::string& path, const fileio::FileStart& start) {
    if (const auto layout = readBmpLayout(start.bytes))
        return bmpProblem(start.size, *layout);
    const LibraryMessagesHeld held;
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    const QSize claimed = reader.size();
    return claimed.isValid() ? imageSizeProblem(claimed.width(), claimed.height()) : std::nullopt;
}

} // namespace

DecodedImage QtImageDecoder::decode(const std::string& path, const Progress& progress) {
    // Enough for any .bmp header with its bit fields: the common photo layouts are read a row at a time
    // from the file, never held whole.
    fileio::FileStart start = fileio::readFileStart(path, 256);
    if (const auto layout = readBmpLayout(start.bytes))
        if (const auto plain = PlainBmp::of(*layout, start.size)) {
            const LayoutClass layoutClass = classifyBmpLayout(*layout);
            return {
                std::make_unique<PlainBmpRows>(*plain, path, start.sequential ? std::move(start.bytes) : ""),
                layoutClass.formatText, layoutClass.bits};
        }
    if (!start.sequential)
        if (const auto problem = claimedSizeProblem(path, start))
            throw Error("Cannot decode '" + path + "': " + *problem);
    std::string bytes = start.sequential ? std::move(start.bytes) : fileio::readFile(path);
    if (const auto layout = readBmpLayout(bytes))
        return decodeBmp(path, std::move(bytes), *layout);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        throw Error("Cannot decode '" + path + "' as a bitmap");
    // Qt's reader takes uncompressed true-colour TGA alone, and only with the 2.0 footer.
    if (isTga(path, bytes) && !isPng(bytes) && !isGif(bytes) && !isJpeg(bytes)) {
        try {
            TgaImage tga = readTga(bytes);
            const std::optional<int> entries = tga.mapEntries;
            const std::uint8_t bits = !entries          ? 16
                                      : *entries <= 2   ? 1
                                      : *entries <= 16  ? 4
                                      : *entries <= 256 ? 8
                                                        : 16;
            return {ownedRows(std::move(tga.pixels), std::move(tga.alpha)),
                    "TGA " + std::to_string(tga.depth) + " bit", bits};
        } catch (const Error& error) {
            throw Error("Cannot decode '" + path + "': " + error.what());
        }
    }
    return decodeOther(path, bytes, progress);
}

} // namespace tesselor
