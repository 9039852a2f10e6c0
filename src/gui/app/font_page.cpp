#include "app/font_page.h"

#include "app/recent_files.h"
#include "dialogs/form_depth.h"
#include "dialogs/form_font_file.h"
#include "dialogs/form_font_range.h"
#include "dialogs/form_ft8xx_font.h"
#include "dialogs/form_library_font.h"
#include "dialogs/form_new_font.h"
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
#include "qtplatform/font_outputs.h"
#include "qtplatform/qt_rasteriser.h"
#include "undo/font_steps.h"

#include <QAction>
#include <QCheckBox>
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
#include <map>

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

FontPage::FontPage(AppState& state, FontDocument& document, CommandSupport& commands, ImageDecoder& decoder,
                   QWidget* parent)
    : QWidget(parent), state_(state), document_(document), commands_(commands), decoder_(decoder),
      importFont_(defaultImportFont()) {
    setObjectName("tsFont");
    createControls();
    createMenus();
    createTransformShortcuts();
    followDocument();
    showDepth();
    showBaseline();
    // At creation: the grid hidden, the controls, the buttons and the font's menu items disabled.
    sFont->hide();
    dgridFont->hide();
    setEditorEnabled(false);
    FontMenuEdit_Restore->setEnabled(false);
    FontMenuEdit_Paste->setEnabled(false);
}

QUndoStack* FontPage::undoStack() const {
    return document_.undoStack();
}

QString FontPage::caption() const {
    return QString::fromStdString(document_.source().title.empty() ? kAppTitle : document_.source().title);
}

void FontPage::createControls() {
    pViewFont = new QFrame(this);
    pViewFont->setObjectName("pViewFont");
    pViewFont->setFixedHeight(kViewPanelHeight);
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
    seBaseline = addSpin(new SpinControl(pViewFont), "seBaseline", "Baseline");
    seBaseline->setToolTip(tr("The row the characters stand on, counted from the top row (0); the grid "
                              "shows it as a blue line"));
    seBaseline->setRange(0, 0);
    auto* inkBox = new QVBoxLayout;
    lblInkLevel = new QLabel(tr("Ink Level"), pViewFont);
    seInkLevel = new SpinControl(pViewFont);
    seInkLevel->setObjectName("seInkLevel");
    seInkLevel->setFixedWidth(90);
    seInkLevel->setToolTip(
        tr("The level of grey the left button paints; Shift and the left button paint paper"));
    inkBox->addWidget(lblInkLevel);
    inkBox->addWidget(seInkLevel);
    viewLayout->addLayout(inkBox);
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
    dgridFont = new FontGrid(document_, gridHolder);
    dgridFont->setObjectName("dgridFont");
    dgridFont->move(1, 1);
    dgridFont->setFocusPolicy(Qt::StrongFocus);
    gridScroll->setWidget(gridHolder);

    overview = new FontOverview(document_);
    overview->setObjectName("overview");
    auto* overviewScroll = new QScrollArea;
    overviewScroll->setObjectName("overviewScroll");
    overviewScroll->setWidgetResizable(true);
    overviewScroll->setWidget(overview);
    textPreview = new TextPreview(document_, commands_.dialogs());
    textPreview->setObjectName("textPreview");
    auto* views = new QFrame(this);
    views->setObjectName("pViews");
    views->setFixedHeight(kViewsHeight);
    auto* viewsLayout = new QVBoxLayout(views);
    viewsLayout->setContentsMargins(0, 4, 0, 0);
    viewsLayout->addWidget(overviewScroll, 3);
    viewsLayout->addWidget(textPreview, 2);

    pShiftMove = new QFrame(this);
    pShiftMove->setObjectName("pShiftMove");
    pShiftMove->setFixedWidth(kShiftPanelWidth);
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

    // The fourth panel names the cell under the pointer, the fifth why a transform did nothing.
    sbFont = new StatusPanels({75, 75, 200, 70, 0}, this);
    sbFont->setObjectName("sbFont");

    // The grid sits 8 pixels from the left, under the control panel; the buttons take the right edge.
    auto* left = new QVBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    left->addWidget(pViewFont);
    auto* gridRow = new QHBoxLayout;
    gridRow->setContentsMargins(7, 0, 0, 0);
    gridRow->addWidget(gridScroll);
    left->addLayout(gridRow, 1);
    auto* viewsRow = new QHBoxLayout;
    viewsRow->setContentsMargins(7, 0, 7, 0);
    viewsRow->addWidget(views);
    left->addLayout(viewsRow);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addLayout(left, 1);
    body->addWidget(pShiftMove);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addLayout(body, 1);
    page->addWidget(sbFont);

    // The keyboard walks the page in reading order: the controls, the grid, the buttons, the views.
    QWidget* order[] = {seGridSize,      seCharCode,
                        seCharWidth,     seBaseline,
                        dgridFont,       bShiftUp,
                        bShiftLeft,      bShiftRight,
                        bShiftDown,      bMoveUp,
                        bMoveLeft,       bMoveRight,
                        bMoveDown,       bRemoveColumn,
                        bAddColumn,      bRemoveRow,
                        bAddRow,         bHorizontalMirror,
                        bVerticalMirror, bInvert,
                        overview,        textPreview->eSampleText};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(seGridSize, &QSpinBox::valueChanged, this, &FontPage::seGridSizeChange);
    connect(seCharCode, &QSpinBox::valueChanged, this, &FontPage::seCharCodeChange);
    connect(seCharWidth, &QSpinBox::valueChanged, this, &FontPage::seCharWidthChange);
    connect(seBaseline, &QSpinBox::valueChanged, this, &FontPage::seBaselineChange);
    // A typed value applied with Enter gives the keys back to the grid.
    for (SpinControl* spin : {seGridSize, static_cast<SpinControl*>(seCharCode), seCharWidth, seBaseline})
        connect(spin, &SpinControl::entered, this, [this] {
            if (editorShown_)
                dgridFont->setFocus();
        });
    connect(dgridFont, &FontGrid::mouseDown, this, &FontPage::dgridFontMouseDown);
    connect(dgridFont, &FontGrid::mouseMove, this, &FontPage::dgridFontMouseMove);
    connect(dgridFont, &FontGrid::mouseUp, this, &FontPage::dgridFontMouseUp);
    connect(dgridFont, &FontGrid::keyDown, this, &FontPage::dgridFontKeyDown);
    connect(dgridFont, &FontGrid::zoomRequested, this, &FontPage::dgridFontZoom);
    connect(dgridFont, &FontGrid::left, this, [this] { sbFont->setPanelText(kCellPanel, QString()); });
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
    FontMenuFile_New = makeAction(FontMenuFile, "FontMenuFile_New", "New Font...");
    FontMenuFile_New->setShortcut(QKeySequence::New);
    FontMenuFile_ImportSystemFont =
        makeAction(FontMenuFile, "FontMenuFile_ImportSystemFont", "Import System Font");
    FontMenuFile_ImportFontFile =
        makeAction(FontMenuFile, "FontMenuFile_ImportFontFile", "Import Font File...");
    FontMenuFile_ImportBdfFont = makeAction(FontMenuFile, "FontMenuFile_ImportBdfFont", "Import BDF Font...");
    FontMenuFile_ImportBmpChar = makeAction(FontMenuFile, "FontMenuFile_ImportBmpChar", "Import Bmp Char");
    FontMenuFile->addSeparator();
    FontMenuFile_OpenGraphicFont =
        makeAction(FontMenuFile, "FontMenuFile_OpenGraphicFont", "Open Graphic Font");
    FontMenuFile_OpenGraphicFont->setShortcut(QKeySequence::Open);
    FontMenuFile_SaveGraphicFont =
        makeAction(FontMenuFile, "FontMenuFile_SaveGraphicFont", "Save Graphic Font");
    FontMenuFile_SaveGraphicFont->setShortcut(QKeySequence::Save);
    FontMenuFile_SaveGraphicFontAs =
        makeAction(FontMenuFile, "FontMenuFile_SaveGraphicFontAs", "Save Graphic Font As...");
    FontMenuFile_SaveGraphicFontAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    FontMenuFile->addSeparator();
    // The device's outputs, one item a row of the table; the controller's font has one item for its three.
    std::map<std::string, QAction*> created;
    for (const FontOutput& row : fontOutputs()) {
        if (row.family != FontOutputFamily::Device)
            continue;
        QString key = row.key;
        const QString name = "FontMenuFile_CreateFile" + key.left(1).toUpper() + key.mid(1);
        QAction* action = FontMenuFile->addAction("Create File." + key + " Font");
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, &row] { createFontOutput(row); });
        created[row.key] = action;
    }
    FontMenuFile_CreateFileC = created.at("c");
    FontMenuFile_CreateFileResdata = created.at("resdata");
    FontMenuFile_CreateFileLcd = created.at("lcd");
    FontMenuFile_CreateFileBdf = created.at("bdf");
    FontMenuFile_CreateFileFt8xx =
        makeAction(FontMenuFile, "FontMenuFile_CreateFileFt8xx", "Create File for FT8xx Font...");
    // The graphics libraries' fonts, one item a row.
    for (const FontOutput& row : fontOutputs()) {
        if (row.family != FontOutputFamily::Library)
            continue;
        const QString key = row.key;
        QAction* action = FontMenuFile->addAction(row.title);
        action->setObjectName("FontMenuFile_CreateFile" + key.left(1).toUpper() + key.mid(1));
        connect(action, &QAction::triggered, this, [this, &row] { createLibraryFont(row); });
        libraryFontActions_.push_back(action);
    }
    FontMenuFile->addSeparator();
    FontMenuFile_Exit = makeAction(FontMenuFile, "FontMenuFile_Exit", "Exit");
    FontMenuFile_Exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    FontMenuFile_Recent = new RecentFiles(FontMenuFile, FontMenuFile_Exit, "FontMenuFile_Recent");
    connect(FontMenuFile_Recent, &RecentFiles::chosen, this, [this](const std::string& path) {
        if (commands_.recentFileFound(*FontMenuFile_Recent, path))
            openFontFileAsking(path);
    });

    FontMenuEdit = new QMenu("&Edit", this);
    FontMenuEdit->setObjectName("FontMenuEdit");
    FontMenuEdit_Undo = document_.undoStack()->createUndoAction(this, "Undo");
    FontMenuEdit_Undo->setObjectName("FontMenuEdit_Undo");
    FontMenuEdit_Undo->setShortcuts(QKeySequence::Undo);
    FontMenuEdit_Redo = document_.undoStack()->createRedoAction(this, "Redo");
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
    // The standard keys first, then the ones the program always had.
    FontMenuEdit_Cut = makeAction(FontMenuEdit, "FontMenuEdit_Cut", "Cut");
    FontMenuEdit_Cut->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    FontMenuEdit_Copy = makeAction(FontMenuEdit, "FontMenuEdit_Copy", "Copy");
    FontMenuEdit_Copy->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    FontMenuEdit_Paste = makeAction(FontMenuEdit, "FontMenuEdit_Paste", "Paste");
    FontMenuEdit_Paste->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    FontMenuEdit->addSeparator();
    FontMenuEdit_ViewChar = makeAction(FontMenuEdit, "FontMenuEdit_ViewChar", "View Char");

    const std::pair<QAction*, void (FontPage::*)()> handlers[] = {
        {FontMenuFile_New, &FontPage::FontMenuFile_NewClick},
        {FontMenuFile_ImportSystemFont, &FontPage::FontMenuFile_ImportSystemFontClick},
        {FontMenuFile_ImportFontFile, &FontPage::FontMenuFile_ImportFontFileClick},
        {FontMenuFile_ImportBdfFont, &FontPage::FontMenuFile_ImportBdfFontClick},
        {FontMenuFile_ImportBmpChar, &FontPage::FontMenuFile_ImportBmpCharClick},
        {FontMenuFile_OpenGraphicFont, &FontPage::FontMenuFile_OpenGraphicFontClick},
        {FontMenuFile_SaveGraphicFont, &FontPage::FontMenuFile_SaveGraphicFontClick},
        {FontMenuFile_SaveGraphicFontAs, &FontPage::FontMenuFile_SaveGraphicFontAsClick},
        {FontMenuFile_CreateFileFt8xx, &FontPage::FontMenuFile_CreateFileFt8xxClick},
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

void FontPage::setEditorEnabled(bool enabled) {
    seGridSize->setEnabled(enabled);
    seCharCode->setEnabled(enabled);
    seCharWidth->setEnabled(enabled);
    seBaseline->setEnabled(enabled);
    for (QPushButton* button : transformButtons())
        button->setEnabled(enabled);
    for (QAction* action :
         {FontMenuFile_SaveGraphicFont, FontMenuFile_SaveGraphicFontAs, FontMenuFile_CreateFileC,
          FontMenuFile_CreateFileResdata, FontMenuFile_CreateFileLcd, FontMenuFile_CreateFileBdf,
          FontMenuFile_CreateFileFt8xx, FontMenuEdit_AutomaticCharWidth, FontMenuEdit_Cut, FontMenuEdit_Copy,
          FontMenuEdit_ViewChar})
        action->setEnabled(enabled);
    for (QAction* action : libraryFontActions_)
        action->setEnabled(enabled);
    textPreview->setEnabled(enabled);
}

// ---- Unsaved work -----------------------------------------------------------------------------------

std::optional<CommandSupport::UnsavedWork> FontPage::unsavedWork() {
    if (!document_.isModified())
        return std::nullopt;
    return CommandSupport::UnsavedWork{"the font", [this] { return saveFont(); }};
}

bool FontPage::mayReplaceFont() {
    return commands_.mayLeave({unsavedWork()});
}

// ---- The importers ----------------------------------------------------------------------------------

void FontPage::commitFont(FontModel font, const FontDocument::Source& source, const QString& stepName) {
    const FontSnapshot before(document_.font());
    const FontDocument::Source sourceBefore = document_.source();
    document_.replace(std::move(font), source);
    document_.undoStack()->push(new FontReplaceStep(stepName, document_, before, sourceBefore));
    document_.undoStack()->setClean();
}

void FontPage::commitImportedFont(ImportedFont& imported, const std::string& rangeLabel,
                                  const std::string& title, const std::string& baseName) {
    commitFont(std::move(imported.font), {true, title, baseName, rangeLabel, {}}, "Import");
    listCodes("These characters are wider than 255 pixels, the widest a character can be; "
              "their width was set to 255:",
              imported.limitedCodes);
}

void FontPage::FontMenuFile_NewClick() {
    commands_.run([&] {
        if (!mayReplaceFont())
            return;
        if (newFontDialog_ == nullptr)
            newFontDialog_ = new TFormNewFont(this);
        if (!commands_.dialogs().execDialog(*newFontDialog_))
            return;
        const CodePage page = loadCodePage(newFontDialog_->codePage());
        FontModel font = blankFont(newFontDialog_->seWidth->value(), newFontDialog_->seHeight->value(),
                                   newFontDialog_->seFromChar->value(), newFontDialog_->seToChar->value());
        font.CodePage = page.name == kDefaultCodePage ? std::string() : page.name;
        font.Depth = chosenDepth(newFontDialog_->cbDepth);
        commitFont(std::move(font), {true, "Tesselor [New Font]", "", "Code char from ", {}}, "New Font");
    });
}

void FontPage::FontMenuFile_ImportSystemFontClick() {
    commands_.run([&] {
        if (!mayReplaceFont())
            return;
        importThroughFontDialog(importFont_);
    });
}

// A font file gives its own face: only its size (and, in a collection, the face) is asked, then the range
// steps of Import System Font follow, and it is drawn as font-from-system --font-file draws it.
void FontPage::FontMenuFile_ImportFontFileClick() {
    commands_.run([&] {
        if (!mayReplaceFont())
            return;
        const auto path =
            commands_.chooseExistingFile("Import Font File...", ".ttf",
                                         "Font files (*.ttf *.otf *.ttc *.otc *.pfa *.pfb)|"
                                         "*.ttf;*.otf;*.ttc;*.otc;*.pfa;*.pfb|All files (*.*)|*.*",
                                         state_.FontSourcePath);
        if (!path)
            return;
        state_.FontSourcePath = *path;
        const FontFileFace face = describeFontFile(*path);
        TFormFontFile form(face, std::clamp(static_cast<int>(std::lround(importFont_.pointSizeF())), 1, 1000),
                           commands_.window());
        if (!commands_.dialogs().execDialog(form))
            return;
        const auto range = askRange();
        if (!range)
            return;
        const int points = form.seSize->value();
        const bool bold = form.cbBold->isChecked();
        const bool italic = form.cbItalic->isChecked();
        QFont font = loadFontFile(*path, points, bold, italic);
        font.setUnderline(form.cbUnderline->isChecked());
        font.setStrikeOut(form.cbStrikeOut->isChecked());
        importFace(
            font,
            fontLabel(face.family.toStdString(), points, {bold, italic, font.underline(), font.strikeOut()}),
            *range);
    });
}

std::optional<FontPage::Range> FontPage::askRange() {
    Range range{32, 127, kDefaultCodePage};
    if (rangeDialog_ == nullptr)
        return range;
    // Cancel or Escape ends the import with nothing changed.
    if (!commands_.dialogs().execRangeDialog(*rangeDialog_))
        return std::nullopt;
    return Range{rangeDialog_->seFromChar->value(), rangeDialog_->seToChar->value(),
                 rangeDialog_->cbCodePage->currentText().toStdString(), chosenDepth(rangeDialog_->cbDepth)};
}

void FontPage::importThroughFontDialog(const QFont& offered) {
    const auto chosen = commands_.dialogs().chooseFont(commands_.window(), offered);
    if (!chosen)
        return;
    importFont_ = *chosen;
    const auto range = askRange();
    if (!range)
        return;
    const int points = static_cast<int>(std::lround(importFont_.pointSizeF()));
    importFace(importFont_,
               fontLabel(importFont_.family().toStdString(), points,
                         {importFont_.bold(), importFont_.italic(), importFont_.underline(),
                          importFont_.strikeOut()}),
               *range);
}

void FontPage::importFace(const QFont& face, const std::string& label, const Range& range) {
    const CodePage page = loadCodePage(range.codePage);
    QtRasteriser rasteriser(face, page, range.depth);
    ImportedFont imported = importSystemFont(rasteriser, range.first, range.last, state_.RemoveLeftBlank,
                                             document_.font().FontName, range.depth);
    imported.font.CodePage = page.name == kDefaultCodePage ? std::string() : page.name;
    commitImportedFont(imported, "Char code from ", "Tesselor [Font: " + label + "]", label);
    listCodes("These codes have no character in " + page.name + "; each is drawn as its decoder reads it:",
              page.codesWithoutCharacter(range.first, range.last));
}

void FontPage::FontMenuFile_ImportBdfFontClick() {
    commands_.run([&] {
        if (!mayReplaceFont())
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
            // A BDF font is 1-bit.
            rangeDialog_->cbDepth->setEnabled(false);
            const auto range = askRange();
            rangeDialog_->cbDepth->setEnabled(true);
            if (!range)
                return;
            first = range->first;
            last = range->last;
            codePage = range->codePage;
        }
        const BdfCodes codes = bdfCodes(bdf, codePage);
        BdfImport result = importBdf(bdf, codes.codeOf, first, last, document_.font().FontName);
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
    if (!mayReplaceFont())
        return;
    const std::string start = fileio::folderExists(state_.BmpCharsFolder)
                                  ? state_.BmpCharsFolder
                                  : commands_.lastFolder(kBmpFolderTitle);
    const auto folder = commands_.dialogs().selectFolder(commands_.window(), kBmpFolderTitle, start);
    if (folder)
        importBmpCharsFrom(*folder);
}

void FontPage::importBmpCharsFromAsking(const std::string& folder) {
    if (mayReplaceFont())
        importBmpCharsFrom(folder);
}

void FontPage::importBmpCharsFrom(const std::string& folder) {
    commands_.run([&] {
        commands_.rememberFolder(kBmpFolderTitle, folder);
        // The import works on a new font: a file that cannot be decoded leaves everything as it was.
        BmpCharsImport result = importBmpChars(folder, decoder_, fileio::fileExists, state_.RemoveLeftBlank,
                                               document_.font().FontName);
        // Files that hold greys may keep them as levels of a grey font.
        if (result.found && hasGreys(result.imported.font)) {
            TFormDepth ask(commands_.window());
            if (!commands_.dialogs().execDialog(ask))
                return;
            if (const int depth = chosenDepth(ask.cbDepth); depth > 1)
                result = importBmpChars(folder, decoder_, fileio::fileExists, state_.RemoveLeftBlank,
                                        document_.font().FontName, depth);
        }
        state_.BmpCharsFolder = folder;
        if (!result.found) {
            // The font gives way to an empty one, as the import always did; Undo brings it back. The
            // clipboard pixels stay: no file was drawn on the cell.
            result.imported.font.CellImage = document_.font().CellImage;
            commitFont(std::move(result.imported.font),
                       {false, titleFor(folder), "", document_.source().rangeLabel, {}}, "Import");
            commands_.showError("Chars.bmp not found in the folder");
            return;
        }
        commitImportedFont(result.imported, "Code char from ", titleFor(folder), "");
    });
}

// ---- The .font file ---------------------------------------------------------------------------------

void FontPage::FontMenuFile_OpenGraphicFontClick() {
    if (!mayReplaceFont())
        return;
    const auto path =
        commands_.chooseOpenPath("Open File.font...", ".font", kFontFilter, state_.FontFilePath);
    if (path)
        openFontFile(*path);
}

void FontPage::openFontFileAsking(const std::string& path) {
    if (mayReplaceFont())
        openFontFile(path);
}

void FontPage::openFontFile(const std::string& path) {
    commands_.run([&] {
        if (!commands_.fileFound(path))
            return;
        // The whole file is read and checked before anything changes.
        FontModel font = readFontFile(fileio::readFile(path), document_.font());
        state_.FontFilePath = path;
        // A file opened starts a history of its own.
        document_.open(std::move(font),
                       {true, titleFor(path), paths::baseName(path), "Code char from ", path});
        FontMenuFile_Recent->add(path);
    });
}

void FontPage::FontMenuFile_SaveGraphicFontClick() {
    saveFont();
}

void FontPage::FontMenuFile_SaveGraphicFontAsClick() {
    saveFontAs();
}

bool FontPage::saveFont() {
    const std::string& own = document_.source().filePath;
    if (own.empty())
        return saveFontAs();
    return saveFontTo(own, true);
}

bool FontPage::saveFontAs() {
    bool saved = false;
    commands_.run([&] {
        const auto path = commands_.chooseSavePath("Save File.font...", document_.source().baseName, ".font",
                                                   kFontFilter, state_.FontFilePath);
        if (path)
            saved = saveFontTo(*path, false);
    });
    return saved;
}

// Quietly: Save to the font's own file says so in the status bar; Save As in a message, as it always did.
bool FontPage::saveFontTo(const std::string& path, bool quietly) {
    bool saved = false;
    commands_.run([&] {
        FontModel trimmed = fontForSave(document_.font(), path);
        // Nothing changes unless the file was written: a failed save keeps the font modified.
        fileio::writeFileAtomic(path, text::joinLinesCrLf(writeFontFile(trimmed)));
        saved = true;
        state_.FontFilePath = path;
        // The trim of the cell is a step of its own; the history is clean at the font as saved.
        const FontModel& font = document_.font();
        const auto dropped = inkBeyond(font, trimmed.FontWidth());
        const int oldWidth = font.FontWidth();
        if (trimmed.FontWidth() != oldWidth) {
            DroppedPixels kept(font, trimmed.FontWidth(), trimmed.FontHeight());
            document_.font() = std::move(trimmed);
            document_.undoStack()->push(new CellStep("Trim Cell", document_, oldWidth,
                                                     document_.font().FontHeight(), std::move(kept)));
        } else {
            document_.font().FontName = trimmed.FontName;
        }
        document_.saved(path, titleFor(path));
        FontMenuFile_Recent->add(path);
        refreshEditorLayout("Code char from ", document_.font().FontWidth());
        // No pixel vanishes unannounced: Undo brings the trimmed columns back.
        if (dropped)
            note(QString("Saved without columns %1 to %2: ink beyond the widest character")
                     .arg(dropped->first)
                     .arg(dropped->second),
                 "The cell was trimmed to the widest character; Undo (Trim Cell) brings the columns back.");
        else if (quietly)
            note("Saved " + QString::fromStdString(path));
        if (!quietly)
            commands_.showSaved(path);
    });
    return saved;
}

// ---- The outputs ----------------------------------------------------------------------------------
// The chosen path is remembered for the next dialog as soon as it is chosen.

void FontPage::FontMenuFile_CreateFileCClick() {
    createFontOutput(*fontOutput(FontOutputFamily::Device, "c"));
}

void FontPage::FontMenuFile_CreateFileResdataClick() {
    createFontOutput(*fontOutput(FontOutputFamily::Device, "resdata"));
}

void FontPage::FontMenuFile_CreateFileLcdClick() {
    createFontOutput(*fontOutput(FontOutputFamily::Device, "lcd"));
}

void FontPage::FontMenuFile_CreateFileBdfClick() {
    createFontOutput(*fontOutput(FontOutputFamily::Device, "bdf"));
}

void FontPage::createFontOutput(const FontOutput& row) {
    commands_.run([&] {
        const std::string key = row.key;
        std::string& remembered = key == "c"         ? state_.FontCFilePath
                                  : key == "resdata" ? state_.ResdataFilePath
                                  : key == "lcd"     ? state_.FontLcdFilePath
                                                     : state_.FontBdfFilePath;
        const auto path = commands_.chooseSavePath(row.title, document_.source().baseName, "." + key,
                                                   row.filter, remembered);
        if (!path)
            return;
        const FontModel& font = document_.font();
        FontOutputChoices choices;
        if (key == "resdata") {
            choices.symbol = row.defaultSymbol(font, *path);
            if (!commands_.itemNameFits(choices.symbol))
                return;
        }
        remembered = *path;
        if (key == "c") {
            const auto output = commands_.chooseCArray(*path, row.defaultSymbol(font, *path));
            if (!output)
                return;
            choices.symbol = output->symbol;
            choices.bytes = output->style.bytes;
            choices.headerPath = output->headerPath;
        }
        const FontOutputFiles written = row.write(font, *path, choices);
        commands_.writeOutputs(written.files);
        if (row.takesSymbol)
            state_.FontOutputName = choices.symbol;
        // The .lcd names the font after its file, as it always did.
        if (key == "lcd")
            document_.font().FontName = paths::baseName(*path);
        for (const std::string& warning : written.warnings)
            note("Created " + QString::fromStdString(paths::fileName(*path)) + ": " +
                 QString::fromStdString(warning));
    });
}

// The controller's font: the save dialog offers its three files, then its own choices; the text preview
// then shows the controller's layout with the spacing taken.
void FontPage::FontMenuFile_CreateFileFt8xxClick() {
    commands_.run([&] {
        std::string filter;
        for (const FontOutput& row : fontOutputs())
            if (row.family == FontOutputFamily::Ft8xx) {
                const std::string own = row.filter;
                filter += own.substr(0, own.find("|All files")) + "|";
            }
        filter += "All files (*.*)|*.*";
        const auto path =
            commands_.chooseSavePath("Create File for FT8xx Font...", document_.source().baseName, ".bin",
                                     filter, state_.FontFt8xxFilePath);
        if (!path)
            return;
        const std::string key =
            QString::fromStdString(paths::extension(*path)).toLower().mid(1).toStdString();
        const FontOutput* row = fontOutput(FontOutputFamily::Ft8xx, key);
        if (row == nullptr) {
            commands_.showInformation("A font for the FT8xx controllers is a .bin, .c or .resdata file.");
            return;
        }
        state_.FontFt8xxFilePath = *path;
        const FontModel& font = document_.font();
        Ft8xxFontOptions offered;
        offered.format = !ft8xxFormat_.empty() ? ft8xxFormat_ : "L" + std::to_string(font.Depth);
        const Advances shown =
            controllerAdvances(font, textPreview->seSpacing->value(), textPreview->seSpaceWidth->value());
        offered.spacing = shown.spacing;
        offered.spaceWidth = shown.spaceWidth;
        offered.address = ft8xxAddress_.value_or(lowestFontAddress(font, offered));
        const std::string header = paths::removeExtension(*path) + ".h";
        TFormFt8xxFont form(font, key, offered, ft8xxDeflate_, row->defaultSymbol(font, *path),
                            paths::fileName(header), commands_.window());
        if (!commands_.dialogs().execDialog(form))
            return;
        FontOutputChoices choices;
        choices.ft8xx = form.options();
        choices.deflate = form.deflate();
        choices.symbol = form.symbol();
        if (key == "resdata" && !commands_.itemNameFits(choices.symbol))
            return;
        if (form.header()) {
            if (!commands_.mayReplace(header))
                return;
            choices.headerPath = header;
        }
        commands_.writeOutputs(row->write(font, *path, choices).files);
        ft8xxFormat_ = choices.ft8xx.format;
        ft8xxAddress_ = choices.ft8xx.address;
        ft8xxDeflate_ = choices.deflate;
        textPreview->showControllerLayout(*choices.ft8xx.spacing, *choices.ft8xx.spaceWidth);
    });
}

// A graphics library's font: the save dialog, then its choices; the text preview then shows its layout,
// the advances being the controller's.
void FontPage::createLibraryFont(const FontOutput& row) {
    commands_.run([&] {
        const bool lvgl = std::string(row.key) == "lvgl";
        std::string& remembered = lvgl ? state_.FontLvglFilePath : state_.FontGfxFilePath;
        const auto path = commands_.chooseSavePath(row.title, document_.source().baseName,
                                                   "." + row.fileExtension(), row.filter, remembered);
        if (!path)
            return;
        remembered = *path;
        const FontModel& font = document_.font();
        FontOutputChoices offered;
        offered.symbol = row.defaultSymbol(font, *path);
        offered.spacing = textPreview->seSpacing->value();
        offered.spaceWidth = textPreview->seSpaceWidth->value();
        offered.lvglVersion = lvglVersion_;
        TFormLibraryFont form(font, row, *path, offered, commands_.window());
        if (!commands_.dialogs().execDialog(form))
            return;
        const FontOutputChoices choices = form.choices();
        const FontOutputFiles written = row.write(font, *path, choices);
        commands_.writeOutputs(written.files);
        lvglVersion_ = choices.lvglVersion;
        textPreview->showControllerLayout(*choices.spacing, *choices.spaceWidth);
        for (const std::string& warning : written.warnings)
            note("Created " + QString::fromStdString(paths::fileName(*path)) + ": " +
                 QString::fromStdString(warning));
    });
}

} // namespace tesselor
