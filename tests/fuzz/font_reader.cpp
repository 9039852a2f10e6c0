// The .font reader: any text either reads into a font or is refused with an error; what it accepts
// survives the writer and the reader again unchanged.
#include "fontio/font_file.h"
#include "fuzz_input.h"
#include "model/error.h"
#include "platform/text.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FontModel previous;
    previous.CellImage = PixelImage(3, 2);
    previous.RangeFrom = 65;
    previous.RangeTo = 66;
    try {
        const FontModel font = readFontFile(fuzzing::text(data, size), previous);
        FUZZ_CHECK(font.RangeFrom >= 0 && font.RangeFrom <= 255 && font.RangeTo >= 0 && font.RangeTo <= 255);
        const std::string written = text::joinLinesCrLf(writeFontFile(font));
        const FontModel again = readFontFile(written, previous);
        FUZZ_CHECK(text::joinLinesCrLf(writeFontFile(again)) == written);
    } catch (const Error&) {
    }
    return 0;
}
