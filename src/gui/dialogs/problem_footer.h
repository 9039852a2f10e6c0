#pragma once

#include <QString>

class QBoxLayout;
class QDialog;
class QDialogButtonBox;
class QLabel;

namespace tesselor {

// The foot of a dialog whose OK waits for choices it can take: a red line saying why not, then OK and
// Cancel, added to `layout`.
struct ProblemFooter {
    QLabel* problem;
    QDialogButtonBox* buttons;
};
ProblemFooter addProblemFooter(QDialog& dialog, QBoxLayout& layout);

// Says why the choices cannot be taken (empty: they can) and enables OK accordingly.
void showProblem(const ProblemFooter& footer, const QString& problem);

} // namespace tesselor
