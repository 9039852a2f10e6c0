// The path behind Import Bitmap Image and bitmap-export: a .bmp through our checks, our readers and Qt's,
// a TGA through ours, any other file through Qt's readers under a name the input chooses, then one of the
// encodings, chosen by the last byte. A file is refused or decoded the same way twice (no pixel comes from
// anywhere but the file), never yields an image beyond the limits, and its payload decodes.
#include "bitmap/bmp_layout.h"
#include "bitmap/payload_decoder.h"
#include "fuzz_files.h"
#include "fuzz_input.h"
#include "model/error.h"
#include "qtplatform/qt_image_decoder.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto folder = fuzzing::freshFolder("image");
    // The input chooses its name too: Qt picks some readers by the suffix alone (TGA without its footer,
    // WBMP), and so does ours for TGA.
    static const char* const suffixes[] = {"img", "tga", "wbmp", "xbm", "pbm", "ico", "jpg", "gif"};
    const auto file = folder / ("input." + std::string(suffixes[(size >= 2 ? data[size - 2] : 0) % 8]));
    fuzzing::writeFile(file, fuzzing::text(data, size));
    QtImageDecoder decoder;
    try {
        const DecodedImage decoded = decoder.decode(file.string());
        const PixelImage pixels = decoded.pixels();
        FUZZ_CHECK(!imageSizeProblem(pixels.width(), pixels.height()));
        FUZZ_CHECK(decoder.decode(file.string()).pixels() == pixels);
        const std::size_t choice = size == 0 ? 0 : data[size - 1] % (ft8xxFormats().size() + 1);
        const BitmapEncoding encoding =
            choice == 0 ? bitmapEncoding(decoded.bits, false) : ft8xxFormats()[choice - 1];
        if (const auto payload = BitmapPayload(*decoded.rows, encoding, size % 2 == 1)) {
            FUZZ_CHECK(decodePayload(*payload, encoding.ft8xx).has_value());
            bitmapCSource(*payload, encoding, encoding.ft8xx, "fuzz_bmp");
        }
    } catch (const Error&) {
    }
    return 0;
}
