#include "qtplatform/bitmap_export.h"

#include "bitmap/bitmap_layout.h"
#include "fontexport/resource_item.h"
#include "model/error.h"
#include "platform/c_array.h"
#include "platform/c_names.h"
#include "qtplatform/deflate.h"

namespace tesselor {

namespace {

void checkExport(const RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options) {
    if (const auto refusal = exportRefusal(rows, encoding, options))
        throw Error(*refusal);
}

} // namespace

std::optional<std::string> exportRefusal(const RowSource& rows, const BitmapEncoding& encoding,
                                         const BitmapOptions& options) {
    if (!options.chip)
        return std::nullopt;
    return chipRefusal(*options.chip, encoding, rows.width(), rows.height());
}

bool dropsTransparency(RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options) {
    return !options.background && !keepsAlpha(encoding, options, rows) && hasTranslucentPixels(rows);
}

std::optional<Bytes> exportPayload(RowSource& rows, const BitmapEncoding& encoding,
                                   const BitmapOptions& options) {
    checkExport(rows, encoding, options);
    auto payload = BitmapPayload(rows, encoding, options);
    if (payload && options.deflate)
        payload = zlib::deflatePayload(*payload);
    return payload;
}

bool writeExportItem(RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options,
                     const std::string& name, const PayloadSink& put) {
    if (options.deflate) {
        const auto payload = exportPayload(rows, encoding, options);
        if (!payload)
            return false;
        const Bytes item = writeResourceItem("bmp", name, *payload);
        put(item.data(), item.size());
        return true;
    }
    checkExport(rows, encoding, options);
    // The item header goes first, once the encoder has passed the anomaly check.
    const Bytes header =
        resourceItemHeader("bmp", name, bitmapPayloadSize(rows.width(), rows.height(), encoding));
    bool started = false;
    return writeBitmapPayload(rows, encoding, options, [&](const std::uint8_t* bytes, std::size_t size) {
        if (!started) {
            put(header.data(), header.size());
            started = true;
        }
        put(bytes, size);
    });
}

std::optional<Bytes> exportItem(RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options,
                                const std::string& name) {
    Bytes item;
    if (!writeExportItem(rows, encoding, options, name, [&item](const std::uint8_t* bytes, std::size_t size) {
            item.insert(item.end(), bytes, bytes + size);
        }))
        return std::nullopt;
    return item;
}

const std::vector<BitmapOutput>& bitmapOutputs() {
    static const std::vector<BitmapOutput> table = {
        {"c", "Create File.c...", "Array bitmap file (*.c)|*.c|All files (*.*)|*.*", true,
         [](RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options, bool forFT800,
            const std::string& path, const BitmapOutputChoices& choices) {
             const auto payload = exportPayload(rows, encoding, options);
             if (!payload)
                 throw Error(kAnomalyMessage);
             const CArrayStyle style{choices.bytes, choices.headerPath.empty()
                                                        ? std::string()
                                                        : fileio::includePath(path, choices.headerPath)};
             std::vector<fileio::OutputFile> files = {
                 {path, bitmapCSource(*payload, encoding, forFT800, choices.symbol, style)}};
             if (!choices.headerPath.empty()) {
                 // The layout for the display list beside the size, read back from the payload's own fields.
                 const auto layout = bitmapLayout(payload->data(), payload->size(), encoding.ft8xx);
                 files.push_back(
                     {choices.headerPath,
                      arrayHeader(choices.headerPath, choices.symbol, payload->size(), style,
                                  bitmapLayoutMacros(cnames::macroPart(choices.symbol), *layout))});
             }
             return files;
         }},
        {"resdata", "Create File.resdata...",
         "Resource bitmap file (*.resdata)|*.resdata|All files (*.*)|*.*", false,
         [](RowSource& rows, const BitmapEncoding& encoding, const BitmapOptions& options, bool,
            const std::string& path, const BitmapOutputChoices& choices) {
             // Written as it is encoded: a large image is never held whole.
             return std::vector<fileio::OutputFile>{
                 {path,
                  fileio::ContentWriter([&rows, encoding, options, name = choices.symbol](const auto& put) {
                      if (!writeExportItem(rows, encoding, options, name,
                                           [&put](const std::uint8_t* bytes, std::size_t size) {
                                               put(std::string_view(reinterpret_cast<const char*>(bytes),
                                                                    size));
                                           }))
                          throw Error(kAnomalyMessage);
                  })}};
         }},
    };
    return table;
}

const BitmapOutput* bitmapOutput(const std::string& key) {
    for (const BitmapOutput& row : bitmapOutputs())
        if (key == row.key)
            return &row;
    return nullptr;
}

} // namespace tesselor
