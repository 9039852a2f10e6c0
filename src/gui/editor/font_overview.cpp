#include "editor/font_overview.h"

#include "document/font_document.h"
#include "qtplatform/qt_pixels.h"

#include <QMouseEvent>
#include <QPainter>

#include <map>

namespace tesselor {

namespace {
constexpr int kGap = 4;
constexpr int kLabelHeight = 12;
} // namespace

FontOverview::FontOverview(const FontDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(&document, &FontDocument::charChanged, this, &FontOverview::refreshCharacter);
    for (auto everything :
         {&FontDocument::allCharsChanged, &FontDocument::cellChanged, &FontDocument::replaced})
        connect(&document, everything, this, &FontOverview::refresh);
    connect(&document, &FontDocument::currentCodeChanged, this, qOverload<>(&QWidget::update));
}

void FontOverview::refresh() {
    const FontModel& font = document_.font();
    scale_ = font.FontHeight() <= 16 ? 2 : 1;
    glyphs_.clear();
    // Characters that share their pixels (the blank ones of a file read) share one picture too: memory
    // grows with the characters drawn, not with the range.
    std::map<const Colour*, QImage> pictures;
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        const PixelImage& image = font.CharImages[FontDocument::index(c)];
        const auto [picture, made] = pictures.try_emplace(image.pixels().data());
        if (made)
            picture->second = toQImage(image);
        glyphs_.push_back(picture->second);
    }
    updateGeometry();
    update();
}

void FontOverview::refreshCharacter(int code) {
    const FontModel& font = document_.font();
    const int index = code - font.firstCode();
    if (index < 0 || index >= static_cast<int>(glyphs_.size()))
        return;
    glyphs_[static_cast<std::size_t>(index)] = toQImage(font.CharImages[FontDocument::index(code)]);
    update(cellRect(code).adjusted(-2, -2, 2, 2));
}

QSize FontOverview::pitch() const {
    const FontModel& font = document_.font();
    return {std::max(font.FontWidth() * scale_, 18) + kGap, font.FontHeight() * scale_ + kLabelHeight + kGap};
}

int FontOverview::columns(int width) const {
    return std::max(1, (width - kGap) / pitch().width());
}

int FontOverview::heightForWidth(int width) const {
    const int count = static_cast<int>(glyphs_.size());
    const int rows = (count + columns(width) - 1) / columns(width);
    return kGap + rows * pitch().height();
}

QSize FontOverview::sizeHint() const {
    return {400, heightForWidth(400)};
}

QRect FontOverview::cellRect(int code) const {
    const int index = code - document_.font().firstCode();
    if (index < 0 || index >= static_cast<int>(glyphs_.size()))
        return {};
    const int perRow = columns(width());
    const QSize step = pitch();
    return {kGap + index % perRow * step.width(), kGap + index / perRow * step.height(), step.width() - kGap,
            step.height() - kGap};
}

void FontOverview::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(0xC0, 0xC0, 0xC0));
    QFont small = font();
    small.setPixelSize(9);
    painter.setFont(small);
    const FontModel& font = document_.font();
    for (int i = 0; i < static_cast<int>(glyphs_.size()); ++i) {
        const int code = font.firstCode() + i;
        const QRect cell = cellRect(code);
        if (!event->rect().intersects(cell.adjusted(-2, -2, 2, 2)))
            continue;
        const QImage& glyph = glyphs_[static_cast<std::size_t>(i)];
        painter.drawImage(QRect(cell.topLeft(), glyph.size() * scale_), glyph);
        painter.setPen(Qt::black);
        painter.drawText(QRect(cell.left(), cell.bottom() - kLabelHeight + 1, cell.width(), kLabelHeight),
                         Qt::AlignCenter, QString::number(code));
        if (code == document_.currentCode()) {
            painter.setPen(QPen(QColor(0x20, 0x60, 0xE0), 2));
            painter.drawRect(cell.adjusted(-1, -1, 1, 1));
        }
    }
}

void FontOverview::mousePressEvent(QMouseEvent* event) {
    const FontModel& font = document_.font();
    for (int code = font.firstCode(); code <= font.lastCode(); ++code) {
        if (cellRect(code).contains(event->position().toPoint())) {
            emit codeClicked(code);
            return;
        }
    }
}

} // namespace tesselor
