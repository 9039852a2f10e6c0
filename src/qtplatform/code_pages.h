#pragma once

#include "fontio/bdf_reader.h"
#include "model/code_page.h"
#include "model/font_model.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace tesselor {

// The code pages the imports list, in their order. Others that Qt's converters know as 8-bit code
// pages are taken by name too.
const std::vector<std::string>& codePageNames();

// The listed code page (or FontSpecific) of a name, letter case ignored, as the list spells it; nothing for
// any other name. What a user types is checked against it.
std::optional<std::string> listedCodePage(const std::string& name);

// The code page of a name, letter case ignored, through Qt's converters; FontSpecific reads each code as
// the character of the same number. Throws Error for a name no converter knows as an 8-bit code page.
CodePage loadCodePage(const std::string& name);
// The code page a font's codes are in; throws Error for a name no converter knows.
CodePage codePageOf(const FontModel& font);
// The same, or the default for a name no converter knows: for typing and showing text, not for output.
CodePage codePageOrDefault(const FontModel& font);

// How the glyphs of a BDF file get their codes: a Unicode file's through the code page asked for
// (Windows-1252 by default); a file of a known 8-bit charset keeps its codes, or has them carried over to
// the code page asked for; a file of its own encoding keeps its codes, in the code page asked for or
// FontSpecific.
struct BdfCodes {
    BdfCodeOf codeOf;
    std::string codePage; // the new font's
};
BdfCodes bdfCodes(const BdfFile& bdf, const std::optional<std::string>& asked);

// The character of a code.
QString characterOf(const CodePage& page, int code);
// The codes of a text's characters; -1 for a character the code page lacks.
std::vector<int> codesOf(const QString& text, const CodePage& page);

} // namespace tesselor
