// The .bmp header classifier: any bytes give a layout or none, and a depth code only from the table.
#include "bitmap/bmp_layout.h"
#include "fuzz_input.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto layout = readBmpLayout(fuzzing::text(data, size));
    if (!layout)
        return 0;
    const LayoutClass result = classifyBmpLayout(*layout);
    if (result.bits) {
        const int bits = *result.bits;
        FUZZ_CHECK(bits == 0 || bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16);
        FUZZ_CHECK(!result.formatText.empty());
    } else {
        FUZZ_CHECK(result.formatText.empty());
    }
    return 0;
}
