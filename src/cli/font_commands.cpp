// font-from-system, font-from-bmp and font-export.
#include "cli_support.h"

#include "fontexport/font_payload.h"
#include "fontexport/lcd_text.h"
#include "fontexport/resource_item.h"
#include "fontio/font_file.h"
#include "fontio/font_import.h"
#include "model/error.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "qtplatform/qt_image_decoder.h"
#include "qtplatform/qt_rasteriser.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <iostream>

namespace tesselor::cli {

namespace {

std::string fontFileText(const FontModel& font, const std::string& path) {
    return text::joinLinesCrLf(writeFontFile(fontForSave(font, path)));
}

void warnLimited(const ImportedFont& imported) {
    if (imported.limitedCodes.empty())
        return;
    std::string codes;
    for (const int code : imported.limitedCodes)
        codes += (codes.empty() ? "" : ", ") + std::to_string(code);
    std::cerr << "tesselor: warning: characters wider than 255 pixels got the width 255: " << codes << "\n";
}

struct FromSystem {
    std::string family;
    int size = 0;
    int from = 32;
    int to = 127;
    bool bold = false, italic = false, underline = false, strikeout = false, removeLeftBlank = false;
    std::string output;
    std::optional<std::string> depfile;
};

struct FromBmp {
    std::string folder;
    bool removeLeftBlank = false;
    std::string output;
    std::optional<std::string> depfile;
};

struct Export {
    std::string input;
    std::string output;
    std::string format;
    std::optional<std::string> header;
    std::string symbol;
    std::string cType = "short";
    std::optional<std::string> depfile;
};

void addDepfile(CLI::App& app, std::optional<std::string>& depfile) {
    app.add_option("--depfile", depfile, "Also write a Make rule naming the outputs and every input read");
}

int fontFromSystem(const FromSystem& o) {
    const std::string path = outputPath(o.output, ".font");
    const auto qt = startOffscreenQt();
    QString installed;
    for (const QString& name : QFontDatabase::families())
        if (name.compare(QString::fromStdString(o.family), Qt::CaseInsensitive) == 0)
            installed = name;
    if (installed.isEmpty())
        throw Error("The font family '" + o.family +
                    "' is not installed; the installed families are listed by: fc-list : family");
    QFont font(installed);
    font.setPointSize(o.size);
    font.setBold(o.bold);
    font.setItalic(o.italic);
    font.setUnderline(o.underline);
    font.setStrikeOut(o.strikeout);
    QtRasteriser rasteriser(font);
    const ImportedFont imported = importSystemFont(rasteriser, o.from, o.to, o.removeLeftBlank, "");
    Outputs outputs;
    outputs.add(path, fontFileText(imported.font, path));
    outputs.commit(o.depfile);
    warnLimited(imported);
    return 0;
}

int fontFromBmp(const FromBmp& o) {
    const std::string path = outputPath(o.output, ".font");
    if (!fileio::folderExists(o.folder))
        throw Error("Folder '" + o.folder + "'\r\nNot found.");
    const auto qt = startOffscreenQt();
    QtImageDecoder decoder;
    const BmpCharsImport result =
        importBmpChars(o.folder, decoder, fileio::fileExists, o.removeLeftBlank, "");
    if (!result.found)
        throw Error("Chars.bmp not found in the folder");
    Outputs outputs;
    for (int code = 32; code <= 255; ++code)
        if (const std::string file = bmpCharFile(o.folder, code, fileio::fileExists); !file.empty())
            outputs.read(file);
    outputs.add(path, fontFileText(result.imported.font, path));
    outputs.commit(o.depfile);
    warnLimited(result.imported);
    return 0;
}

int fontExport(const Export& o, const std::string& format) {
    const std::string path = outputPath(o.output, "." + format);
    readableFile(o.input);
    const std::string data = fileio::readFile(o.input);
    // The command line is strict where the window is lenient: a build step must not turn a wrong input
    // into an empty font.
    if (const auto problem = fontHeaderProblem(data))
        throw Error("'" + o.input + "' is not a .font file: " + *problem);
    const FontModel font = readFontFile(data, FontModel{});
    Outputs outputs;
    outputs.read(o.input);
    if (format == "c") {
        const std::string symbol = o.symbol.empty() ? fontOutputName(path, font) : o.symbol;
        requireIdentifier(symbol);
        CArrayStyle style{o.cType == "u8", o.header ? includePath(path, *o.header) : std::string()};
        outputs.add(path, fontCSource(font, symbol, style));
        if (o.header)
            outputs.add(*o.header, arrayHeader(*o.header, symbol, FontPayload(font).size(), style));
    } else if (format == "resdata") {
        const std::string name = o.symbol.empty() ? fontOutputName(path, font) : o.symbol;
        outputs.add(path, writeResourceItem("fnt", name, FontPayload(font)));
    } else {
        outputs.add(path, lcdText(font, paths::baseName(path)));
    }
    outputs.commit(o.depfile);
    return 0;
}

} // namespace

Command defineFontFromSystem(CLI::App& app) {
    auto o = std::make_shared<FromSystem>();
    app.add_option("--family", o->family, "The installed typeface (fc-list : family lists them)")->required();
    app.add_option("--size", o->size, "Its size in points (96 dots per inch)")
        ->required()
        ->transform(wholeNumber(1, 1000));
    app.add_option("--from", o->from, "The first character code (default 32)")
        ->transform(wholeNumber(32, 255));
    app.add_option("--to", o->to, "The last character code (default 127)")->transform(wholeNumber(32, 255));
    app.add_flag("--bold", o->bold, "Bold");
    app.add_flag("--italic", o->italic, "Italic");
    app.add_flag("--underline", o->underline, "Underlined");
    app.add_flag("--strikeout", o->strikeout, "Struck out");
    app.add_flag("--remove-left-blank", o->removeLeftBlank, "Move each character's ink to its left edge");
    app.add_option("-o,--output", o->output, "The .font file to write")->required();
    addDepfile(app, o->depfile);
    return {[o] {
                if (o->from > o->to)
                    throw UsageError("--from " + std::to_string(o->from) + " is greater than --to " +
                                     std::to_string(o->to));
                outputPath(o->output, ".font");
            },
            [o] { return fontFromSystem(*o); }};
}

Command defineFontFromBmp(CLI::App& app) {
    auto o = std::make_shared<FromBmp>();
    app.add_option("folder", o->folder, "The folder of character files 32.bmp to 255.bmp")->required();
    app.add_flag("--remove-left-blank", o->removeLeftBlank, "Move each character's ink to its left edge");
    app.add_option("-o,--output", o->output, "The .font file to write")->required();
    addDepfile(app, o->depfile);
    return {[o] { outputPath(o->output, ".font"); }, [o] { return fontFromBmp(*o); }};
}

Command defineFontExport(CLI::App& app) {
    auto o = std::make_shared<Export>();
    auto format = std::make_shared<std::string>();
    app.add_option("input", o->input, "The .font file")->required();
    app.add_option("-o,--output", o->output, "The file to write: .c, .resdata or .lcd")->required();
    app.add_option("--format", o->format, "The output format when the extension does not say it")
        ->check(CLI::IsMember({"c", "resdata", "lcd"}));
    app.add_option("--header", o->header, "With .c: also write this header declaring the array");
    app.add_option("--symbol", o->symbol, "The array name (.c) or item name (.resdata); a C identifier");
    app.add_option("--c-type", o->cType, "The array's element: short (default) or u8 (uint8_t)")
        ->check(CLI::IsMember({"short", "u8"}));
    addDepfile(app, o->depfile);
    return {[o, format] {
                *format = outputFormat(o->output, o->format, {"c", "resdata", "lcd"});
                outputPath(o->output, "." + *format);
                checkSymbol(o->symbol);
                if (*format != "c" && (o->header || o->cType != "short"))
                    throw UsageError("--header and --c-type apply to a .c output");
                if (*format == "lcd" && !o->symbol.empty())
                    throw UsageError("--symbol applies to .c and .resdata outputs");
                if (o->header)
                    o->header = headerPath(o->output, *o->header);
            },
            [o, format] { return fontExport(*o, *format); }};
}

} // namespace tesselor::cli
