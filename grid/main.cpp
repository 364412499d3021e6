// clavira-grid: the grid editor, or with --export its headless twin.
#include <csignal>
#include <iostream>

#include "grid/GridDocument.h"
#include "grid/GridOptions.h"

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  grid::TGridOptions options;
  try {
    options = grid::ParseGridOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << "clavira-grid: " << e.what() << "\n" << grid::GridUsage;
    return 2;
  }
  if (options.Help) {
    std::cout << grid::GridUsage;
    return 0;
  }
  if (!options.Export) {
    std::cerr << "clavira-grid: the window is not built; use --export\n";
    return 2;
  }
  std::unique_ptr<dataframework::bridge::TDbDataBridge> bridge;
  try {
    bridge = grid::ConnectConfiguredDatabase();
  } catch (const std::exception& e) {
    std::cerr << "clavira-grid: " << e.what() << "\n";
    return 1;
  }
  return grid::RunExport(options, *bridge, std::cout, std::cerr);
}
