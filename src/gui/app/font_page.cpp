#include "app/font_page.h"

#include "app/recent_files.h"
#include "dialogs/form_font_range.h"
#include "dialogs/form_view_char.h"
#include "editing/transforms.h"
#include "editor/font_grid.h"
#include "editor/font_overview.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "editor/text_preview.h"
#include "fontexport/bdf_writer.h"
#include "fontexport/font_payload.h"
#include "fontexport/lcd_text.h"
#include "fontexport/resource_item.h"
#include "fontio/bdf_reader.h"
#include "fontio/font_file.h"
#include "fontio/font_import.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "qtplatform/code_pages.h"
#include "qtplatform/file_io.h"
#include "qtplatform/qt_rasteriser.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tesselor {

namespace {
const char* const kBmpFolderTitle = "Select Folder BMP";
constexpr int kViewPanelHeight = 79;
constexpr int kShiftPanelWidth = 190;
constexpr int kViewsHeight = 210; // the overview and the text preview under the grid
const char* const kFontFilter = "Graphic Font File (*.font)|*.font|All files (*.*)|*.*";
const char* const kBdfFilter = "BDF font (*.bdf)|*.bdf|All files (*.*)|*.*";

QAction* makeAction(QMenu* menu, const char* name, const char* caption) {
    auto* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}
} // namespace

FontPage::FontPage(AppState& state, CommandSupport& commands, ImageDecoder& decoder, QWidget* parent)
    : QWidget(parent), state_(state), commands_(commands), decoder_(decoder),
      importFont_(defaultImportFont()), undoStack_(new QUndoStack(this)) {
    setObjectName("tsFont");
    createControls();
    createMenus();
    createTransformShortcuts();
    // Undoing back to the saved font is no change to save.
    connect(undoStack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { state_.FontModified = !clean; });
    // At creation: the grid hidden, the controls, the buttons and the font's menu items disabled.
    sFont->hide();
    dgridFont->hide();
    setEditorEnabled(false);
    FontMenuEdit_Restore->setEnabled(false);
    FontMenuEdit_Paste->setEnabled(false);
}

void FontPage::createControls() {
    pViewFont = new QFrame(this);
    pViewFont->setObjectName("pViewFont");
    auto* viewLayout = new QHBoxLayout(pViewFont);
    viewLayout->setContentsMargins(8, 8, 8, 8);
    auto addSpin = [&](SpinControl* spin, const char* name, const char* caption) {
        auto* box = new QVBoxLayout;
        box->addWidget(new QLabel(caption, pViewFont));
        spin->setObjectName(name);
        spin->setFixedWidth(90);
        box->addWidget(spin);
        viewLayout->addLayout(box);
        return spin;
    };
    seGridSize = static_cast<SpinControl*>(addSpin(new SpinControl(pViewFont), "seGridSize", "Grid Size"));
    seCharCode =
        static_cast<CodeSpinControl*>(addSpin(new CodeSpinControl(pViewFont), "seCharCode", "Char Code"));
    imgCurrentChar = new QLabel(pViewFont);
    imgCurrentChar->setObjectName("imgCurrentChar");
    imgCurrentChar->setMinimumSize(24, 24);
    imgCurrentChar->setAlignment(Qt::AlignCenter);
    viewLayout->addWidget(imgCurrentChar);
    seCharWidth = addSpin(new SpinControl(pViewFont), "seCharWidth", "Char Width");
    viewLayout->addStretch(1);
    seGridSize->setRange(5, 40);
    seGridSize->setValue(5);
    seCharCode->setRange(0, 100);
    seCharWidth->setRange(0, 100);
    seGridSize->setRepeatInterval(500);
    seCharWidth->setRepeatInterval(500);

    gridScroll = new QScrollArea(this);
    gridScroll->setObjectName("gridScroll");
    gridScroll->setFrameShape(QFrame::NoFrame);
    gridScroll->setWidgetResizable(false);
    gridHolder = new QWidget;
    sFont = new GridFrame(gridHolder);
    sFont->setObjectName("sFont");
    dgridFont = new FontGrid(state_, gridHolder);
    dgridFont->setObjectName("dgridFont");
    dgridFont->move(1, 1);
    dgridFont->setFocusPolicy(Qt::StrongFocus);
    gridScroll->setWidget(gridHolder);

    overview = new FontOverview(state_);
    overview->setObjectName("overview");
    auto* overviewScroll = new QScrollArea;
    overviewScroll->setObjectName("overviewScroll");
    overviewScroll->setWidgetResizable(true);
    overviewScroll->setWidget(overview);
    textPreview = new TextPreview(state_, commands_.dialogs());
    textPreview->setObjectName("textPreview");
    auto* views = new QFrame(this);
    views->setObjectName("pViews");
    auto* viewsLayout = new QVBoxLayout(views);
    viewsLayout->setContentsMargins(0, 4, 0, 0);
    viewsLayout->addWidget(overviewScroll, 3);
    viewsLayout->addWidget(textPreview, 2);

    pShiftMove = new QFrame(this);
    pShiftMove->setObjectName("pShiftMove");
    auto* shiftLayout = new QVBoxLayout(pShiftMove);
    auto makeButton = [](const char* name, const char* caption, QWidget* parent) {
        auto* button = new QPushButton(caption, parent);
        button->setObjectName(name);
        return button;
    };
    auto crossGroup = [&](const char* title, QPushButton*& up, QPushButton*& left, QPushButton*& right,
                          QPushButton*& down, const char* upName, const char* leftName, const char* rightName,
                          const char* downName) {
        auto* group = new QGroupBox(title, pShiftMove);
        auto* grid = new QGridLayout(group);
        up = makeButton(upName, "Up", group);
        left = makeButton(leftName, "Left", group);
        right = makeButton(rightName, "Right", group);
        down = makeButton(downName, "Down", group);
        grid->addWidget(up, 0, 0, 1, 2, Qt::AlignHCenter);
        grid->addWidget(left, 1, 0);
        grid->addWidget(right, 1, 1);
        grid->addWidget(down, 2, 0, 1, 2, Qt::AlignHCenter);
        shiftLayout->addWidget(group);
    };
    crossGroup("Shift actual Char", bShiftUp, bShiftLeft, bShiftRight, bShiftDown, "bShiftUp", "bShiftLeft",
               "bShiftRight", "bShiftDown");
    crossGroup("Move all Chars", bMoveUp, bMoveLeft, bMoveRight, bMoveDown, "bMoveUp", "bMoveLeft",
               "bMoveRight", "bMoveDown");
    auto pairGroup = [&](const char* title, QPushButton*& remove, QPushButton*& add, const char* removeName,
                         const char* addName) {
        auto* group = new QGroupBox(title, pShiftMove);
        auto* row = new QHBoxLayout(group);
        remove = makeButton(removeName, "Remove", group);
        add = makeButton(addName, "Add", group);
        row->addWidget(remove);
        row->addWidget(add);
        shiftLayout->addWidget(group);
    };
    pairGroup("Right Column", bRemoveColumn, bAddColumn, "bRemoveColumn", "bAddColumn");
    pairGroup("Bottom Row", bRemoveRow, bAddRow, "bRemoveRow", "bAddRow");
    auto* imageGroup = new QGroupBox("Char Image", pShiftMove);
    auto* imageLayout = new QVBoxLayout(imageGroup);
    bHorizontalMirror = makeButton("bHorizontalMirror", "Horizontal Mirror", imageGroup);
    bVerticalMirror = makeButton("bVerticalMirror", "Vertical Mirror", imageGroup);
    bInvert = makeButton("bInvert", "Invert", imageGroup);
    imageLayout->addWidget(bHorizontalMirror);
    imageLayout->addWidget(bVerticalMirror);
    imageLayout->addWidget(bInvert);
    shiftLayout->addWidget(imageGroup);
    shiftLayout->addStretch(1);

    // The fifth panel tells why a transform did nothing.
    sbFont = new StatusPanels({75, 75, 200, 50, 0}, this);
    sbFont->setObjectName("sbFont");

    // The keyboard walks the page in reading order: the controls, the grid, the buttons, the views.
    QWidget* order[] = {seGridSize,    seCharCode,        seCharWidth,
                        dgridFont,     bShiftUp,          bShiftLeft,
                        bShiftRight,   bShiftDown,        bMoveUp,
                        bMoveLeft,     bMoveRight,        bMoveDown,
                        bRemoveColumn, bAddColumn,        bRemoveRow,
                        bAddRow,       bHorizontalMirror, bVerticalMirror,
                        bInvert,       overview,          textPreview->eSampleText};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(seGridSize, &QSpinBox::valueChanged, this, &FontPage::seGridSizeChange);
    connect(seCharCode, &QSpinBox::valueChanged, this, &FontPage::seCharCodeChange);
    connect(seCharWidth, &QSpinBox::valueChanged, this, &FontPage::seCharWidthChange);
    connect(dgridFont, &FontGrid::mouseDown, this, &FontPage::dgridFontMouseDown);
    connect(dgridFont, &FontGrid::mouseMove, this, &FontPage::dgridFontMouseMove);
    connect(dgridFont, &FontGrid::mouseUp, this, &FontPage::dgridFontMouseUp);
    connect(dgridFont, &FontGrid::keyDown, this, &FontPage::dgridFontKeyDown);
    connect(dgridFont, &FontGrid::zoomRequested, this, &FontPage::dgridFontZoom);
    connect(overview, &FontOverview::codeClicked, seCharCode, &QSpinBox::setValue);
    const std::pair<QPushButton*, void (FontPage::*)()> clicks[] = {
        {bShiftUp, &FontPage::bShiftUpClick},
        {bShiftLeft, &FontPage::bShiftLeftClick},
        {bShiftRight, &FontPage::bShiftRightClick},
        {bShiftDown, &FontPage::bShiftDownClick},
        {bMoveUp, &FontPage::bMoveUpClick},
        {bMoveLeft, &FontPage::bMoveLeftClick},
        {bMoveRight, &FontPage::bMoveRightClick},
        {bMoveDown, &FontPage::bMoveDownClick},
        {bRemoveColumn, &FontPage::bRemoveColumnClick},
        {bAddColumn, &FontPage::bAddColumnClick},
        {bRemoveRow, &FontPage::bRemoveRowClick},
        {bAddRow, &FontPage::bAddRowClick},
        {bHorizontalMirror, &FontPage::bHorizontalMirrorClick},
        {bVerticalMirror, &FontPage::bVerticalMirrorClick},
        {bInvert, &FontPage::bInvertClick},
    };
    for (const auto& [button, handler] : clicks)
        connect(button, &QPushButton::clicked, this, handler);
}

void FontPage::createMenus() {
    FontMenuFile = new QMenu("&File", this);
    FontMenuFile->setObjectName("FontMenuFile");
    FontMenuFile_ImportSystemFont =
        makeAction(FontMenuFile, "FontMenuFile_ImportSystemFont", "Import System Font");
    FontMenuFile_ImportFontFile =
        makeAction(FontMenuFile, "FontMenuFile_ImportFontFile", "Import Font File...");
    FontMenuFile_ImportBdfFont = makeAction(FontMenuFile, "FontMenuFile_ImportBdfFont", "Import BDF Font...");
    FontMenuFile_ImportBmpChar = makeAction(FontMenuFile, "FontMenuFile_ImportBmpChar", "Import Bmp Char");
    FontMenuFile->addSeparator();
    FontMenuFile_OpenGraphicFont =
        makeAction(FontMenuFile, "FontMenuFile_OpenGraphicFont", "Open Graphic Font");
    FontMenuFile_SaveGraphicFont =
        makeAction(FontMenuFile, "FontMenuFile_SaveGraphicFont", "Save Graphic Font");
    FontMenuFile->addSeparator();
    FontMenuFile_CreateFileC = makeAction(FontMenuFile, "FontMenuFile_CreateFileC", "Create File.c Font");
    FontMenuFile_CreateFileResdata =
        makeAction(FontMenuFile, "FontMenuFile_CreateFileResdata", "Create File.resdata Font");
    FontMenuFile_CreateFileLcd =
        makeAction(FontMenuFile, "FontMenuFile_CreateFileLcd", "Create File.lcd Font");
    FontMenuFile_CreateFileBdf =
        makeAction(FontMenuFile, "FontMenuFile_CreateFileBdf", "Create File.bdf Font");
    FontMenuFile->addSeparator();
    FontMenuFile_Exit = makeAction(FontMenuFile, "FontMenuFile_Exit", "Exit");
    FontMenuFile_Recent = new RecentFiles(FontMenuFile, FontMenuFile_Exit, "FontMenuFile_Recent");
    connect(FontMenuFile_Recent, &RecentFiles::chosen, this, [this](const std::string& path) {
        if (commands_.recentFileFound(*FontMenuFile_Recent, path))
            openFontFileAsking(path);
    });

    FontMenuEdit = new QMenu("&Edit", this);
    FontMenuEdit->setObjectName("FontMenuEdit");
    FontMenuEdit_Undo = undoStack_->createUndoAction(this, "Undo");
    FontMenuEdit_Undo->setObjectName("FontMenuEdit_Undo");
    FontMenuEdit_Undo->setShortcuts(QKeySequence::Undo);
    FontMenuEdit_Redo = undoStack_->createRedoAction(this, "Redo");
    FontMenuEdit_Redo->setObjectName("FontMenuEdit_Redo");
    FontMenuEdit_Redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    FontMenuEdit->addAction(FontMenuEdit_Undo);
    FontMenuEdit->addAction(FontMenuEdit_Redo);
    FontMenuEdit->addSeparator();
    FontMenuEdit_RemoveLeftBlank =
        makeAction(FontMenuEdit, "FontMenuEdit_RemoveLeftBlank", "Remove Left Blank Column");
    FontMenuEdit_RemoveLeftBlank->setCheckable(true);
    FontMenuEdit_AutomaticCharWidth =
        makeAction(FontMenuEdit, "FontMenuEdit_AutomaticCharWidth", "Automatic Char Width");
    FontMenuEdit_AutomaticCharWidth->setCheckable(true);
    FontMenuEdit->addSeparator();
    FontMenuEdit_Restore = makeAction(FontMenuEdit, "FontMenuEdit_Restore", "Restore");
    // Ctrl+Z is Undo everywhere: the one-level Restore keeps its item on Ctrl+R.
    FontMenuEdit_Restore->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    FontMenuEdit->addSeparator();
    FontMenuEdit_Cut = makeAction(FontMenuEdit, "FontMenuEdit_Cut", "Cut");
    FontMenuEdit_Cut->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    FontMenuEdit_Copy = makeAction(FontMenuEdit, "FontMenuEdit_Copy", "Copy");
    FontMenuEdit_Copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    FontMenuEdit_Paste = makeAction(FontMenuEdit, "FontMenuEdit_Paste", "Paste");
    FontMenuEdit_Paste->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    FontMenuEdit->addSeparator();
    FontMenuEdit_ViewChar = makeAction(FontMenuEdit, "FontMenuEdit_ViewChar", "View Char");

    const std::pair<QAction*, void (FontPage::*)()> handlers[] = {
        {FontMenuFile_ImportSystemFont, &FontPage::FontMenuFile_ImportSystemFontClick},
        {FontMenuFile_ImportFontFile, &FontPage::FontMenuFile_ImportFontFileClick},
        {FontMenuFile_ImportBdfFont, &FontPage::FontMenuFile_ImportBdfFontClick},
        {FontMenuFile_ImportBmpChar, &FontPage::FontMenuFile_ImportBmpCharClick},
        {FontMenuFile_OpenGraphicFont, &FontPage::FontMenuFile_OpenGraphicFontClick},
        {FontMenuFile_SaveGraphicFont, &FontPage::FontMenuFile_SaveGraphicFontClick},
        {FontMenuFile_CreateFileC, &FontPage::FontMenuFile_CreateFileCClick},
        {FontMenuFile_CreateFileResdata, &FontPage::FontMenuFile_CreateFileResdataClick},
        {FontMenuFile_CreateFileLcd, &FontPage::FontMenuFile_CreateFileLcdClick},
        {FontMenuFile_CreateFileBdf, &FontPage::FontMenuFile_CreateFileBdfClick},
        {FontMenuFile_Exit, &FontPage::exitRequested},
        {FontMenuEdit_RemoveLeftBlank, &FontPage::FontMenuEdit_RemoveLeftBlankClick},
        {FontMenuEdit_AutomaticCharWidth, &FontPage::FontMenuEdit_AutomaticCharWidthClick},
        {FontMenuEdit_Restore, &FontPage::FontMenuEdit_RestoreClick},
        {FontMenuEdit_Cut, &FontPage::FontMenuEdit_CutClick},
        {FontMenuEdit_Copy, &FontPage::FontMenuEdit_CopyClick},
        {FontMenuEdit_Paste, &FontPage::FontMenuEdit_PasteClick},
        {FontMenuEdit_ViewChar, &FontPage::FontMenuEdit_ViewCharClick},
    };
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this, handler);
}

QList<QPushButton*> FontPage::transformButtons() const {
    return {bShiftUp,   bShiftLeft, bShiftRight,       bShiftDown,      bMoveUp,
            bMoveLeft,  bMoveRight, bMoveDown,         bRemoveColumn,   bAddColumn,
            bRemoveRow, bAddRow,    bHorizontalMirror, bVerticalMirror, bInvert};
}

void FontPage::resizeEvent(QResizeEvent*) {
    const int statusHeight = sbFont->sizeHint().height();
    const int bodyHeight = std::max(height() - statusHeight, 0);
    const int left = std::max(width() - kShiftPanelWidth, 0);
    pShiftMove->setGeometry(left, 0, kShiftPanelWidth, bodyHeight);
    pViewFont->setGeometry(0, 0, left, kViewPanelHeight);
    // The grid holder starts at (7, 79), so the grid itself sits at (8, 80) inside its frame.
    const int gridHeight = std::max(bodyHeight - kViewPanelHeight - kViewsHeight, 0);
    gridScroll->setGeometry(7, kViewPanelHeight, std::max(left - 7, 0), gridHeight);
    findChild<QFrame*>("pViews")->setGeometry(7, kViewPanelHeight + gridHeight, std::max(left - 14, 0),
                                              std::max(bodyHeight - kViewPanelHeight - gridHeight, 0));
    sbFont->setGeometry(0, bodyHeight, width(), statusHeight);
}

void FontPage::setEditorEnabled(bool enabled) {
    seGridSize->setEnabled(enabled);
    seCharCode->setEnabled(enabled);
    seCharWidth->setEnabled(enabled);
    for (QPushButton* button : transformButtons())
        button->setEnabled(enabled);
    for (QAction* action :
         {FontMenuFile_SaveGraphicFont, FontMenuFile_CreateFileC, FontMenuFile_CreateFileResdata,
          FontMenuFile_CreateFileLcd, FontMenuFile_CreateFileBdf, FontMenuEdit_AutomaticCharWidth,
          FontMenuEdit_Cut, FontMenuEdit_Copy, FontMenuEdit_ViewChar})
        action->setEnabled(enabled);
    textPreview->setEnabled(enabled);
}

void FontPage::setFontPageTitle(const std::string& title) {
    state_.FontPageTitle = title;
    emit captionChanged();
}

// ---- The importers ----------------------------------------------------------------------------------

FontStepTarget::Shown FontPage::shown() const {
    return {editorShown_, state_.FontPageTitle, state_.FontBaseName, rangeLabel_};
}

void FontPage::fontReplaced(const Shown& shown) {
    if (shown.editorShown)
        ShowFontInEditor(shown.rangeLabel);
    else
        HideFontEditor();
    setFontPageTitle(shown.title);
    state_.FontBaseName = shown.baseName;
}

// An import is a step of the history, so Undo brings the font before it back; the new font is the
// saved state, as an import gives a font without changes.
void FontPage::commitImportedFont(ImportedFont& imported, const std::string& rangeLabel,
                                  const std::string& title, const std::string& baseName) {
    const FontSnapshot before(state_.font);
    const Shown shownBefore = shown();
    state_.font = std::move(imported.font);
    fontReplaced({true, title, baseName, rangeLabel});
    undoStack_->push(new FontReplaceStep("Import", state_, *this, before, shownBefore, shown()));
    undoStack_->setClean();
    state_.FontModified = false;
    listCodes("These characters are wider than 255 pixels, the widest a character can be; "
              "their width was set to 255:",
              imported.limitedCodes);
}

void FontPage::FontMenuFile_ImportSystemFontClick() {
    commands_.run([&] {
        if (!commands_.mayDiscardChanges(state_.FontModified))
            return;
        importThroughFontDialog(importFont_);
    });
}

// A font file joins the fonts Qt knows; then the size and range steps of Import System Font follow.
void FontPage::FontMenuFile_ImportFontFileClick() {
    commands_.run([&] {
        if (!commands_.mayDiscardChanges(state_.FontModified))
            return;
        const auto path = commands_.chooseExistingFile("Import Font File...", ".ttf",
                                                       "Font files (*.ttf *.otf *.ttc *.otc *.pcf *.pcf.gz "
                                                       "*.pfa *.pfb)|*.ttf;*.otf;*.ttc;*.otc;*.pcf;*.pcf.gz;"
                                                       "*.pfa;*.pfb|All files (*.*)|*.*",
                                                       state_.FontSourcePath);
        if (!path)
            return;
        state_.FontSourcePath = *path;
        const QFont loaded =
            loadFontFile(*path, static_cast<int>(std::lround(importFont_.pointSizeF())), false, false);
        importThroughFontDialog(loaded);
    });
}

void FontPage::importThroughFontDialog(const QFont& offered) {
    const auto chosen = commands_.dialogs().chooseFont(commands_.window(), offered);
    if (!chosen)
        return;
    importFont_ = *chosen;
    int first = 32;
    int last = 127;
    std::string codePage = kDefaultCodePage;
    if (rangeDialog_ != nullptr) {
        // Cancel or Escape ends the import with nothing changed.
        if (!commands_.dialogs().execRangeDialog(*rangeDialog_))
            return;
        first = rangeDialog_->seFromChar->value();
        last = rangeDialog_->seToChar->value();
        codePage = rangeDialog_->cbCodePage->currentText().toStdString();
    }
    const CodePage page = loadCodePage(codePage);
    const int points = static_cast<int>(std::lround(importFont_.pointSizeF()));
    const std::string label = fontLabel(
        importFont_.family().toStdString(), points,
        {importFont_.bold(), importFont_.italic(), importFont_.underline(), importFont_.strikeOut()});
    QtRasteriser rasteriser(importFont_, page);
    ImportedFont imported =
        importSystemFont(rasteriser, first, last, state_.RemoveLeftBlank, state_.font.FontName);
    imported.font.CodePage = page.name == kDefaultCodePage ? std::string() : page.name;
    commitImportedFont(imported, "Char code from ", "Tesselor [Font: " + label + "]", label);
    listCodes("These codes have no character in " + page.name + "; each is drawn as its decoder reads it:",
              page.codesWithoutCharacter(first, last));
}

void FontPage::FontMenuFile_ImportBdfFontClick() {
    commands_.run([&] {
        if (!commands_.mayDiscardChanges(state_.FontModified))
            return;
        const auto path =
            commands_.chooseExistingFile("Import BDF Font...", ".bdf", kBdfFilter, state_.FontSourcePath);
        if (!path)
            return;
        state_.FontSourcePath = *path;
        const BdfFile bdf = readBdf(fileio::readFile(*path));
        std::optional<std::string> codePage;
        std::optional<int> first, last;
        if (rangeDialog_ != nullptr) {
            // Offered: the file's own code page when it names one, and the codes its glyphs give.
            if (!bdf.unicode()) {
                const QString own = QString::fromStdString(bdfCodes(bdf, std::nullopt).codePage);
                if (rangeDialog_->cbCodePage->findText(own, Qt::MatchFixedString) >= 0)
                    rangeDialog_->cbCodePage->setCurrentText(own);
            }
            const BdfImport all =
                importBdf(bdf, bdfCodes(bdf, rangeDialog_->cbCodePage->currentText().toStdString()).codeOf,
                          std::nullopt, std::nullopt, "");
            rangeDialog_->seFromChar->setValue(all.imported.font.RangeFrom);
            rangeDialog_->seToChar->setValue(all.imported.font.RangeTo);
            if (!commands_.dialogs().execRangeDialog(*rangeDialog_))
                return;
            first = rangeDialog_->seFromChar->value();
            last = rangeDialog_->seToChar->value();
            codePage = rangeDialog_->cbCodePage->currentText().toStdString();
        }
        const BdfCodes codes = bdfCodes(bdf, codePage);
        BdfImport result = importBdf(bdf, codes.codeOf, first, last, state_.font.FontName);
        result.imported.font.CodePage = codes.codePage == kDefaultCodePage ? std::string() : codes.codePage;
        commitImportedFont(result.imported, "Char code from ", titleFor(*path), paths::baseName(*path));
        listCodes("The BDF file has no glyph for these codes; they are left blank:", result.missingCodes);
    });
}

void FontPage::listCodes(const std::string& what, const std::vector<int>& codes) {
    if (codes.empty())
        return;
    commands_.showInformation(what + "\r\n" + text::decList(codes) + ".");
}

void FontPage::FontMenuFile_ImportBmpCharClick() {
    if (!commands_.mayDiscardChanges(state_.FontModified))
        return;
    const std::string start = fileio::folderExists(state_.BmpCharsFolder)
                                  ? state_.BmpCharsFolder
                                  : commands_.lastFolder(kBmpFolderTitle);
    const auto folder = commands_.dialogs().selectFolder(commands_.window(), kBmpFolderTitle, start);
    if (folder)
        importBmpCharsFrom(*folder);
}

void FontPage::importBmpCharsFromAsking(const std::string& folder) {
    if (commands_.mayDiscardChanges(state_.FontModified))
        importBmpCharsFrom(folder);
}

void FontPage::importBmpCharsFrom(const std::string& folder) {
    commands_.run([&] {
        commands_.rememberFolder(kBmpFolderTitle, folder);
        // The import works on a new font: a file that cannot be decoded leaves everything as it was.
        BmpCharsImport result = importBmpChars(folder, decoder_, fileio::fileExists, state_.RemoveLeftBlank,
                                               state_.font.FontName);
        state_.BmpCharsFolder = folder;
        if (!result.found) {
            // The font gives way to an empty one, as the import always did; Undo brings it back. The
            // clipboard pixels stay: no file was drawn on the cell.
            const FontSnapshot before(state_.font);
            const Shown shownBefore = shown();
            result.imported.font.CellImage = state_.font.CellImage;
            state_.font = std::move(result.imported.font);
            fontReplaced({false, titleFor(folder), "", rangeLabel_});
            undoStack_->push(new FontReplaceStep("Import", state_, *this, before, shownBefore, shown()));
            undoStack_->setClean();
            state_.FontModified = false;
            commands_.showError("Chars.bmp not found in the folder");
            return;
        }
        commitImportedFont(result.imported, "Code char from ", titleFor(folder), "");
    });
}

// ---- The .font file ---------------------------------------------------------------------------------

void FontPage::FontMenuFile_OpenGraphicFontClick() {
    if (!commands_.mayDiscardChanges(state_.FontModified))
        return;
    const auto path =
        commands_.chooseOpenPath("Open File.font...", ".font", kFontFilter, state_.FontFilePath);
    if (path)
        openFontFile(*path);
}

void FontPage::openFontFileAsking(const std::string& path) {
    if (commands_.mayDiscardChanges(state_.FontModified))
        openFontFile(path);
}

void FontPage::openFontFile(const std::string& path) {
    commands_.run([&] {
        if (!commands_.fileFound(path))
            return;
        // The whole file is read and checked before anything changes.
        FontModel font = readFontFile(fileio::readFile(path), state_.font);

        state_.FontFilePath = path;
        setFontPageTitle(titleFor(state_.FontFilePath));
        state_.FontBaseName = paths::baseName(state_.FontFilePath);
        state_.font = std::move(font);
        // A file opened starts a history of its own.
        undoStack_->clear();
        state_.FontModified = false;
        ShowFontInEditor("Code char from ");
        FontMenuFile_Recent->add(path);
    });
}

void FontPage::FontMenuFile_SaveGraphicFontClick() {
    commands_.run([&] {
        const auto path = commands_.chooseSavePath("Save File.font...", state_.FontBaseName, ".font",
                                                   kFontFilter, state_.FontFilePath);
        if (!path)
            return;
        FontModel saved = fontForSave(state_.font, *path);
        // Nothing changes unless the file was written: a failed save keeps the font marked modified.
        fileio::writeFileAtomic(*path, text::joinLinesCrLf(writeFontFile(saved)));

        state_.FontFilePath = *path;
        setFontPageTitle(titleFor(state_.FontFilePath));
        // The trim of the cell is a step of its own; the history is clean at the font as saved.
        const int oldWidth = state_.font.FontWidth();
        if (saved.FontWidth() != oldWidth) {
            DroppedPixels dropped(state_.font, saved.FontWidth(), saved.FontHeight());
            state_.font = std::move(saved);
            undoStack_->push(new CellStep("Trim Cell", state_, *this, state_.CurrentCode, oldWidth,
                                          state_.font.FontHeight(), std::move(dropped)));
        } else {
            state_.font = std::move(saved);
        }
        FontMenuFile_Recent->add(*path);
        undoStack_->setClean();
        state_.FontModified = false;
        refreshEditorLayout("Code char from ", state_.font.FontWidth());
        redrawGrid();
        refreshViews(Scope::Cell);
        commands_.showSaved(state_.FontFilePath);
    });
}

// ---- The outputs for the device ---------------------------------------------------------------------
// The chosen path is remembered for the next dialog as soon as it is chosen; the font changes only once
// its file was written.

void FontPage::FontMenuFile_CreateFileCClick() {
    commands_.run([&] {
        const auto path =
            commands_.chooseSavePath("Create File.c...", state_.FontBaseName, ".c",
                                     "Array font file (*.c)|*.c|All files (*.*)|*.*", state_.FontCFilePath);
        if (!path)
            return;
        state_.FontCFilePath = *path;
        state_.FontOutputName = fontOutputName(*path, state_.font);
        fileio::writeFileAtomic(*path, fontCSource(state_.font, state_.FontOutputName));
        commands_.showCreated(*path);
    });
}

void FontPage::FontMenuFile_CreateFileResdataClick() {
    commands_.run([&] {
        const auto path = commands_.chooseSavePath(
            "Create File.resdata...", state_.FontBaseName, ".resdata",
            "Resource font file (*.resdata)|*.resdata|All files (*.*)|*.*", state_.ResdataFilePath);
        if (!path)
            return;
        const std::string name = fontOutputName(*path, state_.font);
        if (!commands_.itemNameFits(name))
            return;
        state_.ResdataFilePath = *path;
        state_.FontOutputName = name;
        const Bytes item = writeResourceItem("fnt", name, FontPayload(state_.font));
        fileio::writeFileAtomic(*path, item);
        commands_.showCreated(*path);
    });
}

void FontPage::FontMenuFile_CreateFileBdfClick() {
    commands_.run([&] {
        const auto path = commands_.chooseSavePath("Create File.bdf...", state_.FontBaseName, ".bdf",
                                                   kBdfFilter, state_.FontBdfFilePath);
        if (!path)
            return;
        state_.FontBdfFilePath = *path;
        fileio::writeFileAtomic(*path, bdfText(state_.font, codePageOf(state_.font), paths::baseName(*path)));
        commands_.showCreated(*path);
    });
}

void FontPage::FontMenuFile_CreateFileLcdClick() {
    commands_.run([&] {
        const auto path = commands_.chooseSavePath("Create File.lcd...", state_.FontBaseName, ".lcd",
                                                   "Graphic font file (*.lcd)|*.lcd|All files (*.*)|*.*",
                                                   state_.FontLcdFilePath);
        if (!path)
            return;
        state_.FontLcdFilePath = *path;
        const std::string name = paths::baseName(*path);
        fileio::writeFileAtomic(*path, lcdText(state_.font, codePageOf(state_.font), name));
        state_.font.FontName = name;
        commands_.showCreated(*path);
    });
}

} // namespace tesselor
