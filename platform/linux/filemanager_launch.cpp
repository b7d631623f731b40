// The desktop's file manager as the default application for folders (GIO,
// mime-apps rules), used where no provider of org.freedesktop.FileManager1
// runs or can be started. Only an application that says it is a file manager
// (category FileManager) counts.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/filemanager_backings.h"
#include "platform/linux/files_internal.h"
#include "platform/linux/gobject_ptr.h"

namespace platform {
namespace {

constexpr const char* kFolderType = "inode/directory";
constexpr const char* kFileManagerCategory = "FileManager";

using AppInfo = GObjectPtr<GAppInfo>;
using LaunchContext = GObjectPtr<GAppLaunchContext>;
using File = GObjectPtr<GFile>;

bool is_file_manager(GDesktopAppInfo* app) {
  const char* categories = g_desktop_app_info_get_categories(app);
  if (categories == nullptr) return false;
  gchar** list = g_strsplit(categories, ";", -1);
  bool found = g_strv_contains(const_cast<const gchar* const*>(list), kFileManagerCategory);
  g_strfreev(list);
  return found;
}

std::string without_trailing_slashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The folder to open to show the item: the folder that holds it, or the
// folder itself when nothing holds it.
std::string folder_to_open(const std::string& item) {
  std::string path = without_trailing_slashes(item);
  if (is_unselectable_folder(path)) return path;
  if (path.find('/') == std::string::npos) return path;
  return files::parent_of(path);
}

std::vector<std::string> folders_to_open(const std::vector<std::string>& paths) {
  std::vector<std::string> folders;
  for (const auto& path : paths) {
    std::string folder = folder_to_open(path);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  return folders;
}

void bus_launch_answered(GObject* app, GAsyncResult* result, gpointer data) {
  std::unique_ptr<FileManager::Answer> answered(static_cast<FileManager::Answer*>(data));
  GError* raw = nullptr;
  gboolean ok = g_app_info_launch_uris_finish(G_APP_INFO(app), result, &raw);
  GErrorPtr error(raw);
  (*answered)(ok ? OSErr{noErr} : OSErr{connectionInvalid});
}

class FolderHandlerFileManager final : public FileManager {
 public:
  explicit FolderHandlerFileManager(AppInfo app) : m_app(std::move(app)) {}

  std::string identity() const override {
    const char* id = g_app_info_get_id(m_app.get());
    return std::string("app:") + (id ? id : "");
  }
  std::string name() const override { return g_app_info_get_name(m_app.get()); }
  std::string application_path() const override {
    const char* file = g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(m_app.get()));
    return file ? file : "";
  }

  // Opens each item's parent folder once. The startup id goes into the
  // launched program's environment under both names desktops use for it.
  // A spawn's answer is known at once; an application the session bus
  // starts (DBusActivatable) answers later.
  OSErr show_items(const std::vector<std::string>& paths, const std::string& startup_id,
                   int /*timeout_ms*/, Answer answered) override {
    std::vector<std::string> folders = folders_to_open(paths);
    LaunchContext context(g_app_launch_context_new());
    if (!startup_id.empty()) {
      g_app_launch_context_setenv(context.get(), "DESKTOP_STARTUP_ID", startup_id.c_str());
      g_app_launch_context_setenv(context.get(), "XDG_ACTIVATION_TOKEN", startup_id.c_str());
    }
    if (g_desktop_app_info_get_boolean(G_DESKTOP_APP_INFO(m_app.get()), "DBusActivatable")) {
      return open_over_bus(folders, context.get(), std::move(answered));
    }
    std::vector<File> files;
    GList* list = nullptr;
    for (const auto& folder : folders) {
      files.emplace_back(g_file_new_for_path(folder.c_str()));
      list = g_list_append(list, files.back().get());
    }
    gboolean launched = g_app_info_launch(m_app.get(), list, context.get(), nullptr);
    g_list_free(list);
    if (!launched) return connectionInvalid;
    answered(noErr);
    return noErr;
  }

 private:
  OSErr open_over_bus(const std::vector<std::string>& folders, GAppLaunchContext* context,
                      Answer answered) {
    std::vector<GCharPtr> uris;
    GList* list = nullptr;
    for (const auto& folder : folders) {
      uris.emplace_back(g_filename_to_uri(folder.c_str(), nullptr, nullptr));
      if (!uris.back()) return paramErr;
      list = g_list_append(list, uris.back().get());
    }
    g_app_info_launch_uris_async(m_app.get(), list, context, nullptr, &bus_launch_answered,
                                 new Answer(std::move(answered)));
    g_list_free(list);
    return noErr;
  }

  AppInfo m_app;
};

}  // namespace

bool is_unselectable_folder(const std::string& path) {
  struct stat self {};
  struct stat holder {};
  std::string folder = without_trailing_slashes(path);
  if (::stat(folder.c_str(), &self) != 0 || !S_ISDIR(self.st_mode)) return false;
  if (::stat((folder + "/..").c_str(), &holder) != 0) return false;
  return self.st_dev != holder.st_dev || self.st_ino == holder.st_ino;
}

std::unique_ptr<FileManager> find_folder_handler_file_manager() {
  AppInfo app(g_app_info_get_default_for_type(kFolderType, FALSE));
  if (!app || !G_IS_DESKTOP_APP_INFO(app.get())) return nullptr;
  if (!is_file_manager(G_DESKTOP_APP_INFO(app.get()))) return nullptr;
  return std::make_unique<FolderHandlerFileManager>(std::move(app));
}

}  // namespace platform
