// Reads arbitrary bytes as the preferences file, then walks the open-with
// list over the record the way the pop-up does (every listed entry through
// FileExists and GetFileNameFromFileFSSpec) and runs the pop-up's list code.
// The count must stay within the 50 slots, and nothing may crash or read
// past a name.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "openwith/popup.h"
#include "platform/alerts.h"
#include "prefs/fileutils.h"
#include "prefs/prefs.h"
#include "prefs/userprefs.h"

namespace {

std::string g_prefs_file;
std::string g_root;

void remove_sandbox() {
  std::error_code ec;
  std::filesystem::remove_all(g_root, ec);
}

class QuietAlerts final : public platform::AlertBacking {
 public:
  void beep() override {}
  void alert(SInt16, const std::string&, const std::string&) override {}
};

QuietAlerts g_alerts;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char folder[] = "/tmp/tavrine-prefs-fuzz-XXXXXX";
  if (!mkdtemp(folder)) return 0;
  std::string root = folder;
  g_root = root;
  atexit(remove_sandbox);
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
  setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
  setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  setenv("XDG_DATA_DIRS", (root + "/system").c_str(), 1);
  platform::install_backing(&g_alerts);
  SaveUserPrefs();  // makes the folder and a first file
  g_prefs_file = root + "/config/VeskaSoftware/Veska Tavrine Pro for ID Prefs";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FILE* file = std::fopen(g_prefs_file.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  GetPreferences();
  if (G_USERPREFS.postAppCount < 0 || G_USERPREFS.postAppCount > kPostAppListSlots) abort();

  Str255 name;
  for (int i = 0; i < G_USERPREFS.postAppCount; ++i) {
    if (FileExists(G_USERPREFS.postAppList[i]))
      GetFileNameFromFileFSSpec(G_USERPREFS.postAppList[i], name);
  }
  CFStringRef path = CopyPOSIXPath(G_USERPREFS.openWithAppSpec);
  if (path) CFRelease(path);
  GetFileNameFromFileFSSpec(G_USERPREFS.openWithAppSpec, name);
  if (name[0] > 254) abort();

  // The pop-up's own list code over the record (no window is needed: its
  // commands then fail harmlessly).
  LoadOpenWithListPopUp();
  SetPostAppListPopUpSelection();
  UpdatePostAppList();
  if (G_USERPREFS.postAppCount < 0 || G_USERPREFS.postAppCount > kPostAppListSlots) abort();
  return 0;
}
