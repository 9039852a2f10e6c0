// The .res reader of Open: a file is refused or gives valid items, which the writer and the reader keep.
#include "fuzz_input.h"
#include "resources/resource_file.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto items = readResFile(fuzzing::text(data, size));
    if (!items)
        return 0;
    FUZZ_CHECK(!items->empty());
    for (const Bytes& item : *items)
        FUZZ_CHECK(readResourceItem(byteView(item)).has_value());
    const Bytes file = writeResFile(*items);
    const auto again = readResFile(byteView(file));
    FUZZ_CHECK(again && *again == *items);
    const auto rows = resourceRows(*items);
    FUZZ_CHECK(rows.size() == items->size());
    resourceDeclarations(rows);
    return 0;
}
