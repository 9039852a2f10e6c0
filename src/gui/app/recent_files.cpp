#include "app/recent_files.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace tesselor {

RecentFiles::RecentFiles(QMenu* fileMenu, QAction* before, const QString& objectName)
    : QObject(fileMenu), menu(new QMenu("Recent Files", fileMenu)) {
    menu->setObjectName(objectName);
    menu->menuAction()->setObjectName(objectName);
    fileMenu->insertMenu(before, menu);
    fileMenu->insertSeparator(before);
    rebuild();
}

void RecentFiles::add(const std::string& path) {
    // Absolute, so that an entry still opens after the working folder changed.
    const QString file = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    paths_.removeAll(file);
    paths_.prepend(file);
    while (paths_.size() > kCount)
        paths_.removeLast();
    rebuild();
}

void RecentFiles::remove(const std::string& path) {
    paths_.removeAll(QString::fromStdString(path));
    rebuild();
}

void RecentFiles::setPaths(const QStringList& paths) {
    paths_.clear();
    for (const QString& path : paths)
        if (!path.isEmpty() && !paths_.contains(path) && paths_.size() < kCount)
            paths_.append(path);
    rebuild();
}

void RecentFiles::rebuild() {
    menu->clear();
    for (int i = 0; i < paths_.size(); ++i) {
        const QString path = paths_[i];
        // "&1" .. "&8": a key for each; an "&" of the path itself is doubled so it shows.
        QAction* entry =
            menu->addAction("&" + QString::number(i + 1) + " " + QString(path).replace("&", "&&"));
        connect(entry, &QAction::triggered, this, [this, path] { emit chosen(path.toStdString()); });
    }
    menu->menuAction()->setEnabled(!paths_.isEmpty());
}

} // namespace tesselor
