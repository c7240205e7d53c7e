#include "app/help.h"

#include <filesystem>
#include <system_error>

namespace rovanel::app {

namespace {

std::string_view Folder(int language) {
  if (language == 1) return "fr";
  if (language == 3) return "de";
  return "en";
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string_view HelpFile(HelpTopic topic) {
  switch (topic) {
    case HelpTopic::Michelson: return "michelson.html";
    case HelpTopic::Interference: return "interference.html";
    case HelpTopic::Spectrometry: return "grating.html";
    case HelpTopic::Contents: break;
  }
  return "index.html";
}

HelpPageRef HelpPage(int language, HelpTopic topic, const std::string& shippedDir) {
  const std::string file(HelpFile(topic));
  auto in = [&](std::string_view folder) {
    return shippedDir + "help/" + std::string(folder) + "/" + file;
  };
  HelpPageRef ref;
  ref.wanted = in(Folder(language));
  if (IsFile(ref.wanted)) {
    ref.path = ref.wanted;
  } else if (language == 3 && IsFile(in("en"))) {
    // A German page missing from an installation: the English one, said so.
    ref.path = in("en");
    ref.note = kHelpInEnglishKey;
  } else {
    ref.note = kHelpMissingKey;
  }
  return ref;
}

}  // namespace rovanel::app
