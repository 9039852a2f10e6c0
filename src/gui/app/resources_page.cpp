#include "app/resources_page.h"

#include "app/recent_files.h"
#include "fontexport/resource_item.h"
#include "platform/paths.h"
#include "qtplatform/file_io.h"
#include "resources/resource_file.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>

namespace tesselor {

namespace {
constexpr int kTypeWidth = 80;
constexpr int kSizeWidth = 80;
constexpr int kOffsetWidth = 130;
} // namespace

ResourcesPage::ResourcesPage(AppState& state, CommandSupport& commands, QWidget* parent)
    : QWidget(parent), state_(state), commands_(commands), undoStack_(new QUndoStack(this)) {
    setObjectName("tsResourcesFile");
    auto* layout = new QVBoxLayout(this);

    auto* buttons = new QHBoxLayout;
    bImportResdataFile = new QPushButton("Import Resdata File", this);
    bImportResdataFile->setObjectName("bImportResdataFile");
    bRemoveResdataFile = new QPushButton("Remove Resdata File", this);
    bRemoveResdataFile->setObjectName("bRemoveResdataFile");
    buttons->addWidget(bImportResdataFile);
    buttons->addWidget(bRemoveResdataFile);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    // Four shown columns and a hidden fifth that holds the offset in decimal.
    sgResources = new QTableWidget(1, 5, this);
    sgResources->setObjectName("sgResources");
    sgResources->setHorizontalHeaderLabels({" Resource Name", " Type", " Size", " Offset", QString()});
    sgResources->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    sgResources->horizontalHeader()->setStretchLastSection(false);
    sgResources->verticalHeader()->hide();
    sgResources->setColumnHidden(4, true);
    sgResources->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgResources->setSelectionMode(QAbstractItemView::SingleSelection);
    sgResources->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgResources->setColumnWidth(1, kTypeWidth);
    sgResources->setColumnWidth(2, kSizeWidth);
    sgResources->setColumnWidth(3, kOffsetWidth);
    sgResources->clearSelection();
    sgResources->setCurrentCell(-1, -1);
    sgResources->setEnabled(false);
    // The name column takes what the others leave from the first show on, not only after a resize.
    sgResources->installEventFilter(this);
    layout->addWidget(sgResources, 3);

    mResources = new QPlainTextEdit(this);
    mResources->setObjectName("mResources");
    mResources->setReadOnly(true);
    mResources->setLineWrapMode(QPlainTextEdit::NoWrap);
    mResources->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mResources->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName("PopupMenu");
    PopupMenu_CopyDeclarations = PopupMenu->addAction("Copy Declarations");
    PopupMenu_CopyDeclarations->setObjectName("PopupMenu_CopyDeclarations");
    PopupMenu_CopyDeclarations->setEnabled(false);
    connect(mResources, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu->popup(mResources->mapToGlobal(at)); });
    layout->addWidget(mResources, 2);

    bRemoveResdataFile->setEnabled(false);
    fitNameColumn(0);

    ResourcesMenuFile = new QMenu("&File", this);
    ResourcesMenuFile->setObjectName("ResourcesMenuFile");
    ResourcesMenuFile_New = ResourcesMenuFile->addAction("New File.res");
    ResourcesMenuFile_New->setObjectName("ResourcesMenuFile_New");
    ResourcesMenuFile->addSeparator();
    ResourcesMenuFile_Open = ResourcesMenuFile->addAction("Open File.res");
    ResourcesMenuFile_Open->setObjectName("ResourcesMenuFile_Open");
    ResourcesMenuFile_Save = ResourcesMenuFile->addAction("Save File.res");
    ResourcesMenuFile_Save->setObjectName("ResourcesMenuFile_Save");
    ResourcesMenuFile_Save->setEnabled(false);
    ResourcesMenuFile_SaveHeader = ResourcesMenuFile->addAction("Save Declarations Header...");
    ResourcesMenuFile_SaveHeader->setObjectName("ResourcesMenuFile_SaveHeader");
    ResourcesMenuFile_SaveHeader->setEnabled(false);
    ResourcesMenuFile->addSeparator();
    ResourcesMenuFile_Exit = ResourcesMenuFile->addAction("Exit");
    ResourcesMenuFile_Exit->setObjectName("ResourcesMenuFile_Exit");
    ResourcesMenuFile_Recent =
        new RecentFiles(ResourcesMenuFile, ResourcesMenuFile_Exit, "ResourcesMenuFile_Recent");
    connect(ResourcesMenuFile_Recent, &RecentFiles::chosen, this, [this](const std::string& path) {
        if (commands_.recentFileFound(*ResourcesMenuFile_Recent, path))
            openResFileAsking(path);
    });
    connect(ResourcesMenuFile_Exit, &QAction::triggered, this, &ResourcesPage::exitRequested);

    ResourcesMenuEdit = new QMenu("&Edit", this);
    ResourcesMenuEdit->setObjectName("ResourcesMenuEdit");
    ResourcesMenuEdit_Undo = undoStack_->createUndoAction(this, "Undo");
    ResourcesMenuEdit_Undo->setObjectName("ResourcesMenuEdit_Undo");
    ResourcesMenuEdit_Undo->setShortcuts(QKeySequence::Undo);
    ResourcesMenuEdit_Redo = undoStack_->createRedoAction(this, "Redo");
    ResourcesMenuEdit_Redo->setObjectName("ResourcesMenuEdit_Redo");
    ResourcesMenuEdit_Redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    ResourcesMenuEdit->addAction(ResourcesMenuEdit_Undo);
    ResourcesMenuEdit->addAction(ResourcesMenuEdit_Redo);
    // Undoing back to the saved list is no change to save.
    connect(undoStack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { state_.ResourcesModified = !clean; });
    connect(ResourcesMenuFile_New, &QAction::triggered, this, &ResourcesPage::ResourcesMenuFile_NewClick);
    connect(ResourcesMenuFile_Open, &QAction::triggered, this, &ResourcesPage::ResourcesMenuFile_OpenClick);
    connect(ResourcesMenuFile_Save, &QAction::triggered, this, &ResourcesPage::ResourcesMenuFile_SaveClick);
    connect(ResourcesMenuFile_SaveHeader, &QAction::triggered, this,
            &ResourcesPage::ResourcesMenuFile_SaveHeaderClick);
    connect(bImportResdataFile, &QPushButton::clicked, this, &ResourcesPage::bImportResdataFileClick);
    connect(bRemoveResdataFile, &QPushButton::clicked, this, &ResourcesPage::bRemoveResdataFileClick);
    connect(PopupMenu_CopyDeclarations, &QAction::triggered, this,
            &ResourcesPage::PopupMenu_CopyDeclarationsClick);
}

bool ResourcesPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sgResources && event->type() == QEvent::Resize)
        fitNameColumn(8);
    return QWidget::eventFilter(watched, event);
}

void ResourcesPage::listChanged(int row) {
    if (state_.ResourceList.empty()) {
        clearView();
        return;
    }
    sgResources->clearContents();
    setListCommandsEnabled(true);
    sgResources->setEnabled(true);
    RefreshResourceView();
    sgResources->setCurrentCell(row, 0);
}

void ResourcesPage::fitNameColumn(int margin) {
    const int rest = sgResources->width() - kTypeWidth - kSizeWidth - kOffsetWidth - margin;
    sgResources->setColumnWidth(0, std::max(rest, 0));
}

namespace {
QTableWidgetItem* cell(const std::string& text) {
    return new QTableWidgetItem(QString::fromStdString(text));
}
} // namespace

void ResourcesPage::RefreshResourceView() {
    const std::vector<ResourceRow> rows = resourceRows(state_.ResourceList);
    sgResources->setUpdatesEnabled(false);
    sgResources->setRowCount(std::max<int>(static_cast<int>(rows.size()), 1));
    for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
        const ResourceRow& row = rows[static_cast<std::size_t>(k)];
        sgResources->setItem(k, 0, cell(" " + row.name));
        sgResources->setItem(k, 1, cell(" " + row.type));
        sgResources->setItem(k, 2, cell(" " + std::to_string(row.size)));
        sgResources->setItem(k, 3, cell(offsetCell(row.offset)));
        sgResources->setItem(k, 4, cell(std::to_string(row.offset)));
    }
    sgResources->setUpdatesEnabled(true);
    declarations_ = resourceDeclarations(rows);
    mResources->setPlainText(QString::fromStdString(declarations_));
}

void ResourcesPage::setListCommandsEnabled(bool enabled) {
    PopupMenu_CopyDeclarations->setEnabled(enabled);
    ResourcesMenuFile_Save->setEnabled(enabled);
    ResourcesMenuFile_SaveHeader->setEnabled(enabled);
    bRemoveResdataFile->setEnabled(enabled);
}

void ResourcesPage::clearView() {
    declarations_.clear();
    mResources->clear();
    sgResources->clearContents();
    sgResources->setRowCount(1);
    sgResources->clearSelection();
    sgResources->setCurrentCell(-1, -1);
    sgResources->setEnabled(false);
    setListCommandsEnabled(false);
}

void ResourcesPage::setResourcesPageTitle(const std::string& title) {
    state_.ResourcesPageTitle = title;
    emit captionChanged();
}

void ResourcesPage::bImportResdataFileClick() {
    commands_.run([&] {
        const std::vector<std::string> paths = commands_.chooseOpenPaths(
            "Open File.resdata...", ".resdata", "Resource File (*.resdata)|*.resdata|All files (*.*)|*.*",
            state_.ResdataImportPath);
        if (!paths.empty())
            importResdataFiles(paths);
    });
}

ResourcesPage::Refusal ResourcesPage::importRefusal(const std::string& path, std::string& bytes) {
    if (!fileio::fileExists(path))
        return {notFoundText(path), false};
    // The whole file, checked against its own fields.
    bytes = fileio::readFile(path);
    const auto item = readResourceItem(bytes);
    if (!item)
        return {notCompatibleText(path), false};
    for (const Bytes& existing : state_.ResourceList)
        if (readResourceItem(byteView(existing))->name == item->name)
            return {"Resource '" + item->name + "' already in the list.", true};
    return {};
}

void ResourcesPage::importResdataFiles(const std::vector<std::string>& paths) {
    if (paths.size() == 1) {
        importResdataFile(paths.front());
        return;
    }
    std::string refusals;
    int taken = 0;
    commands_.run([&] {
        for (const std::string& path : paths) {
            state_.ResdataImportPath = path;
            std::string bytes;
            Refusal refusal;
            try {
                refusal = importRefusal(path, bytes);
            } catch (const std::exception& error) {
                // A file that cannot be read is one refusal among the others.
                refusal = {"File '" + path + "'\r\n" + withFinalStop(error.what()), false};
            }
            if (!refusal.text.empty()) {
                refusals += "\r\n" + refusal.text;
                continue;
            }
            if (taken == 0)
                undoStack_->beginMacro("Import");
            ++taken;
            addItem(std::move(bytes));
        }
    });
    // Ended however the loop ended, so that the history stays usable.
    if (taken > 0)
        undoStack_->endMacro();
    if (!refusals.empty())
        commands_.showError("Not imported (" +
                            std::to_string(paths.size() - static_cast<std::size_t>(taken)) + " of " +
                            std::to_string(paths.size()) + " files):" + refusals);
}

void ResourcesPage::importResdataFile(const std::string& path) {
    commands_.run([&] {
        state_.ResdataImportPath = path;
        std::string bytes;
        const Refusal refusal = importRefusal(path, bytes);
        if (refusal.text.empty()) {
            addItem(std::move(bytes));
        } else if (!refusal.duplicate) {
            commands_.showError(refusal.text);
        } else {
            // A duplicate still counts as a change, as it always did.
            state_.ResourcesModified = true;
            commands_.showInformation(refusal.text);
        }
    });
}

void ResourcesPage::addItem(std::string bytes) {
    state_.ResourcesModified = true;
    const int index = static_cast<int>(state_.ResourceList.size());
    state_.ResourceList.emplace_back(bytes.begin(), bytes.end());
    listChanged(index);
    undoStack_->push(new ItemStep(ItemStep::Kind::Insert, state_, *this, index, state_.ResourceList.back()));
}

void ResourcesPage::bRemoveResdataFileClick() {
    const int row = sgResources->currentRow();
    if (row < 0 || row >= static_cast<int>(state_.ResourceList.size()))
        return;
    state_.ResourcesModified = true;
    const Bytes item = state_.ResourceList[static_cast<std::size_t>(row)];
    state_.ResourceList.erase(state_.ResourceList.begin() + row);
    listChanged(std::min(row, static_cast<int>(state_.ResourceList.size()) - 1));
    undoStack_->push(new ItemStep(ItemStep::Kind::Remove, state_, *this, row, item));
}

void ResourcesPage::ResourcesMenuFile_NewClick() {
    if (!commands_.mayDiscardChanges(state_.ResourcesModified))
        return;
    state_.ResourceList.clear();
    undoStack_->clear();
    state_.ResourcesModified = false;
    clearView();
    setResourcesPageTitle(kAppTitle);
}

void ResourcesPage::PopupMenu_CopyDeclarationsClick() {
    mResources->selectAll();
    QGuiApplication::clipboard()->setText(QString::fromStdString(declarations_));
    commands_.showInformation("Declarations copied to the clipboard.");
}

void ResourcesPage::ResourcesMenuFile_SaveClick() {
    commands_.run([&] {
        const auto path = commands_.chooseSavePath("Save File.res...", "", ".res",
                                                   "Resource System File (*.res)|*.res|All files (*.*)|*.*",
                                                   state_.ResFilePath);
        if (!path)
            return;
        state_.ResFilePath = *path;
        const Bytes file = writeResFile(state_.ResourceList);
        fileio::writeFileAtomic(*path, file);
        ResourcesMenuFile_Recent->add(*path);
        // Only a file really written clears the flag.
        setResourcesPageTitle(titleFor(*path));
        undoStack_->setClean();
        state_.ResourcesModified = false;
        commands_.showCreated(*path);
    });
}

// A header of offset and size macros for the firmware, beside the declarations the page copies. Its
// macros take the .res file's name when the list was saved or opened, else the header's own.
void ResourcesPage::ResourcesMenuFile_SaveHeaderClick() {
    commands_.run([&] {
        const std::string base = state_.ResFilePath.empty() ? "" : paths::baseName(state_.ResFilePath);
        const auto path =
            commands_.chooseSavePath("Save Declarations Header...", base, ".h",
                                     "C header (*.h)|*.h|All files (*.*)|*.*", state_.ResHeaderPath);
        if (!path)
            return;
        state_.ResHeaderPath = *path;
        const std::string prefix =
            defaultMacroPrefix(state_.ResFilePath.empty() ? *path : state_.ResFilePath);
        fileio::writeFileAtomic(*path, resourceHeader(state_.ResourceList, prefix, *path));
        commands_.showCreated(*path);
    });
}

void ResourcesPage::ResourcesMenuFile_OpenClick() {
    if (!commands_.mayDiscardChanges(state_.ResourcesModified))
        return;
    const auto path = commands_.chooseOpenPath(
        "Open File.res...", ".res", "Resource File (*.res)|*.res|All files (*.*)|*.*", state_.ResFilePath);
    if (path)
        openResFile(*path);
}

void ResourcesPage::openResFileAsking(const std::string& path) {
    if (commands_.mayDiscardChanges(state_.ResourcesModified))
        openResFile(path);
}

void ResourcesPage::openResFile(const std::string& path) {
    commands_.run([&] {
        if (!commands_.fileFound(path))
            return;
        // Every record is checked against the data before the list changes.
        auto items = readResFile(fileio::readFile(path));
        if (!items) {
            commands_.showNotCompatible(path);
            return;
        }
        state_.ResFilePath = path;
        setResourcesPageTitle(titleFor(path));
        undoStack_->clear();
        state_.ResourcesModified = false;
        state_.ResourceList = std::move(*items);
        sgResources->clearContents();
        setListCommandsEnabled(!state_.ResourceList.empty());
        sgResources->setEnabled(true);
        RefreshResourceView();
        sgResources->setCurrentCell(sgResources->rowCount() - 1, 0);
        ResourcesMenuFile_Recent->add(path);
    });
}

} // namespace tesselor
