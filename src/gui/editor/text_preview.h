#pragma once

#include "fontexport/text_layout.h"
#include "model/pixel_image.h"
#include "platform/dialogs.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tesselor {

class FontDocument;

// A sample text drawn from the font in memory as the device lays it out, at 1x, 2x or 4x, in chosen ink
// and paper colours; characters outside the range are skipped and marked red. With the FT8xx layout the pen
// moves as the controller's width table says (each width plus the spacing, a character without ink the
// space width), so the preview shows what the controller will draw. It follows every change of the document.
class TextPreview : public QWidget {
    Q_OBJECT
public:
    TextPreview(const FontDocument& document, Dialogs& dialogs, QWidget* parent = nullptr);

    void refresh();
    const PixelImage& rendered() const { return rendered_; }
    // The layout shown: the device's widths, or the controller's advances.
    Advances advances() const;
    bool controllerLayout() const;
    // Shows the controller's layout with these values (the FT8xx export takes them from here).
    void showControllerLayout(int spacing, int spaceWidth);

    QLineEdit* eSampleText;
    QComboBox* cbPreviewScale;
    QPushButton* bInkColour;
    QPushButton* bPaperColour;
    QCheckBox* cbControllerLayout;
    QSpinBox* seSpacing;
    QSpinBox* seSpaceWidth;
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
