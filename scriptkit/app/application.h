// The script framework's start-up, as a program's main calls it:
//
//   int main(int argc, const char** argv) {
//     ASKInitialize();
//     return NSApplicationMain(argc, argv);
//   }
#pragma once

// Prepares the framework; runs no code of the program's own. Returns 0.
int ASKInitialize();

// Finds the application bundle, adds the program's script-callable methods,
// loads the window "Main" from Main.layout and the window script from
// Main.applescript, shows the window and runs the event loop until the user
// quits; the arguments name pictures, which reach the window script as an
// open event. When another instance of the program runs already, hands it the
// pictures and returns at once. Without a display (Qt's offscreen platform)
// the window is printed as text after each handler, and the program quits
// once the pictures of its command line are handled. Returns the process's
// exit status: 0, or 1 when the bundle cannot be loaded.
//
// Defined by the toolkit front end, scriptkit/qt/application_main.cpp.
int NSApplicationMain(int argc, const char** argv);
