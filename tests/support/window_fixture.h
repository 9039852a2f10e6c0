#pragma once

#include "app/bitmap_page.h"
#include "app/form_tesselor.h"
#include "document/font_document.h"
#include "document/resources_document.h"
#include "editor/work_progress.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <memory>
#include <optional>
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
    // A window that keeps its settings in `settingsFile`, as after a restart; the folder stays.
    void restartWindow(const QString& settingsFile) {
        window.reset();
        dialogs = std::make_unique<ScriptedDialogs>();
        window = std::make_unique<TFormTesselor>(*dialogs, settingsFile);
    }
    void destroyWindow() {
        window.reset();
        dialogs.reset();
        dir.reset();
    }

    // Shows the window and waits until the platform has exposed it.
    bool showWindow() {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // Waits until the Bitmap page's worker has read or encoded what it was given.
    bool settled() {
        return QTest::qWaitFor([this] { return !window->tsBitmap->wpBitmap->isBusy(); }, 20000);
    }

    // Runs a command whose file dialog answers `answer`, to its end.
    void create(QAction* action, const std::optional<std::string>& answer) {
        dialogs->fileAnswers.push_back(answer);
        action->trigger();
        QVERIFY(settled());
    }

    tesselor::AppState& state() { return window->state(); }
    tesselor::FontDocument& fontDocument() { return window->fontDocument(); }
    const tesselor::FontModel& font() { return window->fontDocument().font(); }
    tesselor::ResourcesDocument& resources() { return window->resourcesDocument(); }
    // Unsaved work in a document, as any edit leaves it.
    void markFontModified() { fontDocument().undoStack()->push(new QUndoCommand("Edit")); }
    void markListModified() { resources().undoStack()->push(new QUndoCommand("Edit")); }
    // The title as the window manager shows it: "*" where Qt's placeholder stands while modified.
    QString shownTitle() const {
        QString title = window->windowTitle();
        if (title.endsWith("[*]"))
            title.chop(3);
        return title.replace("[*][*]", "[*]") + (window->isWindowModified() ? "*" : "");
    }
    std::string path(const std::string& name) const {
        return dir->filePath(QString::fromStdString(name)).toStdString();
    }
};
