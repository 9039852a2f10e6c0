#pragma once

#include <string>

// The worked examples as files and payloads, shared by the tests of the window and the command line.
namespace fixtures {

// The 9 x 3 font of two characters whose device encoding is kTinyPayload.
inline const std::string kTiny9x3Font =
    "FontName:Tiny\r\nFontWidth:9\r\nFontHeight:3\r\nRangeFrom:65\r\nRangeTo:66\r\n"
    "Char:65\r\n  Width:3\r\n    BitMap:010000000\r\n           101000000\r\n           111000000\r\n"
    "Char:66\r\n  Width:9\r\n    BitMap:100000001\r\n           000000000\r\n           000000010\r\n";

inline const std::string kTinyPayload(
    "\x00\x00\x41\x00\x42\x00\x03\x00\x03\x10\x00\x00\x09\x13\x00\x00\x02\x05\x07\x01\x01\x00\x00\x80\x00",
    25);

// The 2 x 1 image red, blue as a 24-bit encoding.
inline const std::string kLogoPayload("\x00\x10\x01\x00\x02\x00\x00\xF8\x1F\x00", 10);

} // namespace fixtures
