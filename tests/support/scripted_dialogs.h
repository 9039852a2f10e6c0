#pragma once

#include "platform/dialogs.h"

#include <QFont>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Answers the program's dialogs from queues and records every request, for tests.
class ScriptedDialogs : public tesselor::Dialogs {
public:
    struct FileCall {
        std::string kind; // "open", "save" or "folder"
        tesselor::FileDialogRequest request;
    };

    // Answers, consumed in order. A question or dialog without an answer is recorded in `unexpected`.
    std::deque<std::optional<std::string>> fileAnswers;
    // For a dialog of several files; without one, the next file answer stands for one file.
    std::deque<std::vector<std::string>> filesAnswers;
    std::deque<tesselor::MessageButton> questionAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<std::optional<std::pair<int, int>>> rangeAnswers; // nothing: cancelled
    std::deque<std::optional<QColor>> colourAnswers;
    // Fills in a dialog of ours and says whether it is accepted. A dialog without an answer is accepted
    // as it stands.
    std::deque<std::function<bool(QDialog&)>> dialogAnswers;

    // What the program asked and showed.
    std::vector<FileCall> fileCalls;
    std::vector<tesselor::MessageRequest> messages;
    std::vector<QFont> fontOffers;
    std::vector<std::string> modals;
    std::vector<std::string> dialogsShown; // the object names of the dialogs of ours asked
    int rangeDialogs = 0;
    std::vector<std::string> unexpected;

    std::optional<std::string> openFile(QWidget*, const tesselor::FileDialogRequest& request) override;
    std::optional<std::string> saveFile(QWidget*, const tesselor::FileDialogRequest& request) override;
    std::vector<std::string> openFiles(QWidget*, const tesselor::FileDialogRequest& request) override;
    std::optional<std::string> selectFolder(QWidget*, const std::string& caption,
                                            const std::string& initialFolder) override;
    std::optional<QFont> chooseFont(QWidget*, const QFont& initial) override;
    bool execRangeDialog(TFormFontRange& dialog) override;
    std::optional<QColor> chooseColour(QWidget*, const QColor& initial, const std::string& title) override;
    void execModal(QDialog& dialog) override;
    bool execDialog(QDialog& dialog) override;
    tesselor::MessageButton message(QWidget*, const tesselor::MessageRequest& request) override;

    // The last message shown, or an empty request.
    tesselor::MessageRequest lastMessage() const {
        return messages.empty() ? tesselor::MessageRequest{} : messages.back();
    }
    // True when every scripted answer was used and nothing unexpected was asked.
    bool allAnswered() const;
    void clearRecords();

private:
    std::optional<std::string> nextFile(const char* kind, const tesselor::FileDialogRequest& request);
};
