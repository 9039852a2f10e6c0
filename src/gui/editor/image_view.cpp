#include "editor/image_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace tesselor {

QImage Picture::pixels(const QRect& area) const {
    QImage image(area.size(), hasAlpha() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        readRow(area.left(), area.top() + y, area.width(), reinterpret_cast<QRgb*>(image.scanLine(y)));
    return image;
}

ImageView::ImageView(QWidget* parent) : QWidget(parent) {}

void ImageView::setPicture(std::shared_ptr<const Picture> picture) {
    picture_ = std::move(picture);
    resize(sizeHint());
    update();
}

QImage ImageView::image() const {
    return picture_ ? picture_->pixels(QRect(QPoint(0, 0), picture_->size())) : QImage();
}

QSize ImageView::sizeHint() const {
    return picture_ ? picture_->size() * zoom_ : QSize(0, 0);
}

void ImageView::setZoom(int zoom) {
    zoom_ = std::max(zoom, 1);
    resize(sizeHint());
    update();
}

void ImageView::paintEvent(QPaintEvent* event) {
    if (!picture_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The source pixels under the exposed area, each drawn as a zoom x zoom square.
    const QRect area = event->rect();
    const QRect source(area.left() / zoom_, area.top() / zoom_, area.width() / zoom_ + 2,
                       area.height() / zoom_ + 2);
    const QRect clipped = source.intersected(QRect(QPoint(0, 0), picture_->size()));
    if (clipped.isEmpty())
        return;
    const QRect target(clipped.topLeft() * zoom_, clipped.size() * zoom_);
    // Transparent parts over the usual checkerboard of 8-pixel squares.
    if (picture_->hasAlpha()) {
        constexpr int kSquare = 8;
        const QRect board = target.intersected(area);
        for (int y = board.top() / kSquare * kSquare; y <= board.bottom(); y += kSquare)
            for (int x = board.left() / kSquare * kSquare; x <= board.right(); x += kSquare)
                painter.fillRect(QRect(x, y, kSquare, kSquare).intersected(target),
                                 (x / kSquare + y / kSquare) % 2 == 0 ? QColor(0xFF, 0xFF, 0xFF)
                                                                      : QColor(0xCC, 0xCC, 0xCC));
    }
    painter.drawImage(target, picture_->pixels(clipped));
}

void ImageView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    if (const int steps = event->angleDelta().y() / 120; steps != 0)
        emit zoomRequested(steps, event->position().toPoint());
    event->accept();
}

} // namespace tesselor
