#include "qtplatform/font_preview.h"

#include "bitmap/bmp_layout.h"
#include "model/error.h"
#include "qtplatform/qt_pixels.h"

#include <QBuffer>
#include <QPainter>

#include <algorithm>

namespace tesselor {

namespace {

constexpr int kColumns = 16;
constexpr int kLabelHeight = 12;
constexpr int kPad = 3;

void checkSize(std::int64_t width, std::int64_t height) {
    if (const auto problem = imageSizeProblem(width, height))
        throw Error("The picture would be too large: " + *problem);
}

// Paper between the ink and the paper: where a cell goes on past its character's width.
QColor tint(Colour paper) {
    const QColor colour = toQColor(paper);
    return QColor::fromRgb((colour.red() * 7 + 0x80) / 8, (colour.green() * 7 + 0xC0) / 8,
                           (colour.blue() * 7 + 0xC0) / 8);
}

} // namespace

QImage textPicture(const FontModel& font, const TextLayout& layout, const TextStyle& style) {
    const int scale = std::max(style.scale, 1);
    checkSize(std::int64_t(std::max(layout.width, 1)) * scale,
              std::int64_t(std::max(layout.height, 1)) * scale);
    if (layout.width == 0 || layout.height == 0) // nothing to draw: one pixel of paper
        return toQImage(PixelImage(1, 1, style.paper));
    return toQImage(renderText(font, layout, style));
}

QImage sheetPicture(const FontModel& font, const TextStyle& style) {
    const int scale = std::max(style.scale, 1);
    const int count = font.rangeIsEmpty() ? 0 : font.lastCode() - font.firstCode() + 1;
    const int cellWidth = std::max(font.FontWidth(), 1) * scale;
    const int cellHeight = std::max(font.FontHeight(), 1) * scale;
    const int columnWidth = std::max(cellWidth, 24) + 2 * kPad;
    const int rowHeight = kLabelHeight + cellHeight + 2 * kPad;
    const int rows = std::max((count + kColumns - 1) / kColumns, 1);
    checkSize(std::int64_t(columnWidth) * kColumns + 1, std::int64_t(rowHeight) * rows + 1);

    QImage sheet(columnWidth * kColumns + 1, rowHeight * rows + 1, QImage::Format_RGB32);
    sheet.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter painter(&sheet);
    QFont label("DejaVu Sans");
    label.setPixelSize(kLabelHeight - 2);
    painter.setFont(label);
    for (int i = 0; i < count; ++i) {
        const int code = font.firstCode() + i;
        const int left = (i % kColumns) * columnWidth;
        const int top = (i / kColumns) * rowHeight;
        painter.setPen(QColor(0xC0, 0xC0, 0xC0));
        painter.drawRect(left, top, columnWidth, rowHeight);
        painter.setPen(QColor(0x40, 0x40, 0x40));
        painter.drawText(QRect(left, top + 1, columnWidth, kLabelHeight), Qt::AlignCenter,
                         QString::number(code));
        const QPoint origin(left + kPad, top + kLabelHeight + kPad);
        painter.fillRect(QRect(origin, QSize(cellWidth, cellHeight)), tint(style.paper));
        const TextLayout one = layoutText(font, {code});
        if (one.width > 0)
            painter.drawImage(origin, toQImage(renderText(font, one, style)));
    }
    return sheet;
}

std::string pngBytes(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        throw Error("The picture could not be made into a PNG");
    return bytes.toStdString();
}

} // namespace tesselor
