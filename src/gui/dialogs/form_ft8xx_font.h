#pragma once

#include "fontexport/ft8xx_font.h"
#include "model/font_model.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The choices of the FT8xx controller's font: the glyphs' format, the address the block is written to, the
// codes stored, the spacing and space width of the width table, a zlib stream, a header beside a .bin or
// .c, and the array or item name. OK waits for choices the font can be written with, and says why not.
class TFormFt8xxFont : public QDialog {
    Q_OBJECT
public:
    // `key` is the output's: "bin", "c" or "resdata".
    TFormFt8xxFont(const tesselor::FontModel& font, const std::string& key,
                   const tesselor::Ft8xxFontOptions& offered, bool deflate, const std::string& symbol,
                   const std::string& headerName, QWidget* parent = nullptr);

    tesselor::Ft8xxFontOptions options() const;
    bool deflate() const;
    bool header() const;
    std::string symbol() const;

    QComboBox* cbFormat;
    QLineEdit* eAddress;
    QSpinBox* seFirst;
    QSpinBox* seLast;
    QSpinBox* seSpacing;
    QSpinBox* seSpaceWidth;
    QCheckBox* cbDeflate;
    QCheckBox* cbHeader;
    QLineEdit* eSymbol;
    QLabel* lblProblem;
    QDialogButtonBox* buttons;

private:
    void check();

    const tesselor::FontModel& font_;
};
