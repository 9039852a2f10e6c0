#pragma once

#include <QImage>
#include <QWidget>

namespace tesselor {

// An image drawn at a whole-number zoom, nearest neighbour, only the part that shows. Ctrl and the wheel
// ask for another zoom around the pointer.
class ImageView : public QWidget {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    void setZoom(int zoom);
    int zoom() const { return zoom_; }
    QSize sizeHint() const override { return image_.size() * zoom_; }

signals:
    void zoomRequested(int steps, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QImage image_;
    int zoom_ = 1;
};

} // namespace tesselor
