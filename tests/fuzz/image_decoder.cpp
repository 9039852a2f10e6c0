// The path behind Import Bitmap Image and bitmap-export: Qt's decoder with our checks and RLE decoder,
// the classification and every encoding. A file is refused or decoded the same way twice (no pixel comes
// from anywhere but the file), and never yields an image beyond the limits.
#include "bitmap/bitmap_payload.h"
#include "fuzz_files.h"
#include "fuzz_input.h"
#include "model/error.h"
#include "qtplatform/qt_image_decoder.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto folder = fuzzing::freshFolder("image");
    const auto file = folder / "input.bmp";
    fuzzing::writeFile(file, fuzzing::text(data, size));
    QtImageDecoder decoder;
    try {
        const DecodedImage decoded = decoder.decode(file.string());
        FUZZ_CHECK(!imageSizeProblem(decoded.pixels.width(), decoded.pixels.height()));
        FUZZ_CHECK(decoder.decode(file.string()).pixels == decoded.pixels);
        const LayoutClass layout = classifyBmpLayout(decoded.layout);
        for (const bool ft800 : {false, true}) {
            const BitmapEncoding encoding = bitmapEncoding(layout.bits, ft800);
            if (const auto payload = BitmapPayload(decoded.pixels, encoding))
                bitmapCSource(*payload, encoding, ft800, "fuzz_bmp");
        }
    } catch (const Error&) {
    }
    return 0;
}
