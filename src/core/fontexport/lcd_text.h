#pragma once

#include "model/code_page.h"
#include "model/font_model.h"

#include <functional>
#include <string>
#include <string_view>

namespace tesselor {

// The .lcd XML description: every pixel of every character's cell, column by column, as 0x00BBGGRR in
// decimal; CR LF after every line. The XML is in iso-8859-1 as always for a font of Windows-1252 (the
// default), ISO-8859-1 or of its own encoding, else in the font's code page, which the declaration names;
// the name is escaped so the file is well-formed.
std::string lcdText(const FontModel& font, const CodePage& page, const std::string& fontName);
// The same text given to `put` a character at a time, so that a large font's text is never held whole.
void writeLcdText(const FontModel& font, const CodePage& page, const std::string& fontName,
                  const std::function<void(std::string_view)>& put);

// The name for an XML text in iso-8859-1, or in the code page given: &, <, > and " as entities; UTF-8
// characters the encoding has as their byte; any other character as a character reference. Bytes that
// are no UTF-8 pass as Latin-1.
std::string xmlText(const std::string& name, const CodePage* page = nullptr);

} // namespace tesselor
