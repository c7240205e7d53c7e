#include "app/lang/form_texts.h"

#include <array>

namespace rovanel::app {

bool IsCaptionKey(std::string_view text) {
  static constexpr std::array<std::string_view, 7> kPrefixes = {"ID_",  "CBX_", "CMB_", "MES_",
                                                                "TAB_", "RBT_", "CHK_"};
  for (std::string_view prefix : kPrefixes)
    if (text.starts_with(prefix)) return true;
  return false;
}

bool IsHintKey(std::string_view text) {
  return text.starts_with("HINT_");
}

std::string FormTexts::Text(const std::string& key, Control& control) {
  TextLookup found = dictionary_.Lookup(key, language_);
  if (found.found) return std::move(found.text);
  ++missing_;
  control.marked = true;
  // A dictionary that cannot be written is not the user's concern: the red
  // marking still shows what is missing.
  dictionary_.AppendPlaceholder(key);
  return key;
}

void FormTexts::ApplyCaptions(const FormControls& form) {
  for (const auto& [name, control] : form) {
    if (control->captionKey.empty() && IsCaptionKey(control->caption))
      control->captionKey = control->caption;
    if (!control->captionKey.empty()) control->caption = Text(control->captionKey, *control);
  }
}

void FormTexts::ApplyHints(const FormControls& form) {
  for (const auto& [name, control] : form) {
    if (control->hintKey.empty() && IsHintKey(control->hint)) control->hintKey = control->hint;
    if (!control->hintKey.empty()) control->hint = Text(control->hintKey, *control);
  }
}

void FormTexts::ApplyItems(const FormControls& form) {
  for (const auto& [name, control] : form) {
    if (control->itemKeys.empty()) {
      bool keyed = false;
      for (const std::string& item : control->items) keyed = keyed || IsCaptionKey(item);
      if (keyed) control->itemKeys = control->items;
    }
    for (std::size_t i = 0; i < control->itemKeys.size() && i < control->items.size(); ++i)
      if (IsCaptionKey(control->itemKeys[i]))
        control->items[i] = Text(control->itemKeys[i], *control);
  }
}

}  // namespace rovanel::app
