#pragma once

#include <QDialog>

class QPushButton;

namespace tesselor {
class SpinControl;
}

// Asks for the first and last character code before a system font is imported. Created once, so the
// values the user leaves in it are offered again.
class TFormFontRange : public QDialog {
    Q_OBJECT
public:
    explicit TFormFontRange(QWidget* parent = nullptr);

    tesselor::SpinControl* seFromChar;
    tesselor::SpinControl* seToChar;
    QPushButton* bRangeOK;
    QPushButton* bRangeCancel;
};
