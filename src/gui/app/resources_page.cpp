#include "app/resources_page.h"

#include <QAction>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tesselor {

namespace {
constexpr int kTypeWidth = 80;
constexpr int kSizeWidth = 80;
constexpr int kOffsetWidth = 130;
} // namespace

ResourcesPage::ResourcesPage(AppState& state, CommandSupport& commands, QWidget* parent)
    : QWidget(parent), state_(state), commands_(commands) {
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

    ResourcesMenuFile = new QMenu("File", this);
    ResourcesMenuFile->setObjectName("ResourcesMenuFile");
    ResourcesMenuFile_New = ResourcesMenuFile->addAction("New File.res");
    ResourcesMenuFile_New->setObjectName("ResourcesMenuFile_New");
    ResourcesMenuFile->addSeparator();
    ResourcesMenuFile_Open = ResourcesMenuFile->addAction("Open File.res");
    ResourcesMenuFile_Open->setObjectName("ResourcesMenuFile_Open");
    ResourcesMenuFile_Save = ResourcesMenuFile->addAction("Save File.res");
    ResourcesMenuFile_Save->setObjectName("ResourcesMenuFile_Save");
    ResourcesMenuFile_Save->setEnabled(false);
    ResourcesMenuFile->addSeparator();
    ResourcesMenuFile_Exit = ResourcesMenuFile->addAction("Exit");
    ResourcesMenuFile_Exit->setObjectName("ResourcesMenuFile_Exit");
    connect(ResourcesMenuFile_Exit, &QAction::triggered, this, &ResourcesPage::exitRequested);
}

void ResourcesPage::fitNameColumn(int margin) {
    const int rest = sgResources->width() - kTypeWidth - kSizeWidth - kOffsetWidth - margin;
    sgResources->setColumnWidth(0, std::max(rest, 0));
}

} // namespace tesselor
