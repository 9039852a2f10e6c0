#include "dialogs/form_new_font.h"

#include "dialogs/form_depth.h"
#include "editor/spin_control.h"
#include "model/code_page.h"
#include "qtplatform/code_pages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using tesselor::SpinControl;

namespace {
SpinControl* spin(QWidget* parent, const char* name, int low, int high, int value) {
    auto* control = new SpinControl(parent);
    control->setObjectName(name);
    control->setRange(low, high);
    control->setValue(value);
    return control;
}

QHBoxLayout* pair(QWidget* first, const QString& between, QWidget* second) {
    auto* row = new QHBoxLayout;
    row->addWidget(first);
    row->addWidget(new QLabel(between));
    row->addWidget(second);
    row->addStretch(1);
    return row;
}
} // namespace

TFormNewFont::TFormNewFont(QWidget* parent) : QDialog(parent) {
    setObjectName("FormNewFont");
    setWindowTitle(tr("New Font"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    // The largest cell a .font file may have is 512 x 512.
    seWidth = spin(this, "seWidth", 1, 512, 8);
    seHeight = spin(this, "seHeight", 1, 512, 16);
    form->addRow(tr("Cell (pixels)"), pair(seWidth, tr("wide, high"), seHeight));
    seFromChar = spin(this, "seFromChar", 0, 255, 32);
    seToChar = spin(this, "seToChar", 0, 255, 127);
    form->addRow(tr("Char codes"), pair(seFromChar, tr("to"), seToChar));
    cbCodePage = new QComboBox(this);
    cbCodePage->setObjectName("cbCodePage");
    for (const std::string& name : tesselor::codePageNames())
        cbCodePage->addItem(QString::fromStdString(name));
    cbCodePage->setCurrentText(QString::fromStdString(tesselor::kDefaultCodePage));
    form->addRow(tr("Code page"), cbCodePage);
    cbDepth = depthChoice(this);
    form->addRow(tr("Depth"), cbDepth);
    layout->addLayout(form);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The range never runs backwards.
    connect(seFromChar, &QSpinBox::valueChanged, this, [this](int from) {
        if (seToChar->value() < from)
            seToChar->setValue(from);
    });
    connect(seToChar, &QSpinBox::valueChanged, this, [this](int to) {
        if (seFromChar->value() > to)
            seFromChar->setValue(to);
    });
}

std::string TFormNewFont::codePage() const {
    return cbCodePage->currentText().toStdString();
}
