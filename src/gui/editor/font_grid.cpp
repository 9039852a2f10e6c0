#include "editor/font_grid.h"

#include "document/font_document.h"
#include "qtplatform/qt_pixels.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tesselor {

namespace {
constexpr Colour kBaselineColour = 0xE06020u; // blue
} // namespace

FontGrid::FontGrid(const FontDocument& document, QWidget* parent) : QWidget(parent), document_(document) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The status bar names the cell under the pointer.
    setMouseTracking(true);
    connect(&document, &FontDocument::charChanged, this, [this](int code) {
        if (code == document_.currentCode())
            update();
    });
    connect(&document, &FontDocument::allCharsChanged, this, qOverload<>(&QWidget::update));
    connect(&document, &FontDocument::currentCodeChanged, this, qOverload<>(&QWidget::update));
    connect(&document, &FontDocument::baselineChanged, this, qOverload<>(&QWidget::update));
}

void FontGrid::layOut(int columns, int rows, int zoom) {
    columns_ = std::max(columns, 0);
    rows_ = std::max(rows, 0);
    zoom_ = zoom;
    const int width = std::max(columns_ * (zoom_ + 1) - 1, 0);
    const int height = std::max(rows_ * (zoom_ + 1) - 1, 0);
    setFixedSize(width, height);
    update();
}

QPoint FontGrid::cellAt(QPoint position) const {
    if (position.x() < 0 || position.y() < 0)
        return {-1, -1};
    const int column = position.x() / (zoom_ + 1);
    const int row = position.y() / (zoom_ + 1);
    if (column >= columns_ || row >= rows_)
        return {-1, -1};
    return {column, row};
}

QPoint FontGrid::cellUnder(QPointF position) const {
    const double step = zoom_ + 1;
    return {static_cast<int>(std::floor(position.x() / step)),
            static_cast<int>(std::floor(position.y() / step))};
}

QRect FontGrid::cellRect(int column, int row) const {
    return {column * (zoom_ + 1), row * (zoom_ + 1), zoom_, zoom_};
}

Colour FontGrid::cellColour(int column, int row) const {
    const Colour colour = document_.currentChar().pixel(column, row);
    if (column < document_.currentWidth() && colour == kWhite)
        return kInkPreviewColour;
    return colour;
}

void FontGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, toQColor(kSilver));
    // Only the cells of the exposed region: a zoomed 305 x 300 cell has 91,500 of them.
    const int step = zoom_ + 1;
    const int firstColumn = std::max(exposed.left() / step, 0);
    const int lastColumn = std::min(exposed.right() / step, columns_ - 1);
    const int firstRow = std::max(exposed.top() / step, 0);
    const int lastRow = std::min(exposed.bottom() / step, rows_ - 1);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            painter.fillRect(cellRect(column, row), toQColor(cellColour(column, row)));
    // The baseline: the grid line under the row the characters stand on; under the last row, whose line
    // is outside the grid, the cells' own bottom line.
    const int baseline = document_.font().baselineRow();
    if (rows_ > 0 && baseline < rows_) {
        const int y = baseline * step + zoom_ - (baseline == rows_ - 1 ? 1 : 0);
        painter.fillRect(QRect(0, y, width(), 1), toQColor(kBaselineColour));
    }
}

void FontGrid::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button(), event->buttons(), event->modifiers(), cellUnder(event->position()));
}

void FontGrid::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove(event->buttons(), event->modifiers(), cellUnder(event->position()));
}

void FontGrid::mouseReleaseEvent(QMouseEvent*) {
    emit mouseUp();
}

void FontGrid::leaveEvent(QEvent*) {
    emit left();
}

void FontGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        emit keyDown(event->key());
        return;
    }
    QWidget::keyPressEvent(event);
}

void FontGrid::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore(); // the scroll area scrolls
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        emit zoomRequested(steps, event->position().toPoint());
    event->accept();
}

void GridFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(toQColor(kSilver));
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

} // namespace tesselor
