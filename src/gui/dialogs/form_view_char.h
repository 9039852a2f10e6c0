#pragma once

#include "model/pixel_image.h"

#include <QWidget>

class QLabel;

// Shows the current character at one screen pixel per character pixel; never keeps the focus.
class TFormViewChar : public QWidget {
    Q_OBJECT
public:
    explicit TFormViewChar(QWidget* focusOwner, QWidget* parent = nullptr);

    void showCharacter(const tesselor::PixelImage& character, int width, int height);
    // Shows the window beside the main window's right edge, within the screen.
    void showBeside(QWidget* window);
    const tesselor::PixelImage& shownImage() const { return image_; }

    QLabel* ImageChar;

protected:
    bool event(QEvent* event) override;

private:
    QWidget* focusOwner_;
    tesselor::PixelImage image_;
};
