// A session bus of a test's own (dbus-daemon in a temporary folder) and the
// file-manager stand-in on it, started directly or left for the bus to start
// on the first call (service activation).
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class PrivateBus {
 public:
  struct Options {
    bool activatable_file_manager = false;  // the bus can start the stand-in
    bool failing_file_manager = false;      // the stand-in answers with errors
    int answer_after_ms = 0;                // the stand-in answers this much later
    bool silent_file_manager = false;       // the stand-in never answers
  };
  // Starts the bus in dir and points DBUS_SESSION_BUS_ADDRESS at it.
  PrivateBus(const std::filesystem::path& dir, Options options);
  ~PrivateBus();
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  const std::string& address() const { return m_address; }
  // Starts the stand-in and returns once it owns its name.
  void start_file_manager();
  // Stops the stand-in started here and waits until its name is free.
  void stop_file_manager();
  bool file_manager_owns_name() const;
  // The calls the stand-in has recorded, one line each:
  //   <method>|<startup id>|<uri>...
  std::vector<std::string> calls() const;

 private:
  std::vector<std::string> standin_arguments() const;

  std::filesystem::path m_dir;
  Options m_options;
  std::string m_address;
  pid_t m_daemon = -1;
  pid_t m_standin = -1;
};

// Runs the thread's GLib main context until every request sent to the file
// manager without waiting has had its answer, or the time is up; false then.
bool settle_file_manager_requests(int patience_ms = 5000);

// Lines of a file (empty when it does not exist).
std::vector<std::string> read_lines(const std::filesystem::path& file);
// Waits up to five seconds for a file to appear.
bool wait_for_file(const std::filesystem::path& file);

}  // namespace testing_support
