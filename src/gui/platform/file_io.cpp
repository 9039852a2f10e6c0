#include "platform/file_io.h"

#include "model/error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

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

namespace {

// Writes all bytes, retrying a short write, so that a full device or a file size limit surfaces as an
// error instead of a shortened file. Returns the reason of a failure, or nothing.
std::optional<std::string> writeAll(QFileDevice& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (written <= 0)
            return file.errorString().toStdString();
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return std::nullopt;
}

} // namespace

void writeFileAtomic(const std::string& path, std::string_view bytes) {
    const QFileInfo target(qtPath(path));
    if (target.isDir())
        throw Error("Cannot create '" + path + "': it is a folder");
    // A device or a pipe has no old contents to keep: it is written directly.
    if (target.exists() && !target.isFile()) {
        QFile device(qtPath(path));
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw Error("Cannot create '" + path + "': " + device.errorString().toStdString());
        if (const auto failure = writeAll(device, bytes))
            throw Error("Cannot write '" + path + "': " + *failure);
        return;
    }
    // Unbuffered, so that every write reports what really reached the temporary file.
    QSaveFile file(qtPath(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Error("Cannot create '" + path + "': " + file.errorString().toStdString());
    if (const auto failure = writeAll(file, bytes)) {
        file.cancelWriting();
        throw Error("Cannot write '" + path + "': " + *failure);
    }
    if (!file.commit())
        throw Error("Cannot write '" + path + "': " + file.errorString().toStdString());
}

} // namespace tesselor::fileio
