#pragma once

#include "editing/transforms.h"
#include "editing/undo_data.h"
#include "model/app_state.h"

#include <QUndoCommand>

#include <functional>
#include <string>

namespace tesselor {

// What the Font page does after a step changed the font, on the first run, on undo and on redo.
class FontStepTarget {
public:
    virtual ~FontStepTarget() = default;
    // What a step changed: one character, every character of the range, or the cell size too.
    enum class Scope { Character, AllCharacters, Cell };
    // Show `code` and refresh what the step changed.
    virtual void fontChanged(int code, Scope scope) = 0;
    // The whole font was replaced: show it (or hide the editor when there was none) under this title.
    struct Shown {
        bool editorShown = false;
        std::string title;
        std::string baseName;
        std::string rangeLabel;
    };
    virtual void fontReplaced(const Shown& shown) = 0;
};

// Every step of the font's history keeps only what it changed; the first run is the command itself, so a
// step is pushed once it was applied and redo() then has nothing to do.
class FontStep : public QUndoCommand {
public:
    FontStep(const QString& name, AppState& state, FontStepTarget& target, int code);
    void redo() final;
    void undo() final;
    // How much memory the step keeps, for the history's budget.
    virtual std::size_t bytes() const = 0;

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    // Tells the page what changed, after apply() and revert().
    virtual void changed() { target_.fontChanged(code_, FontStepTarget::Scope::Character); }
    PixelImage& character() { return state_.font.CharImages[AppState::codeIndex(code_)]; }
    std::uint8_t& width() { return state_.font.CharWidths[AppState::codeIndex(code_)]; }

    AppState& state_;
    FontStepTarget& target_;
    int code_;

private:
    bool applied_ = true;
};

// A stroke of the mouse: the pixels it changed, and the width before and after (Automatic Char Width).
class PaintStep : public FontStep {
public:
    PaintStep(AppState& state, FontStepTarget& target, int code, PixelChanges pixels, int widthBefore);
    std::size_t bytes() const override { return sizeof(*this) + pixels_.bytes(); }

protected:
    void apply() override;
    void revert() override;

private:
    PixelChanges pixels_;
    std::uint8_t before_;
    std::uint8_t after_;
};

// A width set by hand or recomputed; consecutive changes of one character's width are one step.
class WidthStep : public FontStep {
public:
    WidthStep(const QString& name, AppState& state, FontStepTarget& target, int code, int before);
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;
    std::size_t bytes() const override { return sizeof(*this); }

protected:
    void apply() override { width() = after_; }
    void revert() override { width() = before_; }

private:
    std::uint8_t before_;
    std::uint8_t after_;
};

// A command that rewrites one character (Invert, Cut, Paste, Restore). The character before is kept
// packed; redo runs the command again when it depends on nothing else, or puts back the character after.
class CharacterStep : public FontStep {
public:
    CharacterStep(const QString& name, AppState& state, FontStepTarget& target, PixelImage before,
                  int widthBefore, std::function<void(AppState&)> again);
    std::size_t bytes() const override { return sizeof(*this) + before_.bytes() + after_.bytes(); }

protected:
    void apply() override;
    void revert() override;

private:
    PackedImage before_;
    PackedImage after_; // when there is no command to run again
    std::uint8_t widthBefore_;
    std::uint8_t widthAfter_;
    std::function<void(AppState&)> again_;
};

// Shift one character or move them all: the opposite shift undoes it, since the edge a shift leaves was
// blank. `moved` are the codes whose pixels moved.
class ShiftStep : public FontStep {
public:
    ShiftStep(const QString& name, AppState& state, FontStepTarget& target, int code, Direction direction,
              std::vector<int> moved);
    std::size_t bytes() const override { return sizeof(*this) + moved_.capacity() * sizeof(int); }

protected:
    void apply() override { shift(direction_); }
    void revert() override { shift(opposite(direction_)); }
    void changed() override {
        target_.fontChanged(code_, moved_.size() == 1 && moved_[0] == code_
                                       ? FontStepTarget::Scope::Character
                                       : FontStepTarget::Scope::AllCharacters);
    }

private:
    void shift(Direction direction);
    Direction direction_;
    std::vector<int> moved_;
};

// A mirror is its own inverse; the recomputed width is kept both ways.
class MirrorStep : public FontStep {
public:
    MirrorStep(const QString& name, AppState& state, FontStepTarget& target, int code, bool horizontal,
               int widthBefore);
    std::size_t bytes() const override { return sizeof(*this); }

protected:
    void apply() override;
    void revert() override;

private:
    bool horizontal_;
    std::uint8_t before_;
    std::uint8_t after_;
};

// A new cell size (a column or row added or removed, the trim of Save): the pixels a smaller cell dropped
// are kept for undo.
class CellStep : public FontStep {
public:
    CellStep(const QString& name, AppState& state, FontStepTarget& target, int code, int oldWidth,
             int oldHeight, DroppedPixels dropped);
    std::size_t bytes() const override { return sizeof(*this) + dropped_.bytes(); }

protected:
    void apply() override { resizeCell(state_.font, newWidth_, newHeight_); }
    void revert() override;
    void changed() override { target_.fontChanged(code_, FontStepTarget::Scope::Cell); }

private:
    int oldWidth_;
    int oldHeight_;
    int newWidth_;
    int newHeight_;
    DroppedPixels dropped_;
};

// An import: the whole font before and after, with what the page showed.
class FontReplaceStep : public FontStep {
public:
    FontReplaceStep(const QString& name, AppState& state, FontStepTarget& target, const FontSnapshot& before,
                    const FontStepTarget::Shown& shownBefore, const FontStepTarget::Shown& shownAfter);
    std::size_t bytes() const override { return sizeof(*this) + before_.bytes() + after_.bytes(); }

protected:
    void apply() override;
    void revert() override;
    void changed() override {}

private:
    FontSnapshot before_;
    FontSnapshot after_;
    FontStepTarget::Shown shownBefore_;
    FontStepTarget::Shown shownAfter_;
};

} // namespace tesselor
