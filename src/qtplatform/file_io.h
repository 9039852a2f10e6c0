#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class QFile;

namespace tesselor::fileio {

bool fileExists(const std::string& path);
// The output name of standard output.
inline const std::string kStandardOutput = "-";
// Whether a path is standard output or leads to no regular file nor folder (a device, a pipe, a terminal,
// /dev/stdout): such an output is written as it is, with no temporary file and no extension added.
bool isDevice(const std::string& path);
bool folderExists(const std::string& path);
// The most read from a pipe: an endless one is refused long before memory runs out.
inline constexpr std::size_t kMaxPipeBytes = std::size_t(256) << 20;
// The whole file; throws Error with the path and the reason when it cannot be read: a folder, a device, a
// pipe giving more than kMaxPipeBytes.
std::string readFile(const std::string& path);

// The first `count` bytes of a file and its size, for a reader that takes the rest in pieces. A pipe
// is read whole, as it cannot be read twice. Throws Error as readFile does.
struct FileStart {
    std::string bytes;
    std::uint64_t size = 0;
    bool sequential = false; // a pipe: bytes holds all of it
};
FileStart readFileStart(const std::string& path, std::size_t count);

// A file open for reading pieces at any place, for a reader that never holds it whole.
class PieceReader {
public:
    explicit PieceReader(const std::string& path); // throws Error as readFile does
    ~PieceReader();
    // Exactly `size` bytes from `offset`; throws Error when the file does not hold them (any more).
    void read(std::uint64_t offset, std::uint8_t* to, std::size_t size);

private:
    std::string path_;
    std::unique_ptr<QFile> file_;
};
// The path of `header` as an #include line of a file at `source` names it: relative to its folder.
std::string includePath(const std::string& source, const std::string& header);

// Writes a temporary file beside the target and renames it over the target, so a failed write leaves
// the old file whole. Throws Error with the path and the reason.
void writeFileAtomic(const std::string& path, std::string_view bytes);
void writeFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes);

// What a write does with a symbolic link already at its target: write the file it points to (the user
// named the path), or refuse (the name came from a file).
enum class Links { Follow, Refuse };

// Content written in pieces as it is made, so that a large output is never held whole: it calls `put`
// with each piece in order. An exception it throws fails the write like any other failure.
using ContentWriter = std::function<void(const std::function<void(std::string_view)>& put)>;

struct OutputFile {
    std::string path;
    std::variant<std::string, std::vector<std::uint8_t>, ContentWriter> content;
};

// Writes every file or none. Each regular file goes to a temporary file beside it; the targets are
// replaced only once every temporary file was written and synced, so a failure leaves every old file as
// it was. A device or pipe (or "-", standard output) is written after the temporary files and before any
// rename.
// Throws Error naming the path that failed; no temporary file stays.
void writeFilesAtomic(const std::vector<OutputFile>& files, Links links = Links::Follow);

// The reason a file could not be written at `path` as a new regular file, or nothing: a folder, a link
// (with Links::Refuse), a device, or a name longer than its file system allows.
std::optional<std::string> unwritableReason(const std::string& path, Links links);

} // namespace tesselor::fileio
