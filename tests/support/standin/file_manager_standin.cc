// A small file manager for tests: owns org.freedesktop.FileManager1 on the
// session bus and writes every call it gets to a record file, one line each:
//   <method>|<startup id>|<uri>|<uri>...
// With --fail it records the call and then answers with an error; with
// --answer-after MS it answers that much later; with --never it never answers.
// Usage: file_manager_standin --record FILE [--fail] [--answer-after MS] [--never]
// (Built as .cc so that the test program's glob of *.cpp leaves it out.)
#include <gio/gio.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kIntrospection[] =
    "<node><interface name='org.freedesktop.FileManager1'>"
    "<method name='ShowFolders'><arg type='as' direction='in'/><arg type='s' "
    "direction='in'/></method>"
    "<method name='ShowItems'><arg type='as' direction='in'/><arg type='s' "
    "direction='in'/></method>"
    "<method name='ShowItemProperties'><arg type='as' direction='in'/><arg type='s' "
    "direction='in'/></method>"
    "</interface></node>";

std::string g_record;
bool g_fail = false;
bool g_never = false;
guint g_answer_after_ms = 0;
GMainLoop* g_loop = nullptr;

void record(const char* method, GVariant* parameters) {
  const gchar** uris = nullptr;
  const gchar* startup_id = nullptr;
  g_variant_get(parameters, "(^a&s&s)", &uris, &startup_id);
  std::string line = std::string(method) + "|" + startup_id;
  for (std::size_t i = 0; uris && uris[i]; ++i) line += std::string("|") + uris[i];
  g_free(uris);
  if (FILE* out = std::fopen(g_record.c_str(), "a")) {
    std::fprintf(out, "%s\n", line.c_str());
    std::fclose(out);
  }
}

gboolean answer(gpointer data) {
  auto* invocation = static_cast<GDBusMethodInvocation*>(data);
  if (g_fail) {
    g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.DBus.Error.Failed",
                                               "the stand-in was told to fail");
  } else {
    g_dbus_method_invocation_return_value(invocation, nullptr);
  }
  return G_SOURCE_REMOVE;
}

void on_call(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
             GVariant* parameters, GDBusMethodInvocation* invocation, gpointer) {
  record(method, parameters);
  if (g_never) return;  // the invocation is left unanswered for good
  if (g_answer_after_ms > 0) {
    g_timeout_add(g_answer_after_ms, answer, invocation);
  } else {
    answer(invocation);
  }
}

void on_bus(GDBusConnection* bus, const gchar*, gpointer) {
  static const GDBusInterfaceVTable vtable = {on_call, nullptr, nullptr, {}};
  GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
  g_dbus_connection_register_object(bus, "/org/freedesktop/FileManager1", node->interfaces[0],
                                    &vtable, nullptr, nullptr, nullptr);
  g_dbus_node_info_unref(node);
}

void on_lost(GDBusConnection*, const gchar*, gpointer) {
  g_main_loop_quit(g_loop);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--record") == 0 && i + 1 < argc) g_record = argv[++i];
    if (std::strcmp(argv[i], "--fail") == 0) g_fail = true;
    if (std::strcmp(argv[i], "--never") == 0) g_never = true;
    if (std::strcmp(argv[i], "--answer-after") == 0 && i + 1 < argc)
      g_answer_after_ms = static_cast<guint>(std::atoi(argv[++i]));
  }
  if (g_record.empty()) {
    std::fprintf(stderr, "usage: %s --record FILE [--fail]\n", argv[0]);
    return 2;
  }
  g_loop = g_main_loop_new(nullptr, FALSE);
  g_bus_own_name(G_BUS_TYPE_SESSION, "org.freedesktop.FileManager1", G_BUS_NAME_OWNER_FLAGS_NONE,
                 on_bus, nullptr, on_lost, nullptr, nullptr);
  g_main_loop_run(g_loop);
  return 0;
}
