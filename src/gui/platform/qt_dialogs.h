#pragma once

#include "platform/dialogs.h"

#include <QString>

namespace tesselor {

// "Text (*.x)|*.x|All files (*.*)|*.*" in Qt's form: "Text (*.x);;All files (*.*)".
QString qtFilterFrom(const std::string& filter, int filterIndex, QString* selected);

class QtDialogs : public Dialogs {
public:
    std::optional<std::string> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::vector<std::string> openFiles(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<std::string> selectFolder(QWidget* parent, const std::string& caption,
                                            const std::string& initialFolder) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    bool execRangeDialog(TFormFontRange& dialog) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial,
                                       const std::string& title) override;
    void execModal(QDialog& dialog) override;
    bool execDialog(QDialog& dialog) override;
    MessageButton message(QWidget* parent, const MessageRequest& request) override;
};

} // namespace tesselor
