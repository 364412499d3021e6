// clavira-grid: the grid editor's window, or with --export its headless
// twin (no window toolkit is started then).
#include <QApplication>
#include <QTimer>
#include <csignal>
#include <iostream>

#include "grid/GridDocument.h"
#include "grid/GridOptions.h"
#include "grid/GridWindow.h"

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
  std::unique_ptr<dataframework::bridge::TDbDataBridge> bridge;
  try {
    bridge = grid::ConnectConfiguredDatabase();
  } catch (const std::exception& e) {
    std::cerr << "clavira-grid: " << e.what() << "\n";
    return 1;
  }
  if (options.Export) return grid::RunExport(options, *bridge, std::cout, std::cerr);

  QApplication application(argc, argv);
  grid::TGridWindow window(*bridge);
  window.show();
  QTimer::singleShot(0, &window, [&] {
    if (options.Table.empty()) {
      window.PickTable();
      return;
    }
    try {
      window.Document().SetFilterText(options.Filter);
    } catch (const std::exception& e) {
      window.Report(e.what());
    }
    if (!window.OpenTable(options.Table)) return;
    try {
      window.Document().SetGrandTotal(options.GrandTotal);
      window.Document().SetGroupColumns(options.Group);
    } catch (const std::exception& e) {
      window.Report(e.what());
    }
    window.RefreshNow();
  });
  return application.exec();
}
