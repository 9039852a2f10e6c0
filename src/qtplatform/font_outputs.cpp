#include "qtplatform/font_outputs.h"

#include "fontexport/bdf_writer.h"
#include "fontexport/font_payload.h"
#include "fontexport/gfx_font.h"
#include "fontexport/lcd_text.h"
#include "fontexport/resource_item.h"
#include "model/grey_levels.h"
#include "platform/c_array.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "qtplatform/code_pages.h"
#include "qtplatform/deflate.h"

namespace tesselor {

namespace {

CArrayStyle styleOf(const std::string& path, const FontOutputChoices& choices) {
    return {choices.bytes,
            choices.headerPath.empty() ? std::string() : fileio::includePath(path, choices.headerPath)};
}

std::string symbolOf(const FontOutput& row, const FontModel& font, const std::string& path,
                     const FontOutputChoices& choices) {
    return choices.symbol.empty() ? row.defaultSymbol(font, path) : choices.symbol;
}

// The device's outputs have one bit a pixel: a grey font goes through the halving rule, and says so.
FontOutputFiles oneBit(const FontModel& font,
                       const std::function<std::vector<fileio::OutputFile>(const FontModel&)>& write) {
    return {write(bilevelFont(font)), halvingWarning(font)};
}

// The controller's font as stored: its bytes, or one zlib stream of them.
std::vector<std::uint8_t> stored(const Ft8xxFont& font, bool deflate) {
    return deflate ? zlib::deflate(font.bytes.data(), font.bytes.size()) : font.bytes;
}

std::vector<FontOutput> makeRows() {
    using Family = FontOutputFamily;
    std::vector<FontOutput> rows = {
        {Family::Device,
         "c",
         "Create File.c...",
         "Array font file (*.c)|*.c|All files (*.*)|*.*",
         true,
         true,
         {}},
        {Family::Device,
         "resdata",
         "Create File.resdata...",
         "Resource font file (*.resdata)|*.resdata|All files (*.*)|*.*",
         true,
         false,
         {}},
        {Family::Device,
         "lcd",
         "Create File.lcd...",
         "Graphic font file (*.lcd)|*.lcd|All files (*.*)|*.*",
         false,
         false,
         {}},
        {Family::Device,
         "bdf",
         "Create File.bdf...",
         "BDF font (*.bdf)|*.bdf|All files (*.*)|*.*",
         false,
         false,
         {}},
        {Family::Ft8xx,
         "bin",
         "Create File for FT8xx Font...",
         "FT8xx font for CMD_MEMWRITE (*.bin)|*.bin|All files (*.*)|*.*",
         true,
         true,
         {}},
        {Family::Ft8xx,
         "c",
         "Create File for FT8xx Font...",
         "FT8xx font as a C array (*.c)|*.c|All files (*.*)|*.*",
         true,
         true,
         {}},
        {Family::Ft8xx,
         "resdata",
         "Create File for FT8xx Font...",
         "FT8xx font as a resource item (*.resdata)|*.resdata|All files (*.*)|*.*",
         true,
         false,
         {}},
        {Family::Library,
         "gfx",
         "Create File for GFX Font...",
         "Adafruit GFX font header (*.h)|*.h|All files (*.*)|*.*",
         true,
         false,
         {},
         "h"},
        {Family::Library,
         "lvgl",
         "Create File for LVGL Font...",
         "LVGL font source (*.c)|*.c|All files (*.*)|*.*",
         true,
         false,
         {},
         "c"},
    };
    rows[0].write = [row = rows[0]](const FontModel& font, const std::string& path,
                                    const FontOutputChoices& choices) {
        return oneBit(font, [&](const FontModel& bilevel) {
            const std::string symbol = symbolOf(row, font, path, choices);
            const CArrayStyle style = styleOf(path, choices);
            // Written as it is made; a refusal fails the write, and no file is left.
            std::vector<fileio::OutputFile> files = {
                {path, fileio::ContentWriter([bilevel, symbol, style](const auto& put) {
                     writeFontCSource(bilevel, symbol, style, put);
                 })}};
            if (!choices.headerPath.empty())
                files.push_back({choices.headerPath, arrayHeader(choices.headerPath, symbol,
                                                                 FontPayload(bilevel).size(), style)});
            return files;
        });
    };
    rows[1].write = [row = rows[1]](const FontModel& font, const std::string& path,
                                    const FontOutputChoices& choices) {
        return oneBit(font, [&](const FontModel& bilevel) {
            return std::vector<fileio::OutputFile>{
                {path, writeResourceItem("fnt", symbolOf(row, font, path, choices), FontPayload(bilevel))}};
        });
    };
    rows[2].write = [](const FontModel& font, const std::string& path, const FontOutputChoices&) {
        return oneBit(font, [&](const FontModel& bilevel) {
            return std::vector<fileio::OutputFile>{
                {path,
                 fileio::ContentWriter([bilevel, page = codePageOf(font), name = paths::baseName(path)](
                                           const auto& put) { writeLcdText(bilevel, page, name, put); })}};
        });
    };
    rows[3].write = [](const FontModel& font, const std::string& path, const FontOutputChoices&) {
        return oneBit(font, [&](const FontModel& bilevel) {
            return std::vector<fileio::OutputFile>{
                {path,
                 fileio::ContentWriter([bilevel, page = codePageOf(font), name = paths::baseName(path)](
                                           const auto& put) { writeBdfText(bilevel, page, name, put); })}};
        });
    };
    rows[4].write = [row = rows[4]](const FontModel& font, const std::string& path,
                                    const FontOutputChoices& choices) {
        const Ft8xxFont out = ft8xxFont(font, choices.ft8xx);
        std::vector<std::uint8_t> bytes = stored(out, choices.deflate);
        FontOutputFiles files;
        if (!choices.headerPath.empty())
            files.files.push_back(
                {choices.headerPath, ft8xxFontHeader(choices.headerPath, symbolOf(row, font, path, choices),
                                                     out, bytes.size(), choices.deflate, "")});
        files.files.insert(files.files.begin(), fileio::OutputFile{path, std::move(bytes)});
        return files;
    };
    rows[5].write = [row = rows[5]](const FontModel& font, const std::string& path,
                                    const FontOutputChoices& choices) {
        const Ft8xxFont out = ft8xxFont(font, choices.ft8xx);
        const std::vector<std::uint8_t> bytes = stored(out, choices.deflate);
        const std::string symbol = symbolOf(row, font, path, choices);
        const CArrayStyle style = styleOf(path, choices);
        const std::vector<std::string> comment = {
            "// Font for the FT8xx graphics controllers, generated by \"Tesselor\" 1.0",
            "// " + out.format + ", codes " + text::dec(out.first) + " to " + text::dec(out.last) +
                ", for the address " + text::dec(out.address) +
                (choices.deflate ? ", one zlib stream for CMD_INFLATE" : ", for CMD_MEMWRITE")};
        FontOutputFiles files{{{path, cByteArray(comment, symbol, bytes, style)}}, {}};
        if (!choices.headerPath.empty())
            files.files.push_back(
                {choices.headerPath, ft8xxFontHeader(choices.headerPath, symbol, out, bytes.size(),
                                                     choices.deflate, style.elementType())});
        return files;
    };
    rows[6].write = [row = rows[6]](const FontModel& font, const std::string& path,
                                    const FontOutputChoices& choices) {
        const Ft8xxFont out = ft8xxFont(font, choices.ft8xx);
        return FontOutputFiles{
            {{path,
              writeResourceItem("ftf", symbolOf(row, font, path, choices),
                                ft8xxFontItemPayload(out, stored(out, choices.deflate), choices.deflate))}},
            {}};
    };
    rows[7].write = [row = rows[7]](const FontModel& font, const std::string& path,
                                    const FontOutputChoices& choices) {
        const FontModel bilevel = bilevelFont(font);
        return FontOutputFiles{
            {{path, gfxFontHeader(bilevel, codePageOf(font), path, symbolOf(row, font, path, choices),
                                  controllerAdvances(bilevel, choices.spacing, choices.spaceWidth))}},
            halvingWarning(font)};
    };
    rows[8].write = [row = rows[8]](const FontModel& font, const std::string& path,
                                    const FontOutputChoices& choices) {
        FontOutputFiles files;
        files.files.push_back(
            {path, lvglFontSource(font, codePageOf(font), symbolOf(row, font, path, choices),
                                  controllerAdvances(font, choices.spacing, choices.spaceWidth),
                                  choices.lvglVersion, files.warnings)});
        return files;
    };
    return rows;
}

} // namespace

std::string FontOutput::defaultSymbol(const FontModel& font, const std::string& path) const {
    return fontOutputName(path, font);
}

const std::vector<FontOutput>& fontOutputs() {
    static const std::vector<FontOutput> rows = makeRows();
    return rows;
}

const FontOutput* fontOutput(FontOutputFamily family, const std::string& key) {
    for (const FontOutput& row : fontOutputs())
        if (row.family == family && key == row.key)
            return &row;
    return nullptr;
}

std::vector<std::string> halvingWarning(const FontModel& font) {
    if (font.Depth <= 1)
        return {};
    return {"the font has " + text::dec(maxLevel(font.Depth) + 1) +
            " grey levels; this output has one bit a pixel: "
            "levels " +
            text::dec((maxLevel(font.Depth) + 1) / 2) + " and above are ink"};
}

} // namespace tesselor
