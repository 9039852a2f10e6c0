// The resource item check of Import: whatever it accepts lies wholly inside the bytes, and rebuilds the
// same item.
#include "fontexport/resource_item.h"
#include "fuzz_input.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzzing::text(data, size);
    const auto item = readResourceItem(bytes);
    if (!item)
        return 0;
    FUZZ_CHECK(item->tag == "fnt" || item->tag == "bmp" || item->tag == "ftf");
    FUZZ_CHECK(kItemHeaderSize + item->name.size() <= item->headerLength);
    FUZZ_CHECK(item->headerLength <= size && item->payloadSize <= size - item->headerLength);
    const Bytes rebuilt =
        writeResourceItem(item->tag, item->name, bytes.substr(item->headerLength, item->payloadSize));
    const auto again =
        readResourceItem(std::string_view(reinterpret_cast<const char*>(rebuilt.data()), rebuilt.size()));
    FUZZ_CHECK(again && again->name == item->name && again->tag == item->tag &&
               again->payloadSize == item->payloadSize);
    return 0;
}
