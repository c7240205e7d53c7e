// The language dictionary: the texts of the forms' language keys, one line per
// key, read from a Windows-1252 text file next to the program.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rovanel::app {

inline constexpr std::string_view kDictionaryFile = "RESC0002.UO";

struct TextLookup {
  bool found = false;
  std::string text;  // UTF-8
};

// The file is a series of lines, each read up to and including its LF and at
// most 500 bytes long (a longer run is cut into lines of 500 bytes). A line's
// key is its start up to the first TAB or CR, or the whole line (LF included)
// when it has neither. The text of language n is the field after the n-th
// separator (TAB or CR), up to the next separator or the line's end.
//
// A looked-up key matches a line when it begins with the line's key, ASCII
// letters compared without regard to case and other bytes exactly; a line
// with an empty key (one that starts with TAB or CR, such as a blank CR LF
// line) therefore matches every key. The first matching line wins.
//
// A matching line without the asked field (fewer separators, or a language
// below 1) gives found with an empty text: the key is there, so the control
// is not marked as missing, and its text is what the line holds for it.
// No dictionary is larger than this (lines of at most 500 bytes).
inline constexpr std::size_t kMaxDictionaryBytes = 4u << 20;

class Dictionary {
 public:
  // Reads the whole file; false, and nothing loaded, when it cannot be read.
  // Path() is path either way.
  bool Load(const std::string& path);
  void LoadBytes(std::string bytes, std::string path = {});
  bool Loaded() const { return loaded_; }
  const std::string& Path() const { return path_; }

  // keyUtf8 is compared in Windows-1252; the text comes back in UTF-8.
  TextLookup Lookup(std::string_view keyUtf8, int language) const;

  // Appends "KEY\t/1 !Empty!/\t/2 !Empty!/\t/3 !Empty!/\r\n" (KEY in
  // Windows-1252) to the existing file at Path(). False, and the file as it
  // was, when it cannot be written (no path, no such file, no permission).
  // The lines in memory stay as loaded: a key missing twice is appended twice.
  bool AppendPlaceholder(std::string_view keyUtf8) const;

 private:
  struct Line {
    std::size_t start = 0, end = 0;  // bytes [start, end), LF included
    std::size_t keyEnd = 0;          // the key is [start, keyEnd)
    std::size_t firstSep = 0;        // index of its first separator in seps_
    std::size_t sepCount = 0;
  };

  // A distinct case-folded line key, with the first line that has it.
  struct Key {
    std::size_t start = 0, size = 0;  // in folded_
    std::size_t line = 0;
    std::size_t parent = kNone;  // the longest other key that is a prefix of this one
    std::size_t firstOnChain = 0;  // earliest line of this key and its parents
  };
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  void Index();
  std::string_view KeyText(const Key& k) const { return std::string_view(folded_).substr(k.start, k.size); }

  std::string path_;
  bool loaded_ = false;
  std::string bytes_;
  std::string folded_;  // bytes_ with the ASCII letters in lower case
  std::vector<Line> lines_;
  std::vector<std::size_t> seps_;  // positions of the separators, line after line
  // The keys in byte order: the keys that are prefixes of a looked-up key are
  // the one found by a binary search and its chain of parents.
  std::vector<Key> keys_;
};

}  // namespace rovanel::app
