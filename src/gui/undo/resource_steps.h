#pragma once

#include "document/resources_document.h"

#include <QUndoCommand>

namespace tesselor {

// An item that comes into the list (Import) or leaves it (Remove), with its bytes and its place.
class ItemStep : public QUndoCommand {
public:
    enum class Kind { Insert, Remove };
    ItemStep(Kind kind, ResourcesDocument& document, int index, ResourcesDocument::Item item);
    void redo() override;
    void undo() override;

private:
    void insert() { document_.insert(index_, item_); }
    void remove() { document_.remove(index_); }

    Kind kind_;
    ResourcesDocument& document_;
    int index_;
    ResourcesDocument::Item item_;
};

} // namespace tesselor
