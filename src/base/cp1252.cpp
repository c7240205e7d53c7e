#include "base/cp1252.h"

namespace rovanel {
namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their own value.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t ToCodePoint(unsigned char b) {
  return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char32_t{b};
}

// The byte of a code point, or -1 when Windows-1252 has none.
int ToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp) return 0x80 + i;
  return -1;
}

// Writes cp at out, which has room for 3 bytes; returns the bytes written.
std::size_t PutUtf8(char* out, char32_t cp) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  // Every code point of the table is below U+10000.
  out[0] = static_cast<char>(0xE0 | (cp >> 12));
  out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[2] = static_cast<char>(0x80 | (cp & 0x3F));
  return 3;
}

// Decodes one well-formed sequence at s[i]: its length, or 0 when malformed.
std::size_t DecodeOne(std::string_view s, std::size_t i, char32_t& cp) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = at(i);
  std::size_t len;
  char32_t min;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, min = 0x80, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, min = 0x800, cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (s.size() - i < len) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const unsigned char b = at(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

// Both write into a string sized for the worst case, then trimmed: these run
// for every text of the forms.
std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out(utf8.size(), '\0');
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const std::size_t len = DecodeOne(utf8, i, cp);
    if (len == 0) {
      out[n++] = '?';
      ++i;
      continue;
    }
    const int b = ToByte(cp);
    out[n++] = b < 0 ? '?' : static_cast<char>(b);
    i += len;
  }
  out.resize(n);
  return out;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    const std::size_t len = DecodeOne(text, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out(3 * bytes.size(), '\0');
  std::size_t n = 0;
  for (const char c : bytes) n += PutUtf8(out.data() + n, ToCodePoint(static_cast<unsigned char>(c)));
  out.resize(n);
  return out;
}

}  // namespace rovanel
