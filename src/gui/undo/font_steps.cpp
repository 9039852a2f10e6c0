#include "undo/font_steps.h"

namespace tesselor {

FontStep::FontStep(const QString& name, FontDocument& document, int code)
    : QUndoCommand(name), document_(document), code_(code) {}

void FontStep::redo() {
    if (applied_)
        applied_ = false;
    else
        apply();
    announce();
}

void FontStep::undo() {
    revert();
    announce();
}

void FontStep::announce() {
    document_.setCurrentCode(code_);
    document_.announceChar(code_);
}

PaintStep::PaintStep(FontDocument& document, int code, PixelChanges pixels, int widthBefore)
    : FontStep("Paint", document, code), pixels_(std::move(pixels)),
      before_(static_cast<std::uint8_t>(widthBefore)), after_(width()) {
    pixels_.finish();
}

void PaintStep::apply() {
    pixels_.redo(character());
    width() = after_;
}

void PaintStep::revert() {
    pixels_.undo(character());
    width() = before_;
}

WidthStep::WidthStep(const QString& name, FontDocument& document, int code, int before)
    : FontStep(name, document, code), before_(static_cast<std::uint8_t>(before)), after_(width()) {}

bool WidthStep::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const WidthStep*>(other);
    if (next == nullptr || next->code_ != code_ || next->text() != text())
        return false;
    after_ = next->after_;
    return true;
}

CharacterStep::CharacterStep(const QString& name, FontDocument& document, int code, const PixelImage& before,
                             int widthBefore)
    : FontStep(name, document, code), before_(before), after_(character()),
      widthBefore_(static_cast<std::uint8_t>(widthBefore)), widthAfter_(width()) {}

void CharacterStep::apply() {
    character() = after_.unpack();
    width() = widthAfter_;
}

void CharacterStep::revert() {
    character() = before_.unpack();
    width() = widthBefore_;
}

ShiftStep::ShiftStep(const QString& name, FontDocument& document, int code, Direction direction,
                     std::vector<int> moved, std::optional<int> baselineBefore)
    : FontStep(name, document, code), direction_(direction), moved_(std::move(moved)),
      baselineBefore_(baselineBefore), baselineAfter_(document.font().Baseline) {}

void ShiftStep::shift(Direction direction) {
    FontModel& font = document_.font();
    font.Baseline = direction == direction_ ? baselineAfter_ : baselineBefore_;
    for (const int code : moved_) {
        shiftPixels(document_.character(code), font.FontWidth(), font.FontHeight(), direction);
        std::uint8_t& width = document_.width(code);
        if (direction == Direction::Left)
            --width;
        else if (direction == Direction::Right)
            ++width;
    }
}

void ShiftStep::announce() {
    document_.setCurrentCode(code_);
    if (baselineBefore_ != baselineAfter_)
        document_.announceBaseline();
    if (moved_.size() == 1 && moved_[0] == code_)
        document_.announceChar(code_);
    else
        document_.announceAllChars();
}

BaselineStep::BaselineStep(FontDocument& document, std::optional<int> before)
    : FontStep("Move Baseline", document, document.currentCode()), before_(before),
      after_(document.font().Baseline) {}

bool BaselineStep::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const BaselineStep*>(other);
    if (next == nullptr)
        return false;
    after_ = next->after_;
    return true;
}

MirrorStep::MirrorStep(const QString& name, FontDocument& document, int code, bool horizontal,
                       int widthBefore)
    : FontStep(name, document, code), horizontal_(horizontal),
      before_(static_cast<std::uint8_t>(widthBefore)), after_(width()) {}

void MirrorStep::apply() {
    (horizontal_ ? mirrorHorizontal : mirrorVertical)(document_.font(), code_);
    width() = after_;
}

void MirrorStep::revert() {
    (horizontal_ ? mirrorHorizontal : mirrorVertical)(document_.font(), code_);
    width() = before_;
}

CellStep::CellStep(const QString& name, FontDocument& document, int oldWidth, int oldHeight,
                   DroppedPixels dropped)
    : FontStep(name, document, document.currentCode()), oldWidth_(oldWidth), oldHeight_(oldHeight),
      newWidth_(document.font().FontWidth()), newHeight_(document.font().FontHeight()),
      dropped_(std::move(dropped)) {}

void CellStep::revert() {
    resizeCell(document_.font(), oldWidth_, oldHeight_);
    dropped_.restore(document_.font());
}

FontReplaceStep::FontReplaceStep(const QString& name, FontDocument& document, const FontSnapshot& before,
                                 const FontDocument::Source& sourceBefore)
    : FontStep(name, document, document.currentCode()), before_(before), after_(document.font()),
      sourceBefore_(sourceBefore), sourceAfter_(document.source()) {}

void FontReplaceStep::put(const FontSnapshot& snapshot, const FontDocument::Source& source) {
    FontModel font;
    snapshot.restore(font);
    document_.replace(std::move(font), source);
}

} // namespace tesselor
