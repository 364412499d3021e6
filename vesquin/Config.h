// Where the runtime library finds its settings.
//
// The environment variable VESQUIN_<KEY> wins (set, even to empty).
// Otherwise the file $VESQUIN_CONFIG when that is set (only that file), else
// the first that exists of $XDG_CONFIG_HOME/vesquin/vesquin.conf (default
// ~/.config/vesquin/vesquin.conf) and /etc/vesquin/vesquin.conf. Lines are "key = value"; blank lines and
// lines starting with "#" are skipped; the last line for a key wins. Read on
// every call, so a change is seen at once.
#pragma once

#include <string>
#include <string_view>

namespace vesquin {

// key is one of "engine", "connection", "language", "key". Empty when unset.
std::string ConfigValue(std::string_view key);

// The value of `key` in the configuration text `text`, or empty.
std::string ParseConfigText(std::string_view text, std::string_view key);

}  // namespace vesquin
