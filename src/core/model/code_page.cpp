#include "model/code_page.h"

namespace tesselor {

bool CodePage::hasCharacter(int code) const {
    const char32_t c = characters[static_cast<std::size_t>(code & 0xFF)];
    return !(c >= 0x80 && c <= 0x9F) && c != 0xFFFD;
}

std::optional<int> CodePage::codeOf(char32_t character) const {
    for (std::size_t code = 0; code < characters.size(); ++code)
        if (characters[code] == character)
            return static_cast<int>(code);
    return std::nullopt;
}

std::vector<int> CodePage::codesWithoutCharacter(int first, int last) const {
    std::vector<int> codes;
    for (int code = std::max(first, 0); code <= std::min(last, 255); ++code)
        if (!hasCharacter(code))
            codes.push_back(code);
    return codes;
}

} // namespace tesselor
