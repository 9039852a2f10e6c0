#pragma once

#include "document/font_document.h"
#include "editing/transforms.h"
#include "editing/undo_data.h"

#include <QUndoCommand>

#include <string>

namespace tesselor {

// Every step of the font's history keeps only what it changed. The command changes the font first (it
// may refuse, and a stroke is painted while the mouse moves), then pushes its step, whose first redo()
// only announces the change; later ones change the font again. Each announcement brings the step's
// character into view.
class FontStep : public QUndoCommand {
public:
    FontStep(const QString& name, FontDocument& document, int code);
    void redo() final;
    void undo() final;
    // How much memory the step keeps, for the history's budget.
    virtual std::size_t bytes() const = 0;

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    // Tells the document's views what changed, after apply() and revert().
    virtual void announce();
    PixelImage& character() { return document_.character(code_); }
    std::uint8_t& width() { return document_.width(code_); }

    FontDocument& document_;
    int code_;

private:
    bool applied_ = true;
};

// A stroke of the mouse: the pixels it changed, and the width before and after (Automatic Char Width).
class PaintStep : public FontStep {
public:
    PaintStep(FontDocument& document, int code, PixelChanges pixels, int widthBefore);
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
    WidthStep(const QString& name, FontDocument& document, int code, int before);
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

// A command that rewrites one character (Invert, Cut, Paste, Restore): the character before and after,
// packed.
class CharacterStep : public FontStep {
public:
    CharacterStep(const QString& name, FontDocument& document, int code, const PixelImage& before,
                  int widthBefore);
    std::size_t bytes() const override { return sizeof(*this) + before_.bytes() + after_.bytes(); }

protected:
    void apply() override;
    void revert() override;

private:
    PackedImage before_;
    PackedImage after_;
    std::uint8_t widthBefore_;
    std::uint8_t widthAfter_;
};

// Shift one character or move them all: the opposite shift undoes it, since the edge a shift leaves was
// blank. `moved` are the codes whose pixels moved; a move up or down also took the baseline from
// `baselineBefore` to where it is now.
class ShiftStep : public FontStep {
public:
    ShiftStep(const QString& name, FontDocument& document, int code, Direction direction,
              std::vector<int> moved, std::optional<int> baselineBefore);
    std::size_t bytes() const override { return sizeof(*this) + moved_.capacity() * sizeof(int); }

protected:
    void apply() override { shift(direction_); }
    void revert() override { shift(opposite(direction_)); }
    void announce() override;

private:
    void shift(Direction direction);
    Direction direction_;
    std::vector<int> moved_;
    std::optional<int> baselineBefore_;
    std::optional<int> baselineAfter_;
};

// The baseline moved by hand; consecutive moves are one step.
class BaselineStep : public FontStep {
public:
    BaselineStep(FontDocument& document, std::optional<int> before);
    int id() const override { return 2; }
    bool mergeWith(const QUndoCommand* other) override;
    std::size_t bytes() const override { return sizeof(*this); }

protected:
    void apply() override { document_.font().Baseline = after_; }
    void revert() override { document_.font().Baseline = before_; }
    void announce() override { document_.announceBaseline(); }

private:
    std::optional<int> before_;
    std::optional<int> after_;
};

// A mirror is its own inverse; the recomputed width is kept both ways.
class MirrorStep : public FontStep {
public:
    MirrorStep(const QString& name, FontDocument& document, int code, bool horizontal, int widthBefore);
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
    CellStep(const QString& name, FontDocument& document, int oldWidth, int oldHeight, DroppedPixels dropped);
    std::size_t bytes() const override { return sizeof(*this) + dropped_.bytes(); }

protected:
    void apply() override { resizeCell(document_.font(), newWidth_, newHeight_); }
    void revert() override;
    void announce() override { document_.announceCell(); }

private:
    int oldWidth_;
    int oldHeight_;
    int newWidth_;
    int newHeight_;
    DroppedPixels dropped_;
};

// Another font in place of this one (an import, a new font): the whole font and its source before and
// after.
class FontReplaceStep : public FontStep {
public:
    FontReplaceStep(const QString& name, FontDocument& document, const FontSnapshot& before,
                    const FontDocument::Source& sourceBefore);
    std::size_t bytes() const override { return sizeof(*this) + before_.bytes() + after_.bytes(); }

protected:
    void apply() override { put(after_, sourceAfter_); }
    void revert() override { put(before_, sourceBefore_); }
    // The document announced the new font itself.
    void announce() override {}

private:
    void put(const FontSnapshot& snapshot, const FontDocument::Source& source);

    FontSnapshot before_;
    FontSnapshot after_;
    FontDocument::Source sourceBefore_;
    FontDocument::Source sourceAfter_;
};

} // namespace tesselor
