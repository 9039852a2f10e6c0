#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tesselor {

// The code page every font had before fonts carried one; a .font file without a CodePage line is in it.
inline const std::string kDefaultCodePage = "windows-1252";
// The code page of a font whose codes name no known characters (a BDF of its own encoding).
inline const std::string kFontSpecific = "FontSpecific";

// An 8-bit code page: the character of each byte code, as its decoder yields it.
struct CodePage {
    std::string name; // as the converters name it ("windows-1250", "KOI8-R")
    std::array<char32_t, 256> characters{};

    // Whether a code stands for a character: not the replacement character, which a decoder yields for a
    // code it has nothing for, nor one of the C1 controls that fill the unassigned codes of some pages
    // (0x81 in Windows-1252).
    bool hasCharacter(int code) const;
    // The code of a character, or nothing when the code page lacks it.
    std::optional<int> codeOf(char32_t character) const;
    // The codes of first..last without a character.
    std::vector<int> codesWithoutCharacter(int first, int last) const;
};

} // namespace tesselor
