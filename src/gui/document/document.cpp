#include "document/document.h"

#include <QUndoStack>

namespace tesselor {

Document::Document(QObject* parent) : QObject(parent), undoStack_(new QUndoStack(this)) {
    // Undoing back to the saved state is no change to save.
    connect(undoStack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

bool Document::isModified() const {
    return !undoStack_->isClean();
}

} // namespace tesselor
