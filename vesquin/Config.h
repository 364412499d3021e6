// Where the runtime library finds its settings, and what can be wrong there.
//
// The environment variable VESQUIN_<KEY> wins (set, even to empty).
// Otherwise the file $VESQUIN_CONFIG when that is set (only that file; a
// missing one means nothing configured), else the first that exists of
// $XDG_CONFIG_HOME/vesquin/vesquin.conf (default ~/.config/vesquin/vesquin.conf)
// and /etc/vesquin/vesquin.conf. Lines are "key = value"; blank lines and
// lines starting with "#" are skipped; the last line for a key wins; a UTF-8
// byte-order mark at the top is skipped. Read on every call, so a change is
// seen at once.
//
// Only a regular file of at most kMaxConfigBytes is read, and it is opened
// without waiting: a FIFO, a device or a huge file named as the
// configuration is an error, never an endless wait or an empty result.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vesquin {

inline constexpr size_t kMaxConfigBytes = 64 * 1024;

// The four keys the library knows.
inline constexpr const char* kConfigKeys[] = {"engine", "connection", "language", "key"};

// A configuration file that exists but cannot be read; the message says why
// and names the file (never its contents).
class EConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// key is one of kConfigKeys. Empty when unset. Throws EConfigError when the
// configuration file exists but cannot be read.
std::string ConfigValue(std::string_view key);

// The value of `key` in the configuration text `text`, or empty.
std::string ParseConfigText(std::string_view text, std::string_view key);

// The configuration file the lookup uses: $VESQUIN_CONFIG when set (whether
// or not it exists), else the first default file that exists; empty when
// there is none. Explicit tells whether it came from $VESQUIN_CONFIG.
std::string ConfigFilePath(bool* Explicit = nullptr);

// The default files, in the order they are tried.
std::vector<std::string> DefaultConfigFiles();

// Whether Path names something that exists (a file, or anything else).
bool ConfigFileExists(const std::string& Path);

// The contents of the configuration file Path. Throws EConfigError: not a
// regular file, larger than kMaxConfigBytes, or the system's reason.
std::string ReadConfigFile(const std::string& Path);

// The numbers (from 1) of the lines of `text` that are neither blank, nor a
// comment, nor "key = value" with one of kConfigKeys.
std::vector<int> UnreadableConfigLines(std::string_view text);

}  // namespace vesquin
