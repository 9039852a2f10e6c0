#include "platform/file_io.h"

#include "model/error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tesselor::fileio {

namespace {
QString qtPath(const std::string& path) {
    return QString::fromStdString(path);
}
} // namespace

bool fileExists(const std::string& path) {
    const QFileInfo info(qtPath(path));
    return info.exists() && !info.isDir();
}

bool folderExists(const std::string& path) {
    return !path.empty() && QFileInfo(qtPath(path)).isDir();
}

std::string readFile(const std::string& path) {
    QFile file(qtPath(path));
    if (QFileInfo(file).isDir())
        throw Error("Cannot read '" + path + "': it is a folder");
    if (!file.open(QIODevice::ReadOnly))
        throw Error("Cannot open '" + path + "': " + file.errorString().toStdString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error("Cannot read '" + path + "': " + file.errorString().toStdString());
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void writeFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    writeFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void writeFileAtomic(const std::string& path, std::string_view bytes) {
    QSaveFile file(qtPath(path));
    if (!file.open(QIODevice::WriteOnly))
        throw Error("Cannot create '" + path + "': " + file.errorString().toStdString());
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        throw Error("Cannot write '" + path + "': " + reason);
    }
    if (!file.commit())
        throw Error("Cannot write '" + path + "': " + file.errorString().toStdString());
}

} // namespace tesselor::fileio
