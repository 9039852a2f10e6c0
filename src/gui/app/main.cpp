#include "app/form_tesselor.h"
#include "platform/qt_dialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    tesselor::QtDialogs dialogs;
    TFormTesselor window(dialogs);
    window.show();
    return QApplication::exec();
}
