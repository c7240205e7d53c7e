// Names shown to the user on one line: a file name may hold a newline or
// other control characters, which would split a message or hide its end.
#pragma once

#include <string>
#include <string_view>

namespace rovanel {

// The text with each control character written as \n, \r, \t or \xNN.
std::string Printable(std::string_view text);
// The same between single quotes, for messages that name a file.
inline std::string Quoted(std::string_view text) {
  return "'" + Printable(text) + "'";
}

}  // namespace rovanel
