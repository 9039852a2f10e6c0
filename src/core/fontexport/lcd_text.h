#pragma once

#include "model/font_model.h"

#include <string>

namespace tesselor {

// The .lcd XML description: every pixel of every character's cell, column by column, as 0x00BBGGRR in
// decimal; CR LF after every line. The name is escaped so the file is well-formed XML in iso-8859-1.
std::string lcdText(const FontModel& font, const std::string& fontName);

// The name for an iso-8859-1 XML text: &, <, > and " as entities; UTF-8 characters of Latin-1 as their
// byte; any other character as a character reference. Bytes that are no UTF-8 pass as Latin-1.
std::string xmlLatin1Text(const std::string& name);

} // namespace tesselor
