// FontPayload on random fonts: its length is 8 + 4n + H x the sum of ceil(width / 8), and every glyph
// offset points inside the payload, each glyph right after the one before. The FT8xx font of the same
// fonts at random depths, formats and addresses: refused with an error, or a block whose pointer finds
// each stored cell inside the bytes. The graphics libraries' fonts of them, at a random baseline: refused
// with an error, or a text ending in its last declaration.
#include "fontexport/font_payload.h"
#include "fontexport/ft8xx_font.h"
#include "fontexport/gfx_font.h"
#include "fontexport/lcd_text.h"
#include "fontexport/lvgl_font.h"
#include "fuzz_input.h"
#include "model/error.h"
#include "model/grey_levels.h"

using namespace tesselor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::Input input(data, size);
    FontModel font;
    const int width = input.byte() % 40;
    const int height = input.byte() % 24;
    font.CellImage = PixelImage(width, height);
    font.RangeFrom = input.byte();
    font.RangeTo = std::min(255, font.RangeFrom + input.byte() % 12 - 2);
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        font.CharWidths[static_cast<std::size_t>(c)] = input.byte();
        PixelImage& image = font.CharImages[static_cast<std::size_t>(c)];
        image = PixelImage(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (input.byte() & 1)
                    image.setPixel(x, y, kBlack);
    }
    const Bytes payload = FontPayload(font);
    const std::size_t n =
        font.rangeIsEmpty() ? 0 : static_cast<std::size_t>(font.RangeTo - font.RangeFrom + 1);
    std::size_t glyphs = 0;
    for (int c = font.firstCode(); c <= font.lastCode(); ++c)
        glyphs +=
            static_cast<std::size_t>(height) * ((font.CharWidths[static_cast<std::size_t>(c)] + 7u) / 8u);
    FUZZ_CHECK(payload.size() == 8 + 4 * n + glyphs);
    std::size_t expected = 8 + 4 * n;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* entry = payload.data() + 8 + 4 * i;
        const std::size_t offset = entry[1] | entry[2] << 8 | static_cast<std::size_t>(entry[3]) << 16;
        const std::size_t length = static_cast<std::size_t>(height) * ((entry[0] + 7u) / 8u);
        FUZZ_CHECK(offset == expected && offset + length <= payload.size());
        expected += length;
    }
    const std::string source = fontCSource(font, "fuzz");
    FUZZ_CHECK(source.size() >= 4 && source.compare(source.size() - 4, 4, "};\r\n") == 0);
    lcdText(font, CodePage{kDefaultCodePage, {}}, "fuzz&<name>");

    const int depths[] = {1, 2, 4, 8};
    font.Depth = depths[input.byte() % 4];
    for (int c = font.firstCode(); c <= font.lastCode(); ++c)
        for (int x = 0; x < width; ++x)
            font.CharImages[static_cast<std::size_t>(c)].setPixel(x, 0,
                                                                  levelColour(input.byte(), font.Depth));
    const char* formats[] = {"L1", "L2", "L4", "L8"};
    const Ft8xxFontOptions options{formats[input.byte() % 4],
                                   static_cast<std::uint32_t>(input.byte()) * 8u,
                                   std::nullopt,
                                   std::nullopt,
                                   input.byte() % 3,
                                   std::nullopt};
    try {
        const Ft8xxFont out = ft8xxFont(font, options);
        const std::size_t cell = std::size_t(out.stride) * out.height;
        FUZZ_CHECK(out.bytes.size() == 148 + cell * std::size_t(out.last - out.first + 1));
        for (int c = out.first; c <= out.last; ++c) {
            const std::size_t at = out.pointer + std::size_t(c) * cell - out.address;
            FUZZ_CHECK(at >= 148 && at + cell <= out.bytes.size());
        }
    } catch (const Error&) {
    }

    font.Baseline = input.byte() % 32;
    CodePage page{kDefaultCodePage, {}};
    for (std::size_t c = 0; c < page.characters.size(); ++c)
        page.characters[c] = input.byte() % 8 == 0 ? 0xFFFD : static_cast<char32_t>(c * 7);
    const Advances advances = controllerAdvances(font, input.byte() % 3);
    try {
        FUZZ_CHECK(gfxFontHeader(bilevelFont(font), page, "f.h", "f", advances)
                       .ends_with("#endif // TESSELOR_F_H_\r\n"));
    } catch (const Error&) {
    }
    try {
        std::vector<std::string> warnings;
        FUZZ_CHECK(
            lvglFontSource(font, page, "f", advances, 8 + input.byte() % 2, warnings).ends_with("};\r\n"));
    } catch (const Error&) {
    }
    return 0;
}
