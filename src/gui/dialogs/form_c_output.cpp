#include "dialogs/form_c_output.h"

#include "dialogs/problem_footer.h"
#include "platform/c_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormCOutput::TFormCOutput(const std::string& symbol, const std::string& headerName, bool header, bool bytes,
                           QWidget* parent)
    : QDialog(parent) {
    setObjectName("FormCOutput");
    setWindowTitle(tr("C Array"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    eSymbol = new QLineEdit(QString::fromStdString(symbol), this);
    eSymbol->setObjectName("eSymbol");
    eSymbol->setMinimumWidth(260);
    form->addRow(tr("Array name"), eSymbol);
    cbElement = new QComboBox(this);
    cbElement->setObjectName("cbElement");
    cbElement->addItem(tr("unsigned short, one per byte"));
    cbElement->addItem(tr("uint8_t"));
    cbElement->setCurrentIndex(bytes ? 1 : 0);
    form->addRow(tr("Elements"), cbElement);
    layout->addLayout(form);
    cbHeader =
        new QCheckBox(tr("Also write the header %1 beside it").arg(QString::fromStdString(headerName)), this);
    cbHeader->setObjectName("cbHeader");
    cbHeader->setChecked(header);
    layout->addWidget(cbHeader);
    const tesselor::ProblemFooter footer = tesselor::addProblemFooter(*this, *layout);
    lblProblem = footer.problem;
    buttons = footer.buttons;
    connect(eSymbol, &QLineEdit::textChanged, this, &TFormCOutput::checkSymbol);
    checkSymbol();
}

void TFormCOutput::checkSymbol() {
    const std::string name = symbol();
    const bool fits = tesselor::cnames::isIdentifier(name);
    tesselor::showProblem({lblProblem, buttons},
                          fits ? QString()
                               : tr("'%1' is no C identifier: a letter or _, then letters, digits and _.")
                                     .arg(QString::fromStdString(tesselor::cnames::escaped(name))));
}

std::string TFormCOutput::symbol() const {
    return eSymbol->text().toStdString();
}

bool TFormCOutput::header() const {
    return cbHeader->isChecked();
}

bool TFormCOutput::bytes() const {
    return cbElement->currentIndex() == 1;
}
