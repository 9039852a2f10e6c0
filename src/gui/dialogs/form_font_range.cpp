#include "dialogs/form_font_range.h"

#include "dialogs/form_depth.h"
#include "editor/spin_control.h"
#include "qtplatform/code_pages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using tesselor::SpinControl;

TFormFontRange::TFormFontRange(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("FormFontRange");
    setWindowTitle("Font Range");

    auto labelled = [this](const char* caption, QWidget* control) {
        control->setMinimumWidth(80);
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(caption, this));
        column->addWidget(control);
        return column;
    };
    seFromChar = new SpinControl(this);
    seFromChar->setObjectName("seFromChar");
    seFromChar->setMinimum(32);
    seFromChar->setMaximum(255);
    seFromChar->setValue(seFromChar->minimum());
    seToChar = new SpinControl(this);
    seToChar->setObjectName("seToChar");
    seToChar->setMinimum(32);
    seToChar->setMaximum(255);
    seToChar->setValue(127);
    seToChar->setRepeatInterval(500);
    cbCodePage = new QComboBox(this);
    cbCodePage->setObjectName("cbCodePage");
    for (const std::string& name : tesselor::codePageNames())
        cbCodePage->addItem(QString::fromStdString(name));
    cbCodePage->setCurrentText(QString::fromStdString(tesselor::kDefaultCodePage));

    // Cancel, Escape and the close button end the import with nothing changed.
    bRangeOK = new QPushButton("OK", this);
    bRangeOK->setObjectName("bRangeOK");
    bRangeOK->setDefault(true);
    bRangeCancel = new QPushButton("Cancel", this);
    bRangeCancel->setObjectName("bRangeCancel");
    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    buttons->addButton(bRangeOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(bRangeCancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* codes = new QHBoxLayout;
    codes->addLayout(labelled("From Char", seFromChar));
    codes->addLayout(labelled("To Char", seToChar));
    cbDepth = depthChoice(this);
    auto* fields = new QVBoxLayout;
    fields->addLayout(codes);
    fields->addLayout(labelled("Code Page", cbCodePage));
    fields->addLayout(labelled("Depth", cbDepth));
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(24);
    layout->addWidget(buttons, 0, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
