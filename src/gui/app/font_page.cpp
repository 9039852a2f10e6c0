#include "app/font_page.h"

#include "dialogs/form_font_range.h"
#include "dialogs/form_view_char.h"
#include "editing/char_width.h"
#include "editing/edit_commands.h"
#include "editing/transforms.h"
#include "editor/font_grid.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "fontexport/font_payload.h"
#include "fontexport/lcd_text.h"
#include "fontexport/resource_item.h"
#include "fontio/font_file.h"
#include "fontio/font_import.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "qtplatform/file_io.h"
#include "qtplatform/qt_rasteriser.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace tesselor {

namespace {
constexpr int kViewPanelHeight = 79;
constexpr int kShiftPanelWidth = 190;
constexpr int kLoadedZoom = 12;
constexpr int kMaxCharWidth = 255;
const char* const kFontFilter = "Graphic Font File (*.font)|*.font|All files (*.*)|*.*";

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

QPushButton* makeButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QAction* makeAction(QMenu* menu, const char* name, const char* caption) {
    auto* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}
} // namespace

FontPage::FontPage(AppState& state, CommandSupport& commands, ImageDecoder& decoder, QWidget* parent)
    : QWidget(parent), state_(state), commands_(commands), decoder_(decoder),
      importFont_(defaultImportFont()) {
    setObjectName("tsFont");
    createControls();
    createMenus();
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
    auto addSpin = [&](const char* name, const char* caption) {
        auto* box = new QVBoxLayout;
        box->addWidget(new QLabel(caption, pViewFont));
        auto* spin = new SpinControl(pViewFont);
        spin->setObjectName(name);
        spin->setFixedWidth(90);
        box->addWidget(spin);
        viewLayout->addLayout(box);
        return spin;
    };
    seGridSize = addSpin("seGridSize", "Grid Size");
    seCharCode = addSpin("seCharCode", "Char Code");
    seCharWidth = addSpin("seCharWidth", "Char Width");
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
    gridScroll->setWidget(gridHolder);

    pShiftMove = new QFrame(this);
    pShiftMove->setObjectName("pShiftMove");
    auto* shiftLayout = new QVBoxLayout(pShiftMove);
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

    sbFont = new StatusPanels({75, 75, 200, 50}, this);
    sbFont->setObjectName("sbFont");

    connect(seGridSize, &QSpinBox::valueChanged, this, &FontPage::seGridSizeChange);
    connect(seCharCode, &QSpinBox::valueChanged, this, &FontPage::seCharCodeChange);
    connect(seCharWidth, &QSpinBox::valueChanged, this, &FontPage::seCharWidthChange);
    connect(dgridFont, &FontGrid::mouseDown, this, &FontPage::dgridFontMouseDown);
    connect(dgridFont, &FontGrid::mouseMove, this, &FontPage::dgridFontMouseMove);
    connect(dgridFont, &FontGrid::mouseUp, this, &FontPage::dgridFontMouseUp);
    connect(dgridFont, &FontGrid::keyDown, this, &FontPage::dgridFontKeyDown);
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
    FontMenuFile = new QMenu("File", this);
    FontMenuFile->setObjectName("FontMenuFile");
    FontMenuFile_ImportSystemFont =
        makeAction(FontMenuFile, "FontMenuFile_ImportSystemFont", "Import System Font");
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
    FontMenuFile->addSeparator();
    FontMenuFile_Exit = makeAction(FontMenuFile, "FontMenuFile_Exit", "Exit");

    FontMenuEdit = new QMenu("Edit", this);
    FontMenuEdit->setObjectName("FontMenuEdit");
    FontMenuEdit_RemoveLeftBlank =
        makeAction(FontMenuEdit, "FontMenuEdit_RemoveLeftBlank", "Remove Left Blank Column");
    FontMenuEdit_RemoveLeftBlank->setCheckable(true);
    FontMenuEdit_AutomaticCharWidth =
        makeAction(FontMenuEdit, "FontMenuEdit_AutomaticCharWidth", "Automatic Char Width");
    FontMenuEdit_AutomaticCharWidth->setCheckable(true);
    FontMenuEdit->addSeparator();
    FontMenuEdit_Restore = makeAction(FontMenuEdit, "FontMenuEdit_Restore", "Restore");
    FontMenuEdit_Restore->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    FontMenuEdit->addSeparator();
    FontMenuEdit_Cut = makeAction(FontMenuEdit, "FontMenuEdit_Cut", "Cut");
    FontMenuEdit_Cut->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    FontMenuEdit_Copy = makeAction(FontMenuEdit, "FontMenuEdit_Copy", "Copy");
    FontMenuEdit_Copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    FontMenuEdit_Paste = makeAction(FontMenuEdit, "FontMenuEdit_Paste", "Paste");
    FontMenuEdit_Paste->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    FontMenuEdit->addSeparator();
    FontMenuEdit_ViewChar = makeAction(FontMenuEdit, "FontMenuEdit_ViewChar", "View Char");

    connect(FontMenuFile_ImportSystemFont, &QAction::triggered, this,
            &FontPage::FontMenuFile_ImportSystemFontClick);
    connect(FontMenuFile_ImportBmpChar, &QAction::triggered, this,
            &FontPage::FontMenuFile_ImportBmpCharClick);
    connect(FontMenuFile_OpenGraphicFont, &QAction::triggered, this,
            &FontPage::FontMenuFile_OpenGraphicFontClick);
    connect(FontMenuFile_SaveGraphicFont, &QAction::triggered, this,
            &FontPage::FontMenuFile_SaveGraphicFontClick);
    connect(FontMenuFile_CreateFileC, &QAction::triggered, this, &FontPage::FontMenuFile_CreateFileCClick);
    connect(FontMenuFile_CreateFileResdata, &QAction::triggered, this,
            &FontPage::FontMenuFile_CreateFileResdataClick);
    connect(FontMenuFile_CreateFileLcd, &QAction::triggered, this,
            &FontPage::FontMenuFile_CreateFileLcdClick);
    connect(FontMenuFile_Exit, &QAction::triggered, this, &FontPage::exitRequested);
    connect(FontMenuEdit_RemoveLeftBlank, &QAction::triggered, this,
            &FontPage::FontMenuEdit_RemoveLeftBlankClick);
    connect(FontMenuEdit_AutomaticCharWidth, &QAction::triggered, this,
            &FontPage::FontMenuEdit_AutomaticCharWidthClick);
    connect(FontMenuEdit_Restore, &QAction::triggered, this, &FontPage::FontMenuEdit_RestoreClick);
    connect(FontMenuEdit_Cut, &QAction::triggered, this, &FontPage::FontMenuEdit_CutClick);
    connect(FontMenuEdit_Copy, &QAction::triggered, this, &FontPage::FontMenuEdit_CopyClick);
    connect(FontMenuEdit_Paste, &QAction::triggered, this, &FontPage::FontMenuEdit_PasteClick);
    connect(FontMenuEdit_ViewChar, &QAction::triggered, this, &FontPage::FontMenuEdit_ViewCharClick);
}

QList<QPushButton*> FontPage::transformButtons() const {
    return {bShiftUp,   bShiftLeft, bShiftRight,       bShiftDown,      bMoveUp,
            bMoveLeft,  bMoveRight, bMoveDown,         bRemoveColumn,   bAddColumn,
            bRemoveRow, bAddRow,    bHorizontalMirror, bVerticalMirror, bInvert};
}

void FontPage::resizeEvent(QResizeEvent*) {
    const int statusHeight = sbFont->sizeHint().height();
    const int bodyHeight = std::max(height() - statusHeight, 0);
    pShiftMove->setGeometry(width() - kShiftPanelWidth, 0, kShiftPanelWidth, bodyHeight);
    pViewFont->setGeometry(0, 0, std::max(width() - kShiftPanelWidth, 0), kViewPanelHeight);
    // The grid holder starts at (7, 79), so the grid itself sits at (8, 80) inside its frame.
    gridScroll->setGeometry(7, kViewPanelHeight, std::max(width() - kShiftPanelWidth - 7, 0),
                            std::max(bodyHeight - kViewPanelHeight, 0));
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
          FontMenuFile_CreateFileLcd, FontMenuEdit_AutomaticCharWidth, FontMenuEdit_Cut, FontMenuEdit_Copy,
          FontMenuEdit_ViewChar})
        action->setEnabled(enabled);
}

void FontPage::setFontPageTitle(const std::string& title) {
    state_.FontPageTitle = title;
    emit captionChanged();
}

// ---- The editor -------------------------------------------------------------------------------------

void FontPage::layOutGrid() {
    dgridFont->layOut(state_.font.FontWidth(), state_.font.FontHeight(), state_.GridZoom);
    sFont->setGeometry(0, 0, dgridFont->width() + 2, dgridFont->height() + 2);
    gridHolder->resize(sFont->size());
}

void FontPage::redrawGrid() {
    dgridFont->update();
    if (!editorShown_)
        return;
    if (preview_ != nullptr)
        preview_->showCharacter(state_.currentChar(), state_.font.FontWidth(), state_.font.FontHeight());
    const bool narrow = state_.currentWidth() == 1;
    bShiftLeft->setEnabled(!narrow);
    bMoveLeft->setEnabled(!narrow);
}

void FontPage::showWidthInControl(int width) {
    if (width < seCharWidth->minimum() || width > seCharWidth->maximum()) {
        const QSignalBlocker blocker(seCharWidth);
        seCharWidth->setValue(width);
        return;
    }
    seCharWidth->setValue(width);
}

void FontPage::seGridSizeChange(int value) {
    state_.GridZoom = value;
    layOutGrid();
    redrawGrid();
}

void FontPage::seCharCodeChange(int value) {
    state_.CurrentCode = value;
    showWidthInControl(state_.currentWidth());
    redrawGrid();
}

void FontPage::seCharWidthChange(int value) {
    // A hidden editor shows no font, so a value the program gives it changes nothing the user made.
    if (editorShown_ && value != state_.currentWidth())
        state_.FontModified = true;
    state_.currentWidth() = static_cast<std::uint8_t>(value);
    if (editorShown_)
        sbFont->setPanelText(0, "Col " + QString::number(state_.font.widestWidth()));
    redrawGrid();
}

void FontPage::ShowCharWidth() {
    if (state_.currentWidth() == seCharWidth->value())
        redrawGrid();
    else
        showWidthInControl(state_.currentWidth());
}

void FontPage::RecomputeCharWidth() {
    const int width =
        recomputedCharWidth(state_.currentChar(), state_.font.FontWidth(), state_.font.FontHeight());
    state_.currentWidth() = static_cast<std::uint8_t>(std::min(width, kMaxCharWidth));
    ShowCharWidth();
}

void FontPage::paintCell(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell) {
    if (cell.x() < 0 || !(buttons & Qt::LeftButton))
        return;
    state_.currentChar().setPixel(cell.x(), cell.y(), (modifiers & Qt::ShiftModifier) ? kWhite : kBlack);
    dgridFont->update(dgridFont->cellRect(cell.x(), cell.y()));
    if (preview_ != nullptr)
        preview_->showCharacter(state_.currentChar(), state_.font.FontWidth(), state_.font.FontHeight());
}

void FontPage::dgridFontMouseDown(Qt::MouseButton, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                  QPoint cell) {
    paintCell(buttons, modifiers, cell);
    state_.FontModified = true;
}

void FontPage::dgridFontMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell) {
    paintCell(buttons, modifiers, cell);
}

void FontPage::dgridFontMouseUp() {
    if (state_.AutomaticCharWidth)
        RecomputeCharWidth();
}

void FontPage::dgridFontKeyDown(int key) {
    seCharCode->setValue(seCharCode->value() + (key == Qt::Key_Up ? 1 : -1));
    seCharCode->setFocus();
}

void FontPage::refreshEditorLayout(const std::string& rangeLabel, int widest) {
    seGridSize->setValue(kLoadedZoom);
    state_.GridZoom = kLoadedZoom;
    layOutGrid();
    sbFont->setPanelText(0, "Col " + QString::number(widest));
    sbFont->setPanelText(1, "Row " + QString::number(state_.font.FontHeight()));
    sbFont->setPanelText(2, q(rangeLabel) + QString::number(state_.font.RangeFrom) + " to " +
                                QString::number(state_.font.RangeTo));
    seCharCode->setFocus();
}

void FontPage::ShowFontInEditor(const std::string& rangeLabel) {
    const int widest = state_.font.widestWidth();
    editorShown_ = true;
    sFont->show();
    dgridFont->show();
    setEditorEnabled(true);
    seCharCode->setMinimum(state_.font.RangeFrom);
    seCharCode->setMaximum(state_.font.RangeTo);
    seCharCode->setValue(state_.font.RangeFrom);
    state_.CurrentCode = seCharCode->value();
    // A width is one byte: the control reaches 255, so showing a wide character never cuts it.
    {
        // New limits alone must not store a clamped width into the character.
        const QSignalBlocker blocker(seCharWidth);
        seCharWidth->setMinimum(1);
        seCharWidth->setMaximum(kMaxCharWidth);
    }
    showWidthInControl(state_.currentWidth());
    refreshEditorLayout(rangeLabel, widest);
    redrawGrid();
}

void FontPage::HideFontEditor() {
    // From here on the editor shows no font: the values the controls are given below change nothing of it.
    editorShown_ = false;
    seGridSize->setMinimum(5);
    seGridSize->setValue(5);
    seCharCode->setMinimum(0);
    seCharCode->setValue(0);
    seCharWidth->setMinimum(0);
    seCharWidth->setValue(0);
    sFont->hide();
    dgridFont->hide();
    setEditorEnabled(false);
    for (int panel = 0; panel < 3; ++panel)
        sbFont->setPanelText(panel, QString());
}

// ---- Edit menu options ------------------------------------------------------------------------------

void FontPage::FontMenuEdit_RemoveLeftBlankClick() {
    state_.RemoveLeftBlank = !state_.RemoveLeftBlank;
    FontMenuEdit_RemoveLeftBlank->setChecked(state_.RemoveLeftBlank);
}

void FontPage::FontMenuEdit_AutomaticCharWidthClick() {
    state_.AutomaticCharWidth = !state_.AutomaticCharWidth;
    FontMenuEdit_AutomaticCharWidth->setChecked(state_.AutomaticCharWidth);
    if (state_.AutomaticCharWidth)
        RecomputeCharWidth();
}

void FontPage::FontMenuEdit_ViewCharClick() {
    if (preview_ == nullptr)
        return;
    if (preview_->isVisible()) {
        preview_->close();
        return;
    }
    preview_->showCharacter(state_.currentChar(), state_.font.FontWidth(), state_.font.FontHeight());
    preview_->show();
}

void FontPage::FontMenuEdit_RestoreClick() {
    FontMenuEdit_Restore->setEnabled(false);
    restoreChar(state_);
    ShowCharWidth();
    state_.FontModified = true;
}

void FontPage::FontMenuEdit_CutClick() {
    FontMenuEdit_Paste->setEnabled(true);
    cutChar(state_);
    ShowCharWidth();
    state_.FontModified = true;
}

void FontPage::FontMenuEdit_CopyClick() {
    FontMenuEdit_Paste->setEnabled(true);
    copyChar(state_);
}

void FontPage::FontMenuEdit_PasteClick() {
    FontMenuEdit_Restore->setEnabled(true);
    pasteChar(state_);
    ShowCharWidth();
    state_.FontModified = true;
}

// ---- The transforms ---------------------------------------------------------------------------------

void FontPage::shiftCurrent(Direction where) {
    if (shiftChar(state_.font, state_.CurrentCode, where))
        afterShift(where);
}

void FontPage::moveAll(Direction where) {
    if (moveAllChars(state_.font, where))
        afterShift(where);
}

// A horizontal step carries the widths with it, so the width control follows; a vertical one only redraws.
void FontPage::afterShift(Direction where) {
    state_.FontModified = true;
    if (where == Direction::Left || where == Direction::Right)
        ShowCharWidth();
    else
        redrawGrid();
}

void FontPage::bShiftUpClick() {
    shiftCurrent(Direction::Up);
}
void FontPage::bShiftLeftClick() {
    shiftCurrent(Direction::Left);
}
void FontPage::bShiftRightClick() {
    shiftCurrent(Direction::Right);
}
void FontPage::bShiftDownClick() {
    shiftCurrent(Direction::Down);
}
void FontPage::bMoveUpClick() {
    moveAll(Direction::Up);
}
void FontPage::bMoveLeftClick() {
    moveAll(Direction::Left);
}
void FontPage::bMoveRightClick() {
    moveAll(Direction::Right);
}
void FontPage::bMoveDownClick() {
    moveAll(Direction::Down);
}

void FontPage::cellSizeChanged() {
    layOutGrid();
    sbFont->setPanelText(1, "Row " + QString::number(state_.font.FontHeight()));
    redrawGrid();
}

// The cell size is no change of the characters: these four leave FontModified alone.
void FontPage::bAddColumnClick() {
    addColumn(state_.font);
    cellSizeChanged();
}

void FontPage::bRemoveColumnClick() {
    if (removeColumn(state_.font))
        cellSizeChanged();
}

void FontPage::bAddRowClick() {
    addRow(state_.font);
    cellSizeChanged();
}

void FontPage::bRemoveRowClick() {
    if (removeRow(state_.font))
        cellSizeChanged();
}

void FontPage::bHorizontalMirrorClick() {
    mirrorHorizontal(state_.font, state_.CurrentCode);
    RecomputeCharWidth();
    state_.FontModified = true;
}

void FontPage::bVerticalMirrorClick() {
    mirrorVertical(state_.font, state_.CurrentCode);
    RecomputeCharWidth();
    state_.FontModified = true;
}

void FontPage::bInvertClick() {
    invertChar(state_.font, state_.CurrentCode);
    state_.FontModified = true;
    redrawGrid();
}

// ---- The importers ----------------------------------------------------------------------------------

void FontPage::commitImportedFont(ImportedFont& imported, const std::string& rangeLabel) {
    state_.font = std::move(imported.font);
    state_.FontModified = false;
    ShowFontInEditor(rangeLabel);
    if (!imported.limitedCodes.empty()) {
        std::string codes;
        for (const int code : imported.limitedCodes)
            codes += (codes.empty() ? "" : ", ") + text::dec(code);
        commands_.showInformation(
            "These characters are wider than 255 pixels, the widest a character can be; "
            "their width was set to 255:\r\n" +
            codes + ".");
    }
}

void FontPage::FontMenuFile_ImportSystemFontClick() {
    commands_.run([&] {
        if (!commands_.mayDiscardChanges(state_.FontModified))
            return;
        const auto chosen = commands_.dialogs().chooseFont(commands_.window(), importFont_);
        if (!chosen)
            return;
        importFont_ = *chosen;
        int first = 32;
        int last = 127;
        if (rangeDialog_ != nullptr) {
            commands_.dialogs().execRangeDialog(*rangeDialog_);
            first = rangeDialog_->seFromChar->value();
            last = rangeDialog_->seToChar->value();
        }
        const int points = static_cast<int>(std::lround(importFont_.pointSizeF()));
        const std::string label = fontLabel(
            importFont_.family().toStdString(), points,
            {importFont_.bold(), importFont_.italic(), importFont_.underline(), importFont_.strikeOut()});

        QtRasteriser rasteriser(importFont_);
        ImportedFont imported =
            importSystemFont(rasteriser, first, last, state_.RemoveLeftBlank, state_.font.FontName);
        setFontPageTitle("Tesselor [Font: " + label + "]");
        state_.FontBaseName = label;
        commitImportedFont(imported, "Char code from ");
    });
}

void FontPage::FontMenuFile_ImportBmpCharClick() {
    commands_.run([&] {
        if (!commands_.mayDiscardChanges(state_.FontModified))
            return;
        const std::string start =
            fileio::folderExists(state_.BmpCharsFolder) ? state_.BmpCharsFolder : std::string();
        const auto folder = commands_.dialogs().selectFolder(commands_.window(), "Select Folder BMP", start);
        if (!folder)
            return;
        // The import works on a new font: a file that cannot be decoded leaves everything as it was.
        BmpCharsImport result = importBmpChars(*folder, decoder_, fileio::fileExists, state_.RemoveLeftBlank,
                                               state_.font.FontName);
        state_.BmpCharsFolder = *folder;
        setFontPageTitle(titleFor(state_.BmpCharsFolder));
        state_.FontBaseName.clear();
        if (!result.found) {
            // The clipboard pixels stay: no file was drawn on the cell.
            result.imported.font.CellImage = state_.font.CellImage;
            state_.font = std::move(result.imported.font);
            state_.FontModified = false;
            HideFontEditor();
            commands_.showError("Chars.bmp not found in the folder");
            return;
        }
        commitImportedFont(result.imported, "Code char from ");
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

void FontPage::openFontFile(const std::string& path) {
    commands_.run([&] {
        if (!commands_.fileFound(path))
            return;
        // The whole file is read and checked before anything changes.
        FontModel font = readFontFile(fileio::readFile(path), state_.font);

        state_.FontFilePath = path;
        setFontPageTitle(titleFor(state_.FontFilePath));
        state_.FontBaseName = paths::baseName(state_.FontFilePath);
        state_.FontModified = false;
        state_.font = std::move(font);
        ShowFontInEditor("Code char from ");
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
        state_.font = std::move(saved);
        state_.FontModified = false;
        refreshEditorLayout("Code char from ", state_.font.FontWidth());
        redrawGrid();
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

void FontPage::FontMenuFile_CreateFileLcdClick() {
    commands_.run([&] {
        const auto path = commands_.chooseSavePath("Create File.lcd...", state_.FontBaseName, ".lcd",
                                                   "Graphic font file (*.lcd)|*.lcd|All files (*.*)|*.*",
                                                   state_.FontLcdFilePath);
        if (!path)
            return;
        state_.FontLcdFilePath = *path;
        const std::string name = paths::baseName(*path);
        fileio::writeFileAtomic(*path, lcdText(state_.font, name));
        state_.font.FontName = name;
        commands_.showCreated(*path);
    });
}

} // namespace tesselor
