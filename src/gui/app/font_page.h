#pragma once

#include "app/command_support.h"
#include "model/app_state.h"

#include <QFont>
#include <QWidget>
#include <string>

class QAction;
class QFrame;
class QMenu;
class QPushButton;
class QScrollArea;
class TFormFontRange;
class TFormViewChar;

namespace tesselor {

enum class Direction;
class FontGrid;
class GridFrame;
class ImageDecoder;
struct ImportedFont;
class SpinControl;
class StatusPanels;

// The Font page (tsFont): the editor controls, the grid, the transform buttons, its two menus and their
// command handlers.
class FontPage : public QWidget {
    Q_OBJECT
public:
    FontPage(AppState& state, CommandSupport& commands, ImageDecoder& decoder, QWidget* parent = nullptr);

    // Set by the main window once the small windows exist.
    void setPreview(TFormViewChar* preview) { preview_ = preview; }
    void setRangeDialog(TFormFontRange* rangeDialog) { rangeDialog_ = rangeDialog; }
    // The font the font dialog offers next: the last one chosen in this run.
    const QFont& importFont() const { return importFont_; }

    // Opens a .font file as Open Graphic Font does after its dialog.
    void openFontFile(const std::string& path);

    // The sequences the font loaders run.
    void ShowFontInEditor(const std::string& rangeLabel);
    void HideFontEditor();
    void ShowCharWidth();
    void RecomputeCharWidth();
    void redrawGrid();
    bool editorShown() const { return editorShown_; }

    // Controls.
    QFrame* pViewFont;
    SpinControl* seGridSize;
    SpinControl* seCharCode;
    SpinControl* seCharWidth;
    QScrollArea* gridScroll;
    QWidget* gridHolder;
    GridFrame* sFont;
    FontGrid* dgridFont;
    QFrame* pShiftMove;
    QPushButton* bShiftUp;
    QPushButton* bShiftLeft;
    QPushButton* bShiftRight;
    QPushButton* bShiftDown;
    QPushButton* bMoveUp;
    QPushButton* bMoveLeft;
    QPushButton* bMoveRight;
    QPushButton* bMoveDown;
    QPushButton* bRemoveColumn;
    QPushButton* bAddColumn;
    QPushButton* bRemoveRow;
    QPushButton* bAddRow;
    QPushButton* bHorizontalMirror;
    QPushButton* bVerticalMirror;
    QPushButton* bInvert;
    StatusPanels* sbFont;

    // Menus.
    QMenu* FontMenuFile;
    QAction* FontMenuFile_ImportSystemFont;
    QAction* FontMenuFile_ImportBmpChar;
    QAction* FontMenuFile_OpenGraphicFont;
    QAction* FontMenuFile_SaveGraphicFont;
    QAction* FontMenuFile_CreateFileC;
    QAction* FontMenuFile_CreateFileResdata;
    QAction* FontMenuFile_CreateFileLcd;
    QAction* FontMenuFile_Exit;
    QMenu* FontMenuEdit;
    QAction* FontMenuEdit_RemoveLeftBlank;
    QAction* FontMenuEdit_AutomaticCharWidth;
    QAction* FontMenuEdit_Restore;
    QAction* FontMenuEdit_Cut;
    QAction* FontMenuEdit_Copy;
    QAction* FontMenuEdit_Paste;
    QAction* FontMenuEdit_ViewChar;

    // The fifteen transform buttons, in panel order.
    QList<QPushButton*> transformButtons() const;

signals:
    void captionChanged();
    void exitRequested();

public slots:
    void FontMenuFile_ImportSystemFontClick();
    void FontMenuFile_ImportBmpCharClick();
    void FontMenuFile_OpenGraphicFontClick();
    void FontMenuFile_SaveGraphicFontClick();
    void FontMenuFile_CreateFileCClick();
    void FontMenuFile_CreateFileResdataClick();
    void FontMenuFile_CreateFileLcdClick();
    void FontMenuEdit_RemoveLeftBlankClick();
    void FontMenuEdit_AutomaticCharWidthClick();
    void FontMenuEdit_RestoreClick();
    void FontMenuEdit_CutClick();
    void FontMenuEdit_CopyClick();
    void FontMenuEdit_PasteClick();
    void FontMenuEdit_ViewCharClick();

    void bShiftUpClick();
    void bShiftLeftClick();
    void bShiftRightClick();
    void bShiftDownClick();
    void bMoveUpClick();
    void bMoveLeftClick();
    void bMoveRightClick();
    void bMoveDownClick();
    void bRemoveColumnClick();
    void bAddColumnClick();
    void bRemoveRowClick();
    void bAddRowClick();
    void bHorizontalMirrorClick();
    void bVerticalMirrorClick();
    void bInvertClick();

    void seGridSizeChange(int value);
    void seCharCodeChange(int value);
    void seCharWidthChange(int value);
    void dgridFontMouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                            QPoint cell);
    void dgridFontMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell);
    void dgridFontMouseUp();
    void dgridFontKeyDown(int key);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void createMenus();
    void layOutGrid();
    void setFontPageTitle(const std::string& title);
    void paintCell(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell);
    // Shows a width in the width control. A stored width outside the control's limits is shown clamped
    // but not stored back: showing a character never changes it.
    void showWidthInControl(int width);
    void refreshEditorLayout(const std::string& rangeLabel, int widest);
    void setEditorEnabled(bool enabled);
    // Puts a finished import into the state and shows it.
    void commitImportedFont(ImportedFont& imported, const std::string& rangeLabel);
    void shiftCurrent(Direction direction);
    void moveAll(Direction direction);
    void afterShift(Direction direction);
    // After a change of the cell size: the grid, its frame and panel 1 follow.
    void cellSizeChanged();

    AppState& state_;
    CommandSupport& commands_;
    ImageDecoder& decoder_;
    TFormViewChar* preview_ = nullptr;
    TFormFontRange* rangeDialog_ = nullptr;
    QFont importFont_;
    bool editorShown_ = false;
};

} // namespace tesselor
