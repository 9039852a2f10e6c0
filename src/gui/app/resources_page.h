#pragma once

#include "app/command_support.h"
#include "model/app_state.h"
#include "undo/resource_steps.h"

#include <QWidget>

class QAction;
class QUndoStack;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace tesselor {

class RecentFiles;

// The Resources File page (tsResourcesFile): the list of items, its declarations and its File menu.
class ResourcesPage : public QWidget, private ResourceStepTarget {
    Q_OBJECT
public:
    ResourcesPage(AppState& state, CommandSupport& commands, QWidget* parent = nullptr);

    // Column 0 takes what columns 1 to 3 leave of the grid's width, less `margin` pixels.
    void fitNameColumn(int margin);

    // Opens a .res file as Open File.res does after its dialog.
    void openResFile(const std::string& path);
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
    QMenu* PopupMenu;
    QAction* PopupMenu_CopyDeclarations;

    QMenu* ResourcesMenuFile;
    QAction* ResourcesMenuFile_New;
    QAction* ResourcesMenuFile_Open;
    QAction* ResourcesMenuFile_Save;
    QAction* ResourcesMenuFile_SaveHeader;
    QAction* ResourcesMenuFile_Exit;
    RecentFiles* ResourcesMenuFile_Recent;
    QMenu* ResourcesMenuEdit;
    QAction* ResourcesMenuEdit_Undo;
    QAction* ResourcesMenuEdit_Redo;

    // Import and Remove, step by step; its clean state is the saved list.
    QUndoStack* undoStack() const { return undoStack_; }

signals:
    void captionChanged();
    void exitRequested();

public slots:
    void bImportResdataFileClick();
    void bRemoveResdataFileClick();
    void ResourcesMenuFile_NewClick();
    void ResourcesMenuFile_OpenClick();
    void ResourcesMenuFile_SaveClick();
    void ResourcesMenuFile_SaveHeaderClick();
    void PopupMenu_CopyDeclarationsClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void listChanged(int row) override;
    void setListCommandsEnabled(bool enabled);
    // The grid with its header and one empty row, nothing selected, disabled.
    void clearView();
    void setResourcesPageTitle(const std::string& title);
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
    CommandSupport& commands_;
    std::string declarations_;
    QUndoStack* undoStack_;
};

} // namespace tesselor
