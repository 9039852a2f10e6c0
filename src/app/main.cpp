#include "app/form_tesselor.h"
#include "command_line.h"
#include "platform/c_names.h"
#include "platform/qt_dialogs.h"

#include <QApplication>

#include <csignal>
#include <iostream>

int main(int argc, char* argv[]) {
    // A file size limit must end a write with an error, not end the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    // The command line is handled before any window exists, and needs no display.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (tesselor::cli::isCommandLine(arguments))
        return tesselor::cli::run(argc, argv);
    if (!arguments.empty() && !TFormTesselor::opensAtStart(arguments.front())) {
        std::cerr << "tesselor: cannot open '" << tesselor::cnames::echoed(arguments.front())
                  << "': the window opens .font and .res files and images (.bmp, .png, .jpg, .gif, ...)\n"
                  << tesselor::cli::usageHint({}) << "\n";
        return 2;
    }

    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::cerr
            << "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so the Tesselor window "
               "cannot open.\n";
        return 1;
    }

    QApplication application(argc, argv);
    // Lets the desktop match the window with the installed menu entry and icon.
    QGuiApplication::setDesktopFileName("tesselor");
    tesselor::QtDialogs dialogs;
    TFormTesselor window(dialogs, TFormTesselor::userSettingsFile());
    window.show();
    if (!arguments.empty())
        window.openAtStart(arguments.front());
    return QApplication::exec();
}
