// bitmap-export.
#include "cli_support.h"

#include "bitmap/bitmap_payload.h"
#include "model/error.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "qtplatform/bitmap_export.h"
#include "qtplatform/qt_image_decoder.h"

#include <QGuiApplication>

#include <iostream>

namespace tesselor::cli {

namespace {

struct Export {
    std::string input;
    std::string output;
    std::string format;
    bool ft800 = false;
    std::string ftFormat;
    BitmapOptions options;
    std::optional<std::string> header;
    std::string symbol;
    std::string cType = "short";
    std::optional<std::string> depfile;
    std::string luminance = "auto";
    std::string chip;
    std::string background;
};

int bitmapExport(const Export& o, const std::string& format) {
    const std::string path = outputPath(o.output, "." + format);
    readableFile(o.input);
    const auto qt = startOffscreenQt();
    QtImageDecoder decoder;
    const DecodedImage decoded = decoder.decode(o.input);
    RowSource& rows = *decoded.rows;
    const BitmapEncoding encoding = bitmapEncoding(decoded.bits, o.ft800, o.ftFormat);
    if (const auto refusal = exportRefusal(rows, encoding, o.options))
        throw Error(*refusal);
    if (dropsTransparency(rows, encoding, o.options))
        std::cerr << "tesselor: warning: the image has translucent pixels and " << encodingName(encoding)
                  << " keeps no alpha: they show their hidden colour (--background RRGGBB composites them "
                     "first)\n";
    const std::string symbol =
        o.symbol.empty() ? (format == "c" ? paths::baseName(o.input) + "_bmp" : paths::baseName(path))
                         : o.symbol;
    if (format == "c")
        requireIdentifier(symbol);
    Outputs outputs;
    outputs.read(o.input);
    for (fileio::OutputFile& file : bitmapOutput(format)->write(
             rows, encoding, o.options, o.ft800, path, {symbol, o.cType == "u8", o.header.value_or("")}))
        outputs.add(std::move(file));
    outputs.commit(o.depfile);
    return 0;
}

} // namespace

Command defineBitmapExport(CLI::App& app) {
    auto o = std::make_shared<Export>();
    auto format = std::make_shared<std::string>();
    app.add_option("input", o->input, "The image: .bmp, or any format Qt reads here (PNG, JPEG, GIF ...)")
        ->required();
    app.add_option("-o,--output", o->output, "The file to write: .c or .resdata")->required();
    std::vector<std::string> keys;
    for (const BitmapOutput& row : bitmapOutputs())
        keys.emplace_back(row.key);
    app.add_option("--format", o->format, "The output format when the extension does not say it")
        ->check(CLI::IsMember(keys));
    auto* ft800 =
        app.add_flag("--ft800", o->ft800, "For the FT8xx graphics controllers: RGB565 unless --ft-format");
    std::vector<std::string> names;
    for (const BitmapEncoding& known : ft8xxFormats())
        names.push_back(known.name);
    app.add_option("--ft-format", o->ftFormat, "With --ft800: the controller's bitmap format")
        ->check(CLI::IsMember(names, CLI::ignore_case))
        ->needs(ft800);
    app.add_flag("--dither", o->options.dither,
                 "Floyd-Steinberg dithering for the formats that reduce colours");
    app.add_flag("--deflate", o->options.deflate,
                 "The rows and palette as one zlib stream; byte 0 becomes 0x01");
    app.add_option("--header", o->header, "With .c: also write this header declaring the array");
    app.add_option("--symbol", o->symbol, "The array name (.c) or item name (.resdata); a C identifier");
    app.add_option("--c-type", o->cType, "The array's element: short (default) or u8 (uint8_t)")
        ->check(CLI::IsMember({"short", "u8"}));
    app.add_option(
           "--l-source", o->luminance,
           "L1, L2, L4, L8 take the alpha, the grey, or (auto) the alpha only when a pixel is translucent")
        ->check(CLI::IsMember({"auto", "alpha", "grey"}, CLI::ignore_case));
    std::vector<std::string> chips;
    for (const ChipLimits& limits : chipLimits())
        chips.emplace_back(limits.name);
    app.add_option("--chip", o->chip, "With --ft800: refuse a format or size this controller cannot draw")
        ->check(CLI::IsMember(chips, CLI::ignore_case))
        ->needs(ft800);
    app.add_option(
           "--background", o->background,
           "Composite the image onto this colour (RRGGBB) first: no hidden colours of transparent pixels")
        ->check(colourValue());
    app.add_flag("--swap-bytes", o->options.swapBytes,
                 "16-bit pixels and RGB565 table entries high byte first (native formats), as many SPI "
                 "displays take them")
        ->excludes(ft800);
    app.add_option("--depfile", o->depfile, "Also write a Make rule naming the outputs and every input read");
    return {[o, format, keys] {
                static const std::map<std::string, LuminanceSource> sources = {
                    {"auto", LuminanceSource::Auto},
                    {"alpha", LuminanceSource::Alpha},
                    {"grey", LuminanceSource::Grey}};
                o->options.luminance = sources.at(o->luminance);
                if (!o->chip.empty())
                    o->options.chip = chipNamed(o->chip);
                if (!o->background.empty())
                    o->options.background = rgbOf(o->background);
                *format = outputFormat(o->output, o->format, {keys.begin(), keys.end()});
                outputPath(o->output, "." + *format);
                checkSymbol(o->symbol);
                if (*format != "c" && (o->header || o->cType != "short"))
                    throw UsageError("--header and --c-type apply to a .c output");
                if (o->header)
                    o->header = headerPath(o->output, *o->header);
            },
            [o, format] { return bitmapExport(*o, *format); }};
}

} // namespace tesselor::cli
