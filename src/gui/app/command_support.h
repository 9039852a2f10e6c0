#pragma once

#include "platform/dialogs.h"

#include <exception>
#include <optional>
#include <string>

class QWidget;

namespace tesselor {

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

    // The unsaved-changes question; true when the command may go on.
    bool mayDiscardChanges(bool modified);

    // The save dialog (proposing baseName + extension, or "*" + extension, starting in the folder of the
    // remembered path), then the default extension, then the replace question about the path that will be
    // written. Empty when the user cancelled or declined.
    std::optional<std::string> chooseSavePath(const std::string& title, const std::string& baseName,
                                              const std::string& extension, const std::string& filter,
                                              const std::string& remembered);
    // The open dialog for "*" + extension, starting in the folder of the remembered path.
    std::optional<std::string> chooseOpenPath(const std::string& title, const std::string& extension,
                                              const std::string& filter, const std::string& remembered);
    // The open dialog, then the existence test with its message. Empty when there is nothing to open.
    std::optional<std::string> chooseExistingFile(const std::string& title, const std::string& extension,
                                                  const std::string& filter, const std::string& remembered);

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

private:
    Dialogs& dialogs_;
    QWidget* window_;
};

std::string withFinalStop(const std::string& text);

} // namespace tesselor
