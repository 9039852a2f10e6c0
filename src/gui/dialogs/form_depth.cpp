#include "dialogs/form_depth.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

QComboBox* depthChoice(QWidget* parent) {
    auto* choice = new QComboBox(parent);
    choice->setObjectName("cbDepth");
    choice->addItem(QObject::tr("1 bit, black and white"), 1);
    for (const int depth : {2, 4, 8})
        choice->addItem(QObject::tr("%1 bits of grey").arg(depth), depth);
    return choice;
}

int chosenDepth(const QComboBox* choice) {
    return choice->currentData().toInt();
}

TFormDepth::TFormDepth(QWidget* parent) : QDialog(parent) {
    setObjectName("FormDepth");
    setWindowTitle(tr("Import Bmp Char"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("The character files hold greys. Keep them at:"), this));
    cbDepth = depthChoice(this);
    cbDepth->setCurrentIndex(2);
    layout->addWidget(cbDepth);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}
