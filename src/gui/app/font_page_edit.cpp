// The Font page's editor: the grid under the mouse, the code, width and zoom controls, the Edit menu,
// the transforms, and the history every change to the font goes into.
#include "app/font_page.h"

#include "dialogs/form_view_char.h"
#include "editing/char_width.h"
#include "editing/edit_commands.h"
#include "editing/transforms.h"
#include "editor/font_grid.h"
#include "editor/font_overview.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "editor/text_preview.h"
#include "qtplatform/code_pages.h"
#include "qtplatform/qt_pixels.h"

#include <QAction>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QUndoStack>

#include <algorithm>

namespace tesselor {

namespace {
constexpr int kMaxCharWidth = 255;
constexpr int kNotePanel = 4;
} // namespace

// ---- The views that follow the font -----------------------------------------------------------------

void FontPage::refreshViews(Scope scope) {
    if (!editorShown_)
        return;
    const PixelImage& character = state_.currentChar();
    const int w = state_.font.FontWidth();
    const int h = state_.font.FontHeight();
    if (preview_ != nullptr)
        preview_->showCharacter(character, w, h);
    PixelImage cell(w, h);
    cell.copyRect(character, 0, 0, w, h, 0, 0);
    const int scale = h <= 16 ? 2 : 1;
    imgCurrentChar->setPixmap(QPixmap::fromImage(toQImage(cell).scaled(w * scale, h * scale)));
    if (scope == Scope::Character)
        overview->refreshCharacter(state_.CurrentCode);
    else
        overview->refresh();
    overview->update();
    textPreview->refresh();
}

void FontPage::fontChanged(int code, Scope scope) {
    if (!editorShown_)
        return;
    if (scope == Scope::Cell) {
        layOutGrid();
        sbFont->setPanelText(1, "Row " + QString::number(state_.font.FontHeight()));
    }
    // The step's character comes into view, so that what changed is seen.
    if (code >= seCharCode->minimum() && code <= seCharCode->maximum() && code != state_.CurrentCode)
        seCharCode->setValue(code);
    sbFont->setPanelText(0, "Col " + QString::number(state_.font.widestWidth()));
    ShowCharWidth();
    refreshViews(scope);
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
    refreshViews(Scope::Character);
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

void FontPage::dgridFontZoom(int steps, QPoint position) {
    if (!editorShown_)
        return;
    // The cell under the pointer stays under it.
    const QPoint cell = dgridFont->cellAt(position);
    const QPoint inView = dgridFont->mapTo(gridScroll->viewport(), position);
    seGridSize->setValue(seGridSize->value() + steps);
    if (cell.x() < 0)
        return;
    const QPoint now = dgridFont->cellRect(cell.x(), cell.y()).center() + dgridFont->pos();
    gridScroll->horizontalScrollBar()->setValue(now.x() - inView.x());
    gridScroll->verticalScrollBar()->setValue(now.y() - inView.y());
}

void FontPage::seCharCodeChange(int value) {
    state_.CurrentCode = value;
    showWidthInControl(state_.currentWidth());
    redrawGrid();
    overview->update();
}

void FontPage::seCharWidthChange(int value) {
    // A hidden editor shows no font, so a value the program gives it changes nothing the user made.
    if (!editorShown_ || value == state_.currentWidth()) {
        redrawGrid();
        return;
    }
    const int before = state_.currentWidth();
    state_.currentWidth() = static_cast<std::uint8_t>(value);
    state_.FontModified = true;
    undoStack_->push(new WidthStep("Char Width", state_, *this, state_.CurrentCode, before));
    sbFont->setPanelText(0, "Col " + QString::number(state_.font.widestWidth()));
    redrawGrid();
    overview->refresh();
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
    const Colour colour = (modifiers & Qt::ShiftModifier) ? kWhite : kBlack;
    if (!stroke_) {
        stroke_.emplace();
        strokeWidth_ = state_.currentWidth();
    }
    stroke_->record(state_.currentChar(), cell.x(), cell.y(), colour);
    state_.currentChar().setPixel(cell.x(), cell.y(), colour);
    dgridFont->update(dgridFont->cellRect(cell.x(), cell.y()));
    if (preview_ != nullptr)
        preview_->showCharacter(state_.currentChar(), state_.font.FontWidth(), state_.font.FontHeight());
    overview->refreshCharacter(state_.CurrentCode);
}

void FontPage::dgridFontMouseDown(Qt::MouseButton, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                  QPoint cell) {
    paintCell(buttons, modifiers, cell);
    state_.FontModified = true;
}

void FontPage::dgridFontMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell) {
    paintCell(buttons, modifiers, cell);
}

// A stroke, press to release, is one step: the pixels it changed and the width Automatic Char Width gave.
void FontPage::dgridFontMouseUp() {
    if (state_.AutomaticCharWidth)
        RecomputeCharWidth();
    if (stroke_) {
        if (!stroke_->empty() || strokeWidth_ != state_.currentWidth())
            undoStack_->push(
                new PaintStep(state_, *this, state_.CurrentCode, std::move(*stroke_), strokeWidth_));
        stroke_.reset();
        refreshViews(Scope::Character);
    }
}

void FontPage::dgridFontKeyDown(int key) {
    seCharCode->setValue(seCharCode->value() + (key == Qt::Key_Up ? 1 : -1));
    seCharCode->setFocus();
}

void FontPage::refreshEditorLayout(const std::string& rangeLabel, int widest) {
    seGridSize->setValue(loadedZoom_);
    state_.GridZoom = loadedZoom_;
    layOutGrid();
    sbFont->setPanelText(0, "Col " + QString::number(widest));
    sbFont->setPanelText(1, "Row " + QString::number(state_.font.FontHeight()));
    sbFont->setPanelText(2, QString::fromStdString(rangeLabel) + QString::number(state_.font.RangeFrom) +
                                " to " + QString::number(state_.font.RangeTo));
    seCharCode->setFocus();
}

void FontPage::setLoadedZoom(int zoom) {
    loadedZoom_ = std::clamp(zoom, seGridSize->minimum(), seGridSize->maximum());
}

int FontPage::zoomToRemember() const {
    return editorShown_ ? seGridSize->value() : loadedZoom_;
}

void FontPage::ShowFontInEditor(const std::string& rangeLabel) {
    const int widest = state_.font.widestWidth();
    editorShown_ = true;
    rangeLabel_ = rangeLabel;
    sFont->show();
    dgridFont->show();
    setEditorEnabled(true);
    seCharCode->setCodePage(codePageOrDefault(state_.font));
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
    overview->refresh();
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
    for (int panel = 0; panel < 5; ++panel)
        sbFont->setPanelText(panel, QString());
    // The views show no font either.
    if (preview_ != nullptr) {
        preview_->showCharacter(PixelImage(), 0, 0);
        preview_->close();
    }
    imgCurrentChar->clear();
    overview->refresh();
}

// ---- Edit menu --------------------------------------------------------------------------------------

void FontPage::FontMenuEdit_RemoveLeftBlankClick() {
    state_.RemoveLeftBlank = !state_.RemoveLeftBlank;
    FontMenuEdit_RemoveLeftBlank->setChecked(state_.RemoveLeftBlank);
}

void FontPage::FontMenuEdit_AutomaticCharWidthClick() {
    state_.AutomaticCharWidth = !state_.AutomaticCharWidth;
    FontMenuEdit_AutomaticCharWidth->setChecked(state_.AutomaticCharWidth);
    if (state_.AutomaticCharWidth) {
        const int before = state_.currentWidth();
        RecomputeCharWidth();
        if (before != state_.currentWidth())
            undoStack_->push(
                new WidthStep("Automatic Char Width", state_, *this, state_.CurrentCode, before));
    }
}

void FontPage::FontMenuEdit_ViewCharClick() {
    if (preview_ == nullptr)
        return;
    if (preview_->isVisible()) {
        preview_->close();
        return;
    }
    preview_->showCharacter(state_.currentChar(), state_.font.FontWidth(), state_.font.FontHeight());
    preview_->showBeside(window());
}

template <typename Command>
void FontPage::characterStep(const QString& name, Command command, bool runAgain) {
    const PixelImage before = state_.currentChar();
    const int widthBefore = state_.currentWidth();
    command(state_);
    state_.FontModified = true;
    undoStack_->push(new CharacterStep(name, state_, *this, before, widthBefore,
                                       runAgain ? std::function<void(AppState&)>(command) : nullptr));
    ShowCharWidth();
    refreshViews(Scope::Character);
}

void FontPage::FontMenuEdit_RestoreClick() {
    FontMenuEdit_Restore->setEnabled(false);
    characterStep("Restore", restoreChar, false);
}

void FontPage::FontMenuEdit_CutClick() {
    FontMenuEdit_Paste->setEnabled(true);
    characterStep("Cut", cutChar, true);
}

void FontPage::FontMenuEdit_CopyClick() {
    FontMenuEdit_Paste->setEnabled(true);
    copyChar(state_);
}

void FontPage::FontMenuEdit_PasteClick() {
    FontMenuEdit_Restore->setEnabled(true);
    characterStep("Paste", pasteChar, false);
}

// ---- The transforms ---------------------------------------------------------------------------------

void FontPage::refused(const QString& name, Refusal refusal) {
    sbFont->setPanelText(kNotePanel, name + ": " + describe(refusal));
    sbFont->setPanelToolTip(kNotePanel, name + " did nothing: " + describe(refusal) + ".");
}

void FontPage::shiftCurrent(Direction where, const QString& name) {
    const Refusal refusal = shiftChar(state_.font, state_.CurrentCode, where);
    if (refusal != Refusal::None)
        return refused(name, refusal);
    state_.FontModified = true;
    undoStack_->push(new ShiftStep(name, state_, *this, state_.CurrentCode, where, {state_.CurrentCode}));
    fontChanged(state_.CurrentCode, Scope::Character);
}

void FontPage::moveAll(Direction where, const QString& name) {
    std::vector<int> moved;
    const Refusal refusal = moveAllChars(state_.font, where, &moved);
    if (refusal != Refusal::None)
        return refused(name, refusal);
    state_.FontModified = true;
    undoStack_->push(new ShiftStep(name, state_, *this, state_.CurrentCode, where, std::move(moved)));
    fontChanged(state_.CurrentCode, Scope::AllCharacters);
}

void FontPage::bShiftUpClick() {
    shiftCurrent(Direction::Up, "Shift Up");
}
void FontPage::bShiftLeftClick() {
    shiftCurrent(Direction::Left, "Shift Left");
}
void FontPage::bShiftRightClick() {
    shiftCurrent(Direction::Right, "Shift Right");
}
void FontPage::bShiftDownClick() {
    shiftCurrent(Direction::Down, "Shift Down");
}
void FontPage::bMoveUpClick() {
    moveAll(Direction::Up, "Move Up");
}
void FontPage::bMoveLeftClick() {
    moveAll(Direction::Left, "Move Left");
}
void FontPage::bMoveRightClick() {
    moveAll(Direction::Right, "Move Right");
}
void FontPage::bMoveDownClick() {
    moveAll(Direction::Down, "Move Down");
}

// A new cell size is a change to save like any other (it used to leave the font unmarked, so closing
// could lose it).
void FontPage::cellSize(const QString& name, bool grow, bool column) {
    const int oldWidth = state_.font.FontWidth();
    const int oldHeight = state_.font.FontHeight();
    DroppedPixels dropped;
    if (grow) {
        (column ? addColumn : addRow)(state_.font);
    } else {
        dropped = DroppedPixels(state_.font, oldWidth - (column ? 1 : 0), oldHeight - (column ? 0 : 1));
        const Refusal refusal = (column ? removeColumn : removeRow)(state_.font);
        if (refusal != Refusal::None)
            return refused(name, refusal);
    }
    state_.FontModified = true;
    undoStack_->push(
        new CellStep(name, state_, *this, state_.CurrentCode, oldWidth, oldHeight, std::move(dropped)));
    fontChanged(state_.CurrentCode, Scope::Cell);
}

void FontPage::bAddColumnClick() {
    cellSize("Add Column", true, true);
}
void FontPage::bRemoveColumnClick() {
    cellSize("Remove Column", false, true);
}
void FontPage::bAddRowClick() {
    cellSize("Add Row", true, false);
}
void FontPage::bRemoveRowClick() {
    cellSize("Remove Row", false, false);
}

void FontPage::mirror(const QString& name, bool horizontal) {
    const int before = state_.currentWidth();
    (horizontal ? mirrorHorizontal : mirrorVertical)(state_.font, state_.CurrentCode);
    RecomputeCharWidth();
    state_.FontModified = true;
    undoStack_->push(new MirrorStep(name, state_, *this, state_.CurrentCode, horizontal, before));
    fontChanged(state_.CurrentCode, Scope::Character);
}

void FontPage::bHorizontalMirrorClick() {
    mirror("Horizontal Mirror", true);
}
void FontPage::bVerticalMirrorClick() {
    mirror("Vertical Mirror", false);
}

void FontPage::bInvertClick() {
    characterStep(
        "Invert", [](AppState& state) { invertChar(state.font, state.CurrentCode); }, true);
}

// Each transform on the keyboard, named in its button's tooltip; active while the focus is on the page.
void FontPage::createTransformShortcuts() {
    const std::tuple<QPushButton*, QKeySequence, const char*> keys[] = {
        {bShiftUp, QKeySequence(Qt::CTRL | Qt::Key_Up), "Shift the character up"},
        {bShiftLeft, QKeySequence(Qt::CTRL | Qt::Key_Left), "Shift the character left"},
        {bShiftRight, QKeySequence(Qt::CTRL | Qt::Key_Right), "Shift the character right"},
        {bShiftDown, QKeySequence(Qt::CTRL | Qt::Key_Down), "Shift the character down"},
        {bMoveUp, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), "Move all characters up"},
        {bMoveLeft, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left), "Move all characters left"},
        {bMoveRight, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right), "Move all characters right"},
        {bMoveDown, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down), "Move all characters down"},
        {bRemoveColumn, QKeySequence(Qt::ALT | Qt::Key_Left), "Remove the right column of the cell"},
        {bAddColumn, QKeySequence(Qt::ALT | Qt::Key_Right), "Add a column at the right of the cell"},
        {bRemoveRow, QKeySequence(Qt::ALT | Qt::Key_Up), "Remove the bottom row of the cell"},
        {bAddRow, QKeySequence(Qt::ALT | Qt::Key_Down), "Add a row at the bottom of the cell"},
        {bHorizontalMirror, QKeySequence(Qt::CTRL | Qt::Key_H), "Mirror the character left to right"},
        {bVerticalMirror, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H),
         "Mirror the character top to bottom"},
        {bInvert, QKeySequence(Qt::CTRL | Qt::Key_I), "Invert the character within its width"},
    };
    for (const auto& [button, key, what] : keys) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, button, [button] {
            if (button->isEnabled())
                button->click();
        });
        addAction(action);
        button->setToolTip(QString(what) + " (" + key.toString(QKeySequence::NativeText) + ")");
    }
}

} // namespace tesselor
