#include "app/lang/dictionary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>

#include "base/cp1252.h"
#include "base/read_file.h"

namespace rovanel::app {
namespace {

constexpr std::size_t kMaxLine = 500;

unsigned char Fold(unsigned char b) { return (b >= 'A' && b <= 'Z') ? b + ('a' - 'A') : b; }

bool IsSeparator(char c) { return c == '\t' || c == '\r'; }

}  // namespace

bool Dictionary::Load(const std::string& path) {
  path_ = path;
  // A folder, a FIFO or a device in its place is as good as no dictionary;
  // so is a file far larger than any dictionary.
  std::vector<std::uint8_t> bytes;
  if (!ReadRegularFile(path, kMaxDictionaryBytes, bytes)) {
    loaded_ = false;
    bytes_.clear();
    Index();
    return false;
  }
  LoadBytes(std::string(bytes.begin(), bytes.end()), path);
  return true;
}

void Dictionary::LoadBytes(std::string bytes, std::string path) {
  bytes_ = std::move(bytes);
  path_ = std::move(path);
  loaded_ = true;
  Index();
}

void Dictionary::Index() {
  lines_.clear();
  seps_.clear();
  keys_.clear();
  folded_ = bytes_;
  for (char& c : folded_) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));

  const std::size_t size = bytes_.size();
  for (std::size_t pos = 0; pos < size;) {
    Line line;
    line.start = pos;
    line.firstSep = seps_.size();
    const std::size_t limit = std::min(size, pos + kMaxLine);
    while (pos < limit) {
      const char c = bytes_[pos];
      if (IsSeparator(c)) seps_.push_back(pos);
      ++pos;
      if (c == '\n') break;
    }
    line.end = pos;
    line.sepCount = seps_.size() - line.firstSep;
    line.keyEnd = line.sepCount > 0 ? seps_[line.firstSep] : line.end;
    lines_.push_back(line);
  }

  // One entry per distinct folded key, holding its first line.
  keys_.reserve(lines_.size());
  for (std::size_t i = 0; i < lines_.size(); ++i)
    keys_.push_back({lines_[i].start, lines_[i].keyEnd - lines_[i].start, i});
  std::stable_sort(keys_.begin(), keys_.end(),
                   [&](const Key& a, const Key& b) { return KeyText(a) < KeyText(b); });
  keys_.erase(std::unique(keys_.begin(), keys_.end(),
                          [&](const Key& a, const Key& b) { return KeyText(a) == KeyText(b); }),
              keys_.end());

  // In byte order, the keys that are prefixes of a key form a stack before it.
  std::vector<std::size_t> stack;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    const std::string_view text = KeyText(keys_[i]);
    while (!stack.empty() && !text.starts_with(KeyText(keys_[stack.back()]))) stack.pop_back();
    Key& k = keys_[i];
    k.firstOnChain = k.line;
    if (!stack.empty()) {
      k.parent = stack.back();
      k.firstOnChain = std::min(k.line, keys_[k.parent].firstOnChain);
    }
    stack.push_back(i);
  }
}

TextLookup Dictionary::Lookup(std::string_view keyUtf8, int language) const {
  std::string key = Utf8ToCp1252(keyUtf8);
  for (char& c : key) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));

  // The last key not after the looked-up one shares its longest prefix that
  // is a line key; its parents are the shorter ones.
  const auto after = std::upper_bound(keys_.begin(), keys_.end(), key,
                                      [&](const std::string& k, const Key& e) { return k < KeyText(e); });
  if (after == keys_.begin()) return {};
  std::size_t at = static_cast<std::size_t>(after - keys_.begin()) - 1;
  const std::string_view nearest = KeyText(keys_[at]);
  const std::size_t common = static_cast<std::size_t>(
      std::mismatch(nearest.begin(), nearest.end(), key.begin(), key.end()).first - nearest.begin());
  while (keys_[at].size > common) {
    at = keys_[at].parent;
    if (at == kNone) return {};
  }
  const Line& hit = lines_[keys_[at].firstOnChain];

  if (language < 1 || static_cast<std::size_t>(language) > hit.sepCount) return {true, {}};
  const std::size_t n = static_cast<std::size_t>(language);
  const std::size_t from = seps_[hit.firstSep + n - 1] + 1;
  const std::size_t to = n < hit.sepCount ? seps_[hit.firstSep + n] : hit.end;
  return {true, Cp1252ToUtf8(std::string_view(bytes_).substr(from, to - from))};
}

bool Dictionary::AppendPlaceholder(std::string_view keyUtf8) const {
  if (path_.empty()) return false;
  const std::string line = Utf8ToCp1252(keyUtf8) + "\t/1 !Empty!/\t/2 !Empty!/\t/3 !Empty!/\r\n";
  // The dictionary is completed, never created here.
  const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (done < line.size()) {
    // Leave no half line behind.
    [[maybe_unused]] const int undone = ::ftruncate(fd, st.st_size);
    ::close(fd);
    return false;
  }
  return ::close(fd) == 0;
}

}  // namespace rovanel::app
