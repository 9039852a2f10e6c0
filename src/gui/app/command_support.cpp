#include "app/command_support.h"

#include "app/recent_files.h"
#include "dialogs/form_c_output.h"
#include "fontexport/resource_item.h"
#include "model/app_state.h"
#include "platform/c_names.h"
#include "platform/paths.h"
#include "qtplatform/file_io.h"

#include <algorithm>
#include <cctype>

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

bool CommandSupport::mayLeave(const std::vector<std::optional<UnsavedWork>>& pieces) {
    std::vector<UnsavedWork> work;
    for (const auto& piece : pieces)
        if (piece)
            work.push_back(*piece);
    if (work.empty())
        return true;
    std::string what;
    for (std::size_t i = 0; i < work.size(); ++i)
        what += (i == 0 ? "" : i + 1 == work.size() ? " and " : ", ") + work[i].what;
    what[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(what[0])));
    const bool several = work.size() > 1;
    const MessageButton answer = dialogs_.message(
        window_,
        {what + (several ? " have" : " has") + " unsaved changes.\r\nWould you like to save " +
             (several ? "them?" : "it?"),
         "Information", MessageIcon::Information, MessageButtons::SaveDiscardCancel, MessageButton::Cancel});
    if (answer == MessageButton::Discard)
        return true;
    if (answer != MessageButton::Save)
        return false;
    return std::all_of(work.begin(), work.end(), [](const UnsavedWork& one) { return one.save(); });
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
    if (!mayReplace(path))
        return std::nullopt;
    return path;
}

bool CommandSupport::mayReplace(const std::string& path) {
    if (!fileio::fileExists(path))
        return true;
    const MessageButton answer = dialogs_.message(
        window_, {"The file '" + path + "' already exist.\r\nDo you want to replace it?", "Information",
                  MessageIcon::Question, MessageButtons::YesNo, MessageButton::No});
    return answer == MessageButton::Yes;
}

std::optional<CommandSupport::CArrayOutput> CommandSupport::chooseCArray(const std::string& cPath,
                                                                         const std::string& symbol) {
    const std::string header = paths::removeExtension(cPath) + ".h";
    TFormCOutput form(symbol, paths::fileName(header), cHeader_, cBytes_, window_);
    if (!dialogs_.execDialog(form))
        return std::nullopt;
    cHeader_ = form.header();
    cBytes_ = form.bytes();
    CArrayOutput output{form.symbol(), {form.bytes(), {}}, {}};
    if (!cnames::isIdentifier(output.symbol)) {
        showInformation("'" + cnames::escaped(output.symbol) +
                        "' is no C identifier: give the array a name C accepts.");
        return std::nullopt;
    }
    if (form.header()) {
        if (!mayReplace(header))
            return std::nullopt;
        output.headerPath = header;
        output.style.header = fileio::includePath(cPath, header);
    }
    return output;
}

void CommandSupport::writeOutputs(const std::vector<fileio::OutputFile>& files) {
    showOutputsCreated(writeFiles(files));
}

std::vector<std::string> CommandSupport::writeFiles(const std::vector<fileio::OutputFile>& files) {
    if (files.size() == 1 && std::holds_alternative<std::string>(files.front().content))
        fileio::writeFileAtomic(files.front().path, std::get<std::string>(files.front().content));
    else if (files.size() == 1 && std::holds_alternative<std::vector<std::uint8_t>>(files.front().content))
        fileio::writeFileAtomic(files.front().path,
                                std::get<std::vector<std::uint8_t>>(files.front().content));
    else
        fileio::writeFilesAtomic(files);
    std::vector<std::string> paths;
    for (const fileio::OutputFile& file : files)
        paths.push_back(file.path);
    return paths;
}

void CommandSupport::showOutputsCreated(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths)
        text += path + "\r\n";
    showInformation(text + "Succesfully created.");
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
