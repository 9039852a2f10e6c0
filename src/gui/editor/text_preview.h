#pragma once

#include "model/pixel_image.h"
#include "platform/dialogs.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tesselor {

class FontDocument;

// A sample text drawn from the font in memory as the device lays it out, at 1x, 2x or 4x, in chosen ink
// and paper colours; characters outside the range are skipped and marked red. It follows every change of
// the document.
class TextPreview : public QWidget {
    Q_OBJECT
public:
    TextPreview(const FontDocument& document, Dialogs& dialogs, QWidget* parent = nullptr);

    void refresh();
    const PixelImage& rendered() const { return rendered_; }

    QLineEdit* eSampleText;
    QComboBox* cbPreviewScale;
    QPushButton* bInkColour;
    QPushButton* bPaperColour;
    QLabel* imgTextPreview;

private:
    void chooseColour(Colour& colour, const char* title);

    const FontDocument& document_;
    Dialogs& dialogs_;
    Colour ink_ = kBlack;
    Colour paper_ = kWhite;
    PixelImage rendered_;
};

} // namespace tesselor
