#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/cp1252.h"

namespace rovanel {
namespace {

struct Pair {
  const char* utf8;
  const char* cp1252;
};

// Written from the code page chart, not from the code.
constexpr Pair kPairs[] = {
    {"\u00E9", "\xE9"},  // é
    {"\u20AC", "\x80"},  // €
    {"\u0153", "\x9C"},  // œ
    {"\u00FC", "\xFC"},  // ü
    {"\u00DF", "\xDF"},  // ß
    {"\u2019", "\x92"},  // ’
    {"\u2026", "\x85"},  // …
    {"\u00A0", "\xA0"},  // no-break space
    {"\u0178", "\x9F"},  // Ÿ
    {"\u2122", "\x99"},  // ™
    {"\u0081", "\x81"},  // the undefined bytes keep their value
    {"\u009D", "\x9D"},
    {"ID_BTN_MCH_D\u00E9marrer", "ID_BTN_MCH_D\xE9marrer"},
    {"Stra\u00DFe \u2013 \u0152uvre", "Stra\xDF" "e \x96 \x8Cuvre"},
};

TEST(Cp1252, HandWrittenPairsBothWays) {
  for (const Pair& p : kPairs) {
    EXPECT_EQ(Utf8ToCp1252(p.utf8), p.cp1252) << p.utf8;
    EXPECT_EQ(Cp1252ToUtf8(p.cp1252), p.utf8) << p.utf8;
  }
}

TEST(Cp1252, CharactersWithoutAByteAndMalformedBytesBecomeQuestionMarks) {
  const Pair cases[] = {
      {"\u0080", "?"},                 // C1 control that 0x80 does not hold
      {"\u4E2D", "?"},                 // CJK
      {"\U0001F600x", "?x"},           // four-byte character
      {"a\xFF" "b", "a?b"},            // never a UTF-8 byte
      {"\xE2\x82" "A", "??A"},         // truncated €
      {"\xC0\xAF", "??"},              // overlong '/'
      {"\xE0\x80\xAF", "???"},          // overlong '/' in three bytes
      {"\xED\xA0\x80", "???"},         // surrogate
      {"\xF4\x90\x80\x80", "????"},    // past U+10FFFF
      {"\x80" "\xC3", "??"},           // lone continuation, cut lead byte
  };
  for (const Pair& p : cases) EXPECT_EQ(Utf8ToCp1252(p.utf8), p.cp1252) << p.cp1252;
}

TEST(Cp1252, EveryByteSurvivesTheRoundTripAndMapsToADistinctCharacter) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  std::set<std::string> seen;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string utf8 = Cp1252ToUtf8(one);
    EXPECT_EQ(Utf8ToCp1252(utf8), one) << b;
    EXPECT_TRUE(seen.insert(utf8).second) << b;
  }
}

}  // namespace
}  // namespace rovanel
