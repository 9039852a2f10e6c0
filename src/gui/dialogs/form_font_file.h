#pragma once

#include "qtplatform/qt_rasteriser.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;

namespace tesselor {
class SpinControl;
}

// Import Font File's choices for the face a file holds: its size, and bold and italic only where the file
// is a collection of faces (a file of one face is drawn as it is). Underline and strike-out as the font
// dialog offers them.
class TFormFontFile : public QDialog {
    Q_OBJECT
public:
    TFormFontFile(const tesselor::FontFileFace& face, int points, QWidget* parent = nullptr);

    QLabel* lblFace;
    tesselor::SpinControl* seSize;
    QCheckBox* cbBold;
    QCheckBox* cbItalic;
    QCheckBox* cbUnderline;
    QCheckBox* cbStrikeOut;
    QDialogButtonBox* buttons;
};
