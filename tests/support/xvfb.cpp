#include "tests/support/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "platform/input.h"

namespace testing_support {
namespace {

class XvfbServer {
 public:
  bool start() {
    int fds[2];
    if (pipe(fds) != 0) return false;
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    m_pid = fork();
    if (m_pid == 0) run_server(fds[1]);
    close(fds[1]);
    bool started = m_pid > 0 && read_display(fds[0]);
    close(fds[0]);
    if (started) setenv("DISPLAY", m_display.c_str(), 1);
    return started;
  }

  ~XvfbServer() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
  }

  const std::string& display() const { return m_display; }

 private:
  [[noreturn]] static void run_server(int display_fd) {
    int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, STDOUT_FILENO);
    dup2(null_fd, STDERR_FILENO);
    std::string fd_text = std::to_string(display_fd);
    execlp("Xvfb", "Xvfb", "-displayfd", fd_text.c_str(), "-screen", "0", "640x480x24", "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }

  // Xvfb writes the number of the display it took, then a line feed.
  bool read_display(int fd) {
    std::string number;
    pollfd watch{fd, POLLIN, 0};
    while (poll(&watch, 1, 10000) > 0) {
      char c = 0;
      if (read(fd, &c, 1) != 1) break;
      if (c == '\n') {
        m_display = ":" + number;
        return !number.empty();
      }
      number += c;
    }
    return false;
  }

  pid_t m_pid = -1;
  std::string m_display;
};

}  // namespace

const std::string* shared_xvfb_display() {
  static std::unique_ptr<XvfbServer> server;
  static bool tried = false;
  if (!tried) {
    tried = true;
    if (have_program("Xvfb")) {
      server = std::make_unique<XvfbServer>();
      if (!server->start()) server.reset();
    }
  }
  if (server) setenv("DISPLAY", server->display().c_str(), 1);
  return server ? &server->display() : nullptr;
}

bool xdotool(const std::string& arguments) {
  std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool have_program(const char* name) {
  std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool pump_monitor_until(const std::function<bool()>& done, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    pollfd watch{platform::event_monitor_descriptor(), POLLIN, 0};
    poll(&watch, 1, 20);
    platform::dispatch_event_monitor();
  }
  return done();
}

}  // namespace testing_support
