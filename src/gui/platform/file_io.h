#pragma once

#include <cstdint>
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

} // namespace tesselor::fileio
