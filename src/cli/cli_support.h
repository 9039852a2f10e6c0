#pragma once

#include "model/pixel_image.h"
#include "qtplatform/file_io.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class QGuiApplication;

namespace tesselor::cli {

// Arguments that do not fit together; reported like a parse error (exit 2).
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A subcommand once its arguments were parsed: `check` looks at them together without touching a file
// (it throws UsageError), `run` does the work and returns the exit code.
struct Command {
    std::function<void()> check;
    std::function<int()> run;
};

// Adds a subcommand's options to its CLI11 app; the options live as long as the returned command.
using Define = Command (*)(CLI::App&);

Command defineFontFromSystem(CLI::App& app);
Command defineFontFromBmp(CLI::App& app);
Command defineFontFromBdf(CLI::App& app);
Command defineFontPreview(CLI::App& app);
Command defineFontExport(CLI::App& app);
Command defineBitmapExport(CLI::App& app);
Command defineResPack(CLI::App& app);
Command defineResList(CLI::App& app);
Command defineResUnpack(CLI::App& app);

// A number as the .font file writes them (decimal, or hexadecimal after "$", "x" or "0x") within limits.
CLI::Validator wholeNumber(int low, int high);

// RRGGBB (a "#" before it allowed) as a colour; nothing for anything else.
std::optional<Colour> rgbOf(std::string_view text);
// Takes RRGGBB, as rgbOf reads it.
CLI::Validator colourValue();

// The outputs of one command, kept until commit() writes them all or none, together with the
// dependency file naming them and every input read.
class Outputs {
public:
    void add(const std::string& path, std::string bytes);
    void add(const std::string& path, std::vector<std::uint8_t> bytes);
    void add(const std::string& path, fileio::ContentWriter writer);
    void add(fileio::OutputFile file) { files_.push_back(std::move(file)); }
    void read(const std::string& input) { inputs_.push_back(input); }
    void commit(const std::optional<std::string>& depfile, fileio::Links links = fileio::Links::Follow);

private:
    std::vector<fileio::OutputFile> files_;
    std::vector<std::string> inputs_;
};

// -o as given: a usage error when empty; a device or pipe named exactly is taken as it is; otherwise the
// extension is appended when the name has none.
std::string outputPath(const std::string& given, const std::string& extension);

// The format of an output: --format, else the output's extension. A usage error when neither names one
// of `formats`, or when --format names another format than a known extension of the output.
std::string outputFormat(const std::string& output, const std::string& format,
                         const std::set<std::string>& formats);

// --symbol, when given, must be a C identifier (a usage error otherwise).
void checkSymbol(const std::string& symbol);
// A name derived from a file name for a .c output: an error (exit 1) when it is no C identifier.
void requireIdentifier(const std::string& name);

// --header as given, ".h" appended when it has no extension; a usage error when an #include line
// cannot name it from the .c file.
std::string headerPath(const std::string& source, const std::string& header);

// The file must exist: "File '%s'; Not found." otherwise.
void readableFile(const std::string& path);

// Rasterising and decoding need Qt's GUI library, started on its offscreen platform: no display.
std::unique_ptr<QGuiApplication> startOffscreenQt();

} // namespace tesselor::cli
