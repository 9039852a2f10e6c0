#pragma once

#include "model/pixel_image.h"

#include <QPoint>
#include <QWidget>

namespace tesselor {

class FontDocument;

// The zoomed pixel grid of the current character (dgridFont). It draws the document's current character,
// follows its changes, and reports the mouse and the keys; the font page decides what they do.
class FontGrid : public QWidget {
    Q_OBJECT
public:
    FontGrid(const FontDocument& document, QWidget* parent = nullptr);

    // Lays the grid out for the cell size and the zoom: every cell zoom x zoom, 1-pixel lines between.
    void layOut(int columns, int rows, int zoom);
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int zoom() const { return zoom_; }

    // The cell under a point of the widget, or (-1, -1).
    QPoint cellAt(QPoint position) const;
    // The cell a point falls in, counted on beyond the grid's edges (a drag leaves the grid and comes
    // back): the mouse signals report it.
    QPoint cellUnder(QPointF position) const;
    // The square of a cell in widget coordinates.
    QRect cellRect(int column, int row) const;
    // The colour a cell shows: white inside the character's width is tinted.
    Colour cellColour(int column, int row) const;

signals:
    void mouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                   QPoint cell);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell);
    void mouseUp();
    // The pointer left the grid.
    void left();
    void keyDown(int key);
    // Ctrl and the wheel: zoom steps (positive: larger) around a point of the widget.
    void zoomRequested(int steps, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const FontDocument& document_;
    int columns_ = 0;
    int rows_ = 0;
    int zoom_ = 5;
};

// The silver outline one pixel outside the grid (sFont).
class GridFrame : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tesselor
