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
  std::string wanted;  // the page in the window's language (the missing note's %s)
};

// The page for `topic` under `<shippedDir>help/<fr|en|de>/` (shippedDir
// ends with '/'): French for 1, English for 2, German for 3. A German page
// missing from the folder is taken from the English one, with a note; a page
// found nowhere gives no path and the missing-page note, `wanted` then being
// where the window's language keeps it.
HelpPageRef HelpPage(int language, HelpTopic topic, const std::string& shippedDir);

// The page's file name ("index.html", "michelson.html", ...).
std::string_view HelpFile(HelpTopic topic);

}  // namespace rovanel::app
