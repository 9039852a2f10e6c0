#include "qtplatform/file_io.h"

#include "model/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tesselor::fileio {

std::string includePath(const std::string& source, const std::string& header) {
    const QDir folder = QFileInfo(QString::fromStdString(source)).absoluteDir();
    return folder.relativeFilePath(QFileInfo(QString::fromStdString(header)).absoluteFilePath())
        .toStdString();
}

namespace {
QString qtPath(const std::string& path) {
    return QString::fromStdString(path);
}
} // namespace

bool fileExists(const std::string& path) {
    const QFileInfo info(qtPath(path));
    return info.exists() && !info.isDir();
}

bool isDevice(const std::string& path) {
    struct stat status {};
    return path == kStandardOutput ||
           (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode));
}

bool folderExists(const std::string& path) {
    return !path.empty() && QFileInfo(qtPath(path)).isDir();
}

namespace {

// Opens a regular file, or a pipe that is read once (the output of another command). A device (/dev/zero)
// has no end and is refused; a named pipe is opened without waiting for a writer, so that one nobody
// writes to reads as empty instead of freezing the program.
std::unique_ptr<QFile> openForReading(const std::string& path, QIODevice::OpenMode extra = {}) {
    auto file = std::make_unique<QFile>(qtPath(path));
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            throw Error("Cannot read '" + path + "': it is a folder");
        if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode) || S_ISSOCK(status.st_mode))
            throw Error("Cannot read '" + path + "': it is a device, not a file");
        if (S_ISFIFO(status.st_mode)) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                throw Error("Cannot open '" + path + "': " + std::strerror(errno));
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            if (!file->open(fd, QIODevice::ReadOnly | extra, QFileDevice::AutoCloseHandle)) {
                ::close(fd);
                throw Error("Cannot open '" + path + "': " + file->errorString().toStdString());
            }
            return file;
        }
    }
    if (!file->open(QIODevice::ReadOnly | extra))
        throw Error("Cannot open '" + path + "': " + file->errorString().toStdString());
    return file;
}

// Reads straight into the result: a large image is held once, not twice. A file whose size is unknown
// (a pipe) or changes while read is read to its end all the same. The end is found with a read into a
// small buffer, so a file of the size it said is never grown (and copied) after its last byte.
std::string readRest(QFile& file, const std::string& path) {
    std::string bytes(file.isSequential() ? 0 : static_cast<std::size_t>(file.size() - file.pos()), '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            char probe[4096];
            const qint64 more = file.read(probe, sizeof probe);
            if (more <= 0)
                break;
            if (file.isSequential() && got + static_cast<std::size_t>(more) > kMaxPipeBytes)
                throw Error("Cannot read '" + path + "': a pipe gives at most " +
                            std::to_string(kMaxPipeBytes >> 20) + " MiB");
            bytes.resize(got + static_cast<std::size_t>(more) + 65536);
            std::copy(probe, probe + more, bytes.data() + got);
            got += static_cast<std::size_t>(more);
        }
        const qint64 read = file.read(bytes.data() + got, static_cast<qint64>(bytes.size() - got));
        if (read <= 0)
            break;
        got += static_cast<std::size_t>(read);
    }
    bytes.resize(got);
    if (file.error() != QFileDevice::NoError)
        throw Error("Cannot read '" + path + "': " + file.errorString().toStdString());
    return bytes;
}

} // namespace

std::string readFile(const std::string& path) {
    const auto file = openForReading(path);
    return readRest(*file, path);
}

FileStart readFileStart(const std::string& path, std::size_t count) {
    const auto file = openForReading(path);
    if (file->isSequential()) {
        std::string bytes = readRest(*file, path);
        const auto size = static_cast<std::uint64_t>(bytes.size());
        return {std::move(bytes), size, true};
    }
    const QByteArray data = file->read(static_cast<qint64>(count));
    if (file->error() != QFileDevice::NoError)
        throw Error("Cannot read '" + path + "': " + file->errorString().toStdString());
    const auto size = static_cast<std::uint64_t>(file->size());
    return {std::string(data.constData(), static_cast<std::size_t>(data.size())), size, false};
}

// Unbuffered: each piece goes straight to its place, with no copy through a buffer.
PieceReader::PieceReader(const std::string& path)
    : path_(path), file_(openForReading(path, QIODevice::Unbuffered)) {}

PieceReader::~PieceReader() = default;

void PieceReader::read(std::uint64_t offset, std::uint8_t* to, std::size_t size) {
    if (!file_->seek(static_cast<qint64>(offset)) ||
        file_->read(reinterpret_cast<char*>(to), static_cast<qint64>(size)) != static_cast<qint64>(size))
        throw Error("Cannot read '" + path_ + "': the file changed while it was read");
}

void writeFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    writeFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void writeFileAtomic(const std::string& path, std::string_view bytes) {
    writeFilesAtomic({{path, ContentWriter([bytes](const auto& put) { put(bytes); })}});
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

// A content's bytes to a descriptor; the reason of a failed write, or nothing. An exception of a content
// writer goes on to the caller.
std::optional<std::string> writeContent(int fd, const OutputFile& output) {
    struct Failed {
        std::string reason;
    };
    return std::visit(
        [fd](const auto& content) -> std::optional<std::string> {
            using Content = std::decay_t<decltype(content)>;
            if constexpr (std::is_same_v<Content, std::string>) {
                return writeAllTo(fd, content);
            } else if constexpr (std::is_same_v<Content, std::vector<std::uint8_t>>) {
                return writeAllTo(fd, {reinterpret_cast<const char*>(content.data()), content.size()});
            } else {
                try {
                    content([fd](std::string_view piece) {
                        if (auto failure = writeAllTo(fd, piece))
                            throw Failed{*failure};
                    });
                } catch (const Failed& failed) {
                    return failed.reason;
                }
                return std::nullopt;
            }
        },
        output.content);
}

// Follows symbolic links to the path that really gets written; a dangling link gives its target.
std::string finalPath(const std::string& path) {
    QFileInfo info(qtPath(path));
    for (int depth = 0; info.isSymLink() && depth < 40; ++depth)
        info.setFile(info.symLinkTarget());
    return info.filePath().toStdString();
}

// The temporary files being written, so that a signal that ends the program removes them too. Changed
// only with those signals blocked, so the handler always finds the set whole.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
std::set<std::string>& temporaries() {
    static auto* files = new std::set<std::string>; // never destroyed: a signal may come during exit
    return *files;
}
struct sigaction previousActions[std::size(kEndingSignals)];

extern "C" void removeTemporariesAndEnd(int signal) {
    for (const std::string& file : temporaries())
        ::unlink(file.c_str());
    // The signal does what it did before (ends the program), once this handler returns.
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
        if (kEndingSignals[i] == signal)
            ::sigaction(signal, &previousActions[i], nullptr);
    ::raise(signal);
}

class SignalsBlocked {
public:
    SignalsBlocked() {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : kEndingSignals)
            sigaddset(&set, signal);
        ::sigprocmask(SIG_BLOCK, &set, &old_);
        static const bool installed = [] {
            temporaries(); // made before the handler can look at it
            for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
                struct sigaction action {};
                action.sa_handler = removeTemporariesAndEnd;
                sigemptyset(&action.sa_mask);
                ::sigaction(kEndingSignals[i], &action, &previousActions[i]);
                // An ignored signal stays ignored (nohup).
                if (previousActions[i].sa_handler == SIG_IGN)
                    ::sigaction(kEndingSignals[i], &previousActions[i], nullptr);
            }
            return true;
        }();
        (void)installed;
    }
    ~SignalsBlocked() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }
    SignalsBlocked(const SignalsBlocked&) = delete;
    SignalsBlocked& operator=(const SignalsBlocked&) = delete;

private:
    sigset_t old_;
};

void forgetTemporary(std::string& file) {
    SignalsBlocked blocked;
    temporaries().erase(file);
    file.clear();
}

struct Pending {
    std::string target; // the path the user knows, for messages
    std::string final;  // where it lands
    std::string temporary;
    bool direct = false; // a device or pipe: no temporary file
    const OutputFile* output = nullptr;
};

void removeTemporaries(std::vector<Pending>& pending) {
    for (Pending& file : pending)
        if (!file.temporary.empty()) {
            ::unlink(file.temporary.c_str());
            forgetTemporary(file.temporary);
        }
}

// Few files are synced one by one; many at once with their file system, which costs about as much as one
// file does (10,000 fsync calls took 19 s).
constexpr std::size_t kFilesSyncedEach = 8;

// A new file beside `final`, with the permissions a new file gets (or the old file's), written (and synced
// when `sync`). Throws Error when it cannot be made.
std::optional<std::string> writeTemporary(Pending& file, bool sync) {
    const std::string folder = [&] {
        const auto slash = file.final.rfind('/');
        return slash == std::string::npos ? std::string(".")
               : slash == 0               ? std::string("/")
                                          : file.final.substr(0, slash);
    }();
    std::random_device random;
    int fd = -1;
    {
        SignalsBlocked blocked; // made and known at once
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            const std::string name = folder + "/.tesselor-" + std::to_string(random()) + ".tmp";
            fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (fd >= 0) {
                file.temporary = name;
                temporaries().insert(name);
            } else if (errno != EEXIST) {
                break;
            }
        }
    }
    if (fd < 0)
        throw Error("Cannot create '" + file.target + "': " + systemError(errno));
    struct stat old {};
    if (::stat(file.final.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    std::optional<std::string> failure;
    try {
        failure = writeContent(fd, *file.output);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (!failure && sync && ::fsync(fd) != 0)
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
        // A device is written where the path leads (/dev/stdout to a pipe has no name to follow).
        if (isDevice(file.path)) {
            pending.push_back({file.path, file.path, {}, true, &file});
            continue;
        }
        Pending entry{file.path, links == Links::Follow ? finalPath(file.path) : file.path, {}, false, &file};
        const QFileInfo target(qtPath(entry.final));
        if (target.isDir())
            throw Error("Cannot create '" + file.path + "': it is a folder");
        entry.direct = isDevice(entry.final);
        pending.push_back(std::move(entry));
    }
    // No temporary file outlives a failed write, nor an exception of a content writer.
    try {
        const bool each = pending.size() <= kFilesSyncedEach;
        std::set<std::string> folders;
        for (Pending& file : pending) {
            if (file.direct)
                continue;
            if (const auto failure = writeTemporary(file, each))
                throw Error("Cannot write '" + file.target + "': " + *failure);
            folders.insert(file.temporary.substr(0, file.temporary.rfind('/') + 1));
        }
        for (const std::string& folder : each ? std::set<std::string>() : folders) {
            const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            const bool synced = fd >= 0 && ::syncfs(fd) == 0;
            const int code = errno;
            if (fd >= 0)
                ::close(fd);
            if (!synced)
                throw Error("Cannot write into '" + folder + "': " + systemError(code));
        }
        for (Pending& file : pending) {
            if (!file.direct)
                continue;
            const int fd = file.final == kStandardOutput ? ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0)
                                                         : ::open(file.final.c_str(), O_WRONLY | O_CLOEXEC);
            std::optional<std::string> failure;
            if (fd < 0) {
                failure = systemError(errno);
            } else {
                try {
                    failure = writeContent(fd, *file.output);
                } catch (...) {
                    ::close(fd);
                    throw;
                }
                ::close(fd);
            }
            if (failure)
                throw Error("Cannot write '" + file.target + "': " + *failure);
        }
    } catch (...) {
        removeTemporaries(pending);
        throw;
    }
    for (Pending& file : pending) {
        if (file.direct)
            continue;
        if (::rename(file.temporary.c_str(), file.final.c_str()) != 0) {
            const int code = errno;
            removeTemporaries(pending); // those renamed before have no temporary file any more
            throw Error("Cannot write '" + file.target + "': " + systemError(code));
        }
        forgetTemporary(file.temporary);
    }
}

} // namespace tesselor::fileio
