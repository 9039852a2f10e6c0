#pragma once

#include <QDialog>

class QComboBox;

// Bits of ink a pixel for a font: a combo box of 1 (black and white), 2, 4 and 8 bits of grey, for the
// dialogs that make a font.
QComboBox* depthChoice(QWidget* parent);
int chosenDepth(const QComboBox* choice);

// Asks at how many bits of grey character files that hold greys are kept.
class TFormDepth : public QDialog {
    Q_OBJECT
public:
    explicit TFormDepth(QWidget* parent = nullptr);

    QComboBox* cbDepth;
};
