// Import Bmp Char on a folder made from the input: up to eight character files, each a code byte, a
// 16-bit length and that many bytes. The import is refused or gives a cell within the limits.
#include "fontio/font_import.h"
#include "fuzz_files.h"
#include "fuzz_input.h"
#include "model/error.h"
#include "qtplatform/qt_image_decoder.h"

#include <filesystem>

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto folder = fuzzing::freshFolder("chars");
    fuzzing::Input input(data, size);
    const int files = input.byte() % 8 + 1;
    std::size_t at = 1;
    for (int i = 0; i < files && at < size; ++i) {
        const int code = 32 + input.byte() % 224;
        const std::size_t length = std::size_t(input.byte()) << 8 | input.byte();
        at += 3;
        const std::size_t taken = std::min(length, size - std::min(at, size));
        fuzzing::writeFile(folder / (std::to_string(code) + ".bmp"),
                           fuzzing::text(data + std::min(at, size), taken));
        at += taken;
        for (std::size_t skip = 0; skip < taken; ++skip)
            input.byte();
    }
    QtImageDecoder decoder;
    try {
        const BmpCharsImport result = importBmpChars(
            folder.string(), decoder,
            [](const std::string& path) { return std::filesystem::is_regular_file(path); }, false, "");
        const FontModel& font = result.imported.font;
        FUZZ_CHECK(std::int64_t(font.FontWidth()) * font.FontHeight() <= kMaxCellArea);
    } catch (const Error&) {
    }
    std::filesystem::remove_all(folder);
    return 0;
}
