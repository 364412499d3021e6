// Runs the window tests inside the application object, offscreen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/ErrorDisplay.h"
#include "testsupport/Process.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string runtime = testsupport::MakeTempDir("clavira-xdg");
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  // No database for these tests, whatever the machine's vesquin configuration says.
  setenv("VESQUIN_ENGINE", "", 1);
  // The window in the Spanish it is built with, unless a test asks otherwise.
  setenv("VESQUIN_LANGUAGE", "", 1);
  int status;
  {
    app::TApplication application(argc, argv);
    status = RUN_ALL_TESTS();
  }
  std::filesystem::remove_all(runtime);
  return status;
}
