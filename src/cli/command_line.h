#pragma once

#include <string>
#include <vector>

namespace tesselor::cli {

// True when the arguments ask for the command line rather than the window: a subcommand or an option.
bool isCommandLine(const std::vector<std::string>& arguments);

// Runs a subcommand; returns the exit code: 0 done, 1 an error (one line on standard error), 2 a usage
// error (the usage on standard error).
int run(int argc, char* argv[]);

// The usage text.
std::string usage();

} // namespace tesselor::cli
