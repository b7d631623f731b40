// Another user of the machine, played by "nobody" through setpriv. The tests
// run as root in CI; elsewhere the tests that need a second user skip.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <utility>
#include <vector>

namespace testing_support {

inline bool can_play_another_user() {
  return ::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) == 0;
}

// Starts `command` as nobody, with the variables in `env` added.
inline void start_as_another_user(QProcess& process, const QStringList& command,
                                  const std::vector<std::pair<QString, QString>>& env = {}) {
  process.setProgram("/usr/bin/setpriv");
  process.setArguments(QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"} + command);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : env) environment.insert(name, value);
  process.setProcessEnvironment(environment);
  process.start();
}

// A folder under `root` that every user may write to, sticky like /tmp;
// `root` is opened to others so that they can reach it.
inline std::filesystem::path shared_temporary_folder(const std::filesystem::path& root) {
  ::chmod(root.c_str(), 0755);
  std::filesystem::path tmp = root / "tmp";
  std::filesystem::create_directories(tmp);
  ::chmod(tmp.c_str(), 01777);
  return tmp;
}

}  // namespace testing_support
