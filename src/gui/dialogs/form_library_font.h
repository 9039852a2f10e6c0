#pragma once

#include "model/font_model.h"
#include "qtplatform/font_outputs.h"

#include <QDialog>

#include <string>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The choices of a graphics library's font (Adafruit GFX or LVGL): the font's name in C, the spacing and
// space width of its advances and, for LVGL, the library's version. OK waits for choices the font can be
// written with, and says why not.
class TFormLibraryFont : public QDialog {
    Q_OBJECT
public:
    TFormLibraryFont(const tesselor::FontModel& font, const tesselor::FontOutput& row,
                     const std::string& path, const tesselor::FontOutputChoices& offered,
                     QWidget* parent = nullptr);

    tesselor::FontOutputChoices choices() const;

    QLineEdit* eSymbol;
    QSpinBox* seSpacing;
    QSpinBox* seSpaceWidth;
    QComboBox* cbVersion; // LVGL only
    QLabel* lblProblem;
    QDialogButtonBox* buttons;

private:
    void check();

    const tesselor::FontModel& font_;
    const tesselor::FontOutput& row_;
    std::string path_;
};
