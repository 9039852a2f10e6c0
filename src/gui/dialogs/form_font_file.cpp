#include "dialogs/form_font_file.h"

#include "editor/spin_control.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TFormFontFile::TFormFontFile(const tesselor::FontFileFace& face, int points, QWidget* parent)
    : QDialog(parent) {
    setObjectName("FormFontFile");
    setWindowTitle(tr("Import Font File"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    lblFace = new QLabel(face.collection ? tr("%1 (a collection of faces)").arg(face.family)
                                         : face.family + " " + face.style,
                         this);
    lblFace->setObjectName("lblFace");
    form->addRow(tr("Face"), lblFace);
    seSize = new tesselor::SpinControl(this);
    seSize->setObjectName("seSize");
    seSize->setRange(1, 1000);
    seSize->setValue(points);
    seSize->setSuffix(tr(" pt"));
    form->addRow(tr("Size"), seSize);
    layout->addLayout(form);

    auto* styles = new QGridLayout;
    auto check = [this, styles](const char* name, const QString& text, int row, int column) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(name);
        styles->addWidget(box, row, column);
        return box;
    };
    cbBold = check("cbBold", tr("Bold"), 0, 0);
    cbItalic = check("cbItalic", tr("Italic"), 0, 1);
    cbUnderline = check("cbUnderline", tr("Underline"), 1, 0);
    cbStrikeOut = check("cbStrikeOut", tr("Strike out"), 1, 1);
    cbBold->setChecked(face.bold);
    cbItalic->setChecked(face.italic);
    for (QCheckBox* box : {cbBold, cbItalic})
        box->setEnabled(face.collection);
    layout->addLayout(styles);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}
