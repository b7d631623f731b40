// The desktop's file manager over D-Bus (GIO's GDBus): the provider of
// org.freedesktop.FileManager1 on the session bus, asked with ShowItems.
#include <gio/gio.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/filemanager_backings.h"
#include "platform/linux/gobject_ptr.h"

namespace platform {
namespace {

constexpr const char* kBusName = "org.freedesktop.FileManager1";
constexpr const char* kObjectPath = "/org/freedesktop/FileManager1";
constexpr const char* kInterface = "org.freedesktop.FileManager1";
constexpr const char* kBusDaemon = "org.freedesktop.DBus";
// Questions to the bus itself are answered at once; a bus that does not
// answer within this is not one to rely on.
constexpr int kBusQuestionMs = 2000;

using Connection = GObjectPtr<GDBusConnection>;
struct VariantFree {
  void operator()(GVariant* v) const { g_variant_unref(v); }
};
using Variant = std::unique_ptr<GVariant, VariantFree>;

// A connection of our own to the session bus, rather than GIO's shared one,
// which would end the program if the bus went away.
Connection open_session_bus() {
  GCharPtr address(g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
  if (!address) return nullptr;
  auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
  Connection bus(
      g_dbus_connection_new_for_address_sync(address.get(), flags, nullptr, nullptr, nullptr));
  if (bus) g_dbus_connection_set_exit_on_close(bus.get(), FALSE);
  return bus;
}

Variant ask_bus(GDBusConnection* bus, const char* method, GVariant* args, const char* reply_type) {
  return Variant(g_dbus_connection_call_sync(bus, kBusDaemon, "/org/freedesktop/DBus", kBusDaemon,
                                             method, args, G_VARIANT_TYPE(reply_type),
                                             G_DBUS_CALL_FLAGS_NO_AUTO_START, kBusQuestionMs,
                                             nullptr, nullptr));
}

bool name_has_owner(GDBusConnection* bus) {
  Variant reply = ask_bus(bus, "NameHasOwner", g_variant_new("(s)", kBusName), "(b)");
  gboolean owned = FALSE;
  if (reply) g_variant_get(reply.get(), "(b)", &owned);
  return owned;
}

bool name_is_activatable(GDBusConnection* bus) {
  Variant reply = ask_bus(bus, "ListActivatableNames", nullptr, "(as)");
  if (!reply) return false;
  const gchar** names = nullptr;
  g_variant_get(reply.get(), "(^a&s)", &names);
  bool found = false;
  for (std::size_t i = 0; names && names[i]; ++i) found = found || g_str_equal(names[i], kBusName);
  g_free(names);
  return found;
}

// The process id of the name's owner, or 0.
std::uint32_t owner_pid(GDBusConnection* bus) {
  Variant reply = ask_bus(bus, "GetConnectionUnixProcessID", g_variant_new("(s)", kBusName), "(u)");
  guint32 pid = 0;
  if (reply) g_variant_get(reply.get(), "(u)", &pid);
  return pid;
}

std::string first_line(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::string link_target(const std::string& path) {
  char buffer[4096];
  ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::vector<std::string> uris_of(const std::vector<std::string>& paths) {
  std::vector<std::string> uris;
  for (const auto& path : paths) {
    GCharPtr uri(g_filename_to_uri(path.c_str(), nullptr, nullptr));
    if (uri) uris.emplace_back(uri.get());
  }
  return uris;
}

OSErr status_of(const GError* error) {
  if (error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) return errAETimeout;
  return connectionInvalid;
}

// The answer of one ShowItems or ShowFolders call, on its way back.
struct PendingCall {
  FileManager::Answer answered;
};

void call_answered(GObject* bus, GAsyncResult* result, gpointer data) {
  std::unique_ptr<PendingCall> call(static_cast<PendingCall*>(data));
  GError* raw = nullptr;
  Variant reply(g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &raw));
  GErrorPtr error(raw);
  call->answered(reply ? OSErr{noErr} : status_of(error.get()));
}

class BusFileManager final : public FileManager {
 public:
  BusFileManager(Connection bus, std::string name, std::string application)
      : m_bus(std::move(bus)), m_name(std::move(name)), m_application(std::move(application)) {}

  std::string identity() const override { return std::string("bus:") + kBusName; }
  std::string name() const override { return m_name; }
  std::string application_path() const override { return m_application; }

  // A folder that cannot be selected is shown opened (ShowFolders): some
  // file managers quietly ignore a request to select the root.
  OSErr show_items(const std::vector<std::string>& paths, const std::string& startup_id,
                   int timeout_ms, Answer answered) override {
    auto uris = uris_of(paths);
    if (uris.empty() || uris.size() != paths.size()) return paramErr;
    bool open_folders = std::all_of(paths.begin(), paths.end(), is_unselectable_folder);
    GVariantBuilder list;
    g_variant_builder_init(&list, G_VARIANT_TYPE("as"));
    for (const auto& uri : uris) g_variant_builder_add(&list, "s", uri.c_str());
    g_dbus_connection_call(m_bus.get(), kBusName, kObjectPath, kInterface,
                           open_folders ? "ShowFolders" : "ShowItems",
                           g_variant_new("(ass)", &list, startup_id.c_str()), nullptr,
                           G_DBUS_CALL_FLAGS_NONE, timeout_ms < 0 ? -1 : timeout_ms, nullptr,
                           &call_answered, new PendingCall{std::move(answered)});
    return noErr;
  }

 private:
  Connection m_bus;
  std::string m_name;
  std::string m_application;
};

}  // namespace

std::unique_ptr<FileManager> find_bus_file_manager() {
  Connection bus = open_session_bus();
  if (!bus) return nullptr;
  if (name_has_owner(bus.get())) {
    std::uint32_t pid = owner_pid(bus.get());
    std::string proc = "/proc/" + std::to_string(pid);
    std::string name = pid ? first_line(proc + "/comm") : std::string();
    return std::make_unique<BusFileManager>(std::move(bus), name.empty() ? "File Manager" : name,
                                            pid ? link_target(proc + "/exe") : std::string());
  }
  if (name_is_activatable(bus.get())) {
    return std::make_unique<BusFileManager>(std::move(bus), "File Manager", std::string());
  }
  return nullptr;
}

OSErr show_items_and_wait(FileManager& manager, const std::vector<std::string>& paths,
                          const std::string& startup_id, int timeout_ms) {
  GMainContext* context = g_main_context_new();
  g_main_context_push_thread_default(context);
  std::optional<OSErr> answer;
  OSErr sent =
      manager.show_items(paths, startup_id, timeout_ms, [&answer](OSErr err) { answer = err; });
  while (sent == noErr && !answer) g_main_context_iteration(context, TRUE);
  g_main_context_pop_thread_default(context);
  g_main_context_unref(context);
  return sent == noErr ? *answer : sent;
}

std::unique_ptr<FileManager> find_file_manager() {
  if (auto on_bus = find_bus_file_manager()) return on_bus;
  return find_folder_handler_file_manager();
}

// The X server's clock counts milliseconds of the monotonic clock, cut to 32
// bits; taking the same keeps the "_TIME" part meaningful to an X11 window
// manager that judges whether a window may take the focus.
std::string make_startup_id() {
  static unsigned sequence = 0;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  auto ms = static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000 +
                                       static_cast<std::uint64_t>(now.tv_nsec) / 1000000);
  return "tavrine-" + std::to_string(::getpid()) + "-" + std::to_string(++sequence) + "_TIME" +
         std::to_string(ms);
}

}  // namespace platform
