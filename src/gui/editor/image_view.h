#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

namespace tesselor {

// What a view shows, made on demand a row at a time for the part that shows: a large picture is held
// once, by its owner, never again as a copy for the screen.
class Picture {
public:
    virtual ~Picture() = default;
    virtual QSize size() const = 0;
    virtual bool hasAlpha() const = 0;
    // Pixels x to x + count - 1 of row y, inside the picture, in straight ARGB.
    virtual void readRow(int x, int y, int count, QRgb* into) const = 0;

    // The pixels of an area inside the picture: ARGB32 with alpha, else RGB32.
    QImage pixels(const QRect& area) const;
};

// An image drawn at a whole-number zoom, nearest neighbour, only the part that shows. Ctrl and the wheel
// ask for another zoom around the pointer.
class ImageView : public QWidget {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent = nullptr);

    // None shows nothing.
    void setPicture(std::shared_ptr<const Picture> picture);
    // The whole picture drawn now (for a check or a copy; a view paints only what shows). Null for none.
    QImage image() const;
    void setZoom(int zoom);
    int zoom() const { return zoom_; }
    QSize sizeHint() const override;

signals:
    void zoomRequested(int steps, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    std::shared_ptr<const Picture> picture_;
    int zoom_ = 1;
};

} // namespace tesselor
