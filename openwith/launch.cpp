#include "openwith/launch.h"

// FIXME: launching is not built yet.
void MyLaunchApplication(FSSpec, FSSpec) {}
