// The test bench: one window; closing it ends the program.
#include <csignal>

#include "app/ErrorDisplay.h"
#include "app/FRMClavira.h"

int main(int argc, char** argv) {
  // A directory server that drops the connection must not end the program.
  std::signal(SIGPIPE, SIG_IGN);
  app::TApplication application(argc, argv);
  app::TFRMClavira window;
  window.show();
  return application.exec();
}
