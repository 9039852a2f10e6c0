#pragma once

#include "platform/c_array.h"
#include "platform/dialogs.h"
#include "qtplatform/file_io.h"

#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tesselor {

class RecentFiles;

// The steps every command shares: the questions, the messages, the save-path rule and the general error
// report.
class CommandSupport {
public:
    CommandSupport(Dialogs& dialogs, QWidget* window) : dialogs_(dialogs), window_(window) {}

    Dialogs& dialogs() { return dialogs_; }
    QWidget* window() { return window_; }

    // The general error report: the error's text, with "." added when it ends in a letter or digit.
    void reportError(const std::string& text);
    void showError(const std::string& text);
    void showInformation(const std::string& text);
    void showNotFound(const std::string& path);
    // True when a file exists at the path; otherwise shows "Not found." and returns false.
    bool fileFound(const std::string& path);
    void showNotCompatible(const std::string& path);
    void showCreated(const std::string& path);
    void showSaved(const std::string& path);

    // A resource item name must fit its length byte; otherwise says so and returns false.
    bool itemNameFits(const std::string& name);

    // Unsaved work a command would replace or close: what it is ("the font") and how to save it (true
    // once it was written).
    struct UnsavedWork {
        std::string what;
        std::function<bool()> save;
    };
    // The one question of every command that replaces or closes unsaved work, naming it: Save saves each
    // piece (Save As for one without a file) and goes on, unless one was not saved; Discard goes on without
    // saving; Cancel, the default and the answer to Escape, stops. True when the command may go on; nothing
    // is asked when no piece is there.
    bool mayLeave(const std::vector<std::optional<UnsavedWork>>& pieces);

    // The save dialog (proposing baseName + extension, or "*" + extension, starting in the folder of the
    // remembered path), then the default extension, then the replace question about the path that will be
    // written. Empty when the user cancelled or declined.
    std::optional<std::string> chooseSavePath(const std::string& title, const std::string& baseName,
                                              const std::string& extension, const std::string& filter,
                                              const std::string& remembered);
    // The replace question about an existing file; true when it may be written.
    bool mayReplace(const std::string& path);
    // The open dialog for "*" + extension, starting in the folder of the remembered path.
    std::optional<std::string> chooseOpenPath(const std::string& title, const std::string& extension,
                                              const std::string& filter, const std::string& remembered);
    // The open dialog for several files; none when cancelled.
    std::vector<std::string> chooseOpenPaths(const std::string& title, const std::string& extension,
                                             const std::string& filter, const std::string& remembered);
    // The open dialog, then the existence test with its message. Empty when there is nothing to open.
    std::optional<std::string> chooseExistingFile(const std::string& title, const std::string& extension,
                                                  const std::string& filter, const std::string& remembered);

    // The options of a .c output once its path was chosen (the array's name, a header beside it, uint8_t
    // elements), offered as last chosen; nothing when cancelled. The name is a C identifier, and a header
    // that exists was allowed to be replaced.
    struct CArrayOutput {
        std::string symbol;
        CArrayStyle style;
        std::string headerPath; // empty for none
    };
    std::optional<CArrayOutput> chooseCArray(const std::string& cPath, const std::string& symbol);
    // Writes an output's files, all of them or none, and says so.
    void writeOutputs(const std::vector<fileio::OutputFile>& files);
    // The two halves: the writing, which asks and shows nothing (a worker thread may do it), and the
    // message naming what was written.
    static std::vector<std::string> writeFiles(const std::vector<fileio::OutputFile>& files);
    void showOutputsCreated(const std::vector<std::string>& paths);

    // Runs a command body; an error it does not handle itself ends it through the general error report.
    template <typename Body> void run(Body&& body) {
        try {
            body();
        } catch (const std::bad_alloc&) {
            reportError("There is not enough memory for this command");
        } catch (const std::exception& error) {
            reportError(error.what());
        }
    }

    // True when a recent file chosen is still there; otherwise takes it off the list and says so.
    bool recentFileFound(RecentFiles& recent, const std::string& path);

    // The folder each dialog was last left in, by its title: where it starts when the command has no
    // path of its own yet (kept between runs by the window's settings).
    const std::map<std::string, std::string>& dialogFolders() const { return folders_; }
    void rememberFolder(const std::string& title, const std::string& folder);
    std::string lastFolder(const std::string& title) const;

private:
    std::string startFolder(const std::string& title, const std::string& remembered) const;

    Dialogs& dialogs_;
    QWidget* window_;
    std::map<std::string, std::string> folders_;
    // The .c options last chosen.
    bool cHeader_ = false;
    bool cBytes_ = false;
};

std::string withFinalStop(const std::string& text);
// "File '<path>'" and "Not found." / "Not compatible." on the next line.
std::string notFoundText(const std::string& path);
std::string notCompatibleText(const std::string& path);

} // namespace tesselor
