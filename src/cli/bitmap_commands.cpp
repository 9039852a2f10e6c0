// bitmap-export.
#include "cli_support.h"

#include "bitmap/bitmap_payload.h"
#include "fontexport/resource_item.h"
#include "model/error.h"
#include "platform/paths.h"
#include "qtplatform/qt_image_decoder.h"

#include <QGuiApplication>

namespace tesselor::cli {

namespace {

struct Export {
    std::string input;
    std::string output;
    std::string format;
    bool ft800 = false;
    std::optional<std::string> header;
    std::string symbol;
    std::string cType = "short";
    std::optional<std::string> depfile;
};

int bitmapExport(const Export& o, const std::string& format) {
    const std::string path = outputPath(o.output, "." + format);
    readableFile(o.input);
    const auto qt = startOffscreenQt();
    QtImageDecoder decoder;
    const DecodedImage decoded = decoder.decode(o.input);
    const LayoutClass layout = classifyBmpLayout(decoded.layout);
    const BitmapEncoding encoding = bitmapEncoding(layout.bits, o.ft800);
    const auto payload = BitmapPayload(decoded.pixels, encoding);
    if (!payload)
        throw Error("Anomalus image. The Bitmap file is corrupt");
    Outputs outputs;
    outputs.read(o.input);
    if (format == "c") {
        const std::string symbol = o.symbol.empty() ? paths::baseName(o.input) + "_bmp" : o.symbol;
        requireIdentifier(symbol);
        const CArrayStyle style{o.cType == "u8", o.header ? includePath(path, *o.header) : std::string()};
        outputs.add(path, bitmapCSource(*payload, encoding, o.ft800, symbol, style));
        if (o.header)
            outputs.add(*o.header, arrayHeader(*o.header, symbol, payload->size(), style));
    } else {
        outputs.add(path,
                    writeResourceItem("bmp", o.symbol.empty() ? paths::baseName(path) : o.symbol, *payload));
    }
    outputs.commit(o.depfile);
    return 0;
}

} // namespace

Command defineBitmapExport(CLI::App& app) {
    auto o = std::make_shared<Export>();
    auto format = std::make_shared<std::string>();
    app.add_option("input", o->input, "The .bmp file")->required();
    app.add_option("-o,--output", o->output, "The file to write: .c or .resdata")->required();
    app.add_option("--format", o->format, "The output format when the extension does not say it")
        ->check(CLI::IsMember({"c", "resdata"}));
    app.add_flag("--ft800", o->ft800, "RGB565 with the FT800 graphics controller's format code");
    app.add_option("--header", o->header, "With .c: also write this header declaring the array");
    app.add_option("--symbol", o->symbol, "The array name (.c) or item name (.resdata); a C identifier");
    app.add_option("--c-type", o->cType, "The array's element: short (default) or u8 (uint8_t)")
        ->check(CLI::IsMember({"short", "u8"}));
    app.add_option("--depfile", o->depfile, "Also write a Make rule naming the outputs and every input read");
    return {[o, format] {
                *format = outputFormat(o->output, o->format, {"c", "resdata"});
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
