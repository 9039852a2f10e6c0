#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tesselor::cli {

// True when the arguments ask for the command line rather than the window: a subcommand or an option.
bool isCommandLine(const std::vector<std::string>& arguments);

// Runs a subcommand; returns the exit code: 0 done, 1 an error (one line on standard error), 2 a usage
// error (one line and where to find the options).
int run(int argc, char* argv[]);

// A bash completion script for the subcommands and their options, from the parser's own table.
std::string bashCompletion();

// The line that tells where the options are: the subcommand's help, or the program's.
std::string usageHint(const std::vector<std::string>& arguments);

// The command line parsed and its arguments checked, without running anything: the parser of run(), also
// driven by the fuzzer. parse() throws CLI::ParseError or UsageError.
class ParsedCommandLine {
public:
    ParsedCommandLine();
    ~ParsedCommandLine();
    std::function<int()> parse(std::vector<std::string> arguments);
    CLI::App& app();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace tesselor::cli
