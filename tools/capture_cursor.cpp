// tavrine-capture-cursor: waits a few seconds, then captures the current
// cursor's image into CursorData in the maker's preferences folder, so that a
// user can make the four cursor images of their layout program.
//
//   tavrine-capture-cursor [SECONDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/alerts.h"
#include "platform/files.h"
#include "shell/cursors.h"

namespace {

constexpr int kDefaultDelay = 5;
constexpr int kLongestDelay = 600;

// Notes the capture's failure alert instead of showing it.
class FailureNote final : public platform::AlertBacking {
 public:
  void beep() override {}
  void alert(SInt16, const std::string&, const std::string&) override { m_failed = true; }
  bool failed() const { return m_failed; }

 private:
  bool m_failed = false;
};

int parse_delay(int argc, char** argv) {
  if (argc < 2) return kDefaultDelay;
  char* end = nullptr;
  long seconds = std::strtol(argv[1], &end, 10);
  if (argc > 2 || *end != '\0' || seconds < 0 || seconds > kLongestDelay) return -1;
  return static_cast<int>(seconds);
}

std::string capture_file_path() {
  FSRef prefs;
  if (FSFindFolder(kUserDomain, kPreferencesFolderType, kDontCreateFolder, &prefs) != noErr)
    return "~/.config/VeskaSoftware/CursorData";
  return prefs.path + "/VeskaSoftware/CursorData";
}

}  // namespace

int main(int argc, char** argv) {
  int delay = parse_delay(argc, argv);
  if (delay < 0) {
    std::fprintf(stderr, "usage: tavrine-capture-cursor [SECONDS]   (0 to %d, default %d)\n",
                 kLongestDelay, kDefaultDelay);
    return 2;
  }
  std::printf(
      "Show the cursor to capture (hover over a placed picture in the layout program).\n"
      "Capturing in %d seconds...\n",
      delay);
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::seconds(delay));

  FailureNote note;
  {
    platform::ScopedBacking<platform::AlertBacking> installed(&note);
    SaveCursorData();
  }
  if (note.failed()) {
    std::fprintf(stderr,
                 "tavrine-capture-cursor: could not capture the cursor (is an X11 display "
                 "available?) or write %s\n",
                 capture_file_path().c_str());
    return 1;
  }
  std::printf(
      "Wrote %s\n"
      "Copy it as Crsr1, Crsr2, Crsr1PC or Crsr2PC into the Contents/Resources folder of\n"
      "a bundle with the identifier %s, for instance\n"
      "~/.local/share/tavrine/PlugIns/LayoutCursors.bundle.\n",
      capture_file_path().c_str(), kCursorPlugInBundleID);
  return 0;
}
