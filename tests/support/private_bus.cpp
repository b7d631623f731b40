#include "tests/support/private_bus.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "platform/process.h"

namespace testing_support {

namespace fs = std::filesystem;

namespace {

constexpr auto kPatience = std::chrono::seconds(5);
constexpr auto kPoll = std::chrono::milliseconds(10);

// Runs the program with its standard error in the log (the bus daemon talks
// about resource limits it cannot raise, which is no concern here).
pid_t spawn(const std::vector<std::string>& args, int stdout_fd, const fs::path& log) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  if (stdout_fd >= 0) dup2(stdout_fd, STDOUT_FILENO);
  int log_fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (log_fd >= 0) dup2(log_fd, STDERR_FILENO);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

void stop(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

std::string read_line(int fd) {
  std::string line;
  char c = 0;
  while (read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

void write_file(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << text;
}

}  // namespace

PrivateBus::PrivateBus(const fs::path& dir, Options options)
    : m_dir(dir / "bus"), m_options(options) {
  fs::create_directories(m_dir / "services");
  write_file(m_dir / "bus.conf",
             "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
             " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
             "<busconfig><type>session</type><listen>unix:dir=" +
                 m_dir.string() +
                 "</listen>"
                 "<servicedir>" +
                 (m_dir / "services").string() +
                 "</servicedir>"
                 "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                 "<allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                 "</policy></busconfig>\n");
  if (options.activatable_file_manager) {
    std::string exec;
    for (const auto& a : standin_arguments()) exec += (exec.empty() ? "" : " ") + a;
    write_file(m_dir / "services" / "org.freedesktop.FileManager1.service",
               "[D-BUS Service]\nName=org.freedesktop.FileManager1\nExec=" + exec + "\n");
  }
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
  m_daemon = spawn({"/usr/bin/dbus-daemon", "--config-file=" + (m_dir / "bus.conf").string(),
                    "--nofork", "--print-address"},
                   pipe_fds[1], m_dir / "log");
  close(pipe_fds[1]);
  m_address = read_line(pipe_fds[0]);
  close(pipe_fds[0]);
  if (m_address.empty()) throw std::runtime_error("dbus-daemon did not start");
  setenv("DBUS_SESSION_BUS_ADDRESS", m_address.c_str(), 1);
  unsetenv("DBUS_STARTER_ADDRESS");
  unsetenv("DBUS_STARTER_BUS_TYPE");
}

PrivateBus::~PrivateBus() {
  stop(m_standin);
  stop(m_daemon);
}

std::vector<std::string> PrivateBus::standin_arguments() const {
  std::vector<std::string> args{TAVRINE_FILE_MANAGER_STANDIN, "--record",
                                (m_dir / "calls").string()};
  if (m_options.failing_file_manager) args.emplace_back("--fail");
  if (m_options.silent_file_manager) args.emplace_back("--never");
  if (m_options.answer_after_ms > 0) {
    args.emplace_back("--answer-after");
    args.push_back(std::to_string(m_options.answer_after_ms));
  }
  return args;
}

void PrivateBus::start_file_manager() {
  m_standin = spawn(standin_arguments(), -1, m_dir / "log");
  auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!file_manager_owns_name()) {
    if (std::chrono::steady_clock::now() > deadline)
      throw std::runtime_error("stand-in did not start");
    std::this_thread::sleep_for(kPoll);
  }
}

void PrivateBus::stop_file_manager() {
  stop(m_standin);
  auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (file_manager_owns_name() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kPoll);
  }
}

bool PrivateBus::file_manager_owns_name() const {
  auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
  GDBusConnection* bus =
      g_dbus_connection_new_for_address_sync(m_address.c_str(), flags, nullptr, nullptr, nullptr);
  if (bus == nullptr) return false;
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
      g_variant_new("(s)", "org.freedesktop.FileManager1"), G_VARIANT_TYPE("(b)"),
      G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
  gboolean owned = FALSE;
  if (reply) {
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
  }
  g_object_unref(bus);
  return owned;
}

std::vector<std::string> PrivateBus::calls() const {
  return read_lines(m_dir / "calls");
}

bool settle_file_manager_requests(int patience_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(patience_ms);
  while (platform::file_manager_requests_in_flight() > 0) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) std::this_thread::sleep_for(kPoll / 10);
  }
  return true;
}

std::vector<std::string> read_lines(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool wait_for_file(const fs::path& file) {
  auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!fs::exists(file)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(kPoll);
  }
  return true;
}

}  // namespace testing_support
