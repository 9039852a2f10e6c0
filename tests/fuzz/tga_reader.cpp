// The TGA reader: any bytes give an image within the limits, its alpha plane as large as its pixels or
// empty, or a refusal; the same bytes give the same image.
#include "bitmap/tga_reader.h"
#include "bitmap/bmp_layout.h"
#include "fuzz_input.h"
#include "model/error.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzzing::text(data, size);
    try {
        const TgaImage image = readTga(bytes);
        FUZZ_CHECK(!imageSizeProblem(image.pixels.width(), image.pixels.height()));
        FUZZ_CHECK(image.alpha.empty() || image.alpha.size() == image.pixels.pixels().size());
        FUZZ_CHECK(readTga(bytes).pixels == image.pixels);
    } catch (const Error&) {
    }
    return 0;
}
