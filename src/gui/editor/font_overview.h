#pragma once

#include <QImage>
#include <QWidget>

#include <vector>

namespace tesselor {

class FontDocument;

// Every character of the range at 1:1 (2:1 for cells up to 16 pixels high) with its code under it,
// wrapped to the widget's width; the current one framed. It follows the document's changes; a click
// selects a character.
class FontOverview : public QWidget {
    Q_OBJECT
public:
    explicit FontOverview(const FontDocument& document, QWidget* parent = nullptr);

    // Draws every character anew (a new font, a new cell), or one character that changed.
    void refresh();
    void refreshCharacter(int code);
    int scale() const { return scale_; }
    // Where a character is drawn, its code below; empty outside the range.
    QRect cellRect(int code) const;

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    void codeClicked(int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QSize pitch() const;
    int columns(int width) const;

    const FontDocument& document_;
    int scale_ = 1;
    std::vector<QImage> glyphs_; // of the codes of the range, in order
};

} // namespace tesselor
