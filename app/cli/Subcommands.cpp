#include "app/cli/Subcommand.h"

namespace app::cli {

const std::vector<const Subcommand*>& Subcommands() {
  static const std::vector<const Subcommand*> all = {
      &kDirectorySubcommand,
      &kOsSubcommand,
      &kDbSubcommand,
      &kEncryptSubcommand,
      &kLoadSubcommand,
  };
  return all;
}

}  // namespace app::cli
