#include "cli_support.h"

#include "fontio/font_file.h"
#include "model/error.h"
#include "platform/c_names.h"
#include "platform/depfile.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <iostream>

namespace tesselor::cli {

CLI::Validator wholeNumber(int low, int high) {
    return CLI::Validator(
        [low, high](std::string& text) -> std::string {
            const auto value = parseFontInteger(text);
            if (!value || *value < low || *value > high)
                return "takes a whole number from " + std::to_string(low) + " to " + std::to_string(high);
            text = std::to_string(*value);
            return {};
        },
        "", "");
}

void Outputs::add(const std::string& path, std::string bytes) {
    files_.push_back({path, std::move(bytes)});
}

void Outputs::add(const std::string& path, std::vector<std::uint8_t> bytes) {
    files_.push_back({path, std::move(bytes)});
}

void Outputs::add(const std::string& path, fileio::ContentWriter writer) {
    files_.push_back({path, std::move(writer)});
}

void Outputs::commit(const std::optional<std::string>& depfile, fileio::Links links) {
    std::set<QString> seen;
    for (const fileio::OutputFile& file : files_)
        if (!seen.insert(QFileInfo(QString::fromStdString(file.path)).absoluteFilePath()).second)
            throw UsageError("two outputs name the same file " + cnames::escaped(file.path));
    if (depfile) {
        if (depfile->empty())
            throw UsageError("the depfile name is empty");
        if (seen.count(QFileInfo(QString::fromStdString(*depfile)).absoluteFilePath()))
            throw UsageError("the depfile names an output: " + cnames::escaped(*depfile));
        std::vector<std::string> outputs;
        for (const fileio::OutputFile& file : files_)
            outputs.push_back(file.path);
        files_.push_back({*depfile, depfileText(outputs, inputs_)});
    }
    fileio::writeFilesAtomic(files_, links);
}

std::string outputPath(const std::string& given, const std::string& extension) {
    if (given.empty())
        throw UsageError("the output file name is empty");
    if (fileio::isDevice(given))
        return given;
    return paths::withDefaultExtension(given, extension);
}

namespace {
std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return text;
}
} // namespace

std::string outputFormat(const std::string& output, const std::string& format,
                         const std::set<std::string>& formats) {
    const std::string extension = lowered(paths::extension(output));
    const bool knownExtension = !extension.empty() && formats.count(extension.substr(1)) != 0;
    if (!format.empty()) {
        if (knownExtension && extension.substr(1) != format)
            throw UsageError("--format " + format + " contradicts the extension of " + output);
        return format;
    }
    if (knownExtension)
        return extension.substr(1);
    std::string known;
    for (const std::string& name : formats)
        known += (known.empty() ? "." : ", .") + name;
    throw UsageError("the output file needs one of the extensions " + known + ", or --format");
}

void checkSymbol(const std::string& symbol) {
    if (!symbol.empty() && !cnames::isIdentifier(symbol))
        throw UsageError("--symbol '" + cnames::escaped(symbol) + "' is no C identifier");
}

void requireIdentifier(const std::string& name) {
    if (!cnames::isIdentifier(name))
        throw Error("'" + cnames::escaped(name) + "' is no C identifier: give --symbol");
}

std::string headerPath(const std::string& source, const std::string& header) {
    const std::string path = outputPath(header, ".h");
    const std::string included = fileio::includePath(source, path);
    if (included.find_first_of("\"\\\r\n") != std::string::npos)
        throw UsageError("an #include line cannot name the header '" + cnames::escaped(path) + "'");
    return path;
}

// RRGGBB (a "#" before it allowed) as a colour; nothing for anything else.
std::optional<Colour> rgbOf(std::string_view text) {
    if (text.starts_with('#'))
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    std::uint32_t rgb = 0;
    for (const char ch : text) {
        const int digit = text::hexDigit(ch);
        if (digit < 0)
            return std::nullopt;
        rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
    }
    return static_cast<Colour>((rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
}

CLI::Validator colourValue() {
    return CLI::Validator(
        [](std::string& text) {
            return rgbOf(text) ? std::string() : "takes a colour RRGGBB in hexadecimal";
        },
        "RRGGBB", "RRGGBB");
}

void readableFile(const std::string& path) {
    if (fileio::folderExists(path))
        throw Error("File '" + path + "'\r\nIs a folder, not a file.");
    if (!fileio::fileExists(path))
        throw Error("File '" + path + "'\r\nNot found.");
}

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

} // namespace tesselor::cli
