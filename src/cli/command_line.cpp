#include "command_line.h"

#include "cli_support.h"
#include "model/error.h"
#include "platform/c_names.h"

#include <algorithm>
#include <csignal>
#include <iostream>

namespace tesselor::cli {

namespace {

struct Subcommand {
    const char* name;
    const char* description;
    Define define;
};

const Subcommand kSubcommands[] = {
    {"font-from-system", "Make a .font from an installed typeface or a font file", defineFontFromSystem},
    {"font-from-bmp", "Make a .font from a folder of character files 32.bmp to 255.bmp", defineFontFromBmp},
    {"font-from-bdf", "Make a .font from a BDF pixel font", defineFontFromBdf},
    {"font-export", "Write a .font for the device: C source, resource item, .lcd or .bdf", defineFontExport},
    {"font-preview", "Draw a text or a sheet of every character of a .font as a PNG, for a review",
     defineFontPreview},
    {"bitmap-export", "Write an image for the device: C source or resource item", defineBitmapExport},
    {"res-pack", "Pack resource items into one .res file", defineResPack},
    {"res-list", "List the items of a .res file and their declarations", defineResList},
    {"res-unpack", "Write each item of a .res file as a .resdata file", defineResUnpack},
};

const char* const kVersion = "tesselor " TESSELOR_VERSION;

std::string oneLine(std::string text) {
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.replace(at, 2, "; ");
    return text;
}

// Standard output may be a full disk or a closed pipe: that is a failure, not a success.
int flushed(int code) {
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "tesselor: cannot write to standard output\n";
        return 1;
    }
    return code;
}

bool isSubcommand(const std::string& word) {
    return std::any_of(std::begin(kSubcommands), std::end(kSubcommands),
                       [&](const Subcommand& entry) { return word == entry.name; });
}

// One line, whatever the arguments held, and where to find the options.
int usageFailure(const std::string& message, const std::vector<std::string>& arguments) {
    std::cerr << "tesselor: " << cnames::echoed(message) << "\n" << usageHint(arguments) << "\n";
    return 2;
}

} // namespace

struct ParsedCommandLine::Parts {
    CLI::App app{"Tesselor: bitmap fonts, device bitmaps and resource files for small displays.", "tesselor"};
    std::vector<std::pair<CLI::App*, Command>> commands;
};

ParsedCommandLine::ParsedCommandLine() : parts_(std::make_unique<Parts>()) {
    CLI::App& app = parts_->app;
    app.set_version_flag("--version", kVersion, "Show the version");
    app.require_subcommand(1);
    app.footer(
        "Without a subcommand: 'tesselor' opens the window, 'tesselor FILE' opens a .font or .res file or an "
        "image in it.\nRun 'tesselor SUBCOMMAND --help' for the options of each;\n"
        "'tesselor --bash-completion' writes a bash completion script.");
    for (const Subcommand& entry : kSubcommands) {
        CLI::App* sub = app.add_subcommand(entry.name, entry.description);
        sub->footer("");
        parts_->commands.emplace_back(sub, entry.define(*sub));
    }
}

ParsedCommandLine::~ParsedCommandLine() = default;

CLI::App& ParsedCommandLine::app() {
    return parts_->app;
}

std::function<int()> ParsedCommandLine::parse(std::vector<std::string> arguments) {
    if (!arguments.empty() && !arguments.front().starts_with('-') && !isSubcommand(arguments.front()))
        throw UsageError("unknown subcommand '" + arguments.front() + "'");
    // CLI11 takes the arguments last first.
    std::reverse(arguments.begin(), arguments.end());
    parts_->app.parse(arguments);
    for (auto& [sub, command] : parts_->commands) {
        if (sub->parsed()) {
            command.check();
            return command.run;
        }
    }
    throw UsageError("no subcommand");
}

bool isCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return false;
    const std::string& first = arguments.front();
    return isSubcommand(first) || (first.size() > 1 && first[0] == '-') || arguments.size() > 1;
}

std::string usageHint(const std::vector<std::string>& arguments) {
    for (const Subcommand& entry : kSubcommands)
        if (!arguments.empty() && arguments.front() == entry.name)
            return "Run 'tesselor " + std::string(entry.name) + " --help' for the options.";
    return "Run 'tesselor --help' for the subcommands.";
}

int run(int argc, char* argv[]) {
    // A file size limit must end a write with an error, not end the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments == std::vector<std::string>{"--bash-completion"}) {
        std::cout << bashCompletion();
        return flushed(0);
    }
    ParsedCommandLine parsed;
    std::function<int()> command;
    try {
        command = parsed.parse(arguments);
    } catch (const CLI::CallForHelp&) {
        // The help of the subcommand named, or of the program.
        const auto subcommands = parsed.app().get_subcommands();
        std::cout << (subcommands.empty() ? parsed.app().help() : subcommands.back()->help("tesselor"));
        return flushed(0);
    } catch (const CLI::CallForVersion&) {
        std::cout << kVersion << "\n";
        return flushed(0);
    } catch (const CLI::ParseError& error) {
        return usageFailure(error.what(), arguments);
    } catch (const UsageError& error) {
        return usageFailure(error.what(), arguments);
    }
    try {
        return flushed(command());
    } catch (const UsageError& error) {
        return usageFailure(error.what(), arguments);
    } catch (const std::bad_alloc&) {
        std::cerr << "tesselor: there is not enough memory for this command\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "tesselor: " << cnames::echoed(oneLine(error.what())) << "\n";
        return 1;
    }
}

} // namespace tesselor::cli
