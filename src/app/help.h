// Which help page to open: the application's contents or a theory
// reminder, in the language of the window.
#pragma once

#include <string>
#include <string_view>

namespace rovanel::app {

enum class HelpTopic { Contents, Michelson, Interference, Spectrometry };

// Language keys of the notes that come with a page (their %s: the path).
inline constexpr std::string_view kHelpInEnglishKey = "ID_MES_INF_aide en anglais";
inline constexpr std::string_view kHelpMissingKey = "ID_MES_ERR_aide absente";

struct HelpPageRef {
  std::string path;  // empty when the page is missing
  std::string note;  // a language key, or empty
  std::string wanted;  // where the page was looked for (the missing note's %s)
};

// The page for `topic` under `<shippedDir>help/<fr|en>/` (shippedDir ends
// with '/'). French for 1, English for 2; German has no pages of its own
// and gets the English ones with a note. A missing file gives no path and
// the missing-page note.
HelpPageRef HelpPage(int language, HelpTopic topic, const std::string& shippedDir);

// The page's file name ("index.html", "michelson.html", ...).
std::string_view HelpFile(HelpTopic topic);

}  // namespace rovanel::app
