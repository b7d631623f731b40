// tavrine --links DOCUMENT.sla [--json] [--min-ppi N]: the report of every
// picture placed in a Scribus document, on standard output.
#pragma once

namespace links {

// True when the arguments ask for the links report (one of them is
// "--links"); the window is then never started.
bool is_links_command(int argc, const char* const* argv);

// Runs the report and returns the process's exit status: 0 when every
// picture is found (and, with --min-ppi, none is under the minimum), 1
// otherwise, 2 when the document cannot be read or the arguments are wrong
// (one line on standard error).
int run_links_command(int argc, const char* const* argv);

}  // namespace links
