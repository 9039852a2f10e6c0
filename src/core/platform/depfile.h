#pragma once

#include <string>
#include <vector>

namespace tesselor {

// A dependency file in Make syntax, as compilers write with -MD -MP: one rule naming every output with
// every input, then an empty rule per input so that a deleted input does not stop the build. Blanks, "#"
// and "$" in paths are escaped; LF line ends. Throws Error for a path with a line end, which Make cannot
// name.
std::string depfileText(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs);

} // namespace tesselor
