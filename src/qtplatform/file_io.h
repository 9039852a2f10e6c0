#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesselor::fileio {

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
// The whole file; throws Error with the path and the reason when it cannot be read.
std::string readFile(const std::string& path);
// Writes a temporary file beside the target and renames it over the target, so a failed write leaves
// the old file whole. Throws Error with the path and the reason.
void writeFileAtomic(const std::string& path, std::string_view bytes);
void writeFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes);

// What a write does with a symbolic link already at its target: write the file it points to (the user
// named the path), or refuse (the name came from a file).
enum class Links { Follow, Refuse };

struct OutputFile {
    std::string path;
    std::string bytes;
};

// Writes every file or none. Each regular file goes to a temporary file beside it; the targets are
// replaced only once every temporary file was written and synced, so a failure leaves every old file as
// it was. A device or pipe named exactly is written after the temporary files and before any rename.
// Throws Error naming the path that failed; no temporary file stays.
void writeFilesAtomic(const std::vector<OutputFile>& files, Links links = Links::Follow);

// The reason a file could not be written at `path` as a new regular file, or nothing: a folder, a link
// (with Links::Refuse), a device, or a name longer than its file system allows.
std::optional<std::string> unwritableReason(const std::string& path, Links links);

} // namespace tesselor::fileio
