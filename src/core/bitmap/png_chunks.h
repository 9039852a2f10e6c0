#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tesselor {

// Whether the bytes start with the PNG signature.
bool isPng(std::string_view bytes);

// Why the chunks of a PNG file cannot be trusted, or nothing: a chunk that claims more bytes than the file
// holds after it. The PNG library allocates what a chunk claims before it reads it, so a small file
// could otherwise ask for gigabytes.
std::optional<std::string> pngChunkProblem(std::string_view bytes);

} // namespace tesselor
