// font-from-system, font-from-bmp, font-from-bdf and font-export.
#include "cli_support.h"

#include "fontexport/bdf_writer.h"
#include "fontexport/font_payload.h"
#include "fontexport/lcd_text.h"
#include "fontexport/resource_item.h"
#include "fontio/bdf_reader.h"
#include "fontio/font_file.h"
#include "fontio/font_import.h"
#include "model/error.h"
#include "platform/c_names.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "qtplatform/code_pages.h"
#include "qtplatform/font_outputs.h"
#include "qtplatform/font_preview.h"
#include "qtplatform/qt_image_decoder.h"
#include "qtplatform/qt_rasteriser.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <iostream>

namespace tesselor::cli {

namespace {

std::string fontFileText(const FontModel& font, const std::string& path) {
    return text::joinLinesCrLf(writeFontFile(fontForSave(font, path)));
}

// Codes a command warns about, as one line; nothing when there are none.
void warnCodes(const std::string& what, const std::vector<int>& codes) {
    if (!codes.empty())
        std::cerr << "tesselor: warning: " << what << ": " << text::decList(codes) << "\n";
}

void warnLimited(const ImportedFont& imported) {
    warnCodes("characters wider than 255 pixels got the width 255", imported.limitedCodes);
}

// A --codepage value, checked before anything runs.
std::string checkedCodePage(const std::string& name) {
    const auto listed = listedCodePage(name);
    if (!listed)
        throw UsageError("--codepage '" + cnames::escaped(name) +
                         "' is none of the code pages listed by --help");
    return *listed;
}

// The code page a new font records: nothing for the default, which every font had before.
std::string recorded(const std::string& name) {
    return name == kDefaultCodePage ? std::string() : name;
}

std::string codePagesHelp() {
    std::string names;
    for (const std::string& name : codePageNames())
        names += (names.empty() ? "" : ", ") + name;
    return "The 8-bit code page of the codes (default windows-1252): " + names;
}

struct FromSystem {
    std::string family;
    std::string fontFile;
    std::string codePage = kDefaultCodePage;
    int size = 0;
    int from = 32;
    int to = 127;
    int depth = 1;
    bool bold = false, italic = false, underline = false, strikeout = false, removeLeftBlank = false;
    std::string output;
    std::optional<std::string> depfile;
};

struct FromBdf {
    std::string input;
    std::optional<int> from, to;
    std::optional<std::string> codePage;
    std::string output;
    std::optional<std::string> depfile;
};

struct FromBmp {
    std::string folder;
    bool removeLeftBlank = false;
    int depth = 1;
    std::string output;
    std::optional<std::string> depfile;
};

struct Preview {
    std::string input;
    std::optional<std::string> text;
    bool sheet = false;
    int scale = 1;
    std::string ink = "000000";
    std::string paper = "FFFFFF";
    bool ft8xx = false;
    std::optional<int> spacing, spaceWidth;
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
    // The controller's font.
    bool ft8xx = false;
    std::string ftFormat = "L1";
    std::uint32_t address = 0;
    std::optional<int> from, to, spacing, spaceWidth;
    bool deflate = false;
    // The graphics libraries' fonts.
    std::optional<int> lvgl;
};

void addDepfile(CLI::App& app, std::optional<std::string>& depfile) {
    app.add_option("--depfile", depfile, "Also write a Make rule naming the outputs and every input read");
}

// The controller's advances, for its font and for a preview laid out as it draws.
void addAdvances(CLI::App& app, std::optional<int>& spacing, std::optional<int>& spaceWidth,
                 CLI::Option* ft8xx) {
    app.add_option("--spacing", spacing, "With --ft8xx: pixels added to each character's width (default 1)")
        ->transform(wholeNumber(0, 255))
        ->needs(ft8xx);
    app.add_option("--space-width", spaceWidth,
                   "With --ft8xx: the width of characters without ink (default: a third of the cell height)")
        ->transform(wholeNumber(0, 255))
        ->needs(ft8xx);
}

void addDepth(CLI::App& app, int& depth, const std::string& grey) {
    app.add_option("--depth", depth,
                   "Bits of ink a pixel: 1 (default, black and white), or 2, 4 or 8: " + grey)
        ->check(CLI::IsMember({1, 2, 4, 8}));
}

int fontFromSystem(const FromSystem& o) {
    const std::string path = outputPath(o.output, ".font");
    if (!o.fontFile.empty())
        readableFile(o.fontFile);
    const auto qt = startOffscreenQt();
    QFont font;
    if (!o.fontFile.empty()) {
        font = loadFontFile(o.fontFile, o.size, o.bold, o.italic);
    } else {
        QString installed;
        for (const QString& name : QFontDatabase::families())
            if (name.compare(QString::fromStdString(o.family), Qt::CaseInsensitive) == 0)
                installed = name;
        if (installed.isEmpty())
            throw Error("The font family '" + o.family +
                        "' is not installed; the installed families are listed by: fc-list : family");
        font = QFont(installed);
        font.setPointSize(o.size);
        font.setBold(o.bold);
        font.setItalic(o.italic);
    }
    font.setUnderline(o.underline);
    font.setStrikeOut(o.strikeout);
    const CodePage page = loadCodePage(o.codePage);
    QtRasteriser rasteriser(font, page, o.depth);
    ImportedFont imported = importSystemFont(rasteriser, o.from, o.to, o.removeLeftBlank, "", o.depth);
    imported.font.CodePage = recorded(page.name);
    Outputs outputs;
    if (!o.fontFile.empty())
        outputs.read(o.fontFile);
    outputs.add(path, fontFileText(imported.font, path));
    outputs.commit(o.depfile);
    warnLimited(imported);
    warnCodes("these codes have no character in " + page.name + ", each is drawn as its decoder reads it",
              page.codesWithoutCharacter(o.from, o.to));
    return 0;
}

int fontFromBdf(const FromBdf& o) {
    const std::string path = outputPath(o.output, ".font");
    readableFile(o.input);
    const auto qt = startOffscreenQt();
    const BdfFile bdf = readBdf(fileio::readFile(o.input));
    const BdfCodes codes = bdfCodes(bdf, o.codePage);
    BdfImport result = importBdf(bdf, codes.codeOf, o.from, o.to, "");
    result.imported.font.CodePage = recorded(codes.codePage);
    Outputs outputs;
    outputs.read(o.input);
    outputs.add(path, fontFileText(result.imported.font, path));
    outputs.commit(o.depfile);
    warnLimited(result.imported);
    warnCodes("the BDF file has no glyph for these codes, left blank", result.missingCodes);
    return 0;
}

int fontFromBmp(const FromBmp& o) {
    const std::string path = outputPath(o.output, ".font");
    if (!fileio::folderExists(o.folder))
        throw Error("Folder '" + o.folder + "'\r\nNot found.");
    const auto qt = startOffscreenQt();
    QtImageDecoder decoder;
    const BmpCharsImport result =
        importBmpChars(o.folder, decoder, fileio::fileExists, o.removeLeftBlank, "", o.depth);
    if (!result.found)
        throw Error("Chars.bmp not found in the folder");
    Outputs outputs;
    // The folder itself too: a character file added to it changes its time, and the font is made again.
    std::string folder = o.folder;
    while (folder.size() > 1 && folder.ends_with('/'))
        folder.pop_back();
    outputs.read(folder);
    for (int code = 32; code <= 255; ++code)
        if (const std::string file = bmpCharFile(o.folder, code, fileio::fileExists); !file.empty())
            outputs.read(file);
    outputs.add(path, fontFileText(result.imported.font, path));
    outputs.commit(o.depfile);
    warnLimited(result.imported);
    return 0;
}

// The command line is strict where the window is lenient: a build step must not turn a wrong input into
// an empty font.
FontModel readStrictly(const std::string& input) {
    readableFile(input);
    const std::string data = fileio::readFile(input);
    if (const auto problem = fontHeaderProblem(data))
        throw Error("'" + input + "' is not a .font file: " + *problem);
    return readFontFile(data, FontModel{}, FontReading::Strict);
}

int fontPreview(const Preview& o) {
    const std::string path = outputPath(o.output, ".png");
    const FontModel font = readStrictly(o.input);
    const auto qt = startOffscreenQt();
    const TextStyle style{*rgbOf(o.ink), *rgbOf(o.paper), o.scale, std::nullopt};
    QImage picture;
    if (o.sheet) {
        picture = sheetPicture(font, style);
    } else {
        const QString text = QString::fromUtf8(*o.text);
        const std::vector<int> codes = codesOf(text, codePageOf(font));
        const TextLayout layout =
            layoutText(font, codes, o.ft8xx ? controllerAdvances(font, o.spacing, o.spaceWidth) : Advances{});
        picture = textPicture(font, layout, style);
        // The characters the device would skip, named once.
        QString skipped;
        const QList<uint> characters = text.toUcs4();
        for (std::size_t i = 0; i < codes.size(); ++i) {
            const char32_t character = characters[static_cast<qsizetype>(i)];
            if (const QString one = QString::fromUcs4(&character, 1);
                !font.hasCode(codes[i]) && !skipped.contains(one))
                skipped += one;
        }
        if (!skipped.isEmpty())
            std::cerr << "tesselor: warning: not in the font, skipped: "
                      << cnames::echoed(skipped.toStdString()) << "\n";
    }
    Outputs outputs;
    outputs.read(o.input);
    outputs.add(path, pngBytes(picture));
    outputs.commit(o.depfile);
    return 0;
}

// The outputs font-export chooses from: the controller's with --ft8xx, else the device's and the libraries'.
std::vector<const FontOutput*> exportRows(const Export& o) {
    std::vector<const FontOutput*> rows;
    for (const FontOutput& row : fontOutputs())
        if (o.ft8xx ? row.family == FontOutputFamily::Ft8xx : row.family != FontOutputFamily::Ft8xx)
            rows.push_back(&row);
    return rows;
}

const FontOutput& exportRow(const Export& o, const std::string& format) {
    for (const FontOutput* row : exportRows(o))
        if (format == row->key)
            return *row;
    throw UsageError("no output " + format);
}

int fontExport(const Export& o, const std::string& format) {
    const FontOutput& row = exportRow(o, format);
    const std::string path = outputPath(o.output, "." + row.fileExtension());
    const FontModel font = readStrictly(o.input);
    FontOutputChoices choices;
    choices.symbol = o.symbol;
    choices.bytes = o.cType == "u8";
    choices.headerPath = o.header.value_or("");
    choices.ft8xx = {o.ftFormat, o.address, o.from, o.to, o.spacing, o.spaceWidth};
    choices.deflate = o.deflate;
    choices.spacing = o.spacing;
    choices.spaceWidth = o.spaceWidth;
    choices.lvglVersion = o.lvgl.value_or(kDefaultLvglVersion);
    if (row.takesSymbol && (format == "c" || row.family == FontOutputFamily::Library))
        requireIdentifier(o.symbol.empty() ? row.defaultSymbol(font, path) : o.symbol);
    FontOutputFiles written = row.write(font, path, choices);
    Outputs outputs;
    outputs.read(o.input);
    for (fileio::OutputFile& file : written.files)
        outputs.add(std::move(file));
    outputs.commit(o.depfile);
    for (const std::string& warning : written.warnings)
        std::cerr << "tesselor: warning: " << warning << "\n";
    return 0;
}

} // namespace

Command defineFontFromSystem(CLI::App& app) {
    auto o = std::make_shared<FromSystem>();
    auto* family =
        app.add_option("--family", o->family, "The installed typeface (fc-list : family lists them)");
    auto* file =
        app.add_option("--font-file", o->fontFile,
                       "A font file instead (TrueType, OpenType, PCF, Type 1): the family inside it, "
                       "the same bytes on every machine with the file");
    family->excludes(file);
    app.add_option("--codepage", o->codePage, codePagesHelp());
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
    addDepth(app, o->depth, "drawn with anti-aliasing and kept at that many bits of grey");
    app.add_option("-o,--output", o->output, "The .font file to write")->required();
    addDepfile(app, o->depfile);
    return {[o] {
                if (o->family.empty() == o->fontFile.empty())
                    throw UsageError("give --family or --font-file");
                if (o->from > o->to)
                    throw UsageError("--from " + std::to_string(o->from) + " is greater than --to " +
                                     std::to_string(o->to));
                o->codePage = checkedCodePage(o->codePage);
                outputPath(o->output, ".font");
            },
            [o] { return fontFromSystem(*o); }};
}

Command defineFontFromBdf(CLI::App& app) {
    auto o = std::make_shared<FromBdf>();
    app.add_option("input", o->input, "The BDF file")->required();
    app.add_option("--from", o->from, "The first character code (default: the first the file gives)")
        ->transform(wholeNumber(0, 255));
    app.add_option("--to", o->to, "The last character code (default: the last the file gives)")
        ->transform(wholeNumber(0, 255));
    app.add_option(
        "--codepage", o->codePage,
        "The code page of the font: a Unicode file's glyphs are taken by it (default windows-1252)");
    app.add_option("-o,--output", o->output, "The .font file to write")->required();
    addDepfile(app, o->depfile);
    return {[o] {
                if (o->from && o->to && *o->from > *o->to)
                    throw UsageError("--from " + std::to_string(*o->from) + " is greater than --to " +
                                     std::to_string(*o->to));
                if (o->codePage)
                    o->codePage = checkedCodePage(*o->codePage);
                outputPath(o->output, ".font");
            },
            [o] { return fontFromBdf(*o); }};
}

Command defineFontFromBmp(CLI::App& app) {
    auto o = std::make_shared<FromBmp>();
    app.add_option("folder", o->folder, "The folder of character files 32.bmp to 255.bmp")->required();
    app.add_flag("--remove-left-blank", o->removeLeftBlank, "Move each character's ink to its left edge");
    addDepth(app, o->depth, "the files' greys kept at that many bits");
    app.add_option("-o,--output", o->output, "The .font file to write")->required();
    addDepfile(app, o->depfile);
    return {[o] { outputPath(o->output, ".font"); }, [o] { return fontFromBmp(*o); }};
}

Command defineFontPreview(CLI::App& app) {
    auto o = std::make_shared<Preview>();
    app.add_option("input", o->input, "The .font file")->required();
    auto* text = app.add_option("--text", o->text,
                                "A text, laid out as the device does: characters outside the "
                                "range are skipped");
    auto* sheet =
        app.add_flag("--sheet", o->sheet, "Every character of the range in a grid, each under its code");
    text->excludes(sheet);
    app.add_option("--scale", o->scale, "Screen pixels per font pixel (default 1)")
        ->transform(wholeNumber(1, 16));
    app.add_option("--ink", o->ink, "The colour of the ink (default 000000)")->check(colourValue());
    app.add_option("--paper", o->paper, "The colour of the paper (default FFFFFF)")->check(colourValue());
    auto* ft8xx = app.add_flag("--ft8xx", o->ft8xx,
                               "Lay the text out as the FT8xx controller does: each width plus --spacing, a "
                               "character without ink --space-width wide");
    addAdvances(app, o->spacing, o->spaceWidth, ft8xx);
    app.add_option("-o,--output", o->output, "The .png file to write")->required();
    addDepfile(app, o->depfile);
    return {[o] {
                if (!o->text && !o->sheet)
                    throw UsageError("give --text or --sheet");
                outputPath(o->output, ".png");
            },
            [o] { return fontPreview(*o); }};
}

Command defineFontExport(CLI::App& app) {
    auto o = std::make_shared<Export>();
    auto format = std::make_shared<std::string>();
    app.add_option("input", o->input, "The .font file")->required();
    app.add_option("-o,--output", o->output,
                   "The file to write: .c, .resdata, .lcd or .bdf; with --ft8xx .bin, .c or .resdata; "
                   "with --format gfx an Adafruit GFX header (.h), with --format lvgl an LVGL font (.c)")
        ->required();
    std::vector<std::string> keys;
    for (const FontOutput& row : fontOutputs())
        if (std::find(keys.begin(), keys.end(), row.key) == keys.end())
            keys.push_back(row.key);
    app.add_option("--format", o->format,
                   "The output format when the extension does not say it; gfx (Adafruit GFX) and lvgl "
                   "(LVGL) always")
        ->check(CLI::IsMember(keys));
    app.add_option("--header", o->header, "With .c (and --ft8xx .bin): also write this header");
    app.add_option(
        "--symbol", o->symbol,
        "The array name (.c), item name (.resdata) or, with --ft8xx .bin, the header's macros' name; "
        "a C identifier");
    app.add_option("--c-type", o->cType, "The array's element: short (default) or u8 (uint8_t)")
        ->check(CLI::IsMember({"short", "u8"}));
    auto* ft8xx =
        app.add_flag("--ft8xx", o->ft8xx,
                     "The font for the FT8xx controllers: font metric block and glyphs, for CMD_SETFONT");
    app.add_option("--ft-format", o->ftFormat, "With --ft8xx: L1 (default), L2, L4 or L8")
        ->check(CLI::IsMember({"L1", "L2", "L4", "L8"}, CLI::ignore_case))
        ->needs(ft8xx);
    app.add_option("--address", o->address,
                   "With --ft8xx: where the block goes in the controller's RAM (default 0)")
        ->transform(wholeNumber(0, 0x7FFFFFFF))
        ->needs(ft8xx);
    app.add_option("--from", o->from, "With --ft8xx: the first code stored (default: the font's)")
        ->transform(wholeNumber(0, 255))
        ->needs(ft8xx);
    app.add_option("--to", o->to, "With --ft8xx: the last code stored, at most 127 (default: the font's)")
        ->transform(wholeNumber(0, 255))
        ->needs(ft8xx);
    app.add_option("--spacing", o->spacing,
                   "With --ft8xx, gfx or lvgl: pixels added to each character's width (default 1)")
        ->transform(wholeNumber(0, 255));
    app.add_option("--space-width", o->spaceWidth,
                   "With --ft8xx, gfx or lvgl: the width of characters without ink (default: a third of "
                   "the cell height)")
        ->transform(wholeNumber(0, 255));
    app.add_flag("--deflate", o->deflate, "With --ft8xx: the bytes as one zlib stream, for CMD_INFLATE")
        ->needs(ft8xx);
    app.add_option("--lvgl", o->lvgl, "With --format lvgl: the LVGL version, 8 or 9 (default 9)")
        ->check(CLI::IsMember({8, 9}));
    addDepfile(app, o->depfile);
    return {[o, format] {
                o->ftFormat = QString::fromStdString(o->ftFormat).toUpper().toStdString();
                std::set<std::string> known;
                for (const FontOutput* row : exportRows(*o))
                    if (row->family != FontOutputFamily::Library)
                        known.insert(row->key);
                // The libraries' outputs share their extensions with others: --format names them.
                const bool library = o->format == "gfx" || o->format == "lvgl";
                if (library && o->ft8xx)
                    throw UsageError("--format " + o->format + " and --ft8xx are two different fonts");
                *format = library ? o->format : outputFormat(o->output, o->format, known);
                const FontOutput& row = exportRow(*o, *format);
                const std::string extension =
                    QString::fromStdString(paths::extension(o->output)).toLower().mid(1).toStdString();
                if (library && known.count(extension) != 0 && extension != row.fileExtension())
                    throw UsageError("--format " + o->format + " contradicts the extension of " + o->output);
                outputPath(o->output, "." + row.fileExtension());
                checkSymbol(o->symbol);
                if ((o->spacing || o->spaceWidth) && !o->ft8xx && row.family != FontOutputFamily::Library)
                    throw UsageError("--spacing and --space-width apply to --ft8xx, gfx and lvgl outputs");
                if (o->lvgl && *format != "lvgl")
                    throw UsageError("--lvgl applies to --format lvgl");
                if ((o->header && !row.takesHeader) || (o->cType != "short" && *format != "c"))
                    throw UsageError(o->ft8xx
                                         ? "--header applies to .c and .bin outputs, --c-type to a .c output"
                                         : "--header and --c-type apply to a .c output");
                if (!row.takesSymbol && !o->symbol.empty())
                    throw UsageError(o->ft8xx ? "--symbol applies to .bin, .c and .resdata outputs"
                                              : "--symbol applies to .c, .resdata, gfx and lvgl outputs");
                if (o->from && o->to && *o->from > *o->to)
                    throw UsageError("--from " + std::to_string(*o->from) + " is greater than --to " +
                                     std::to_string(*o->to));
                if (o->header)
                    o->header = headerPath(o->output, *o->header);
            },
            [o, format] { return fontExport(*o, *format); }};
}

} // namespace tesselor::cli
