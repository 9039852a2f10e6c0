#pragma once

#include <string>
#include <vector>

namespace tesselor {

// A dependency file in Make syntax, as compilers write with -MD -MP: one rule naming every output with
// every input, then an empty rule per input so that a deleted input does not stop the build. Paths are
// escaped as make reads them: a backslash before a blank, tab, "#" and ":", "$$" for "$", and a
// backslash before a "%" where it would make a target a pattern. LF line ends. Throws Error for a path with a
// line end, and for an output with a tab, which make cannot name as a target (an input with one gets no empty
// rule).
std::string depfileText(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs);

} // namespace tesselor
