#pragma once

#include "app/command_support.h"
#include "document/resources_document.h"
#include "model/app_state.h"

#include <QWidget>

#include <optional>

class QAction;
class QUndoStack;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace tesselor {

class RecentFiles;
class StatusPanels;

// The Resources File page (tsResourcesFile): the list of items, its declarations and its File menu. It
// edits a ResourcesDocument and shows the list as the document announces it.
class ResourcesPage : public QWidget {
    Q_OBJECT
public:
    ResourcesPage(AppState& state, ResourcesDocument& document, CommandSupport& commands,
                  QWidget* parent = nullptr);

    // Column 0 takes what columns 1 to 3 leave of the grid's width, less `margin` pixels.
    void fitNameColumn(int margin);

    ResourcesDocument& document() { return document_; }
    // The page's title, as the window shows it.
    QString caption() const;

    // Opens a .res file as Open File.res does after its dialog.
    void openResFile(const std::string& path);
    // Save: to the list's own file, or through Save As when it has none. True once the file was written.
    bool saveList();
    bool saveListAs();
    // The list as unsaved work for the question before it is replaced or the window closes; nothing when
    // it has no unsaved changes.
    std::optional<CommandSupport::UnsavedWork> unsavedWork();
    // The same after the unsaved-changes question: for a file dropped or chosen from Recent Files.
    void openResFileAsking(const std::string& path);
    // Imports .resdata files in order as Import Resdata File does after its dialog. One file keeps the
    // command's own messages; the refusals of several come together in one message, and the items taken
    // are one undo step.
    void importResdataFiles(const std::vector<std::string>& paths);

    // Rebuilds the rows of the grid and the declarations from the list.
    void RefreshResourceView();
    // The declarations exactly as copied, CR LF included (the text box shows them with its own line ends).
    const std::string& declarations() const { return declarations_; }

    QPushButton* bImportResdataFile;
    QPushButton* bRemoveResdataFile;
    QTableWidget* sgResources;
    QPlainTextEdit* mResources;
    StatusPanels* sbResources;
    QMenu* PopupMenu;
    QAction* PopupMenu_CopyDeclarations;

    QMenu* ResourcesMenuFile;
    QAction* ResourcesMenuFile_New;
    QAction* ResourcesMenuFile_Open;
    QAction* ResourcesMenuFile_Save;
    QAction* ResourcesMenuFile_SaveAs;
    QAction* ResourcesMenuFile_SaveHeader;
    QAction* ResourcesMenuFile_Exit;
    RecentFiles* ResourcesMenuFile_Recent;
    QMenu* ResourcesMenuEdit;
    QAction* ResourcesMenuEdit_Undo;
    QAction* ResourcesMenuEdit_Redo;
    QAction* ResourcesMenuEdit_Remove;

    // Import and Remove, step by step; its clean state is the saved list.
    QUndoStack* undoStack() const;

signals:
    void captionChanged();
    void exitRequested();

public slots:
    void bImportResdataFileClick();
    void bRemoveResdataFileClick();
    void ResourcesMenuFile_NewClick();
    void ResourcesMenuFile_OpenClick();
    void ResourcesMenuFile_SaveClick();
    void ResourcesMenuFile_SaveAsClick();
    void ResourcesMenuFile_SaveHeaderClick();
    void PopupMenu_CopyDeclarationsClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showList(int row);
    bool mayReplaceList();
    void setListCommandsEnabled(bool enabled);
    // The grid with its header and one empty row, nothing selected, disabled.
    void clearView();
    // Why the item at `path` cannot come into the list; an empty text when it can (then `bytes` holds it).
    struct Refusal {
        std::string text;
        bool duplicate = false;
    };
    Refusal importRefusal(const std::string& path, std::string& bytes);
    void importResdataFile(const std::string& path);
    // Appends an item to the list as one undo step.
    void addItem(std::string bytes);

    AppState& state_;
    ResourcesDocument& document_;
    CommandSupport& commands_;
    std::string declarations_;
};

} // namespace tesselor
