#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

// The options of a .c output, asked once its path was chosen: the array's name, a header beside the .c
// file, and the array's element type. OK takes only a name C and C++ accept.
class TFormCOutput : public QDialog {
    Q_OBJECT
public:
    // `headerName` is the file name of the header beside the .c file.
    TFormCOutput(const std::string& symbol, const std::string& headerName, bool header, bool bytes,
                 QWidget* parent = nullptr);

    std::string symbol() const;
    bool header() const;
    bool bytes() const;

    QLineEdit* eSymbol;
    QCheckBox* cbHeader;
    QComboBox* cbElement;
    QLabel* lblProblem;
    QDialogButtonBox* buttons;

private:
    void checkSymbol();
};
