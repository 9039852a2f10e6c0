#include "platform/c_names.h"

#include "platform/text.h"

#include <algorithm>
#include <iterator>

namespace tesselor::cnames {

namespace {

// C17 and C++20 keywords, and the alternative tokens C++ reserves.
constexpr std::string_view kKeywords[] = {
    "_Alignas",
    "_Alignof",
    "_Atomic",
    "_Bool",
    "_Complex",
    "_Generic",
    "_Imaginary",
    "_Noreturn",
    "_Static_assert",
    "_Thread_local",
    "alignas",
    "alignof",
    "and",
    "and_eq",
    "asm",
    "auto",
    "bitand",
    "bitor",
    "bool",
    "break",
    "case",
    "catch",
    "char",
    "char16_t",
    "char32_t",
    "char8_t",
    "class",
    "co_await",
    "co_return",
    "co_yield",
    "compl",
    "concept",
    "const",
    "const_cast",
    "consteval",
    "constexpr",
    "constinit",
    "continue",
    "decltype",
    "default",
    "delete",
    "do",
    "double",
    "dynamic_cast",
    "else",
    "enum",
    "explicit",
    "export",
    "extern",
    "false",
    "float",
    "for",
    "friend",
    "goto",
    "if",
    "inline",
    "int",
    "long",
    "mutable",
    "namespace",
    "new",
    "noexcept",
    "not",
    "not_eq",
    "nullptr",
    "operator",
    "or",
    "or_eq",
    "private",
    "protected",
    "public",
    "register",
    "reinterpret_cast",
    "requires",
    "restrict",
    "return",
    "short",
    "signed",
    "sizeof",
    "static",
    "static_assert",
    "static_cast",
    "struct",
    "switch",
    "template",
    "this",
    "thread_local",
    "throw",
    "true",
    "try",
    "typedef",
    "typeid",
    "typename",
    "union",
    "unsigned",
    "using",
    "virtual",
    "void",
    "volatile",
    "wchar_t",
    "while",
    "xor",
    "xor_eq",
};

bool isLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_';
}
bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

} // namespace

bool isIdentifier(std::string_view name) {
    if (name.empty() || !isLetter(name.front()))
        return false;
    if (!std::all_of(name.begin(), name.end(), [](char ch) { return isLetter(ch) || isDigit(ch); }))
        return false;
    return std::find(std::begin(kKeywords), std::end(kKeywords), name) == std::end(kKeywords);
}

std::string macroPart(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char ch : name) {
        if (ch >= 'a' && ch <= 'z')
            out += static_cast<char>(ch - 'a' + 'A');
        else if (isLetter(ch) || isDigit(ch))
            out += ch;
        else
            out += '_';
    }
    return out;
}

std::string escaped(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char ch : name) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F)
            out += "\\x" + text::hex(byte, 2);
        else
            out += ch;
    }
    return out;
}

std::string echoed(std::string_view text, std::size_t limit) {
    std::string out = escaped(text);
    if (out.size() <= limit)
        return out;
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) // not inside a UTF-8 character
        --cut;
    out.resize(cut);
    return out + "...";
}

} // namespace tesselor::cnames
