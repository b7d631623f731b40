// A temporary folder with the XDG folders pointed into it, and small helpers
// for making and reading real files there. Shared by the files and prefs
// tests.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/alerts.h"
#include "platform/files.h"
#include "tests/support/sandbox.h"

namespace testing_support {

namespace fs = std::filesystem;

// Sets an environment variable for the sandbox's lifetime.
class EnvVar {
 public:
  EnvVar(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~EnvVar() {
    if (m_old)
      ::setenv(m_name, m_old->c_str(), 1);
    else
      ::unsetenv(m_name);
  }
  EnvVar(const EnvVar&) = delete;
  EnvVar& operator=(const EnvVar&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

class Folder {
 public:
  Folder() {
    m_config = std::make_unique<EnvVar>("XDG_CONFIG_HOME", (m_root / "config").string());
    m_cache = std::make_unique<EnvVar>("XDG_CACHE_HOME", (m_root / "cache").string());
    m_state = std::make_unique<EnvVar>("XDG_STATE_HOME", (m_root / "state").string());
    m_data = std::make_unique<EnvVar>("XDG_DATA_HOME", (m_root / "data").string());
    m_dirs = std::make_unique<EnvVar>("XDG_DATA_DIRS", (m_root / "system").string());
  }

  const fs::path& root() const { return m_root; }
  fs::path config() const { return m_root / "config"; }
  fs::path cache() const { return m_root / "cache"; }
  fs::path state() const { return m_root / "state"; }

 private:
  testing_support::TempDir m_dir;
  fs::path m_root = m_dir.path();
  std::unique_ptr<EnvVar> m_config, m_cache, m_state, m_data, m_dirs;
};

inline void write_file(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names in a folder, sorted.
inline std::vector<std::string> names_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A character device of our own, made with mknod in a test's folder (as
// the null device's numbers, so a stray write would be lost harmlessly).
// False where devices cannot be made (not root, or in a container that
// forbids it); the test then skips.
inline bool make_device(const fs::path& at) {
  return ::mknod(at.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 && ::chmod(at.c_str(), 0666) == 0;
}

// True when the item at `at` is still that device, with that mode.
inline bool is_untouched_device(const fs::path& at) {
  struct stat st;
  return ::lstat(at.c_str(), &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == makedev(1, 3) &&
         (st.st_mode & 07777) == 0666;
}

// The FSSpec of a path given as UTF-8 (through the platform directly).
inline FSSpec spec_of(const fs::path& path) {
  FSRef ref;
  FSSpec spec{};
  std::string text = path.string();
  EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(text.c_str()), &ref, nullptr), noErr)
      << text;
  EXPECT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), noErr);
  return spec;
}

inline std::string name_of(const FSSpec& spec) {
  return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
}

// Records beeps and alerts instead of showing them, while it lives.
class RecordingAlerts final : public platform::AlertBacking {
 public:
  void beep() override { ++beeps; }
  void alert(SInt16 type, const std::string& message, const std::string& explanation) override {
    types.push_back(type);
    messages.push_back(message);
    explanations.push_back(explanation);
  }
  int beeps = 0;
  std::vector<SInt16> types;
  std::vector<std::string> messages;
  std::vector<std::string> explanations;

 private:
  platform::ScopedBacking<platform::AlertBacking> m_installed{this};
};

// Runs this test program again in a new process with only `test` selected
// and the given variables set; returns its exit status (0 when it passed).
inline int run_in_new_process(const std::string& test,
                              const std::vector<std::pair<std::string, std::string>>& env) {
  pid_t child = ::fork();
  if (child == 0) {
    for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
    std::string filter = "--gtest_filter=" + test;
    char self[] = "/proc/self/exe";
    char* argv[] = {self, filter.data(), nullptr};
    ::execv(self, argv);
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace testing_support
