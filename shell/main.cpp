#include "scriptkit/app/application.h"

int main(int argc, const char** argv) {
  ASKInitialize();
  return NSApplicationMain(argc, argv);
}
