#include "qtplatform/qt_rasteriser.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace tesselor {

QChar windows1252Char(int code) {
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    const int byte = code & 0xFF;
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHigh[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

std::vector<int> windows1252Codes(const QString& text) {
    std::vector<int> codes;
    for (const QChar ch : text) {
        int code = -1;
        for (int byte = 0; byte < 256 && code < 0; ++byte)
            if (windows1252Char(byte) == ch)
                code = byte;
        codes.push_back(code);
    }
    return codes;
}

QtRasteriser::QtRasteriser(const QFont& font) : font_(font) {
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    font_.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
    font_.setStyleStrategy(
        static_cast<QFont::StyleStrategy>(QFont::NoAntialias | QFont::NoSubpixelAntialias));
}

void QtRasteriser::drawChar(PixelImage& image, int code, int x, int y, Colour text, Colour background) {
    const QFontMetrics metrics(font_);
    const QString character(windows1252Char(code));
    const int advance = metrics.horizontalAdvance(character);
    const int height = metrics.ascent() + metrics.descent();
    // Ink may overhang the box (italics, negative bearings): draw with a margin around it.
    const int margin = height;
    QImage glyph(std::max(advance + 2 * margin, 1), std::max(height + 2 * margin, 1), QImage::Format_RGB32);
    glyph.fill(Qt::white);
    {
        QPainter painter(&glyph);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font_);
        painter.setPen(Qt::black);
        painter.drawText(margin, margin + metrics.ascent(), character);
    }
    for (int gy = 0; gy < glyph.height(); ++gy) {
        const auto* line = reinterpret_cast<const QRgb*>(glyph.constScanLine(gy));
        for (int gx = 0; gx < glyph.width(); ++gx) {
            const bool ink = qGray(line[gx]) < 128;
            const int bx = gx - margin;
            const int by = gy - margin;
            const bool inBox = bx >= 0 && by >= 0 && bx < advance && by < height;
            if (ink)
                image.setPixel(x + bx, y + by, text);
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

} // namespace tesselor
