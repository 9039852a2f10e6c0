#include "dialogs/form_library_font.h"

#include "model/error.h"
#include "platform/c_names.h"

#include "dialogs/problem_footer.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace tesselor;

namespace {
QSpinBox* spin(QWidget* parent, const char* name, int value) {
    auto* control = new QSpinBox(parent);
    control->setObjectName(name);
    control->setRange(0, 255);
    control->setValue(value);
    return control;
}
} // namespace

TFormLibraryFont::TFormLibraryFont(const FontModel& font, const FontOutput& row, const std::string& path,
                                   const FontOutputChoices& offered, QWidget* parent)
    : QDialog(parent), font_(font), row_(row), path_(path) {
    const bool lvgl = std::string(row.key) == "lvgl";
    setObjectName("FormLibraryFont");
    setWindowTitle(lvgl ? tr("LVGL Font") : tr("GFX Font"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    eSymbol = new QLineEdit(QString::fromStdString(offered.symbol), this);
    eSymbol->setObjectName("eSymbol");
    eSymbol->setToolTip(lvgl ? tr("The lv_font_t's name") : tr("The GFXfont's name, for setFont(&name)"));
    form->addRow(tr("Font name"), eSymbol);
    const Advances advances = controllerAdvances(font, offered.spacing, offered.spaceWidth);
    seSpacing = spin(this, "seSpacing", advances.spacing);
    seSpacing->setToolTip(tr("Pixels added to each character's width"));
    seSpaceWidth = spin(this, "seSpaceWidth", *advances.spaceWidth);
    seSpaceWidth->setToolTip(tr("The advance of a character without ink"));
    form->addRow(tr("Spacing"), seSpacing);
    form->addRow(tr("Space width"), seSpaceWidth);
    cbVersion = new QComboBox(this);
    cbVersion->setObjectName("cbVersion");
    cbVersion->addItems({"LVGL 9", "LVGL 8"});
    cbVersion->setCurrentIndex(offered.lvglVersion == 8 ? 1 : 0);
    if (lvgl)
        form->addRow(tr("For"), cbVersion);
    else
        cbVersion->hide();
    layout->addLayout(form);
    const ProblemFooter footer = addProblemFooter(*this, *layout);
    lblProblem = footer.problem;
    buttons = footer.buttons;
    connect(eSymbol, &QLineEdit::textChanged, this, &TFormLibraryFont::check);
    for (QSpinBox* value : {seSpacing, seSpaceWidth})
        connect(value, &QSpinBox::valueChanged, this, &TFormLibraryFont::check);
    check();
}

FontOutputChoices TFormLibraryFont::choices() const {
    FontOutputChoices chosen;
    chosen.symbol = eSymbol->text().toStdString();
    chosen.spacing = seSpacing->value();
    chosen.spaceWidth = seSpaceWidth->value();
    chosen.lvglVersion = cbVersion->currentIndex() == 1 ? 8 : 9;
    return chosen;
}

// The writer itself says what does not fit, so the dialog and the command line refuse alike.
void TFormLibraryFont::check() {
    QString problem;
    const FontOutputChoices chosen = choices();
    if (!cnames::isIdentifier(chosen.symbol))
        problem = tr("'%1' is no C identifier.").arg(QString::fromStdString(cnames::escaped(chosen.symbol)));
    else {
        try {
            row_.write(font_, path_, chosen);
        } catch (const Error& error) {
            problem = QString::fromStdString(error.what()) + ".";
        }
    }
    showProblem({lblProblem, buttons}, problem);
}
