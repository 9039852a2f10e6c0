#include "platform/paths.h"

#include <algorithm>

namespace tesselor::paths {

namespace {
std::size_t nameStart(const std::string& path) {
    const auto sep = path.rfind('/');
    return sep == std::string::npos ? 0 : sep + 1;
}

std::size_t extensionStart(const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart(path))
        return std::string::npos;
    return dot;
}
} // namespace

std::string fileName(const std::string& path) {
    return path.substr(nameStart(path));
}

std::string extension(const std::string& path) {
    const auto dot = extensionStart(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string removeExtension(const std::string& path) {
    const auto dot = extensionStart(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string baseName(const std::string& path) {
    return removeExtension(fileName(path));
}

std::string folder(const std::string& path) {
    const auto start = nameStart(path);
    if (start == 0)
        return {};
    return start == 1 ? std::string("/") : path.substr(0, start - 1);
}

std::string withDefaultExtension(const std::string& path, const std::string& ext) {
    return extension(path).empty() ? path + ext : path;
}

std::string defaultFileName(const std::string& base, const std::string& ext) {
    if (base.empty())
        return "*" + ext;
    std::string name = base + ext;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

} // namespace tesselor::paths
