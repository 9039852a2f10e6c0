#include "app/resources_page.h"

#include "app/recent_files.h"
#include "editor/status_panels.h"
#include "fontexport/resource_item.h"
#include "platform/paths.h"
#include "qtplatform/file_io.h"
#include "resources/resource_file.h"
#include "undo/resource_steps.h"

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

ResourcesPage::ResourcesPage(AppState& state, ResourcesDocument& document, CommandSupport& commands,
                             QWidget* parent)
    : QWidget(parent), state_(state), document_(document), commands_(commands) {
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
    sbResources = new StatusPanels({0}, this);
    sbResources->setObjectName("sbResources");
    layout->addWidget(sbResources);

    bRemoveResdataFile->setEnabled(false);
    fitNameColumn(0);

    ResourcesMenuFile = new QMenu("&File", this);
    ResourcesMenuFile->setObjectName("ResourcesMenuFile");
    ResourcesMenuFile_New = ResourcesMenuFile->addAction("New File.res");
    ResourcesMenuFile_New->setObjectName("ResourcesMenuFile_New");
    ResourcesMenuFile->addSeparator();
    ResourcesMenuFile_New->setShortcut(QKeySequence::New);
    ResourcesMenuFile_Open = ResourcesMenuFile->addAction("Open File.res");
    ResourcesMenuFile_Open->setObjectName("ResourcesMenuFile_Open");
    ResourcesMenuFile_Open->setShortcut(QKeySequence::Open);
    ResourcesMenuFile_Save = ResourcesMenuFile->addAction("Save File.res");
    ResourcesMenuFile_Save->setObjectName("ResourcesMenuFile_Save");
    ResourcesMenuFile_Save->setShortcut(QKeySequence::Save);
    ResourcesMenuFile_Save->setEnabled(false);
    ResourcesMenuFile_SaveAs = ResourcesMenuFile->addAction("Save File.res As...");
    ResourcesMenuFile_SaveAs->setObjectName("ResourcesMenuFile_SaveAs");
    ResourcesMenuFile_SaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    ResourcesMenuFile_SaveAs->setEnabled(false);
    ResourcesMenuFile_SaveHeader = ResourcesMenuFile->addAction("Save Declarations Header...");
    ResourcesMenuFile_SaveHeader->setObjectName("ResourcesMenuFile_SaveHeader");
    ResourcesMenuFile_SaveHeader->setEnabled(false);
    ResourcesMenuFile->addSeparator();
    ResourcesMenuFile_Exit = ResourcesMenuFile->addAction("Exit");
    ResourcesMenuFile_Exit->setObjectName("ResourcesMenuFile_Exit");
    ResourcesMenuFile_Exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    ResourcesMenuFile_Recent =
        new RecentFiles(ResourcesMenuFile, ResourcesMenuFile_Exit, "ResourcesMenuFile_Recent");
    connect(ResourcesMenuFile_Recent, &RecentFiles::chosen, this, [this](const std::string& path) {
        if (commands_.recentFileFound(*ResourcesMenuFile_Recent, path))
            openResFileAsking(path);
    });
    connect(ResourcesMenuFile_Exit, &QAction::triggered, this, &ResourcesPage::exitRequested);

    ResourcesMenuEdit = new QMenu("&Edit", this);
    ResourcesMenuEdit->setObjectName("ResourcesMenuEdit");
    ResourcesMenuEdit_Undo = document_.undoStack()->createUndoAction(this, "Undo");
    ResourcesMenuEdit_Undo->setObjectName("ResourcesMenuEdit_Undo");
    ResourcesMenuEdit_Undo->setShortcuts(QKeySequence::Undo);
    ResourcesMenuEdit_Redo = document_.undoStack()->createRedoAction(this, "Redo");
    ResourcesMenuEdit_Redo->setObjectName("ResourcesMenuEdit_Redo");
    ResourcesMenuEdit_Redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    ResourcesMenuEdit->addAction(ResourcesMenuEdit_Undo);
    ResourcesMenuEdit->addAction(ResourcesMenuEdit_Redo);
    ResourcesMenuEdit->addSeparator();
    // Delete removes the selected item, as the button does.
    ResourcesMenuEdit_Remove = ResourcesMenuEdit->addAction("Remove Resdata File");
    ResourcesMenuEdit_Remove->setObjectName("ResourcesMenuEdit_Remove");
    ResourcesMenuEdit_Remove->setShortcut(QKeySequence::Delete);
    ResourcesMenuEdit_Remove->setEnabled(false);
    connect(ResourcesMenuEdit_Remove, &QAction::triggered, this, &ResourcesPage::bRemoveResdataFileClick);
    connect(&document_, &ResourcesDocument::listChanged, this, &ResourcesPage::showList);
    connect(&document_, &ResourcesDocument::filePathChanged, this, &ResourcesPage::captionChanged);
    connect(&document_, &ResourcesDocument::modifiedChanged, this, &ResourcesPage::captionChanged);
    connect(document_.undoStack(), &QUndoStack::indexChanged, this,
            [this] { sbResources->setPanelText(0, QString()); });
    connect(ResourcesMenuFile_New, &QAction::triggered, this, &ResourcesPage::ResourcesMenuFile_NewClick);
    connect(ResourcesMenuFile_Open, &QAction::triggered, this, &ResourcesPage::ResourcesMenuFile_OpenClick);
    connect(ResourcesMenuFile_Save, &QAction::triggered, this, &ResourcesPage::ResourcesMenuFile_SaveClick);
    connect(ResourcesMenuFile_SaveAs, &QAction::triggered, this,
            &ResourcesPage::ResourcesMenuFile_SaveAsClick);
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

QUndoStack* ResourcesPage::undoStack() const {
    return document_.undoStack();
}

QString ResourcesPage::caption() const {
    return QString::fromStdString(document_.filePath().empty() ? kAppTitle : titleFor(document_.filePath()));
}

void ResourcesPage::showList(int row) {
    if (document_.items().empty()) {
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
    const std::vector<ResourceRow> rows = resourceRows(document_.items());
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
    ResourcesMenuFile_SaveAs->setEnabled(enabled);
    ResourcesMenuFile_SaveHeader->setEnabled(enabled);
    bRemoveResdataFile->setEnabled(enabled);
    ResourcesMenuEdit_Remove->setEnabled(enabled);
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
    for (const Bytes& existing : document_.items())
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
                document_.undoStack()->beginMacro("Import");
            ++taken;
            addItem(std::move(bytes));
        }
    });
    // Ended however the loop ended, so that the history stays usable.
    if (taken > 0)
        document_.undoStack()->endMacro();
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
        if (refusal.text.empty())
            addItem(std::move(bytes));
        else if (!refusal.duplicate)
            commands_.showError(refusal.text);
        else
            commands_.showInformation(refusal.text);
    });
}

void ResourcesPage::addItem(std::string bytes) {
    const int index = static_cast<int>(document_.items().size());
    document_.undoStack()->push(new ItemStep(ItemStep::Kind::Insert, document_, index,
                                             ResourcesDocument::Item(bytes.begin(), bytes.end())));
}

void ResourcesPage::bRemoveResdataFileClick() {
    const int row = sgResources->currentRow();
    if (row < 0 || row >= static_cast<int>(document_.items().size()))
        return;
    document_.undoStack()->push(new ItemStep(ItemStep::Kind::Remove, document_, row,
                                             document_.items()[static_cast<std::size_t>(row)]));
}

std::optional<CommandSupport::UnsavedWork> ResourcesPage::unsavedWork() {
    if (!document_.isModified())
        return std::nullopt;
    return CommandSupport::UnsavedWork{"the resource list", [this] { return saveList(); }};
}

bool ResourcesPage::mayReplaceList() {
    return commands_.mayLeave({unsavedWork()});
}

void ResourcesPage::ResourcesMenuFile_NewClick() {
    if (!mayReplaceList())
        return;
    document_.open({}, {});
}

void ResourcesPage::PopupMenu_CopyDeclarationsClick() {
    mResources->selectAll();
    QGuiApplication::clipboard()->setText(QString::fromStdString(declarations_));
    commands_.showInformation("Declarations copied to the clipboard.");
}

void ResourcesPage::ResourcesMenuFile_SaveClick() {
    saveList();
}

void ResourcesPage::ResourcesMenuFile_SaveAsClick() {
    saveListAs();
}

bool ResourcesPage::saveList() {
    if (document_.filePath().empty())
        return saveListAs();
    bool saved = false;
    commands_.run([&] {
        fileio::writeFileAtomic(document_.filePath(), writeResFile(document_.items()));
        saved = true;
        document_.saved(document_.filePath());
        sbResources->setPanelText(0, "Saved " + QString::fromStdString(document_.filePath()));
    });
    return saved;
}

bool ResourcesPage::saveListAs() {
    bool saved = false;
    commands_.run([&] {
        const auto path = commands_.chooseSavePath("Save File.res...", "", ".res",
                                                   "Resource System File (*.res)|*.res|All files (*.*)|*.*",
                                                   state_.ResFilePath);
        if (!path)
            return;
        state_.ResFilePath = *path;
        // Only a file really written clears the flag.
        fileio::writeFileAtomic(*path, writeResFile(document_.items()));
        saved = true;
        ResourcesMenuFile_Recent->add(*path);
        document_.saved(*path);
        commands_.showCreated(*path);
    });
    return saved;
}

// A header of offset and size macros for the firmware, beside the declarations the page copies. Its
// macros take the .res file's name when the list was saved or opened, else the header's own.
void ResourcesPage::ResourcesMenuFile_SaveHeaderClick() {
    commands_.run([&] {
        const std::string& own = document_.filePath();
        const std::string base = own.empty() ? "" : paths::baseName(own);
        const auto path =
            commands_.chooseSavePath("Save Declarations Header...", base, ".h",
                                     "C header (*.h)|*.h|All files (*.*)|*.*", state_.ResHeaderPath);
        if (!path)
            return;
        state_.ResHeaderPath = *path;
        const std::string prefix = defaultMacroPrefix(own.empty() ? *path : own);
        // The images read as the Bitmap page makes them: FT8xx codes with its FT8xx option.
        fileio::writeFileAtomic(*path, resourceHeader(document_.items(), prefix, *path, state_.ForFT800));
        commands_.showCreated(*path);
    });
}

void ResourcesPage::ResourcesMenuFile_OpenClick() {
    if (!mayReplaceList())
        return;
    const auto path = commands_.chooseOpenPath(
        "Open File.res...", ".res", "Resource File (*.res)|*.res|All files (*.*)|*.*", state_.ResFilePath);
    if (path)
        openResFile(*path);
}

void ResourcesPage::openResFileAsking(const std::string& path) {
    if (mayReplaceList())
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
        document_.open(std::move(*items), path);
        ResourcesMenuFile_Recent->add(path);
    });
}

} // namespace tesselor
