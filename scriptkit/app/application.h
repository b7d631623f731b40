// The script framework's start-up: ASKInitialize prepares the framework and
// NSApplicationMain loads the application bundle and runs the event loop.
#pragma once

// Prepares the framework; runs no code of the program's own. Returns 0.
int ASKInitialize();
// Finds the bundle, adds the program's script-callable methods, loads the
// window and its script and runs the event loop until the user quits.
// Returns the process's exit status.
int NSApplicationMain(int argc, const char** argv);
