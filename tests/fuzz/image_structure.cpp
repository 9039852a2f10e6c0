// The checks made on an image's bytes before a Qt reader sees them: a JPEG's markers and scans, an XBM's
// sizes and values. Any bytes give an answer; a JPEG refused is refused for one of the two reasons.
#include "bitmap/jpeg_scans.h"
#include "bitmap/xbm_text.h"
#include "fuzz_input.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzzing::text(data, size);
    if (const auto problem = jpegProblem(bytes))
        FUZZ_CHECK(*problem == "the image data is cut short" || problem->starts_with("it has more than"));
    xbmPixelDataComplete(bytes);
    return 0;
}
