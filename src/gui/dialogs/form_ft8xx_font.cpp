#include "dialogs/form_ft8xx_font.h"

#include "model/error.h"
#include "platform/c_names.h"

#include "dialogs/problem_footer.h"
#include <QCheckBox>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

using namespace tesselor;

namespace {
QSpinBox* spin(QWidget* parent, const char* name, int low, int high, int value) {
    auto* control = new QSpinBox(parent);
    control->setObjectName(name);
    control->setRange(low, high);
    control->setValue(value);
    return control;
}

// An address as typed: decimal, or hexadecimal after "0x".
std::optional<std::uint32_t> addressOf(const QString& text) {
    bool ok = false;
    const QString trimmed = text.trimmed();
    const qulonglong value = trimmed.startsWith("0x", Qt::CaseInsensitive)
                                 ? trimmed.mid(2).toULongLong(&ok, 16)
                                 : trimmed.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}
} // namespace

TFormFt8xxFont::TFormFt8xxFont(const FontModel& font, const std::string& key, const Ft8xxFontOptions& offered,
                               bool deflate, const std::string& symbol, const std::string& headerName,
                               QWidget* parent)
    : QDialog(parent), font_(font) {
    setObjectName("FormFt8xxFont");
    setWindowTitle(tr("FT8xx Font"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    cbFormat = new QComboBox(this);
    cbFormat->setObjectName("cbFormat");
    cbFormat->addItems({"L1", "L2", "L4", "L8"});
    cbFormat->setCurrentText(QString::fromStdString(offered.format));
    cbFormat->setToolTip(tr("L2 needs an FT81x or later"));
    form->addRow(tr("Format"), cbFormat);
    eAddress = new QLineEdit(QString::number(offered.address), this);
    eAddress->setObjectName("eAddress");
    eAddress->setToolTip(
        tr("Where the block is written in the controller's RAM: decimal, or hexadecimal after 0x"));
    form->addRow(tr("Address"), eAddress);
    const int last = std::min(font.lastCode(), kLastControllerCode);
    seFirst = spin(this, "seFirst", font.firstCode(), std::max(font.firstCode(), last),
                   offered.first.value_or(font.firstCode()));
    seLast =
        spin(this, "seLast", font.firstCode(), std::max(font.firstCode(), last), offered.last.value_or(last));
    auto* codes = new QHBoxLayout;
    codes->addWidget(seFirst);
    codes->addWidget(new QLabel(tr("to"), this));
    codes->addWidget(seLast);
    form->addRow(tr("Codes"), codes);
    const Advances advances = controllerAdvances(font, offered.spacing, offered.spaceWidth);
    seSpacing = spin(this, "seSpacing", 0, 255, advances.spacing);
    seSpaceWidth = spin(this, "seSpaceWidth", 0, 255, *advances.spaceWidth);
    form->addRow(tr("Spacing"), seSpacing);
    form->addRow(tr("Space width"), seSpaceWidth);
    eSymbol = new QLineEdit(QString::fromStdString(symbol), this);
    eSymbol->setObjectName("eSymbol");
    form->addRow(key == "resdata" ? tr("Item name")
                 : key == "c"     ? tr("Array name")
                                  : tr("Macros' name"),
                 eSymbol);
    layout->addLayout(form);
    cbDeflate = new QCheckBox(tr("One zlib stream, for CMD_INFLATE"), this);
    cbDeflate->setObjectName("cbDeflate");
    cbDeflate->setChecked(deflate);
    layout->addWidget(cbDeflate);
    cbHeader =
        new QCheckBox(tr("Also write the header %1 beside it").arg(QString::fromStdString(headerName)), this);
    cbHeader->setObjectName("cbHeader");
    cbHeader->setEnabled(key != "resdata");
    layout->addWidget(cbHeader);
    const ProblemFooter footer = addProblemFooter(*this, *layout);
    lblProblem = footer.problem;
    buttons = footer.buttons;
    connect(cbFormat, &QComboBox::currentTextChanged, this, &TFormFt8xxFont::check);
    for (QLineEdit* edit : {eAddress, eSymbol})
        connect(edit, &QLineEdit::textChanged, this, &TFormFt8xxFont::check);
    for (QSpinBox* value : {seFirst, seLast, seSpacing, seSpaceWidth})
        connect(value, &QSpinBox::valueChanged, this, &TFormFt8xxFont::check);
    check();
}

Ft8xxFontOptions TFormFt8xxFont::options() const {
    return {cbFormat->currentText().toStdString(),
            addressOf(eAddress->text()).value_or(0),
            seFirst->value(),
            seLast->value(),
            seSpacing->value(),
            seSpaceWidth->value()};
}

bool TFormFt8xxFont::deflate() const {
    return cbDeflate->isChecked();
}

bool TFormFt8xxFont::header() const {
    return cbHeader->isEnabled() && cbHeader->isChecked();
}

std::string TFormFt8xxFont::symbol() const {
    return eSymbol->text().toStdString();
}

// The writer itself says what does not fit, so the dialog and the command line refuse alike.
void TFormFt8xxFont::check() {
    QString problem;
    if (!addressOf(eAddress->text()))
        problem = tr("The address is no number: decimal, or hexadecimal after 0x.");
    else if (!cnames::isIdentifier(symbol()))
        problem = tr("'%1' is no C identifier.").arg(QString::fromStdString(cnames::escaped(symbol())));
    else {
        try {
            ft8xxFont(font_, options());
        } catch (const Error& error) {
            problem = QString::fromStdString(error.what()) + ".";
        }
    }
    showProblem({lblProblem, buttons}, problem);
}
