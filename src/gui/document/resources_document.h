#pragma once

#include "document/document.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tesselor {

// The list of resource items the Resources page gathers into a .res file, with its history and its file.
// Import and Remove are steps of the history.
class ResourcesDocument : public Document {
    Q_OBJECT
public:
    using Item = std::vector<std::uint8_t>; // the complete bytes of one resource item

    explicit ResourcesDocument(QObject* parent = nullptr);

    const std::vector<Item>& items() const { return items_; }
    // The .res file the list was opened from or saved to; empty for a new list.
    const std::string& filePath() const { return filePath_; }

    // The steps' changes; each announces the list with the row to select.
    void insert(int index, Item item);
    void remove(int index);

    // A list read from a file, or a new empty one (no file): a history of its own, nothing to save.
    void open(std::vector<Item> items, const std::string& path);
    // The list was written to `path`: the saved state is here.
    void saved(const std::string& path);

signals:
    // The items changed; `row` is the one to select (-1 for none).
    void listChanged(int row);
    void filePathChanged();

private:
    std::vector<Item> items_;
    std::string filePath_;
};

} // namespace tesselor
