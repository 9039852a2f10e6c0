#pragma once

#include "bitmap/bitmap_payload.h"

#include <optional>
#include <string>

namespace tesselor {

// What an export says when the image has more colours than its native depth holds.
inline constexpr const char* kAnomalyMessage = "Anomalus image. The Bitmap file is corrupt";

struct BitmapOptions {
    bool dither = false;  // Floyd-Steinberg for the reduced formats
    bool deflate = false; // the rows and palette as one zlib stream
};

// The payload of an export: the image encoded, then deflated when asked. Nothing for the anomaly.
std::optional<Bytes> exportPayload(RowSource& rows, const BitmapEncoding& encoding,
                                   const BitmapOptions& options);

// The .resdata item of an export given to `put` a piece at a time: a plain payload is never held whole.
// False for the anomaly, before any piece is given. Throws Error for a name longer than an item holds.
bool writeExportItem(RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options,
                     const std::string& name, const PayloadSink& put);
std::optional<Bytes> exportItem(RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options,
                                const std::string& name);

} // namespace tesselor
