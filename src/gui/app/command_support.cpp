#include "app/command_support.h"

#include "fontexport/resource_item.h"
#include "model/app_state.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace tesselor {

std::string withFinalStop(const std::string& text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        return text + ".";
    return text;
}

void CommandSupport::reportError(const std::string& text) {
    dialogs_.message(
        window_, {withFinalStop(text), kAppTitle, MessageIcon::Error, MessageButtons::Ok, MessageButton::Ok});
}

void CommandSupport::showError(const std::string& text) {
    dialogs_.message(window_, {text, "Error", MessageIcon::Error, MessageButtons::Ok, MessageButton::Ok});
}

void CommandSupport::showInformation(const std::string& text) {
    dialogs_.message(window_,
                     {text, "Information", MessageIcon::Information, MessageButtons::Ok, MessageButton::Ok});
}

void CommandSupport::showNotFound(const std::string& path) {
    showError("File '" + path + "'\r\nNot found.");
}

void CommandSupport::showNotCompatible(const std::string& path) {
    showError("File '" + path + "'\r\nNot compatible.");
}

void CommandSupport::showCreated(const std::string& path) {
    showInformation(path + "\r\nSuccesfully created.");
}

void CommandSupport::showSaved(const std::string& path) {
    showInformation(path + "\r\nSuccesfully saved.");
}

bool CommandSupport::itemNameFits(const std::string& name) {
    if (name.size() <= kMaxItemName)
        return true;
    showInformation("The resource name '" + name + "' is " + std::to_string(name.size()) +
                    " bytes long.\r\nA resource name has at most 255 bytes: choose a shorter file name.");
    return false;
}

bool CommandSupport::mayDiscardChanges(bool modified) {
    if (!modified)
        return true;
    const MessageButton answer =
        dialogs_.message(window_, {"The file has been modified.\r\nWould you like to save it?", "Information",
                                   MessageIcon::Information, MessageButtons::YesNo, MessageButton::Yes});
    return answer == MessageButton::No;
}

std::optional<std::string> CommandSupport::chooseSavePath(const FileDialogRequest& request,
                                                          const std::string& extension) {
    const auto chosen = dialogs_.saveFile(window_, request);
    if (!chosen)
        return std::nullopt;
    std::string path = paths::withDefaultExtension(*chosen, extension);
    if (fileio::fileExists(path)) {
        const MessageButton answer = dialogs_.message(
            window_, {"The file '" + path + "' already exist.\r\nDo you want to replace it?", "Information",
                      MessageIcon::Question, MessageButtons::YesNo, MessageButton::No});
        if (answer != MessageButton::Yes)
            return std::nullopt;
    }
    return path;
}

std::optional<std::string> CommandSupport::chooseExistingFile(const FileDialogRequest& request) {
    const auto chosen = dialogs_.openFile(window_, request);
    if (!chosen)
        return std::nullopt;
    if (!fileio::fileExists(*chosen)) {
        showNotFound(*chosen);
        return std::nullopt;
    }
    return chosen;
}

} // namespace tesselor
