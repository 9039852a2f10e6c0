#include "document/resources_document.h"

#include <QUndoStack>

#include <algorithm>

namespace tesselor {

ResourcesDocument::ResourcesDocument(QObject* parent) : Document(parent) {}

void ResourcesDocument::insert(int index, Item item) {
    items_.insert(items_.begin() + index, std::move(item));
    emit listChanged(index);
}

void ResourcesDocument::remove(int index) {
    items_.erase(items_.begin() + index);
    emit listChanged(std::min(index, static_cast<int>(items_.size()) - 1));
}

void ResourcesDocument::open(std::vector<Item> items, const std::string& path) {
    items_ = std::move(items);
    filePath_ = path;
    undoStack()->clear();
    emit listChanged(static_cast<int>(items_.size()) - 1);
    emit filePathChanged();
}

void ResourcesDocument::saved(const std::string& path) {
    filePath_ = path;
    undoStack()->setClean();
    emit filePathChanged();
}

} // namespace tesselor
