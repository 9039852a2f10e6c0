// The Font page's editor: the grid under the mouse, the code, width and zoom controls, the Edit menu,
// the transforms, and the views that follow the document.
#include "app/font_page.h"

#include "dialogs/form_view_char.h"
#include "editing/char_width.h"
#include "editing/edit_commands.h"
#include "editing/stroke.h"
#include "editing/transforms.h"
#include "editor/font_grid.h"
#include "editor/font_overview.h"
#include "editor/spin_control.h"
#include "editor/status_panels.h"
#include "editor/text_preview.h"
#include "model/grey_levels.h"
#include "qtplatform/code_pages.h"
#include "qtplatform/qt_pixels.h"
#include "undo/font_steps.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
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

// The cell rectangle of a character, as the device draws it.
PixelImage cellOf(const PixelImage& character, int width, int height) {
    PixelImage cell(width, height);
    cell.copyRect(character, 0, 0, width, height, 0, 0);
    return cell;
}
} // namespace

// ---- The views that follow the document -------------------------------------------------------------

void FontPage::followDocument() {
    auto widest = [this] {
        sbFont->setPanelText(0, "Col " + QString::number(document_.font().widestWidth()));
    };
    connect(&document_, &FontDocument::charChanged, this, [this, widest](int code) {
        if (!editorShown_)
            return;
        widest();
        if (code == document_.currentCode())
            ShowCharWidth();
    });
    connect(&document_, &FontDocument::allCharsChanged, this, [this, widest] {
        if (!editorShown_)
            return;
        widest();
        ShowCharWidth();
    });
    connect(&document_, &FontDocument::cellChanged, this, [this, widest] {
        if (!editorShown_)
            return;
        layOutGrid();
        sbFont->setPanelText(1, "Row " + QString::number(document_.font().FontHeight()));
        widest();
        ShowCharWidth();
        showBaseline();
    });
    connect(&document_, &FontDocument::baselineChanged, this, &FontPage::showBaseline);
    connect(&document_, &FontDocument::replaced, this, [this] {
        const FontDocument::Source& source = document_.source();
        if (source.loaded)
            ShowFontInEditor(source.rangeLabel);
        else
            HideFontEditor();
        showDepth();
        showBaseline();
    });
    connect(&document_, &FontDocument::currentCodeChanged, this, [this](int code) {
        seCharCode->setValue(code);
        showWidthInControl(document_.currentWidth());
        redrawGrid();
    });
    connect(&document_, &FontDocument::sourceChanged, this, &FontPage::captionChanged);
    connect(&document_, &FontDocument::modifiedChanged, this, &FontPage::captionChanged);
    // A note says why the last command did nothing, or what it did beyond the obvious, until the next
    // change.
    connect(document_.undoStack(), &QUndoStack::indexChanged, this, [this] { note({}); });
}

void FontPage::showCurrentChar() {
    if (!editorShown_)
        return;
    const int w = document_.font().FontWidth();
    const int h = document_.font().FontHeight();
    if (preview_ != nullptr)
        preview_->showCharacter(document_.currentChar(), w, h);
    const int scale = h <= 16 ? 2 : 1;
    imgCurrentChar->setPixmap(
        QPixmap::fromImage(toQImage(cellOf(document_.currentChar(), w, h)).scaled(w * scale, h * scale)));
}

void FontPage::showDepth() {
    const int depth = document_.font().Depth;
    const bool grey = editorShown_ && depth > 1;
    lblInkLevel->setVisible(grey);
    seInkLevel->setVisible(grey);
    seInkLevel->setRange(1, maxLevel(depth));
    seInkLevel->setValue(maxLevel(depth));
}

void FontPage::showBaseline() {
    const QSignalBlocker blocker(seBaseline);
    seBaseline->setRange(0, std::max(document_.font().FontHeight() - 1, 0));
    seBaseline->setValue(document_.font().baselineRow());
    dgridFont->update();
}

// The baseline moved by hand: a step of the history, consecutive moves one step.
void FontPage::seBaselineChange(int value) {
    if (!editorShown_ || value == document_.font().baselineRow())
        return;
    const std::optional<int> before = document_.font().Baseline;
    document_.font().Baseline = value;
    document_.undoStack()->push(new BaselineStep(document_, before));
}

void FontPage::note(const QString& text, const QString& toolTip) {
    sbFont->setPanelText(kNotePanel, text);
    sbFont->setPanelToolTip(kNotePanel, toolTip.isEmpty() ? text : toolTip);
}

void FontPage::refused(const QString& name, Refusal refusal) {
    note(name + ": " + describe(refusal), name + " did nothing: " + describe(refusal) + ".");
}

// ---- The editor -------------------------------------------------------------------------------------

void FontPage::layOutGrid() {
    dgridFont->layOut(document_.font().FontWidth(), document_.font().FontHeight(), state_.GridZoom);
    sFont->setGeometry(0, 0, dgridFont->width() + 2, dgridFont->height() + 2);
    gridHolder->resize(sFont->size());
}

void FontPage::redrawGrid() {
    dgridFont->update();
    if (!editorShown_)
        return;
    showCurrentChar();
    const bool narrow = document_.currentWidth() == 1;
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
    document_.setCurrentCode(value);
}

void FontPage::seCharWidthChange(int value) {
    // A hidden editor shows no font, so a value the program gives it changes nothing the user made.
    if (!editorShown_ || value == document_.currentWidth()) {
        redrawGrid();
        return;
    }
    const int code = document_.currentCode();
    const int before = document_.width(code);
    document_.width(code) = static_cast<std::uint8_t>(value);
    document_.undoStack()->push(new WidthStep("Char Width", document_, code, before));
}

void FontPage::ShowCharWidth() {
    if (document_.currentWidth() == seCharWidth->value())
        redrawGrid();
    else
        showWidthInControl(document_.currentWidth());
}

void FontPage::RecomputeCharWidth() {
    const int code = document_.currentCode();
    const int width = recomputedCharWidth(document_.character(code), document_.font().FontWidth(),
                                          document_.font().FontHeight(), document_.font().Depth);
    document_.width(code) = static_cast<std::uint8_t>(std::min(width, kMaxCharWidth));
    ShowCharWidth();
}

bool FontPage::insideCell(QPoint cell) const {
    return cell.x() >= 0 && cell.y() >= 0 && cell.x() < dgridFont->columns() && cell.y() < dgridFont->rows();
}

// Every cell on the straight line from the last cell the stroke reached, so that a fast drag leaves no
// gaps; cells beyond the grid are passed over.
void FontPage::paintTo(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell) {
    if (!(buttons & Qt::LeftButton))
        return;
    const int depth = document_.font().Depth;
    const Colour colour = (modifiers & Qt::ShiftModifier) ? kWhite
                          : depth > 1                     ? levelColour(seInkLevel->value(), depth)
                                                          : kBlack;
    if (!stroke_) {
        if (!insideCell(cell))
            return;
        stroke_.emplace();
        strokeCode_ = document_.currentCode();
        strokeWidth_ = document_.currentWidth();
        strokeCell_ = cell;
    }
    PixelImage& character = document_.character(strokeCode_);
    bool painted = false;
    for (const auto& [x, y] : cellsOnLine(strokeCell_.x(), strokeCell_.y(), cell.x(), cell.y())) {
        if (!insideCell({x, y}) || character.pixel(x, y) == colour)
            continue;
        stroke_->record(character, x, y, colour);
        character.setPixel(x, y, colour);
        painted = true;
    }
    strokeCell_ = cell;
    if (painted)
        document_.announceChar(strokeCode_);
}

void FontPage::dgridFontMouseDown(Qt::MouseButton, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                  QPoint cell) {
    stroke_.reset();
    paintTo(buttons, modifiers, cell);
}

void FontPage::dgridFontMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint cell) {
    sbFont->setPanelText(kCellPanel, editorShown_ && insideCell(cell)
                                         ? QString("%1, %2").arg(cell.x()).arg(cell.y())
                                         : QString());
    paintTo(buttons, modifiers, cell);
}

// A stroke, press to release, is one step: the pixels it changed and the width Automatic Char Width gave.
void FontPage::dgridFontMouseUp() {
    if (!stroke_)
        return;
    if (state_.AutomaticCharWidth)
        RecomputeCharWidth();
    if (!stroke_->empty() || strokeWidth_ != document_.width(strokeCode_))
        document_.undoStack()->push(new PaintStep(document_, strokeCode_, std::move(*stroke_), strokeWidth_));
    stroke_.reset();
}

void FontPage::dgridFontKeyDown(int key) {
    seCharCode->setValue(seCharCode->value() + (key == Qt::Key_Up ? 1 : -1));
    seCharCode->setFocus();
}

void FontPage::refreshEditorLayout(const std::string& rangeLabel, int widest) {
    seGridSize->setValue(loadedZoom_);
    state_.GridZoom = loadedZoom_;
    layOutGrid();
    const FontModel& font = document_.font();
    sbFont->setPanelText(0, "Col " + QString::number(widest));
    sbFont->setPanelText(1, "Row " + QString::number(font.FontHeight()));
    sbFont->setPanelText(2, QString::fromStdString(rangeLabel) + QString::number(font.RangeFrom) + " to " +
                                QString::number(font.RangeTo));
    seCharCode->setFocus();
}

void FontPage::setLoadedZoom(int zoom) {
    loadedZoom_ = std::clamp(zoom, seGridSize->minimum(), seGridSize->maximum());
}

int FontPage::zoomToRemember() const {
    return editorShown_ ? seGridSize->value() : loadedZoom_;
}

void FontPage::ShowFontInEditor(const std::string& rangeLabel) {
    const FontModel& font = document_.font();
    const int widest = font.widestWidth();
    editorShown_ = true;
    sFont->show();
    dgridFont->show();
    setEditorEnabled(true);
    seCharCode->setCodePage(codePageOrDefault(font));
    seCharCode->setMinimum(font.RangeFrom);
    seCharCode->setMaximum(font.RangeTo);
    seCharCode->setValue(font.RangeFrom);
    // A width is one byte: the control reaches 255, so showing a wide character never cuts it.
    {
        // New limits alone must not store a clamped width into the character.
        const QSignalBlocker blocker(seCharWidth);
        seCharWidth->setMinimum(1);
        seCharWidth->setMaximum(kMaxCharWidth);
    }
    showWidthInControl(document_.currentWidth());
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
    for (int panel = 0; panel < sbFont->panelCount(); ++panel)
        sbFont->setPanelText(panel, QString());
    // The views show no font either.
    if (preview_ != nullptr) {
        preview_->showCharacter(PixelImage(), 0, 0);
        preview_->close();
    }
    imgCurrentChar->clear();
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
        const int code = document_.currentCode();
        const int before = document_.width(code);
        RecomputeCharWidth();
        if (before != document_.width(code))
            document_.undoStack()->push(new WidthStep("Automatic Char Width", document_, code, before));
    }
}

void FontPage::FontMenuEdit_ViewCharClick() {
    if (preview_ == nullptr)
        return;
    if (preview_->isVisible()) {
        preview_->close();
        return;
    }
    preview_->showCharacter(document_.currentChar(), document_.font().FontWidth(),
                            document_.font().FontHeight());
    preview_->showBeside(window());
}

template <typename Command> void FontPage::characterStep(const QString& name, Command command) {
    const int code = document_.currentCode();
    const PixelImage before = document_.character(code);
    const int widthBefore = document_.width(code);
    command(document_.font(), code, document_.clipboard());
    document_.undoStack()->push(new CharacterStep(name, document_, code, before, widthBefore));
}

void FontPage::FontMenuEdit_RestoreClick() {
    FontMenuEdit_Restore->setEnabled(false);
    characterStep("Restore", restoreChar);
}

void FontPage::FontMenuEdit_CutClick() {
    FontMenuEdit_Paste->setEnabled(true);
    characterStep("Cut", cutChar);
    copyToSystemClipboard();
}

void FontPage::FontMenuEdit_CopyClick() {
    FontMenuEdit_Paste->setEnabled(true);
    copyChar(document_.font(), document_.currentCode(), document_.clipboard());
    copyToSystemClipboard();
}

// The character cut or copied also goes to the system clipboard, as a picture of its cell.
void FontPage::copyToSystemClipboard() {
    const FontModel& font = document_.font();
    QGuiApplication::clipboard()->setImage(
        toQImage(cellOf(font.CellImage, font.FontWidth(), font.FontHeight())));
}

void FontPage::FontMenuEdit_PasteClick() {
    FontMenuEdit_Restore->setEnabled(true);
    characterStep("Paste", pasteChar);
}

// ---- The transforms ---------------------------------------------------------------------------------

void FontPage::shiftCurrent(Direction where, const QString& name) {
    const int code = document_.currentCode();
    const Refusal refusal = shiftChar(document_.font(), code, where);
    if (refusal != Refusal::None)
        return refused(name, refusal);
    document_.undoStack()->push(
        new ShiftStep(name, document_, code, where, {code}, document_.font().Baseline));
}

void FontPage::moveAll(Direction where, const QString& name) {
    std::vector<int> moved;
    const std::optional<int> baseline = document_.font().Baseline;
    const Refusal refusal = moveAllChars(document_.font(), where, &moved);
    if (refusal != Refusal::None)
        return refused(name, refusal);
    document_.undoStack()->push(
        new ShiftStep(name, document_, document_.currentCode(), where, std::move(moved), baseline));
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
    FontModel& font = document_.font();
    const int oldWidth = font.FontWidth();
    const int oldHeight = font.FontHeight();
    DroppedPixels dropped;
    if (grow) {
        (column ? addColumn : addRow)(font);
    } else {
        dropped = DroppedPixels(font, oldWidth - (column ? 1 : 0), oldHeight - (column ? 0 : 1));
        const Refusal refusal = (column ? removeColumn : removeRow)(font);
        if (refusal != Refusal::None)
            return refused(name, refusal);
    }
    document_.undoStack()->push(new CellStep(name, document_, oldWidth, oldHeight, std::move(dropped)));
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
    const int code = document_.currentCode();
    const int before = document_.width(code);
    (horizontal ? mirrorHorizontal : mirrorVertical)(document_.font(), code);
    RecomputeCharWidth();
    document_.undoStack()->push(new MirrorStep(name, document_, code, horizontal, before));
}

void FontPage::bHorizontalMirrorClick() {
    mirror("Horizontal Mirror", true);
}
void FontPage::bVerticalMirrorClick() {
    mirror("Vertical Mirror", false);
}

void FontPage::bInvertClick() {
    characterStep("Invert", [](FontModel& font, int code, CharClipboard&) { invertChar(font, code); });
}

// Each transform on the keyboard, named in its button's tooltip. They act wherever the focus is while
// the Font page is shown, the menu bar included (a page-wide context lost them after Alt+E, Escape).
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
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, button, [pressed = button] {
            if (pressed->isEnabled())
                pressed->click();
        });
        addAction(action);
        button->setToolTip(QString(what) + " (" + key.toString(QKeySequence::NativeText) + ")");
    }
}

} // namespace tesselor
