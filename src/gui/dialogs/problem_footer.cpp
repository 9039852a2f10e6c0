#include "dialogs/problem_footer.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

namespace tesselor {

ProblemFooter addProblemFooter(QDialog& dialog, QBoxLayout& layout) {
    auto* problem = new QLabel(&dialog);
    problem->setObjectName("lblProblem");
    problem->setWordWrap(true);
    problem->setStyleSheet("color: #b00000");
    layout.addWidget(problem);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout.addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return {problem, buttons};
}

void showProblem(const ProblemFooter& footer, const QString& problem) {
    footer.problem->setText(problem);
    footer.buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

} // namespace tesselor
