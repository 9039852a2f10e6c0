#include "platform/depfile.h"

#include "model/error.h"

namespace tesselor {

namespace {

std::string escapedPath(const std::string& path) {
    std::string out;
    for (const char ch : path) {
        if (ch == '\n' || ch == '\r')
            throw Error("The path '" + path + "' holds a line end, which a dependency file cannot name");
        if (ch == ' ' || ch == '#')
            out += '\\';
        if (ch == '$')
            out += '$';
        out += ch;
    }
    return out;
}

} // namespace

std::string depfileText(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs) {
    std::string out;
    for (std::size_t i = 0; i < outputs.size(); ++i)
        out += (i == 0 ? "" : " ") + escapedPath(outputs[i]);
    out += ":";
    for (const std::string& input : inputs)
        out += " \\\n  " + escapedPath(input);
    out += "\n";
    for (const std::string& input : inputs)
        out += "\n" + escapedPath(input) + ":\n";
    return out;
}

} // namespace tesselor
