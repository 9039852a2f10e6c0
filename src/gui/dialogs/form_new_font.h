#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QDialogButtonBox;

namespace tesselor {
class SpinControl;
}

// Asks for the cell and the range of a new blank font. Created once, so the values the user leaves in it
// are offered again.
class TFormNewFont : public QDialog {
    Q_OBJECT
public:
    explicit TFormNewFont(QWidget* parent = nullptr);

    std::string codePage() const;

    tesselor::SpinControl* seWidth;
    tesselor::SpinControl* seHeight;
    tesselor::SpinControl* seFromChar;
    tesselor::SpinControl* seToChar;
    QComboBox* cbCodePage;
    QComboBox* cbDepth;
    QDialogButtonBox* buttons;
};
