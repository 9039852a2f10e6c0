// The BDF reader and import: any text is refused with an error naming its line, or gives a font that
// goes out as BDF and comes back unchanged.
#include "fontio/bdf_reader.h"
#include "fontexport/bdf_writer.h"
#include "fontio/font_file.h"
#include "fuzz_input.h"
#include "model/error.h"
#include "platform/text.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto sameCode = [](long encoding) {
        return encoding <= 255 ? std::optional(static_cast<int>(encoding)) : std::nullopt;
    };
    BdfImport imported;
    try {
        imported =
            importBdf(readBdf(fuzzing::text(data, size)), sameCode, std::nullopt, std::nullopt, "fuzz");
    } catch (const Error& error) {
        FUZZ_CHECK(std::string(error.what()).starts_with("Line ") ||
                   std::string(error.what()).starts_with("The "));
        return 0;
    }
    const FontModel& font = imported.imported.font;
    FUZZ_CHECK(static_cast<std::int64_t>(font.FontWidth()) * font.FontHeight() <= kMaxCellArea);
    const std::string written = text::joinLinesCrLf(writeFontFile(font));
    const std::string bdf = bdfText(font, CodePage{kFontSpecific, {}}, "fuzz");
    const BdfImport back = importBdf(readBdf(bdf), sameCode, std::nullopt, std::nullopt, "fuzz");
    FUZZ_CHECK(text::joinLinesCrLf(writeFontFile(back.imported.font)) == written);
    return 0;
}
