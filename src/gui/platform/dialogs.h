#pragma once

#include <QColor>
#include <QFont>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QWidget;
class TFormFontRange;

namespace tesselor {

enum class MessageIcon { Information, Question, Error };
enum class MessageButtons { Ok, YesNo, SaveDiscardCancel };
enum class MessageButton { Ok, Yes, No, Save, Discard, Cancel };

struct MessageRequest {
    std::string text; // exact, with CR LF between lines
    std::string title;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    MessageButton defaultButton = MessageButton::Ok;
};

struct FileDialogRequest {
    std::string title;
    std::string initialName;
    std::string filter;  // "Description|pattern|Description|pattern"
    int filterIndex = 1; // 1 = the first pair
    std::string initialFolder;
};

// Every modal interaction of the program goes through here, so tests can answer from a script.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual std::optional<std::string> openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // An open dialog that takes several files; none when it was cancelled.
    virtual std::vector<std::string> openFiles(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> selectFolder(QWidget* parent, const std::string& caption,
                                                    const std::string& initialFolder) = 0;
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
    // Shows the range dialog modally; false when it was cancelled.
    virtual bool execRangeDialog(TFormFontRange& dialog) = 0;
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial,
                                               const std::string& title) = 0;
    // Shows a window of ours modally until it closes (the about box).
    virtual void execModal(QDialog& dialog) = 0;
    // Shows a dialog of ours that asks for values (a new font's size, a .c file's options); true when it
    // was accepted, its values then read from its controls.
    virtual bool execDialog(QDialog& dialog) = 0;
    virtual MessageButton message(QWidget* parent, const MessageRequest& request) = 0;
};

} // namespace tesselor
