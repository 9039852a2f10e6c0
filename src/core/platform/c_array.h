#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tesselor {

// How a .c file declares its array. The default is the historic form: one value per unsigned short and
// nothing included, so files that firmware already uses keep their bytes.
struct CArrayStyle {
    bool bytes = false; // const uint8_t: one byte per element
    std::string header; // the header to include, as the #include line names it; empty for none

    std::string elementType() const { return bytes ? "uint8_t" : "unsigned short"; }
    // The #include lines the .c needs before its array, each followed by CR LF, then an empty line;
    // empty for the historic form.
    std::string includes() const;
};

// A header for one array: include guard, <stdint.h>, SYMBOL_SIZE (its element count, one per payload
// byte), the lines of `macros`, and the extern declaration, with C linkage for C++. `headerFile` names the
// guard.
std::string arrayHeader(const std::string& headerFile, const std::string& symbol, std::size_t elements,
                        const CArrayStyle& style, const std::vector<std::string>& macros = {});

// A header of these lines: the include guard, <stdint.h> and C linkage around them.
std::string cHeader(const std::string& headerFile, const std::vector<std::string>& body);

// An array of bytes (one element each, as the style declares them), 16 a line, after the comment lines and
// the style's includes; CR LF after every line.
std::string cByteArray(const std::vector<std::string>& comment, const std::string& symbol,
                       const std::vector<std::uint8_t>& bytes, const CArrayStyle& style);

// The include guard of a header file: "TESSELOR_" + the file name in macro form + "_".
std::string includeGuard(const std::string& headerFile);

} // namespace tesselor
