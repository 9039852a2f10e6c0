// The command line's parser on any words (the input split at NUL bytes): it accepts them or refuses them
// with a usage error, and never runs anything while parsing.
#include "cli_support.h"
#include "command_line.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words(1);
    for (const char ch : fuzzing::text(data, size)) {
        if (ch == '\0') {
            if (words.size() == 32)
                break;
            words.emplace_back();
        } else {
            words.back() += ch;
        }
    }
    try {
        tesselor::cli::ParsedCommandLine().parse(words);
    } catch (const CLI::ParseError&) {
    } catch (const tesselor::cli::UsageError&) {
    }
    return 0;
}
