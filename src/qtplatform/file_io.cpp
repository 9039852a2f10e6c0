#include "qtplatform/file_io.h"

#include "model/error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

std::string systemError(int code) {
    return std::strerror(code);
}

// Writes all bytes to a descriptor, retrying short writes.
std::optional<std::string> writeAllTo(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return systemError(written < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return std::nullopt;
}

// Follows symbolic links to the path that really gets written; a dangling link gives its target.
std::string finalPath(const std::string& path) {
    QFileInfo info(qtPath(path));
    for (int depth = 0; info.isSymLink() && depth < 40; ++depth)
        info.setFile(info.symLinkTarget());
    return info.filePath().toStdString();
}

struct Pending {
    std::string target; // the path the user knows, for messages
    std::string final;  // where it lands
    std::string temporary;
    bool direct = false; // a device or pipe: no temporary file
    const std::string* bytes = nullptr;
};

void removeTemporaries(const std::vector<Pending>& pending) {
    for (const Pending& file : pending)
        if (!file.temporary.empty())
            ::unlink(file.temporary.c_str());
}

// A new file beside `final`, with the permissions a new file gets (or the old file's), written and synced.
std::optional<std::string> writeTemporary(Pending& file) {
    const std::string folder = [&] {
        const auto slash = file.final.rfind('/');
        return slash == std::string::npos ? std::string(".")
               : slash == 0               ? std::string("/")
                                          : file.final.substr(0, slash);
    }();
    std::random_device random;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        file.temporary = folder + "/.tesselor-" + std::to_string(random()) + ".tmp";
        fd = ::open(file.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST) {
            const int code = errno;
            file.temporary.clear();
            return systemError(code);
        }
    }
    if (fd < 0) {
        file.temporary.clear();
        return systemError(EEXIST);
    }
    struct stat old {};
    if (::stat(file.final.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    auto failure = writeAllTo(fd, *file.bytes);
    if (!failure && ::fsync(fd) != 0)
        failure = systemError(errno);
    if (::close(fd) != 0 && !failure)
        failure = systemError(errno);
    return failure;
}

} // namespace

std::optional<std::string> unwritableReason(const std::string& path, Links links) {
    const QFileInfo info(qtPath(path));
    if (info.isSymLink() && links == Links::Refuse)
        return "it is a symbolic link";
    if (info.isDir())
        return "it is a folder";
    if (info.exists() && !info.isFile())
        return "it is no regular file";
    // A folder still to be made shares the file system of its nearest existing parent.
    QString folder = info.absolutePath();
    while (!QFileInfo(folder).isDir() && folder != "/")
        folder = QFileInfo(folder).absolutePath();
    const long longest = ::pathconf(folder.toLocal8Bit().constData(), _PC_NAME_MAX);
    const std::size_t nameLength = info.fileName().toLocal8Bit().size();
    if (nameLength > static_cast<std::size_t>(longest > 0 ? longest : NAME_MAX))
        return "the name is longer than the " + std::to_string(longest > 0 ? longest : NAME_MAX) +
               " bytes its file system allows";
    return std::nullopt;
}

void writeFilesAtomic(const std::vector<OutputFile>& files, Links links) {
    std::vector<Pending> pending;
    pending.reserve(files.size());
    for (const OutputFile& file : files) {
        const QFileInfo info(qtPath(file.path));
        if (info.isSymLink() && links == Links::Refuse)
            throw Error("Cannot create '" + file.path + "': it is a symbolic link");
        Pending entry{
            file.path, links == Links::Follow ? finalPath(file.path) : file.path, {}, false, &file.bytes};
        const QFileInfo target(qtPath(entry.final));
        if (target.isDir())
            throw Error("Cannot create '" + file.path + "': it is a folder");
        entry.direct = target.exists() && !target.isFile();
        pending.push_back(std::move(entry));
    }
    for (Pending& file : pending) {
        if (file.direct)
            continue;
        if (const auto failure = writeTemporary(file)) {
            removeTemporaries(pending);
            throw Error("Cannot write '" + file.target + "': " + *failure);
        }
    }
    for (Pending& file : pending) {
        if (!file.direct)
            continue;
        const int fd = ::open(file.final.c_str(), O_WRONLY | O_CLOEXEC);
        auto failure = fd < 0 ? std::optional(systemError(errno)) : writeAllTo(fd, *file.bytes);
        if (fd >= 0)
            ::close(fd);
        if (failure) {
            removeTemporaries(pending);
            throw Error("Cannot write '" + file.target + "': " + *failure);
        }
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        Pending& file = pending[i];
        if (file.direct)
            continue;
        if (::rename(file.temporary.c_str(), file.final.c_str()) != 0) {
            const int code = errno;
            removeTemporaries(
                std::vector<Pending>(pending.begin() + static_cast<std::ptrdiff_t>(i), pending.end()));
            throw Error("Cannot write '" + file.target + "': " + systemError(code));
        }
        file.temporary.clear();
    }
}

} // namespace tesselor::fileio
