#include "links/links_command.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "links/links_output.h"
#include "links/links_report.h"
#include "links/placed_pictures.h"
#include "platform/terminal.h"

namespace links {

namespace {

constexpr const char* kUsage = "usage: tavrine --links DOCUMENT.sla [--json] [--min-ppi N]";

struct Options {
  std::string document;
  bool json = false;
  int min_ppi = 0;
};

// A whole number from 1 to 100000; anything else is refused.
bool parse_ppi(const char* text, int& ppi) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > 100000) return false;
  ppi = static_cast<int>(value);
  return true;
}

// Fills `options`; on a mistake, returns the line to print.
std::string parse_options(int argc, const char* const* argv, Options& options) {
  bool have_document = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "--links") continue;
    if (argument == "--json") {
      options.json = true;
    } else if (argument == "--min-ppi") {
      if (i + 1 >= argc || !parse_ppi(argv[++i], options.min_ppi))
        return "--min-ppi needs a whole number of pixels per inch";
    } else if (argument.starts_with("--min-ppi=")) {
      if (!parse_ppi(argv[i] + std::strlen("--min-ppi="), options.min_ppi))
        return "--min-ppi needs a whole number of pixels per inch";
    } else if (argument.starts_with("--") || have_document) {
      return std::string(kUsage);
    } else {
      options.document = argv[i];
      have_document = true;
    }
  }
  return have_document ? "" : kUsage;
}

void print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

bool is_links_command(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--links") return true;
  }
  return false;
}

int run_links_command(int argc, const char* const* argv) {
  Options options;
  if (std::string mistake = parse_options(argc, argv, options); !mistake.empty()) {
    std::fprintf(stderr, "tavrine: %s\n", mistake.c_str());
    return 2;
  }
  std::vector<PlacedPicture> pictures;
  std::string error;
  if (!read_placed_pictures_file(options.document, pictures, error)) {
    std::fprintf(stderr, "tavrine: %s: %s\n", options.document.c_str(), error.c_str());
    return 2;
  }
  platform::use_utf8_characters();
  LinksReport report = make_links_report(std::move(pictures), options.min_ppi);
  report.document = options.document;
  print(options.json ? links_json(report) : links_table(report));
  return links_exit_status(report);
}

}  // namespace links
