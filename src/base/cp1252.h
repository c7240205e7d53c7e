// Windows-1252, the byte encoding of the program's text files, to and from
// UTF-8, the encoding of every string in memory.
#pragma once

#include <string>
#include <string_view>

namespace rovanel {

// Each character becomes its Windows-1252 byte; a character with no such byte
// becomes '?', and so does each byte that is not part of a well-formed UTF-8
// sequence (overlong forms, surrogates and values past U+10FFFF included).
// U+0081, U+008D, U+008F, U+0090 and U+009D become the bytes of the same value.
std::string Utf8ToCp1252(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (as Utf8ToCp1252 reads it).
bool IsUtf8(std::string_view text);

// Each byte becomes its character in UTF-8. The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 code points of the same
// value, so that Utf8ToCp1252(Cp1252ToUtf8(b)) == b for any bytes b.
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace rovanel
