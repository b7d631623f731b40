// Scribus, the layout program, run by the tests as a user's scripts run in
// it: `scribus -g -ns -py SCRIPT ARGS...` on Qt's offscreen platform (Scribus
// 1.5 needs a Qt platform even without its window, and the offscreen one
// serves), in a home folder of its own so that no user's Scribus settings
// count. The scripts the tests give it live in tests/support/scribus/.
#pragma once

#include <QProcessEnvironment>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// True when a program named scribus is on the PATH; the tests that need it
// skip without it.
bool have_scribus();

// The path of a script in tests/support/scribus/.
std::filesystem::path scribus_script(const char* name);

// Runs the script in Scribus with the arguments and the environment (the
// process's own when empty) and waits for it to end, at most a minute.
// Returns true when Scribus exited with status 0; `log` gets what it wrote.
bool run_scribus(const std::filesystem::path& script, const std::vector<std::string>& arguments,
                 std::string* log = nullptr,
                 QProcessEnvironment environment = QProcessEnvironment());

// A Scribus document made by make_doc.py from its JSON description (see the
// script): true when Scribus ran it to the end; the caller checks that the
// document was saved.
bool make_scribus_document(const std::filesystem::path& folder, const std::string& description);

}  // namespace testing_support
