#pragma once

#include "app/command_support.h"
#include "document/font_document.h"
#include "editing/undo_data.h"
#include "fontexport/lvgl_font.h"
#include "model/app_state.h"

#include <QFont>
#include <QPoint>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QUndoStack;
class TFormFontRange;
class TFormNewFont;
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
struct FontOutput;
struct ImportedFont;
class SpinControl;
class StatusPanels;
class TextPreview;

// The Font page (tsFont): the editor controls, the grid, the transform buttons, the overview of the font
// and the text preview, its two menus and their command handlers. It edits a FontDocument and follows
// the document's announcements. The file commands are in font_page.cpp, the editor's in
// font_page_edit.cpp.
class FontPage : public QWidget {
    Q_OBJECT
public:
    FontPage(AppState& state, FontDocument& document, CommandSupport& commands, ImageDecoder& decoder,
             QWidget* parent = nullptr);

    // Set by the main window once the small windows exist.
    void setPreview(TFormViewChar* preview) { preview_ = preview; }
    void setRangeDialog(TFormFontRange* rangeDialog) { rangeDialog_ = rangeDialog; }
    // The font the font dialog offers next: the last one chosen in this run.
    const QFont& importFont() const { return importFont_; }
    // The font the font dialog offers next (kept between runs by the window's settings).
    void setImportFont(const QFont& font) { importFont_ = font; }

    FontDocument& document() { return document_; }
    // Every change to the font, step by step; its clean state is the saved font.
    QUndoStack* undoStack() const;
    // The page's title, as the window shows it.
    QString caption() const;

    // Opens a .font file as Open Graphic Font does after its dialog.
    void openFontFile(const std::string& path);
    // Save: to the font's own file, or through Save As when it has none. True once the font was written.
    bool saveFont();
    // Save As: the dialog, then the file. True once the font was written.
    bool saveFontAs();
    // The font as unsaved work for the question before it is replaced or the window closes; nothing
    // when it has no unsaved changes.
    std::optional<CommandSupport::UnsavedWork> unsavedWork();

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

    // Controls.
    QFrame* pViewFont;
    SpinControl* seGridSize;
    CodeSpinControl* seCharCode;
    QLabel* imgCurrentChar; // the current character beside its code
    SpinControl* seCharWidth;
    SpinControl* seBaseline; // the row the characters stand on
    QLabel* lblInkLevel;
    SpinControl* seInkLevel; // the level the left button paints, shown for a font of grey levels
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
    QAction* FontMenuFile_New;
    QAction* FontMenuFile_ImportSystemFont;
    QAction* FontMenuFile_ImportFontFile;
    QAction* FontMenuFile_ImportBdfFont;
    QAction* FontMenuFile_ImportBmpChar;
    QAction* FontMenuFile_OpenGraphicFont;
    QAction* FontMenuFile_SaveGraphicFont;
    QAction* FontMenuFile_SaveGraphicFontAs;
    QAction* FontMenuFile_CreateFileC;
    QAction* FontMenuFile_CreateFileResdata;
    QAction* FontMenuFile_CreateFileLcd;
    QAction* FontMenuFile_CreateFileBdf;
    QAction* FontMenuFile_CreateFileFt8xx;
    std::vector<QAction*> libraryFontActions_; // Create File for GFX Font, for LVGL Font
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

    // The status panels: the widest width, the height, the range, the cell under the pointer, notes.
    static constexpr int kCellPanel = 3;
    static constexpr int kNotePanel = 4;

signals:
    void captionChanged();
    void exitRequested();

public slots:
    void FontMenuFile_NewClick();
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
    void FontMenuFile_SaveGraphicFontAsClick();
    void FontMenuFile_CreateFileCClick();
    void FontMenuFile_CreateFileResdataClick();
    void FontMenuFile_CreateFileLcdClick();
    void FontMenuFile_CreateFileBdfClick();
    void FontMenuFile_CreateFileFt8xxClick();
    void createLibraryFont(const FontOutput& row);
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

private:
    void importBmpCharsFrom(const std::string& folder);
    void createControls();
    void createMenus();
    void createTransformShortcuts();
    // Asks for an output's choices (the .c options, a resource item's name), writes its files, and says
    // what a 1-bit output did with grey levels.
    void createFontOutput(const FontOutput& row);
    // The ink level control follows the font's depth.
    void showDepth();
    void showBaseline();
    void seBaselineChange(int value);
    void followDocument();
    void layOutGrid();
    // The question before a command replaces the font; true when it may go on.
    bool mayReplaceFont();
    bool saveFontTo(const std::string& path, bool quietly);
    // Paints the cells of a stroke from the last cell it reached to `cell`.
    void paintTo(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell);
    bool insideCell(QPoint cell) const;
    // Shows a width in the width control. A stored width outside the control's limits is shown clamped
    // but not stored back: showing a character never changes it.
    void showWidthInControl(int width);
    void refreshEditorLayout(const std::string& rangeLabel, int widest);
    void setEditorEnabled(bool enabled);
    // The views that are no document view: the current glyph beside its code, the preview window, the
    // widest width.
    void showCurrentChar();
    // Import System Font from the font dialog on: the range, the code page, the rasteriser.
    void importThroughFontDialog(const QFont& offered);
    // The range dialog's choice; nothing when it was cancelled.
    struct Range {
        int first = 32;
        int last = 127;
        std::string codePage;
        int depth = 1;
    };
    std::optional<Range> askRange();
    // Draws the font with the rasteriser's face and makes it the imported font.
    void importFace(const QFont& face, const std::string& label, const Range& range);
    // An information box listing codes after its text; nothing for no codes.
    void listCodes(const std::string& what, const std::vector<int>& codes);
    // Puts a finished import in place of the font as one step of the history; the new font is the saved
    // state, as an import gives a font without changes.
    void commitFont(FontModel font, const FontDocument::Source& source, const QString& stepName);
    void commitImportedFont(ImportedFont& imported, const std::string& rangeLabel, const std::string& title,
                            const std::string& baseName);
    void shiftCurrent(Direction direction, const QString& name);
    void moveAll(Direction direction, const QString& name);
    void cellSize(const QString& name, bool grow, bool column);
    void mirror(const QString& name, bool horizontal);
    // Runs an edit command on the current character and makes it a step.
    template <typename Command> void characterStep(const QString& name, Command command);
    void copyToSystemClipboard();
    // The status bar's note: why a transform did nothing, what a save dropped. The next step clears it.
    void note(const QString& text, const QString& toolTip = {});
    void refused(const QString& name, Refusal refusal);

    AppState& state_;
    FontDocument& document_;
    CommandSupport& commands_;
    ImageDecoder& decoder_;
    TFormViewChar* preview_ = nullptr;
    TFormFontRange* rangeDialog_ = nullptr;
    TFormNewFont* newFontDialog_ = nullptr;
    // The FT8xx font's choices last taken in this run; the address the lowest that works until one is.
    std::string ft8xxFormat_;
    std::optional<std::uint32_t> ft8xxAddress_;
    bool ft8xxDeflate_ = false;
    int lvglVersion_ = kDefaultLvglVersion;
    QFont importFont_;
    int loadedZoom_ = 12;
    bool editorShown_ = false;
    // The stroke under way: the character, the pixels it changed, the width it started with, the last
    // cell it reached (which may lie beyond the grid).
    std::optional<PixelChanges> stroke_;
    int strokeCode_ = 0;
    int strokeWidth_ = 0;
    QPoint strokeCell_;
};

} // namespace tesselor
