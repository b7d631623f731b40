#include "links/links_command.h"
#include "scriptkit/app/application.h"

int main(int argc, const char** argv) {
  // The links report is a command-line tool: it runs before, and without,
  // the window.
  if (links::is_links_command(argc, argv)) return links::run_links_command(argc, argv);
  ASKInitialize();
  return NSApplicationMain(argc, argv);
}
