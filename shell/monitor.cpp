#include "shell/monitor.h"

// FIXME: the monitor is not installed yet.
void MyInstallEventHandler() {}
