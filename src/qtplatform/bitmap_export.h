#pragma once

#include "bitmap/bitmap_payload.h"
#include "bitmap/ft8xx_chips.h"
#include "qtplatform/file_io.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tesselor {

// What an export says when the image has more colours than its native depth holds.
inline constexpr const char* kAnomalyMessage = "Anomalus image. The Bitmap file is corrupt";

struct BitmapOptions : EncodeOptions {
    bool deflate = false;     // the rows and palette as one zlib stream
    std::optional<Chip> chip; // refuse what this controller cannot draw
};

// Why an export is refused before it is encoded (a format or size the chosen chip lacks); nothing when
// it is not.
std::optional<std::string> exportRefusal(const RowSource& rows, const BitmapEncoding& encoding,
                                         const BitmapOptions& options);

// Whether the export loses translucency: some pixel is not opaque, the format keeps no alpha, and no
// background was given to composite onto.
bool dropsTransparency(RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options);

// The payload of an export: the image encoded, then deflated when asked. Nothing for the anomaly; throws
// Error with the refusal for a format or size the chip lacks.
std::optional<Bytes> exportPayload(RowSource& rows, const BitmapEncoding& encoding,
                                   const BitmapOptions& options);

// The .resdata item of an export given to `put` a piece at a time: a plain payload is never held whole.
// False for the anomaly, before any piece is given. Throws Error for a name longer than an item holds, and
// as exportPayload does.
bool writeExportItem(RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options,
                     const std::string& name, const PayloadSink& put);
std::optional<Bytes> exportItem(RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options,
                                const std::string& name);

// The outputs of an image, one row each: the window's Create File items and the command line's
// bitmap-export formats are both made from them.
struct BitmapOutputChoices {
    std::string symbol;     // the array or item name (the row's default when empty)
    bool bytes = false;     // a .c array of uint8_t
    std::string headerPath; // a header beside a .c; empty: none
};

struct BitmapOutput {
    const char* key; // the extension without its dot; --format's value
    const char* title;
    const char* filter;
    bool takesHeader;
    // The files of the image encoded; a .resdata is written as it is encoded, never held whole. Throws
    // Error with kAnomalyMessage for an image with more colours than its native depth holds.
    std::function<std::vector<fileio::OutputFile>(
        RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options, bool forFT800,
        const std::string& path, const BitmapOutputChoices& choices)>
        write;
};

const std::vector<BitmapOutput>& bitmapOutputs();
const BitmapOutput* bitmapOutput(const std::string& key);

} // namespace tesselor
