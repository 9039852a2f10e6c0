#pragma once

#include <string>
#include <string_view>

namespace tesselor::cnames {

// A name C and C++ accept for an array or a variable: a letter or "_", then letters, digits and "_",
// and no keyword of either language.
bool isIdentifier(std::string_view name);

// The name in a macro: upper case, every character outside [A-Za-z0-9_] replaced by "_".
std::string macroPart(std::string_view name);

// A name from a file, fit for one line of a terminal: control characters spelt \xNN.
std::string escaped(std::string_view name);
// A text from a file or a user as a message shows it: escaped, and cut with "..." past `limit` bytes, so
// that a word of megabytes makes no line of megabytes.
std::string echoed(std::string_view text, std::size_t limit = 300);

} // namespace tesselor::cnames
