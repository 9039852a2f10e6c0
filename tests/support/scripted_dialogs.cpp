#include "scripted_dialogs.h"

#include "dialogs/form_font_range.h"
#include "editor/spin_control.h"

#include <QDialog>

using namespace tesselor;

std::optional<std::string> ScriptedDialogs::nextFile(const char* kind, const FileDialogRequest& request) {
    fileCalls.push_back({kind, request});
    if (fileAnswers.empty()) {
        unexpected.push_back(std::string(kind) + " dialog: " + request.title);
        return std::nullopt;
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::openFile(QWidget*, const FileDialogRequest& request) {
    return nextFile("open", request);
}

std::optional<std::string> ScriptedDialogs::saveFile(QWidget*, const FileDialogRequest& request) {
    return nextFile("save", request);
}

std::vector<std::string> ScriptedDialogs::openFiles(QWidget*, const FileDialogRequest& request) {
    if (filesAnswers.empty()) {
        const auto one = nextFile("open", request);
        return one ? std::vector<std::string>{*one} : std::vector<std::string>{};
    }
    fileCalls.push_back({"open", request});
    auto answer = filesAnswers.front();
    filesAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::selectFolder(QWidget*, const std::string& caption,
                                                         const std::string& initialFolder) {
    FileDialogRequest request;
    request.title = caption;
    request.initialFolder = initialFolder;
    return nextFile("folder", request);
}

std::optional<QFont> ScriptedDialogs::chooseFont(QWidget*, const QFont& initial) {
    fontOffers.push_back(initial);
    if (fontAnswers.empty()) {
        unexpected.push_back("font dialog");
        return std::nullopt;
    }
    auto answer = fontAnswers.front();
    fontAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::execRangeDialog(TFormFontRange& dialog) {
    ++rangeDialogs;
    if (rangeAnswers.empty())
        return true;
    const auto answer = rangeAnswers.front();
    rangeAnswers.pop_front();
    if (!answer)
        return false;
    dialog.seFromChar->setValue(answer->first);
    dialog.seToChar->setValue(answer->second);
    return true;
}

std::optional<QColor> ScriptedDialogs::chooseColour(QWidget*, const QColor&, const std::string&) {
    if (colourAnswers.empty()) {
        unexpected.push_back("colour");
        return std::nullopt;
    }
    const auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

void ScriptedDialogs::execModal(QDialog& dialog) {
    modals.push_back(dialog.objectName().toStdString());
}

bool ScriptedDialogs::execDialog(QDialog& dialog) {
    dialogsShown.push_back(dialog.objectName().toStdString());
    if (dialogAnswers.empty())
        return true;
    const auto answer = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
    return answer(dialog);
}

MessageButton ScriptedDialogs::message(QWidget*, const MessageRequest& request) {
    messages.push_back(request);
    if (request.buttons == MessageButtons::Ok)
        return MessageButton::Ok;
    if (questionAnswers.empty()) {
        unexpected.push_back("question: " + request.text);
        return request.defaultButton;
    }
    const MessageButton answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::allAnswered() const {
    return unexpected.empty() && fileAnswers.empty() && filesAnswers.empty() && questionAnswers.empty() &&
           fontAnswers.empty() && rangeAnswers.empty() && colourAnswers.empty() && dialogAnswers.empty();
}

void ScriptedDialogs::clearRecords() {
    fileCalls.clear();
    messages.clear();
    fontOffers.clear();
    modals.clear();
    dialogsShown.clear();
    rangeDialogs = 0;
    unexpected.clear();
}

#include "gui_support.h"

#include <QFile>

namespace testsupport {

std::string writeFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write test file %s", qPrintable(path));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path.toStdString();
}

std::string readFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    const QByteArray data = file.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

} // namespace testsupport
