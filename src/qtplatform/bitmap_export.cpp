#include "qtplatform/bitmap_export.h"

#include "fontexport/resource_item.h"
#include "qtplatform/deflate.h"

namespace tesselor {

std::optional<Bytes> exportPayload(RowSource& rows, const BitmapEncoding& encoding,
                                   const BitmapOptions& options) {
    auto payload = BitmapPayload(rows, encoding, options.dither);
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
    // The item header goes first, once the encoder has passed the anomaly check.
    const Bytes header =
        resourceItemHeader("bmp", name, bitmapPayloadSize(rows.width(), rows.height(), encoding));
    bool started = false;
    return writeBitmapPayload(rows, encoding, options.dither,
                              [&](const std::uint8_t* bytes, std::size_t size) {
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

} // namespace tesselor
