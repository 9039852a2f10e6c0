#include "fontexport/lcd_text.h"

#include "platform/text.h"

#include <cstring>
#include <optional>

namespace tesselor {

namespace {

// Writes the decimal digits of a value at `to` and returns the end.
char* writeDecimal(char* to, std::uint32_t value) {
    if (value == 0) {
        *to = '0';
        return to + 1;
    }
    if (value == kWhite) {
        std::memcpy(to, "16777215", 8);
        return to + 8;
    }
    char digits[10];
    int count = 0;
    while (value != 0) {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    while (count > 0)
        *to++ = digits[--count];
    return to;
}

// The code point of a UTF-8 sequence at `at`, its length in `length`; nothing for a malformed one.
bool decodeUtf8(const std::string& text, std::size_t at, std::uint32_t& code, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return false;
    }
    if (at + length > text.size())
        return false;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return false;
        code = (code << 6) | (byte(at + i) & 0x3Fu);
    }
    return code >= minimum && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

} // namespace

std::string xmlText(const std::string& name, const CodePage* page) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const auto byte = static_cast<unsigned char>(name[i]);
        std::uint32_t code = byte;
        std::size_t length = 1;
        if (byte >= 0x80 && !decodeUtf8(name, i, code, length)) {
            code = byte;
            length = 1;
        }
        i += length;
        switch (code) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default: {
            const std::optional<int> stored =
                page == nullptr ? (code <= 0xFF ? std::optional(static_cast<int>(code)) : std::nullopt)
                : code < 0x80   ? std::optional(static_cast<int>(code))
                                : page->codeOf(code);
            if (stored)
                out += static_cast<char>(*stored);
            else
                out += "&#x" + text::hex(code, 1) + ";";
        }
        }
    }
    return out;
}

void writeLcdText(const FontModel& font, const CodePage& page, const std::string& fontName,
                  const std::function<void(std::string_view)>& put) {
    const bool latin1 =
        page.name == kDefaultCodePage || page.name == "ISO-8859-1" || page.name == kFontSpecific;
    const int width = font.FontWidth();
    const int height = font.FontHeight();
    std::string out =
        "<?xml version=\"1.0\" encoding=\"" + (latin1 ? std::string("iso-8859-1") : page.name) + "\"?>\r\n";
    out += "<FONT>\r\n";
    out += "     <FONTNAME>" + xmlText(fontName, latin1 ? nullptr : &page) + "</FONTNAME>\r\n";
    out += "     <FONTSIZE WIDTH=\"" + text::dec(font.widestWidth()) + "\" HEIGHT=\"" + text::dec(height) +
           "\" PROPORTIONAL=\"0\" FONTKIND=\"0\"/>\r\n";
    out +=
        "     <RANGE FROM=\"" + text::dec(font.RangeFrom) + "\" TO=\"" + text::dec(font.RangeTo) + "\"/>\r\n";
    out += "     <CHARS>\r\n";
    put(out);
    // A character at a time: the text is nine times the pixels, and never held whole.
    for (int c = font.firstCode(); c <= font.lastCode(); ++c) {
        const PixelImage& image = font.CharImages[static_cast<std::size_t>(c)];
        out = "          <CHAR CODE=\"" + text::dec(c) + "\" PIXELS=\"";
        // At most eight digits and a comma per pixel, written straight into the text.
        const std::size_t start = out.size();
        out.resize(start + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 9);
        char* to = out.data() + start;
        char* const begin = to;
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y) {
                if (to != begin)
                    *to++ = ',';
                to = writeDecimal(to, image.pixel(x, y) & 0xFFFFFF);
            }
        }
        out.resize(static_cast<std::size_t>(to - out.data()));
        out += "\"/>\r\n";
        put(out);
    }
    put("     </CHARS>\r\n</FONT>\r\n");
}

std::string lcdText(const FontModel& font, const CodePage& page, const std::string& fontName) {
    std::string text;
    writeLcdText(font, page, fontName, [&text](std::string_view piece) { text += piece; });
    return text;
}

} // namespace tesselor
