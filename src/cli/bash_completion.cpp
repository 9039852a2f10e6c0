#include "command_line.h"

#include "qtplatform/code_pages.h"

#include <CLI/CLI.hpp>

#include <map>

namespace tesselor::cli {

namespace {

// The words an option's value may take, when its help names a fixed set ("TEXT:{c,resdata}"); "" for
// a number or a checked form, where nothing can be offered; "@files" for anything else.
std::string valueWords(const CLI::Option& option) {
    if (option.get_lnames() == std::vector<std::string>{"codepage"}) {
        std::string words;
        for (const std::string& name : codePageNames())
            words += (words.empty() ? "" : " ") + name;
        return words;
    }
    const std::string type = option.get_type_name();
    const auto open = type.find(":{");
    if (open != std::string::npos && type.find('}', open) != std::string::npos) {
        std::string words = type.substr(open + 2, type.find('}', open) - open - 2);
        std::replace(words.begin(), words.end(), ',', ' ');
        return words;
    }
    // A number or a checked form (TEXT:RRGGBB): nothing to offer.
    if (type.find(':') != std::string::npos || type.starts_with("INT") || type.starts_with("UINT") ||
        type.starts_with("FLOAT"))
        return "";
    return "@files";
}

std::string optionNames(const CLI::Option& option) {
    std::string names;
    for (const std::string& name : option.get_snames())
        names += (names.empty() ? "-" : "|-") + name;
    for (const std::string& name : option.get_lnames())
        names += (names.empty() ? "--" : "|--") + name;
    return names;
}

} // namespace

std::string bashCompletion() {
    ParsedCommandLine parsed;
    std::string subcommands, cases;
    for (const CLI::App* sub : parsed.app().get_subcommands({})) {
        subcommands += (subcommands.empty() ? "" : " ") + sub->get_name();
        std::string words, values;
        for (const CLI::Option* option : sub->get_options()) {
            if (option->get_positional())
                continue;
            for (const std::string& name : option->get_snames())
                words += " -" + name;
            for (const std::string& name : option->get_lnames())
                words += " --" + name;
            // Flags have no type; a value of any file needs no line, as files are the default.
            if (!option->get_type_name().empty() && valueWords(*option) != "@files")
                values += "                " + optionNames(*option) + ") values=\"" + valueWords(*option) +
                          "\" ;;\n";
        }
        cases += "        " + sub->get_name() + ")\n            options=\"" + words.substr(1) +
                 "\"\n            case $prev in\n" + values + "            esac ;;\n";
    }
    std::string pattern = subcommands;
    std::replace(pattern.begin(), pattern.end(), ' ', '|');
    return "# bash completion for tesselor: the subcommands, their options, and the values of the options "
           "that\n"
           "# take one of a fixed set. Written by 'tesselor --bash-completion'.\n"
           "_tesselor() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local command= word options= values=@files\n"
           "    for word in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
           "        case $word in " +
           pattern +
           ") command=$word; break ;; esac\n"
           "    done\n"
           "    case $command in\n" +
           cases +
           "        *)\n"
           "            if [[ $cur == -* ]]; then\n"
           "                COMPREPLY=($(compgen -W \"--help --version --bash-completion\" -- \"$cur\"))\n"
           "                return\n"
           "            fi\n"
           "            COMPREPLY=($(compgen -W \"" +
           subcommands +
           "\" -- \"$cur\")) ;;\n"
           "    esac\n"
           "    if [[ $values != @files ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$values\" -- \"$cur\"))\n"
           "    elif [[ $cur == -* && -n $command ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    else\n"
           "        compopt -o filenames 2>/dev/null\n"
           "        COMPREPLY+=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -F _tesselor tesselor\n";
}

} // namespace tesselor::cli
