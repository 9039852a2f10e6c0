#include "editor/font_grid.h"

#include "qtplatform/qt_pixels.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace tesselor {

FontGrid::FontGrid(const AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
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

QRect FontGrid::cellRect(int column, int row) const {
    return {column * (zoom_ + 1), row * (zoom_ + 1), zoom_, zoom_};
}

Colour FontGrid::cellColour(int column, int row) const {
    const auto code = AppState::codeIndex(state_.CurrentCode);
    const Colour colour = state_.font.CharImages[code].pixel(column, row);
    if (column < state_.font.CharWidths[code] && colour == kWhite)
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
}

void FontGrid::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button(), event->buttons(), event->modifiers(),
                   cellAt(event->position().toPoint()));
}

void FontGrid::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove(event->buttons(), event->modifiers(), cellAt(event->position().toPoint()));
}

void FontGrid::mouseReleaseEvent(QMouseEvent*) {
    emit mouseUp();
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
