#pragma once

#include "app/command_support.h"
#include "editing/undo_data.h"
#include "model/app_state.h"
#include "undo/font_steps.h"

#include <QFont>
#include <QWidget>
#include <optional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QUndoStack;
class TFormFontRange;
class TFormViewChar;

namespace tesselor {

enum class Direction;
enum class Refusal;
class CodeSpinControl;
class RecentFiles;
class FontGrid;
class FontOverview;
class GridFrame;
class ImageDecoder;
struct ImportedFont;
class SpinControl;
class StatusPanels;
class TextPreview;

// The Font page (tsFont): the editor controls, the grid, the transform buttons, the overview of the font
// and the text preview, its two menus and their command handlers. The file commands are in
// font_page.cpp, the editor's in font_page_edit.cpp.
class FontPage : public QWidget, private FontStepTarget {
    Q_OBJECT
public:
    FontPage(AppState& state, CommandSupport& commands, ImageDecoder& decoder, QWidget* parent = nullptr);

    // Set by the main window once the small windows exist.
    void setPreview(TFormViewChar* preview) { preview_ = preview; }
    void setRangeDialog(TFormFontRange* rangeDialog) { rangeDialog_ = rangeDialog; }
    // The font the font dialog offers next: the last one chosen in this run.
    const QFont& importFont() const { return importFont_; }
    // The font the font dialog offers next (kept between runs by the window's settings).
    void setImportFont(const QFont& font) { importFont_ = font; }

    // Opens a .font file as Open Graphic Font does after its dialog.
    void openFontFile(const std::string& path);

    // The sequences the font loaders run.
    void ShowFontInEditor(const std::string& rangeLabel);
    void HideFontEditor();
    void ShowCharWidth();
    void RecomputeCharWidth();
    void redrawGrid();
    bool editorShown() const { return editorShown_; }
    // The grid zoom a font opens at: 12, or the zoom the user last worked at, as the window's settings
    // keep it between runs (zoomToRemember).
    void setLoadedZoom(int zoom);
    int zoomToRemember() const;

    // Every change to the font, step by step; its clean state is the saved font.
    QUndoStack* undoStack() const { return undoStack_; }

    // Controls.
    QFrame* pViewFont;
    SpinControl* seGridSize;
    CodeSpinControl* seCharCode;
    QLabel* imgCurrentChar; // the current character beside its code
    SpinControl* seCharWidth;
    QScrollArea* gridScroll;
    QWidget* gridHolder;
    GridFrame* sFont;
    FontGrid* dgridFont;
    FontOverview* overview;
    TextPreview* textPreview;
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
    QAction* FontMenuFile_ImportFontFile;
    QAction* FontMenuFile_ImportBdfFont;
    QAction* FontMenuFile_ImportBmpChar;
    QAction* FontMenuFile_OpenGraphicFont;
    QAction* FontMenuFile_SaveGraphicFont;
    QAction* FontMenuFile_CreateFileC;
    QAction* FontMenuFile_CreateFileResdata;
    QAction* FontMenuFile_CreateFileLcd;
    QAction* FontMenuFile_CreateFileBdf;
    QAction* FontMenuFile_Exit;
    RecentFiles* FontMenuFile_Recent;
    QMenu* FontMenuEdit;
    QAction* FontMenuEdit_Undo;
    QAction* FontMenuEdit_Redo;
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
    void FontMenuFile_ImportFontFileClick();
    void FontMenuFile_ImportBdfFontClick();
    void FontMenuFile_ImportBmpCharClick();
    // Open Graphic Font and Import Bmp Char without their dialogs, after the unsaved-changes question:
    // for a file or folder dropped on the window or chosen from Recent Files.
    void openFontFileAsking(const std::string& path);
    void importBmpCharsFromAsking(const std::string& folder);
    void FontMenuFile_OpenGraphicFontClick();
    void FontMenuFile_SaveGraphicFontClick();
    void FontMenuFile_CreateFileCClick();
    void FontMenuFile_CreateFileResdataClick();
    void FontMenuFile_CreateFileLcdClick();
    void FontMenuFile_CreateFileBdfClick();
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
    // Ctrl and the wheel over the grid: one zoom step, the cell under the pointer kept under it.
    void dgridFontZoom(int steps, QPoint position);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void importBmpCharsFrom(const std::string& folder);
    void createControls();
    void createMenus();
    void createTransformShortcuts();
    void layOutGrid();
    void setFontPageTitle(const std::string& title);
    void paintCell(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell);
    // Shows a width in the width control. A stored width outside the control's limits is shown clamped
    // but not stored back: showing a character never changes it.
    void showWidthInControl(int width);
    void refreshEditorLayout(const std::string& rangeLabel, int widest);
    void setEditorEnabled(bool enabled);
    // Puts a finished import into the state, shows it and makes it a step of the history.
    // Import System Font from the font dialog on: the range, the code page, the rasteriser.
    void importThroughFontDialog(const QFont& offered);
    // An information box listing codes after its text; nothing for no codes.
    void listCodes(const std::string& what, const std::vector<int>& codes);
    void commitImportedFont(ImportedFont& imported, const std::string& rangeLabel, const std::string& title,
                            const std::string& baseName);
    void shiftCurrent(Direction direction, const QString& name);
    void moveAll(Direction direction, const QString& name);
    void cellSize(const QString& name, bool grow, bool column);
    void mirror(const QString& name, bool horizontal);
    // Runs an edit command that rewrites the current character and makes it a step.
    template <typename Command> void characterStep(const QString& name, Command command, bool runAgain);
    // Tells the status bar why a transform did nothing.
    void refused(const QString& name, Refusal refusal);
    // The views that follow the font: the current glyph, the preview window, the overview, the text.
    void refreshViews(Scope scope);
    FontStepTarget::Shown shown() const;

    // FontStepTarget
    void fontChanged(int code, Scope scope) override;
    void fontReplaced(const Shown& shown) override;

    AppState& state_;
    CommandSupport& commands_;
    ImageDecoder& decoder_;
    TFormViewChar* preview_ = nullptr;
    TFormFontRange* rangeDialog_ = nullptr;
    QFont importFont_;
    int loadedZoom_ = 12;
    bool editorShown_ = false;
    std::string rangeLabel_;
    QUndoStack* undoStack_;
    // The stroke under way: the pixels it changed and the width it started with.
    std::optional<PixelChanges> stroke_;
    int strokeWidth_ = 0;
};

} // namespace tesselor
