// Where a program finds a data file it ships with (its translations): an
// installed program has its copy in share/clavira beside its bin/ folder; a
// program run from the build tree uses the source tree's own file, so that
// what its editor saves lands in the repository.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace app {

inline std::string ShippedFile(const std::string& Name, const std::string& BuildTreePath) {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path installed =
        exe.parent_path().parent_path() / "share" / "clavira" / Name;
    if (std::filesystem::is_regular_file(installed, error)) return installed.string();
  }
  return BuildTreePath;
}

}  // namespace app
