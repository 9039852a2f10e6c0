#include "app/command_support.h"

#include "app/recent_files.h"
#include "fontexport/resource_item.h"
#include "model/app_state.h"
#include "platform/paths.h"
#include "qtplatform/file_io.h"

namespace tesselor {

std::string withFinalStop(const std::string& text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        return text + ".";
    return text;
}

std::string notFoundText(const std::string& path) {
    return "File '" + path + "'\r\nNot found.";
}

std::string notCompatibleText(const std::string& path) {
    return "File '" + path + "'\r\nNot compatible.";
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
    showError(notFoundText(path));
}

void CommandSupport::showNotCompatible(const std::string& path) {
    showError(notCompatibleText(path));
}

void CommandSupport::showCreated(const std::string& path) {
    showInformation(path + "\r\nSuccesfully created.");
}

void CommandSupport::showSaved(const std::string& path) {
    showInformation(path + "\r\nSuccesfully saved.");
}

bool CommandSupport::fileFound(const std::string& path) {
    if (fileio::fileExists(path))
        return true;
    showNotFound(path);
    return false;
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

bool CommandSupport::mayClose(bool fontModified, bool resourcesModified) {
    if (!fontModified && !resourcesModified)
        return true;
    const std::string what = fontModified && resourcesModified ? "The font and the resource list have"
                             : fontModified                    ? "The font has"
                                                               : "The resource list has";
    const MessageButton answer = dialogs_.message(
        window_, {what + " unsaved changes.\r\nWould you like to save " +
                      (fontModified && resourcesModified ? "them?" : "it?"),
                  "Information", MessageIcon::Information, MessageButtons::YesNo, MessageButton::Yes});
    return answer == MessageButton::No;
}

bool CommandSupport::recentFileFound(RecentFiles& recent, const std::string& path) {
    if (fileio::fileExists(path))
        return true;
    recent.remove(path);
    showInformation(notFoundText(path) + "\r\nIt was taken off the recent files.");
    return false;
}

void CommandSupport::rememberFolder(const std::string& title, const std::string& folder) {
    if (!folder.empty())
        folders_[title] = folder;
}

std::string CommandSupport::lastFolder(const std::string& title) const {
    const auto found = folders_.find(title);
    return found == folders_.end() ? std::string() : found->second;
}

std::string CommandSupport::startFolder(const std::string& title, const std::string& remembered) const {
    return remembered.empty() ? lastFolder(title) : paths::folder(remembered);
}

std::optional<std::string> CommandSupport::chooseSavePath(const std::string& title,
                                                          const std::string& baseName,
                                                          const std::string& extension,
                                                          const std::string& filter,
                                                          const std::string& remembered) {
    const auto chosen = dialogs_.saveFile(window_, {title, paths::defaultFileName(baseName, extension),
                                                    filter, 1, startFolder(title, remembered)});
    if (!chosen)
        return std::nullopt;
    rememberFolder(title, paths::folder(*chosen));
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

std::optional<std::string> CommandSupport::chooseOpenPath(const std::string& title,
                                                          const std::string& extension,
                                                          const std::string& filter,
                                                          const std::string& remembered) {
    const auto chosen =
        dialogs_.openFile(window_, {title, "*" + extension, filter, 1, startFolder(title, remembered)});
    if (chosen)
        rememberFolder(title, paths::folder(*chosen));
    return chosen;
}

std::vector<std::string> CommandSupport::chooseOpenPaths(const std::string& title,
                                                         const std::string& extension,
                                                         const std::string& filter,
                                                         const std::string& remembered) {
    const std::vector<std::string> chosen =
        dialogs_.openFiles(window_, {title, "*" + extension, filter, 1, startFolder(title, remembered)});
    if (!chosen.empty())
        rememberFolder(title, paths::folder(chosen.front()));
    return chosen;
}

std::optional<std::string> CommandSupport::chooseExistingFile(const std::string& title,
                                                              const std::string& extension,
                                                              const std::string& filter,
                                                              const std::string& remembered) {
    const auto chosen = chooseOpenPath(title, extension, filter, remembered);
    if (!chosen || !fileFound(*chosen))
        return std::nullopt;
    return chosen;
}

} // namespace tesselor
