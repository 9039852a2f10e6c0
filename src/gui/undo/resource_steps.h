#pragma once

#include "model/app_state.h"

#include <QUndoCommand>

namespace tesselor {

// What the Resources page does after a step changed the list: show it with `row` current.
class ResourceStepTarget {
public:
    virtual ~ResourceStepTarget() = default;
    virtual void listChanged(int row) = 0;
};

// An item that comes into the list (Import) or leaves it (Remove), with its bytes and its place. The
// first run is the command itself; the step is pushed once it was applied.
class ItemStep : public QUndoCommand {
public:
    enum class Kind { Insert, Remove };
    ItemStep(Kind kind, AppState& state, ResourceStepTarget& target, int index,
             std::vector<std::uint8_t> item);
    void redo() override;
    void undo() override;

private:
    void insert();
    void remove();

    Kind kind_;
    AppState& state_;
    ResourceStepTarget& target_;
    int index_;
    std::vector<std::uint8_t> item_;
    bool applied_ = true;
};

} // namespace tesselor
