#pragma once

#include "app/form_tesselor.h"
#include "scripted_dialogs.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

// A main window answered by scripted dialogs, and a folder of its own, made anew for every test function.
class WindowFixture {
protected:
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<TFormTesselor> window;
    std::unique_ptr<QTemporaryDir> dir;

    void createWindow() {
        dialogs = std::make_unique<ScriptedDialogs>();
        window = std::make_unique<TFormTesselor>(*dialogs);
        dir = std::make_unique<QTemporaryDir>();
    }
    void destroyWindow() {
        window.reset();
        dialogs.reset();
        dir.reset();
    }

    tesselor::AppState& state() { return window->state(); }
    std::string path(const std::string& name) const {
        return dir->filePath(QString::fromStdString(name)).toStdString();
    }
};
