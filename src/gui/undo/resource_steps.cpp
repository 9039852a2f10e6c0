#include "undo/resource_steps.h"

#include <algorithm>

namespace tesselor {

ItemStep::ItemStep(Kind kind, AppState& state, ResourceStepTarget& target, int index,
                   std::vector<std::uint8_t> item)
    : QUndoCommand(kind == Kind::Insert ? "Import" : "Remove"), kind_(kind), state_(state), target_(target),
      index_(index), item_(std::move(item)) {}

void ItemStep::insert() {
    state_.ResourceList.insert(state_.ResourceList.begin() + index_, item_);
    target_.listChanged(index_);
}

void ItemStep::remove() {
    state_.ResourceList.erase(state_.ResourceList.begin() + index_);
    target_.listChanged(std::min(index_, static_cast<int>(state_.ResourceList.size()) - 1));
}

void ItemStep::redo() {
    if (applied_) {
        applied_ = false;
        return;
    }
    kind_ == Kind::Insert ? insert() : remove();
}

void ItemStep::undo() {
    kind_ == Kind::Insert ? remove() : insert();
}

} // namespace tesselor
