// The preview's reader of payloads, on any bytes read both ways, plain and as a zlib stream: refused, or
// pixels of exactly the size the header gives, never more than the limits allow.
#include "bitmap/payload_decoder.h"
#include "fuzz_input.h"
#include "qtplatform/deflate.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, data + size);
    for (const bool ft8xx : {false, true}) {
        if (const auto decoded = decodePayload(bytes, ft8xx)) {
            FUZZ_CHECK(decoded->image.width() == (bytes[4] | bytes[5] << 8));
            FUZZ_CHECK(decoded->image.height() == (bytes[2] | bytes[3] << 8));
            FUZZ_CHECK(bitmapPayloadSize(decoded->image.width(), decoded->image.height(),
                                         decoded->encoding) == bytes.size());
        }
    }
    // The expected size comes with the stream, as the preview knows it; a stream may not exceed it.
    if (size >= 8) {
        const std::size_t plainSize = 6 + (bytes[6] | bytes[7] << 8);
        if (const auto plain = zlib::inflatePayload(bytes, plainSize))
            FUZZ_CHECK(plain->size() == plainSize && (*plain)[0] == 0);
    }
    return 0;
}
