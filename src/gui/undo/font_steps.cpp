#include "undo/font_steps.h"

namespace tesselor {

FontStep::FontStep(const QString& name, AppState& state, FontStepTarget& target, int code)
    : QUndoCommand(name), state_(state), target_(target), code_(code) {}

void FontStep::redo() {
    if (applied_) {
        applied_ = false;
        return;
    }
    apply();
    changed();
}

void FontStep::undo() {
    revert();
    changed();
}

PaintStep::PaintStep(AppState& state, FontStepTarget& target, int code, PixelChanges pixels, int widthBefore)
    : FontStep("Paint", state, target, code), pixels_(std::move(pixels)),
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

WidthStep::WidthStep(const QString& name, AppState& state, FontStepTarget& target, int code, int before)
    : FontStep(name, state, target, code), before_(static_cast<std::uint8_t>(before)), after_(width()) {}

bool WidthStep::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const WidthStep*>(other);
    if (next == nullptr || next->code_ != code_ || next->text() != text())
        return false;
    after_ = next->after_;
    return true;
}

CharacterStep::CharacterStep(const QString& name, AppState& state, FontStepTarget& target, PixelImage before,
                             int widthBefore, std::function<void(AppState&)> again)
    : FontStep(name, state, target, state.CurrentCode), before_(before),
      widthBefore_(static_cast<std::uint8_t>(widthBefore)), widthAfter_(width()), again_(std::move(again)) {
    if (!again_)
        after_ = PackedImage(character());
}

void CharacterStep::apply() {
    if (again_) {
        const int current = state_.CurrentCode;
        state_.CurrentCode = code_;
        again_(state_);
        state_.CurrentCode = current;
    } else {
        character() = after_.unpack();
    }
    width() = widthAfter_;
}

void CharacterStep::revert() {
    character() = before_.unpack();
    width() = widthBefore_;
}

ShiftStep::ShiftStep(const QString& name, AppState& state, FontStepTarget& target, int code,
                     Direction direction, std::vector<int> moved)
    : FontStep(name, state, target, code), direction_(direction), moved_(std::move(moved)) {}

void ShiftStep::shift(Direction direction) {
    FontModel& font = state_.font;
    for (const int code : moved_) {
        shiftPixels(font.CharImages[AppState::codeIndex(code)], font.FontWidth(), font.FontHeight(),
                    direction);
        std::uint8_t& width = font.CharWidths[AppState::codeIndex(code)];
        if (direction == Direction::Left)
            --width;
        else if (direction == Direction::Right)
            ++width;
    }
}

MirrorStep::MirrorStep(const QString& name, AppState& state, FontStepTarget& target, int code,
                       bool horizontal, int widthBefore)
    : FontStep(name, state, target, code), horizontal_(horizontal),
      before_(static_cast<std::uint8_t>(widthBefore)), after_(width()) {}

void MirrorStep::apply() {
    (horizontal_ ? mirrorHorizontal : mirrorVertical)(state_.font, code_);
    width() = after_;
}

void MirrorStep::revert() {
    (horizontal_ ? mirrorHorizontal : mirrorVertical)(state_.font, code_);
    width() = before_;
}

CellStep::CellStep(const QString& name, AppState& state, FontStepTarget& target, int code, int oldWidth,
                   int oldHeight, DroppedPixels dropped)
    : FontStep(name, state, target, code), oldWidth_(oldWidth), oldHeight_(oldHeight),
      newWidth_(state.font.FontWidth()), newHeight_(state.font.FontHeight()), dropped_(std::move(dropped)) {}

void CellStep::revert() {
    resizeCell(state_.font, oldWidth_, oldHeight_);
    dropped_.restore(state_.font);
}

FontReplaceStep::FontReplaceStep(const QString& name, AppState& state, FontStepTarget& target,
                                 const FontSnapshot& before, const FontStepTarget::Shown& shownBefore,
                                 const FontStepTarget::Shown& shownAfter)
    : FontStep(name, state, target, state.CurrentCode), before_(before), after_(state.font),
      shownBefore_(shownBefore), shownAfter_(shownAfter) {}

void FontReplaceStep::apply() {
    after_.restore(state_.font);
    target_.fontReplaced(shownAfter_);
}

void FontReplaceStep::revert() {
    before_.restore(state_.font);
    target_.fontReplaced(shownBefore_);
}

} // namespace tesselor
