#include "dialogs/form_font_range.h"

#include "editor/spin_control.h"
#include "qtplatform/code_pages.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using tesselor::SpinControl;

TFormFontRange::TFormFontRange(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("FormFontRange");
    setWindowTitle("Font Range");
    setFixedSize(345, 140);

    auto* fromLabel = new QLabel("From Char", this);
    fromLabel->setGeometry(16, 12, 80, 20);
    seFromChar = new SpinControl(this);
    seFromChar->setObjectName("seFromChar");
    seFromChar->setGeometry(16, 34, 80, 26);
    seFromChar->setMinimum(32);
    seFromChar->setMaximum(255);
    seFromChar->setValue(seFromChar->minimum());

    auto* toLabel = new QLabel("To Char", this);
    toLabel->setGeometry(120, 12, 80, 20);
    seToChar = new SpinControl(this);
    seToChar->setObjectName("seToChar");
    seToChar->setGeometry(120, 34, 80, 26);
    seToChar->setMinimum(32);
    seToChar->setMaximum(255);
    seToChar->setValue(127);
    seToChar->setRepeatInterval(500);

    auto* pageLabel = new QLabel("Code Page", this);
    pageLabel->setGeometry(16, 70, 100, 20);
    cbCodePage = new QComboBox(this);
    cbCodePage->setObjectName("cbCodePage");
    cbCodePage->setGeometry(16, 92, 184, 26);
    for (const std::string& name : tesselor::codePageNames())
        cbCodePage->addItem(QString::fromStdString(name));
    cbCodePage->setCurrentText(QString::fromStdString(tesselor::kDefaultCodePage));

    bRangeOK = new QPushButton("OK", this);
    bRangeOK->setObjectName("bRangeOK");
    bRangeOK->setGeometry(240, 12, 80, 28);
    bRangeOK->setDefault(true);
    connect(bRangeOK, &QPushButton::clicked, this, &QDialog::accept);
    // Cancel, Escape and the close button end the import with nothing changed.
    bRangeCancel = new QPushButton("Cancel", this);
    bRangeCancel->setObjectName("bRangeCancel");
    bRangeCancel->setGeometry(240, 48, 80, 28);
    connect(bRangeCancel, &QPushButton::clicked, this, &QDialog::reject);
}
