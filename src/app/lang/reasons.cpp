#include "app/lang/reasons.h"

#include <array>
#include <regex>
#include <vector>

namespace rovanel::app {

namespace {

// The English sentences (%s a name, %d a number) and their keys.
struct Known {
  const char* english;
  const char* key;
};

constexpr std::array<Known, 21> kKnown = {{
    {"the file is shorter than its layout (%d bytes, %d expected)", "RSF_trop court"},
    {"the file is larger than a curve file can be (%d bytes, at most %d)", "RSF_trop long"},
    {"the length %d of the %s is more than %d", "RSF_longueur"},
    {"the %s %d is outside %d..%d", "RSF_hors bornes"},
    {"the profile point count %d is not %d", "RSF_points profil"},
    {"the pixel %d of calibration point %d is neither within 0..2047 nor an unused marker",
     "RSF_pixel etalon"},
    {"the wavelength of calibration point %d is not a finite number", "RSF_lambda etalon"},
    {"the duration %d s is not positive", "RSF_duree"},
    {"the FFT size %d is not a power of two from 1 to %d", "RSF_taille FFT"},
    {"the point count \"%s\" is not a number", "RSF_texte points"},
    {"the duration text \"%s\" does not hold minutes and seconds as numbers", "RSF_texte duree"},
    {"the duration quantum works out to 0", "RSF_quantum"},
    {"the point count %d is not a power of two from %d to %d", "RSF_puissance points"},
    {"the version byte %d is not one of 4, 5 and 6 of a profile file", "RSF_version profil"},
    {"the version byte %d is not one of 3, 4, 5 and 6 of a series file", "RSF_version serie"},
    {"the file is read-only", "RSF_lecture seule"},
    {"not a regular file", "RSF_pas un fichier"},
    {"No such file or directory", "RSF_introuvable"},
    {"Permission denied", "RSF_permission"},
    {"Is a directory", "RSF_dossier"},
    {"No space left on device", "RSF_disque plein"},
}};

// The sentence as a pattern: its slots become groups.
std::regex PatternOf(std::string_view english) {
  std::string re = "^";
  for (std::size_t i = 0; i < english.size(); ++i) {
    if (english[i] == '%' && i + 1 < english.size() && english[i + 1] == 's') {
      re += "(.+?)";
      ++i;
    } else if (english[i] == '%' && i + 1 < english.size() && english[i + 1] == 'd') {
      re += "(-?[0-9]+)";
      ++i;
    } else {
      if (std::string_view("\\^$.|?*+()[]{}").find(english[i]) != std::string_view::npos) re += '\\';
      re += english[i];
    }
  }
  return std::regex(re + "$");
}


// The patterns, compiled once: a message is translated on every refusal.
const std::vector<std::regex>& Patterns() {
  static const std::vector<std::regex> patterns = [] {
    std::vector<std::regex> all;
    for (const Known& known : kKnown) all.push_back(PatternOf(known.english));
    return all;
  }();
  return patterns;
}

}  // namespace

std::string LocalizeReason(const std::string& reason, const Translator& text) {
  for (std::size_t i = 0; i < kKnown.size(); ++i) {
    const Known& known = kKnown[i];
    std::smatch m;
    const std::string english(known.english);
    if (!std::regex_match(reason, m, Patterns()[i])) continue;
    // The names in the sentence have keys of their own ("RSN_filter order").
    auto name = [&](std::size_t k) {
      const std::string said = text("RSN_" + m[k].str(), {});
      return said.empty() || said.rfind("RSN_", 0) == 0 ? m[k].str() : said;
    };
    const std::string pattern = text(known.key, {});
    if (pattern.empty() || pattern == known.key) return reason;  // not in the dictionary
    // Fill the translated pattern's slots in order with the captured parts.
    std::string out;
    std::size_t next = 1;
    std::size_t s = english.find('%');
    std::vector<bool> isName;
    for (; s != std::string::npos; s = english.find('%', s + 2)) isName.push_back(english[s + 1] == 's');
    for (std::size_t i = 0; i < pattern.size(); ++i) {
      const bool slot = pattern[i] == '%' && i + 1 < pattern.size() &&
                        (pattern[i + 1] == 'd' || pattern[i + 1] == 's');
      if (slot && next < m.size()) {
        out += isName[next - 1] ? name(next) : m[next].str();
        ++next;
        ++i;
      } else {
        out += pattern[i];
      }
    }
    return out;
  }
  return reason;
}

}  // namespace rovanel::app
