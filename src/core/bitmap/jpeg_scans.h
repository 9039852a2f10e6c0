#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tesselor {

// Whether the bytes start with a JPEG's start-of-image marker.
bool isJpeg(std::string_view bytes);

// The scans a progressive JPEG may have: each costs the decoder a pass over the whole image, so a small
// file of many tiny scans keeps it busy for minutes. Ordinary files have about ten.
inline constexpr int kMaxJpegScans = 500;

// Why a JPEG is not decoded, or nothing: it ends before its end-of-image marker (the decoder would make up
// the missing rows), or it has more scans than kMaxJpegScans.
std::optional<std::string> jpegProblem(std::string_view bytes);

} // namespace tesselor
