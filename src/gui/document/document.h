#pragma once

#include <QObject>

class QUndoStack;

namespace tesselor {

// What every document of the window has: a history of its changes, and "modified" as the history's
// distance from its saved state. The history is a child, so it never outlives what its steps change.
class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);

    QUndoStack* undoStack() const { return undoStack_; }
    bool isModified() const;

signals:
    void modifiedChanged(bool modified);

private:
    QUndoStack* undoStack_;
};

} // namespace tesselor
