#pragma once

#include <string>

namespace tesselor::paths {

// Plain string operations on paths; "/" separates folders.

// The text after the last separator.
std::string fileName(const std::string& path);
// The text from the last "." of the file name on, the dot included; empty when there is none.
std::string extension(const std::string& path);
// The path cut before the dot of its extension.
std::string removeExtension(const std::string& path);
// The file name without its last extension: "dir/my font.old.c" gives "my font.old".
std::string baseName(const std::string& path);
// The folder part of a path, without the trailing separator; empty when there is none.
std::string folder(const std::string& path);
// The path with the extension appended when it has none.
std::string withDefaultExtension(const std::string& path, const std::string& ext);
// The name a save dialog proposes: base + ext with blanks replaced by "_", or "*" + ext without a base.
std::string defaultFileName(const std::string& base, const std::string& ext);

} // namespace tesselor::paths
