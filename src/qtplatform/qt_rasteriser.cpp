#include "qtplatform/qt_rasteriser.h"

#include "model/error.h"
#include "qtplatform/code_pages.h"
#include "qtplatform/file_io.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <cmath>

namespace tesselor {

QtRasteriser::QtRasteriser(const QFont& font, const CodePage& page, int depth)
    : font_(font), page_(page), antialias_(depth > 1) {
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    font_.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
    // Grey levels want the coverage of every pixel; sub-pixel colour would put colour in the greys.
    font_.setStyleStrategy(static_cast<QFont::StyleStrategy>(
        (antialias_ ? QFont::PreferAntialias : QFont::NoAntialias) | QFont::NoSubpixelAntialias |
        (font.styleStrategy() & QFont::NoFontMerging)));
}

namespace {
// The two colours mixed by a coverage of 0 to 255, channel by channel.
Colour mixed(Colour text, Colour background, int coverage) {
    Colour out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int t = static_cast<int>((text >> shift) & 0xFF);
        const int b = static_cast<int>((background >> shift) & 0xFF);
        out |= static_cast<Colour>((t * coverage + b * (255 - coverage) + 127) / 255) << shift;
    }
    return out;
}
} // namespace

int QtRasteriser::ascent() const {
    return QFontMetrics(font_).ascent();
}

void QtRasteriser::drawChar(PixelImage& image, int code, int x, int y, Colour text, Colour background) {
    const QFontMetrics metrics(font_);
    const QString character = characterOf(page_, code);
    const int advance = metrics.horizontalAdvance(character);
    const int height = metrics.ascent() + metrics.descent();
    // Ink may overhang the box (italics, negative bearings): draw with a margin around it.
    const int margin = height;
    QImage glyph(std::max(advance + 2 * margin, 1), std::max(height + 2 * margin, 1), QImage::Format_RGB32);
    glyph.fill(Qt::white);
    {
        QPainter painter(&glyph);
        painter.setRenderHint(QPainter::Antialiasing, antialias_);
        painter.setRenderHint(QPainter::TextAntialiasing, antialias_);
        painter.setFont(font_);
        painter.setPen(Qt::black);
        painter.drawText(margin, margin + metrics.ascent(), character);
    }
    for (int gy = 0; gy < glyph.height(); ++gy) {
        const auto* line = reinterpret_cast<const QRgb*>(glyph.constScanLine(gy));
        for (int gx = 0; gx < glyph.width(); ++gx) {
            const int coverage = 255 - qGray(line[gx]);
            const bool ink = antialias_ ? coverage > 0 : coverage > 127;
            const int bx = gx - margin;
            const int by = gy - margin;
            const bool inBox = bx >= 0 && by >= 0 && bx < advance && by < height;
            if (ink)
                image.setPixel(x + bx, y + by, antialias_ ? mixed(text, background, coverage) : text);
            else if (inBox)
                image.setPixel(x + bx, y + by, background);
        }
    }
}

namespace {
// The upright regular style of a family. Fontconfig lists DejaVu Sans's "Oblique" first, and a font
// dialog given the bare family preselects the first style.
QString regularStyle(const QString& family) {
    const QStringList styles = QFontDatabase::styles(family);
    for (const char* name : {"Regular", "Book", "Normal", "Roman", "Medium"})
        if (styles.contains(name, Qt::CaseInsensitive))
            return name;
    for (const QString& style : styles) {
        const bool slanted =
            style.contains("Italic", Qt::CaseInsensitive) || style.contains("Oblique", Qt::CaseInsensitive);
        if (!slanted && QFontDatabase::weight(family, style) == QFont::Normal)
            return style;
    }
    return {};
}
} // namespace

QFont defaultImportFont() {
    const QStringList families = QFontDatabase::families();
    const bool hasArial = families.contains("Arial", Qt::CaseInsensitive);
    QFont font(hasArial ? "Arial" : "DejaVu Sans");
    font.setStyleName(regularStyle(font.family()));
    font.setPointSize(12);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

namespace {

// The font file's bytes; a PCF bitmap font is refused: whether Qt loads one depends on the machine's
// fontconfig rules (Debian's reject bitmap fonts), and a bitmap font ignores the size asked for.
std::string fontFileBytes(const std::string& path) {
    std::string data = fileio::readFile(path);
    const bool gzipped = data.starts_with("\x1F\x8B") && path.ends_with(".pcf.gz");
    if (data.starts_with(std::string("\x01"
                                     "fcp",
                                     4)) ||
        gzipped)
        throw Error("'" + path +
                    "' is a PCF bitmap font, which is not read here: convert it to BDF (pcf2bdf) "
                    "and import that");
    return data;
}

} // namespace

FontFileFace describeFontFile(const std::string& path) {
    const std::string data = fontFileBytes(path);
    const QByteArray bytes(data.data(), static_cast<qsizetype>(data.size()));
    const QRawFont face(bytes, 12);
    if (!face.isValid())
        throw Error("Cannot load the font file '" + path + "'.");
    FontFileFace described{face.familyName(), face.styleName(), bytes.startsWith("ttcf")};
    if (!described.collection) {
        described.bold = face.weight() >= QFont::DemiBold;
        described.italic = face.style() != QFont::StyleNormal;
    }
    return described;
}

QFont loadFontFile(const std::string& path, int points, bool bold, bool italic) {
    const std::string data = fontFileBytes(path);
    const QByteArray bytes(data.data(), static_cast<qsizetype>(data.size()));
    const int id = QFontDatabase::addApplicationFontFromData(bytes);
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        throw Error("Cannot load the font file '" + path + "'.");
    QFont font(families.front());
    font.setPointSize(points);
    const QRawFont face(bytes, 12);
    const bool collection = bytes.startsWith("ttcf");
    if (collection || !face.isValid()) {
        // Bold and italic choose among the faces of the file, as among those of an installed family.
        font.setBold(bold);
        font.setItalic(italic);
    } else {
        // One face: it is drawn as it is, and asked for as it is, so that no other face of its family is.
        const bool faceBold = face.weight() >= QFont::DemiBold;
        const bool faceItalic = face.style() != QFont::StyleNormal;
        if (bold != faceBold || italic != faceItalic)
            throw Error("The font file '" + path + "' holds the " + face.styleName().toStdString() +
                        " face only: " +
                        (bold || italic ? "give the file of the face asked for"
                                        : "give --bold or --italic as it is"));
        font.setWeight(static_cast<QFont::Weight>(face.weight()));
        font.setStyle(face.style());
    }
    // Missing characters stay the file's own, not another installed font's.
    font.setStyleStrategy(QFont::NoFontMerging);
    // An installed font of the same family could be taken instead: refuse rather than give other bytes.
    const QByteArray wanted = face.fontTable("head");
    const QByteArray taken = QRawFont::fromFont(font).fontTable("head");
    if (!collection && !wanted.isEmpty() && !taken.isEmpty() && wanted != taken)
        throw Error("Cannot load the font file '" + path + "': an installed font of its family '" +
                    families.front().toStdString() + "' is taken instead");
    return font;
}

} // namespace tesselor
