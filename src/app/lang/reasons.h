// The reasons the layers below give in English (a curve file refused, a
// system error, an export that cannot be made), said in the window's
// language: each known sentence has a key in the dictionary with the same
// slots, and the names inside it (a field of a file) keys of their own.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace rovanel::app {

// The translation of a key with its %s / %d slots filled in order; the key
// itself (or an empty text) when the dictionary lacks it.
using Translator =
    std::function<std::string(std::string_view key, std::initializer_list<std::string> args)>;

// `reason` in the window's language when it is a known sentence, else as it
// is.
std::string LocalizeReason(const std::string& reason, const Translator& text);

}  // namespace rovanel::app
