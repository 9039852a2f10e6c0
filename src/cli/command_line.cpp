#include "command_line.h"

#include "bitmap/bitmap_payload.h"
#include "fontexport/font_payload.h"
#include "fontexport/lcd_text.h"
#include "fontexport/resource_item.h"
#include "fontio/font_file.h"
#include "fontio/font_import.h"
#include "model/error.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/qt_image_decoder.h"
#include "platform/qt_rasteriser.h"
#include "platform/text.h"
#include "resources/resource_file.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace tesselor::cli {

namespace {

struct UsageError {
    std::string message;
};

// The parsed arguments of a subcommand: options with values, flags and positional arguments.
struct Arguments {
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::vector<std::string> positional;

    std::optional<std::string> value(const std::string& name) const {
        const auto found = values.find(name);
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    std::string required(const std::string& name) const {
        const auto found = value(name);
        if (!found)
            throw UsageError{"missing " + name};
        return *found;
    }
    bool flag(const std::string& name) const { return flags.count(name) != 0; }
};

Arguments parse(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                const std::set<std::string>& flagOptions) {
    Arguments parsed;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (valueOptions.count(word)) {
            if (i + 1 >= words.size())
                throw UsageError{word + " needs a value"};
            if (parsed.values.count(word))
                throw UsageError{word + " is given twice"};
            parsed.values[word] = words[++i];
        } else if (flagOptions.count(word)) {
            parsed.flags.insert(word);
        } else if (word.size() > 1 && word[0] == '-') {
            throw UsageError{"unknown option " + word};
        } else {
            parsed.positional.push_back(word);
        }
    }
    return parsed;
}

int integerArgument(const std::string& name, const std::string& text, int low, int high) {
    const auto value = parseFontInteger(text);
    if (!value || *value < low || *value > high)
        throw UsageError{name + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high)};
    return *value;
}

// The GUI's messages on one line: CR LF becomes "; ".
std::string oneLine(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, "; ");
    return text;
}

// A name from a file, with its control characters spelt out so that the message stays one line.
std::string shown(const std::string& name) {
    std::string out;
    for (const char ch : name) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F)
            out += "\\x" + text::hex(byte, 2);
        else
            out += ch;
    }
    return out;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return text;
}

// Rasterising and decoding need Qt's GUI library, started on its offscreen platform: no display.
std::unique_ptr<QGuiApplication> startOffscreenQt() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own notes (a missing runtime folder, font fallbacks) are no output of a build step.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg)
            std::cerr << "tesselor: " << message.toStdString() << "\n";
    });
    static int argc = 1;
    static char name[] = "tesselor";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

void saveFont(const FontModel& font, const std::string& output) {
    const std::string path = paths::withDefaultExtension(output, ".font");
    fileio::writeFileAtomic(path, text::joinLinesCrLf(writeFontFile(fontForSave(font, path))));
}

void warnLimited(const ImportedFont& imported) {
    if (imported.limitedCodes.empty())
        return;
    std::string codes;
    for (const int code : imported.limitedCodes)
        codes += (codes.empty() ? "" : ", ") + std::to_string(code);
    std::cerr << "tesselor: warning: characters wider than 255 pixels got the width 255: " << codes << "\n";
}

void readableFile(const std::string& path) {
    if (!fileio::fileExists(path))
        throw Error("File '" + path + "'\r\nNot found.");
}

int fontFromSystem(const std::vector<std::string>& words) {
    const Arguments args = parse(words, {"--family", "--size", "--from", "--to", "-o"},
                                 {"--bold", "--italic", "--underline", "--strikeout", "--remove-left-blank"});
    if (!args.positional.empty())
        throw UsageError{"unexpected argument " + args.positional.front()};
    const std::string family = args.required("--family");
    const int points = integerArgument("--size", args.required("--size"), 1, 1000);
    const int first = integerArgument("--from", args.value("--from").value_or("32"), 32, 255);
    const int last = integerArgument("--to", args.value("--to").value_or("127"), 32, 255);
    const std::string output = args.required("-o");

    const auto qt = startOffscreenQt();
    QString installed;
    for (const QString& name : QFontDatabase::families())
        if (name.compare(QString::fromStdString(family), Qt::CaseInsensitive) == 0)
            installed = name;
    if (installed.isEmpty())
        throw Error("The font family '" + family +
                    "' is not installed; the installed families are listed by: fc-list : family");
    QFont font(installed);
    font.setPointSize(points);
    font.setBold(args.flag("--bold"));
    font.setItalic(args.flag("--italic"));
    font.setUnderline(args.flag("--underline"));
    font.setStrikeOut(args.flag("--strikeout"));
    QtRasteriser rasteriser(font);
    const ImportedFont imported =
        importSystemFont(rasteriser, first, last, args.flag("--remove-left-blank"), "");
    saveFont(imported.font, output);
    warnLimited(imported);
    return 0;
}

int fontFromBmp(const std::vector<std::string>& words) {
    const Arguments args = parse(words, {"-o"}, {"--remove-left-blank"});
    if (args.positional.size() != 1)
        throw UsageError{"font-from-bmp takes one folder"};
    const std::string folder = args.positional.front();
    const std::string output = args.required("-o");
    if (!fileio::folderExists(folder))
        throw Error("Folder '" + folder + "'\r\nNot found.");
    const auto qt = startOffscreenQt();
    QtImageDecoder decoder;
    const BmpCharsImport result =
        importBmpChars(folder, decoder, fileio::fileExists, args.flag("--remove-left-blank"), "");
    if (!result.found)
        throw Error("Chars.bmp not found in the folder");
    saveFont(result.imported.font, output);
    warnLimited(result.imported);
    return 0;
}

// The output format: --format, else the extension of the output path. A path without extension gets
// the format's own.
std::pair<std::string, std::string> outputFormat(const Arguments& args,
                                                 const std::set<std::string>& formats) {
    std::string output = args.required("-o");
    const std::string extension = lowered(paths::extension(output));
    std::string format;
    if (const auto given = args.value("--format")) {
        format = *given;
        if (!formats.count(format))
            throw UsageError{"unknown format " + format};
    } else if (!extension.empty() && formats.count(extension.substr(1))) {
        format = extension.substr(1);
    } else {
        std::string known;
        for (const std::string& name : formats)
            known += (known.empty() ? "." : ", .") + name;
        throw UsageError{"the output file needs one of the extensions " + known + ", or --format"};
    }
    return {format, paths::withDefaultExtension(output, "." + format)};
}

int fontExport(const std::vector<std::string>& words) {
    const Arguments args = parse(words, {"-o", "--format"}, {});
    if (args.positional.size() != 1)
        throw UsageError{"font-export takes one .font file"};
    const auto [format, path] = outputFormat(args, {"c", "lcd", "resdata"});
    const std::string input = args.positional.front();
    readableFile(input);
    const FontModel font = readFontFile(text::splitLines(fileio::readFile(input)), FontModel{});
    if (format == "c") {
        fileio::writeFileAtomic(path, fontCSource(font, fontOutputName(path, font)));
    } else if (format == "resdata") {
        const std::string name = fontOutputName(path, font);
        fileio::writeFileAtomic(path, writeResourceItem("fnt", name, FontPayload(font)));
    } else {
        fileio::writeFileAtomic(path, lcdText(font, paths::baseName(path)));
    }
    return 0;
}

int bitmapExport(const std::vector<std::string>& words) {
    const Arguments args = parse(words, {"-o", "--format"}, {"--ft800"});
    if (args.positional.size() != 1)
        throw UsageError{"bitmap-export takes one .bmp file"};
    const auto [format, path] = outputFormat(args, {"c", "resdata"});
    const std::string input = args.positional.front();
    readableFile(input);
    const auto qt = startOffscreenQt();
    QtImageDecoder decoder;
    const DecodedImage decoded = decoder.decode(input);
    const LayoutClass layout = classifyBmpLayout(decoded.layout);
    const BitmapEncoding encoding = bitmapEncoding(layout.bits, args.flag("--ft800"));
    const auto payload = BitmapPayload(decoded.pixels, encoding);
    if (!payload)
        throw Error("Anomalus image. The Bitmap file is corrupt");
    if (format == "c")
        fileio::writeFileAtomic(
            path, bitmapCSource(*payload, encoding, args.flag("--ft800"), paths::baseName(input) + "_bmp"));
    else
        fileio::writeFileAtomic(path, writeResourceItem("bmp", paths::baseName(path), *payload));
    return 0;
}

int resPack(const std::vector<std::string>& words) {
    const Arguments args = parse(words, {"-o", "--declarations"}, {});
    if (args.positional.empty())
        throw UsageError{"res-pack takes one or more .resdata files"};
    const std::string path = paths::withDefaultExtension(args.required("-o"), ".res");
    ResourceItems items;
    std::set<std::string> names;
    for (const std::string& input : args.positional) {
        readableFile(input);
        const std::string bytes = fileio::readFile(input);
        const auto item = readResourceItem(bytes);
        if (!item)
            throw Error("File '" + input + "'\r\nNot compatible.");
        if (!names.insert(item->name).second)
            throw Error("Resource '" + shown(item->name) + "' already in the list.");
        items.emplace_back(bytes.begin(), bytes.end());
    }
    fileio::writeFileAtomic(path, writeResFile(items));
    if (const auto declarations = args.value("--declarations"))
        fileio::writeFileAtomic(*declarations, resourceDeclarations(resourceRows(items)));
    return 0;
}

ResourceItems readRes(const std::string& path) {
    readableFile(path);
    auto items = readResFile(fileio::readFile(path));
    if (!items)
        throw Error("File '" + path + "'\r\nNot compatible.");
    return std::move(*items);
}

int resList(const std::vector<std::string>& words) {
    const Arguments args = parse(words, {}, {});
    if (args.positional.size() != 1)
        throw UsageError{"res-list takes one .res file"};
    const std::vector<ResourceRow> rows = resourceRows(readRes(args.positional.front()));
    std::size_t nameWidth = 4;
    for (const ResourceRow& row : rows)
        nameWidth = std::max(nameWidth, row.name.size());
    auto pad = [](const std::string& text, std::size_t width) {
        return text + std::string(width - std::min(width, text.size()), ' ');
    };
    std::string out = pad("NAME", nameWidth) + "  TYPE   " + pad("SIZE", 10) + "  OFFSET\n";
    for (const ResourceRow& row : rows)
        out += pad(row.name, nameWidth) + "  " + pad(row.type, 5) + "  " + pad(std::to_string(row.size), 10) +
               "  0x" + text::hex(row.offset, 8) + "\n";
    out += "\n";
    std::string declarations = resourceDeclarations(rows);
    for (std::size_t at; (at = declarations.find("\r\n")) != std::string::npos;)
        declarations.replace(at, 2, "\n");
    std::cout << out << declarations;
    return 0;
}

int resUnpack(const std::vector<std::string>& words) {
    const Arguments args = parse(words, {"-d"}, {});
    if (args.positional.size() != 1)
        throw UsageError{"res-unpack takes one .res file"};
    const std::string folder = args.required("-d");
    const ResourceItems items = readRes(args.positional.front());
    // Every name is checked before anything is written: an item is only ever written inside the folder.
    std::set<std::string> names;
    for (const Bytes& item : items) {
        const std::string name = readResourceItem(byteView(item))->name;
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
            name.find('\0') != std::string::npos)
            throw Error("Resource '" + shown(name) + "' cannot be unpacked: its name is no file name");
        if (!names.insert(name).second)
            throw Error("Resource '" + shown(name) + "' is in the file twice");
    }
    if (!QDir().mkpath(QString::fromStdString(folder)))
        throw Error("Cannot create the folder '" + folder + "'");
    for (const Bytes& item : items) {
        const std::string name = readResourceItem(byteView(item))->name;
        fileio::writeFileAtomic((folder.ends_with('/') ? folder : folder + "/") + name + ".resdata", item);
    }
    return 0;
}

using Subcommand = int (*)(const std::vector<std::string>&);

const std::map<std::string, Subcommand> kSubcommands = {
    {"font-from-system", fontFromSystem},
    {"font-from-bmp", fontFromBmp},
    {"font-export", fontExport},
    {"bitmap-export", bitmapExport},
    {"res-pack", resPack},
    {"res-list", resList},
    {"res-unpack", resUnpack},
};

} // namespace

std::string usage() {
    return "Usage:\n"
           "  tesselor                                   the window\n"
           "  tesselor FILE.font | FILE.bmp | FILE.res   the window, with that file opened on its page\n"
           "  tesselor --help | --version\n"
           "  tesselor font-from-system --family NAME --size POINTS [--bold] [--italic] [--underline] "
           "[--strikeout]\n"
           "                            [--from CODE] [--to CODE] [--remove-left-blank] -o OUT.font\n"
           "  tesselor font-from-bmp FOLDER [--remove-left-blank] -o OUT.font\n"
           "  tesselor font-export IN.font -o OUT.c | OUT.resdata | OUT.lcd [--format c|resdata|lcd]\n"
           "  tesselor bitmap-export IN.bmp [--ft800] -o OUT.c | OUT.resdata [--format c|resdata]\n"
           "  tesselor res-pack -o OUT.res [--declarations OUT.h] ITEM.resdata...\n"
           "  tesselor res-list IN.res\n"
           "  tesselor res-unpack IN.res -d FOLDER\n";
}

bool isCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return false;
    const std::string& first = arguments.front();
    return kSubcommands.count(first) != 0 || (first.size() > 1 && first[0] == '-') || arguments.size() > 1;
}

int run(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        if (arguments.empty())
            throw UsageError{"no subcommand"};
        const std::string& command = arguments.front();
        const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        if (command == "--help" || command == "-h") {
            std::cout << usage();
            return 0;
        }
        if (command == "--version") {
            std::cout << "tesselor 1.0.0\n";
            return 0;
        }
        const auto subcommand = kSubcommands.find(command);
        if (subcommand == kSubcommands.end())
            throw UsageError{"unknown subcommand " + command};
        return subcommand->second(rest);
    } catch (const UsageError& error) {
        std::cerr << "tesselor: " << error.message << "\n" << usage();
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << "tesselor: there is not enough memory for this command\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "tesselor: " << oneLine(error.what()) << "\n";
        return 1;
    }
}

} // namespace tesselor::cli
