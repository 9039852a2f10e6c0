#include "platform/qt_dialogs.h"

#include "dialogs/form_font_range.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QStringList>

namespace tesselor {

QString qtFilterFrom(const std::string& filter, int filterIndex, QString* selected) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList descriptions;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // Qt reads the patterns from the parentheses; add them when the description has none.
        if (!description.contains('('))
            description += " (" + parts[i + 1] + ")";
        descriptions << description;
    }
    if (selected && filterIndex >= 1 && filterIndex <= descriptions.size())
        *selected = descriptions[filterIndex - 1];
    return descriptions.join(";;");
}

namespace {

enum class FileMode { Open, OpenSeveral, Save };

std::vector<std::string> runFileDialog(QWidget* parent, const FileDialogRequest& request, FileMode mode) {
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(mode == FileMode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(mode == FileMode::Save          ? QFileDialog::AnyFile
                       : mode == FileMode::OpenSeveral ? QFileDialog::ExistingFiles
                                                       : QFileDialog::ExistingFile);
    QString selected;
    dialog.setNameFilter(qtFilterFrom(request.filter, request.filterIndex, &selected));
    if (!selected.isEmpty())
        dialog.selectNameFilter(selected);
    if (!request.initialFolder.empty())
        dialog.setDirectory(QString::fromStdString(request.initialFolder));
    // "*.font" is a pattern, not a name to propose.
    if (!request.initialName.empty() && request.initialName.front() != '*')
        dialog.selectFile(QString::fromStdString(request.initialName));
    std::vector<std::string> files;
    if (dialog.exec() == QDialog::Accepted)
        for (const QString& file : dialog.selectedFiles())
            files.push_back(file.toStdString());
    return files;
}

std::optional<std::string> first(const std::vector<std::string>& files) {
    return files.empty() ? std::nullopt : std::optional(files.front());
}

} // namespace

std::optional<std::string> QtDialogs::openFile(QWidget* parent, const FileDialogRequest& request) {
    return first(runFileDialog(parent, request, FileMode::Open));
}

std::optional<std::string> QtDialogs::saveFile(QWidget* parent, const FileDialogRequest& request) {
    return first(runFileDialog(parent, request, FileMode::Save));
}

std::vector<std::string> QtDialogs::openFiles(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, FileMode::OpenSeveral);
}

std::optional<std::string> QtDialogs::selectFolder(QWidget* parent, const std::string& caption,
                                                   const std::string& initialFolder) {
    const QString folder = QFileDialog::getExistingDirectory(parent, QString::fromStdString(caption),
                                                             QString::fromStdString(initialFolder));
    if (folder.isEmpty())
        return std::nullopt;
    return folder.toStdString();
}

std::optional<QFont> QtDialogs::chooseFont(QWidget* parent, const QFont& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

bool QtDialogs::execRangeDialog(TFormFontRange& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QColor> QtDialogs::chooseColour(QWidget* parent, const QColor& initial,
                                              const std::string& title) {
    const QColor chosen = QColorDialog::getColor(initial, parent, QString::fromStdString(title));
    return chosen.isValid() ? std::optional(chosen) : std::nullopt;
}

void QtDialogs::execModal(QDialog& dialog) {
    dialog.exec();
}

bool QtDialogs::execDialog(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

MessageButton QtDialogs::message(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromStdString(request.title));
    box.setText(QString::fromStdString(request.text).replace("\r\n", "\n"));
    switch (request.icon) {
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (request.buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageButton::Ok;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(request.defaultButton == MessageButton::No ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageButton::Yes : MessageButton::No;
    case MessageButtons::SaveDiscardCancel:
        // Escape and the close button keep the work: they answer Cancel.
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(request.defaultButton == MessageButton::Save ? QMessageBox::Save
                                                                          : QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Save:
            return MessageButton::Save;
        case QMessageBox::Discard:
            return MessageButton::Discard;
        default:
            return MessageButton::Cancel;
        }
    }
    return MessageButton::Cancel;
}

} // namespace tesselor
