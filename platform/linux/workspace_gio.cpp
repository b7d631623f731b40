#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include "platform/linux/files_internal.h"
#include "platform/linux/gobject_ptr.h"
#include "platform/workspace.h"

namespace platform {
namespace {

// The names of a themed icon, best first, without the symbolic variants and
// separated by ";"; or the file of a file icon.
std::string icon_text(GIcon* icon) {
  if (icon == nullptr) return {};
  if (G_IS_THEMED_ICON(icon)) {
    std::string chain;
    const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon));
    for (; names && *names; ++names) {
      if (g_str_has_suffix(*names, "-symbolic")) continue;
      if (!chain.empty()) chain += ';';
      chain += *names;
    }
    if (!chain.empty()) return chain;
  }
  if (G_IS_FILE_ICON(icon)) {
    GCharPtr path(g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon))));
    if (path) return path.get();
  }
  GCharPtr text(g_icon_to_string(icon));
  return text ? text.get() : "";
}

}  // namespace

std::string icon_for_file(const std::string& path) {
  if (files::is_desktop_file(path)) {
    GObjectPtr<GDesktopAppInfo> entry(g_desktop_app_info_new_from_filename(path.c_str()));
    if (entry) {
      std::string name = icon_text(g_app_info_get_icon(G_APP_INFO(entry.get())));
      if (!name.empty()) return name;
    }
  }
  GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
  GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_ICON,
                                               G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
  std::string name = info ? icon_text(g_file_info_get_icon(info.get())) : "";
  return name.empty() ? "unknown" : name;
}

}  // namespace platform
