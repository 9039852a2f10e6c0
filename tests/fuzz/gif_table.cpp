// The GIF colour table reader: any bytes give a table of 2 to 256 entries or none, and only a GIF gives one;
// only a GIF can hold its first image whole.
#include "bitmap/gif_table.h"
#include "fuzz_input.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzzing::text(data, size);
    FUZZ_CHECK(!gifFirstImageComplete(bytes) || isGif(bytes));
    const auto entries = gifColourTableEntries(bytes);
    if (!entries)
        return 0;
    FUZZ_CHECK(isGif(bytes));
    FUZZ_CHECK(*entries >= 2 && *entries <= 256 && (*entries & (*entries - 1)) == 0);
    return 0;
}
