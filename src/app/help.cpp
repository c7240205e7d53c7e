#include "app/help.h"

#include <filesystem>
#include <system_error>

namespace rovanel::app {

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
  HelpPageRef ref;
  const std::string folder = language == 1 ? "fr" : "en";
  if (language == 3) ref.note = kHelpInEnglishKey;
  ref.wanted = shippedDir + "help/" + folder + "/" + std::string(HelpFile(topic));
  std::error_code ec;
  if (std::filesystem::is_regular_file(ref.wanted, ec))
    ref.path = ref.wanted;
  else
    ref.note = kHelpMissingKey;
  return ref;
}

}  // namespace rovanel::app
