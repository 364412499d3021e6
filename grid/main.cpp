// clavira-grid: the grid editor's window, or with --export its headless
// twin (no window toolkit is started then).
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <iostream>

#include "app/TranslationEditor.h"
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
  // Declared after the window, so it goes first.
  std::unique_ptr<app::TFRMTranslationEditor> editor;
  if (options.Translations) {
    editor = std::make_unique<app::TFRMTranslationEditor>(window);
    const QRect screen = window.screen()->availableGeometry();
    editor->move(std::clamp(window.x() + 40, screen.left(),
                            std::max(screen.left(), screen.right() - editor->width())),
                 std::clamp(window.y() + 40, screen.top(),
                            std::max(screen.top(), screen.bottom() - editor->height())));
    editor->show();
  }
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
