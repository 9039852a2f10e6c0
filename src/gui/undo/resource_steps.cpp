#include "undo/resource_steps.h"

namespace tesselor {

ItemStep::ItemStep(Kind kind, ResourcesDocument& document, int index, ResourcesDocument::Item item)
    : QUndoCommand(kind == Kind::Insert ? "Import" : "Remove"), kind_(kind), document_(document),
      index_(index), item_(std::move(item)) {}

void ItemStep::redo() {
    kind_ == Kind::Insert ? insert() : remove();
}

void ItemStep::undo() {
    kind_ == Kind::Insert ? remove() : insert();
}

} // namespace tesselor
