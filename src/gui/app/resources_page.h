#pragma once

#include "app/command_support.h"
#include "model/app_state.h"

#include <QWidget>

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace tesselor {

// The Resources File page (tsResourcesFile): the list of items, its declarations and its File menu.
class ResourcesPage : public QWidget {
    Q_OBJECT
public:
    ResourcesPage(AppState& state, CommandSupport& commands, QWidget* parent = nullptr);

    // Column 0 takes what columns 1 to 3 leave of the grid's width, less `margin` pixels.
    void fitNameColumn(int margin);

    // Opens a .res file as Open File.res does after its dialog.
    void openResFile(const std::string& path);

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

private:
    void setListCommandsEnabled(bool enabled);
    // The grid with its header and one empty row, nothing selected, disabled.
    void clearView();
    void setResourcesPageTitle(const std::string& title);

    AppState& state_;
    CommandSupport& commands_;
    std::string declarations_;
};

} // namespace tesselor
