#include "app/dialogs/dialog_script.h"

namespace rovanel::app {

std::optional<DialogAnswer> ParseDialogAnswer(std::string_view text, std::string& error) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, any = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else {
      word += c;
      any = true;
    }
  }
  if (quoted) {
    error = "unclosed quote in dialog answer";
    return std::nullopt;
  }
  if (any) words.push_back(word);
  if (words.size() < 2 || (words.back() != "ok" && words.back() != "cancel")) {
    error = "a dialog answer is NAME field=value ... ok|cancel";
    return std::nullopt;
  }
  DialogAnswer answer;
  answer.dialog = words.front();
  answer.ok = words.back() == "ok";
  for (std::size_t i = 1; i + 1 < words.size(); ++i) {
    const auto eq = words[i].find('=');
    if (eq == std::string::npos || eq == 0) {
      error = "dialog answer step '" + words[i] + "' is not field=value";
      return std::nullopt;
    }
    answer.steps.emplace_back(words[i].substr(0, eq), words[i].substr(eq + 1));
  }
  return answer;
}

bool DialogScript::Has(std::string_view dialog) const {
  for (const DialogAnswer& a : answers_)
    if (a.dialog == dialog) return true;
  return false;
}

bool DialogScript::Play(DialogModel& d, std::string& error, std::vector<std::string>* said) {
  auto tell = [&d, said] {
    if (!d.error.empty() && said != nullptr) said->push_back(d.error);
    d.error.clear();
  };
  for (auto it = answers_.begin(); it != answers_.end(); ++it) {
    if (it->dialog != d.Name()) continue;
    const DialogAnswer answer = *it;
    answers_.erase(it);
    for (const auto& [field, value] : answer.steps) {
      const bool done = field == "click" ? d.Press(value, error) : d.SetField(field, value, error);
      if (!done) {
        error = std::string(d.Name()) + ": " + error;
        d.Reject();
        return false;
      }
      tell();
      if (d.closed) return true;
    }
    if (answer.ok)
      d.Accept();
    else
      d.Reject();
    if (!d.closed) {
      error = std::string(d.Name()) + " stays open: " + d.error;
      d.error.clear();
      d.Reject();
      return false;
    }
    tell();
    return true;
  }
  error = "no answer queued for " + std::string(d.Name());
  return false;
}

std::vector<std::string> DialogScript::Unused() const {
  std::vector<std::string> names;
  for (const DialogAnswer& a : answers_) names.push_back(a.dialog);
  return names;
}

}  // namespace rovanel::app
