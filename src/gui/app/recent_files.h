#pragma once

#include <QObject>
#include <QStringList>

#include <string>

class QAction;
class QMenu;

namespace tesselor {

// A page's "Recent Files": the last files opened or saved there, the newest first, as a submenu of the
// page's File menu.
class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 8;

    // Adds the submenu and a separator to `fileMenu` before `before`.
    RecentFiles(QMenu* fileMenu, QAction* before, const QString& objectName);

    void add(const std::string& path);
    void remove(const std::string& path);
    QStringList paths() const { return paths_; }
    // As remembered between runs: the first kCount, each once.
    void setPaths(const QStringList& paths);

    QMenu* menu;

signals:
    void chosen(const std::string& path);

private:
    void rebuild();

    QStringList paths_;
};

} // namespace tesselor
