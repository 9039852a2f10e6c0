#include "platform/depfile.h"

#include "model/error.h"

namespace tesselor {

namespace {

// Where a path stands decides its escapes: "%" makes a target a pattern, and a tab cannot be named as a
// target at all (make reads an escaped one as a blank).
enum class Place { Target, Prerequisite };

bool namesAsTarget(const std::string& path) {
    return path.find('\t') == std::string::npos;
}

std::string escapedPath(const std::string& path, Place place) {
    std::string out;
    for (const char ch : path) {
        if (ch == '\n' || ch == '\r')
            throw Error("The path '" + path + "' holds a line end, which a dependency file cannot name");
        if (ch == ' ' || ch == '\t' || ch == '#' || ch == ':' || (ch == '%' && place == Place::Target))
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
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (!namesAsTarget(outputs[i]))
            throw Error("The path '" + outputs[i] + "' holds a tab, which a dependency file cannot name");
        out += (i == 0 ? "" : " ") + escapedPath(outputs[i], Place::Target);
    }
    out += ":";
    for (const std::string& input : inputs)
        out += " \\\n  " + escapedPath(input, Place::Prerequisite);
    out += "\n";
    // An input with a tab gets no empty rule: without one, make stops when that input is deleted.
    for (const std::string& input : inputs)
        if (namesAsTarget(input))
            out += "\n" + escapedPath(input, Place::Target) + ":\n";
    return out;
}

} // namespace tesselor
