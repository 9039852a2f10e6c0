#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace tesselor {
class SpinControl;
}

// Asks for the first and last character code, their code page and the bits of grey before a font is
// imported. Created once, so the values the user leaves in it are offered again.
class TFormFontRange : public QDialog {
    Q_OBJECT
public:
    explicit TFormFontRange(QWidget* parent = nullptr);

    tesselor::SpinControl* seFromChar;
    tesselor::SpinControl* seToChar;
    QComboBox* cbCodePage;
    QComboBox* cbDepth; // disabled for a BDF font, which is 1-bit
    QPushButton* bRangeOK;
    QPushButton* bRangeCancel;
};
