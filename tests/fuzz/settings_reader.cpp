// The settings file the window reads at its start: any bytes give a window inside the screen on one of its
// pages, with at most the recent files a list keeps; the window writes its settings back when it closes.
#include "app/form_tesselor.h"
#include "fuzz_files.h"
#include "fuzz_input.h"
#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QScreen>
#include <QTabWidget>

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Never destroyed: Qt cannot end after main has returned. What fontconfig holds for it is no leak.
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    static const auto folder = fuzzing::freshFolder("settings");
    const auto file = folder / "tesselor.ini";
    fuzzing::writeFile(file, fuzzing::text(data, size));
    tesselor::QtDialogs dialogs;
    {
        TFormTesselor window(dialogs, QString::fromStdString(file.string()));
        const QRect screen = application->primaryScreen()->availableGeometry();
        FUZZ_CHECK(window.width() <= std::max(screen.width(), window.minimumWidth()));
        FUZZ_CHECK(window.height() <= std::max(screen.height(), window.minimumHeight()));
        const auto* pages = window.findChild<QTabWidget*>();
        FUZZ_CHECK(pages && pages->currentIndex() >= 0 && pages->currentIndex() < pages->count());
    }
    return 0;
}
