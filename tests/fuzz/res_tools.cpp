// res-list (also --long, which reads every payload's header) and res-unpack on any file: the command fails or
// succeeds, and what res-unpack writes is never more than the file held, and only inside its folder.
#include "command_line.h"
#include "fuzz_files.h"
#include "fuzz_input.h"

#include <filesystem>
#include <iostream>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto folder = fuzzing::freshFolder("res");
    const auto res = folder / "input.res";
    const auto items = folder / "items";
    std::filesystem::remove_all(items);
    fuzzing::writeFile(res, fuzzing::text(data, size));

    std::ostringstream listed;
    std::streambuf* const out = std::cout.rdbuf(listed.rdbuf());
    std::streambuf* const err = std::cerr.rdbuf(listed.rdbuf());
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"tesselor", "res-list", res.string()},
          size % 2 ? std::vector<std::string>{"tesselor", "res-list", "--long", "--ft800", res.string()}
                   : std::vector<std::string>{"tesselor", "res-list", "-l", res.string()},
          std::vector<std::string>{"tesselor", "res-unpack", res.string(), "-d", items.string()}}) {
        std::vector<char*> argv;
        for (const std::string& word : words)
            argv.push_back(const_cast<char*>(word.c_str()));
        tesselor::cli::run(static_cast<int>(argv.size()), argv.data());
    }
    std::cout.rdbuf(out);
    std::cerr.rdbuf(err);

    std::uintmax_t written = 0;
    if (std::filesystem::exists(items))
        for (const auto& entry : std::filesystem::recursive_directory_iterator(items))
            written += entry.is_regular_file() ? entry.file_size() : 0;
    FUZZ_CHECK(written <= size);
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        FUZZ_CHECK(entry.path() == res || entry.path() == items);
    return 0;
}
