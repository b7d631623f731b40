// Launch Services on GIO.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/alerts.h"
#include "platform/launch.h"
#include "platform/linux/files_internal.h"
#include "platform/linux/gobject_ptr.h"
#include "platform/linux/launch_context.h"
#include "platform/nav.h"
#include "platform/text.h"

namespace platform {
namespace {

struct TypeCode {
  OSType type;
  const char* content_type;
};

constexpr TypeCode kTypeCodes[] = {
    {FOUR_CHAR_CODE("JPEG"), "image/jpeg"},
    {FOUR_CHAR_CODE("TIFF"), "image/tiff"},
    {FOUR_CHAR_CODE("PNGf"), "image/png"},
    {FOUR_CHAR_CODE("8BPS"), "image/vnd.adobe.photoshop"},
    {FOUR_CHAR_CODE("GIFf"), "image/gif"},
    {FOUR_CHAR_CODE("BMPf"), "image/bmp"},
    {FOUR_CHAR_CODE("BMP "), "image/bmp"},
    {FOUR_CHAR_CODE("jp2 "), "image/jp2"},
    {FOUR_CHAR_CODE("WEBP"), "image/webp"},
    {FOUR_CHAR_CODE("heic"), "image/heif"},
    {FOUR_CHAR_CODE("avif"), "image/avif"},
    {FOUR_CHAR_CODE("EPSF"), "image/x-eps"},
    {FOUR_CHAR_CODE("PDF "), "application/pdf"},
    {FOUR_CHAR_CODE("TEXT"), "text/plain"},
};

// The desktop entry of a file, or null when it is not a usable one.
GObjectPtr<GDesktopAppInfo> desktop_entry(const std::string& path) {
  if (!files::is_desktop_file(path)) return nullptr;
  GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new_from_filename(path.c_str()));
  if (info && g_desktop_app_info_get_is_hidden(info.get())) return nullptr;
  return info;
}

bool is_executable_file(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// A usable desktop entry: not hidden, its TryExec program present (GIO
// already refuses the latter when it loads an entry), and not tavrine's own.
bool usable(GAppInfo* app) {
  if (!app || !G_IS_DESKTOP_APP_INFO(app) ||
      g_desktop_app_info_get_is_hidden(G_DESKTOP_APP_INFO(app)))
    return false;
  const char* id = g_app_info_get_id(app);
  return id == nullptr || std::string_view(id) != kOwnDesktopId;
}

// The default application for a content type; when the default entry is
// hidden or tavrine's own, the first usable one of the type's other handlers.
GObjectPtr<GAppInfo> default_app_for(const char* content_type) {
  GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(content_type, FALSE));
  if (usable(app.get())) return app;
  GObjectListPtr all(g_app_info_get_all_for_type(content_type));
  for (GList* item = all.get(); item; item = item->next) {
    auto* candidate = static_cast<GAppInfo*>(item->data);
    if (usable(candidate)) return GObjectPtr<GAppInfo>(G_APP_INFO(g_object_ref(candidate)));
  }
  return nullptr;
}

OSStatus app_for_content_type(const char* content_type, FSRef* outAppRef, CFURLRef* outAppURL) {
  if (content_type == nullptr || *content_type == '\0') return kLSApplicationNotFoundErr;
  GObjectPtr<GAppInfo> app = default_app_for(content_type);
  if (!app) return kLSApplicationNotFoundErr;
  const char* filename = g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(app.get()));
  FSRef ref;
  if (!filename || files::make_ref(filename, ref) != noErr) return kLSApplicationNotFoundErr;
  if (outAppURL) {
    CFStringRef path = CFStringCreateWithUTF8(ref.path);
    *outAppURL =
        CFURLCreateWithFileSystemPath(kCFAllocatorDefault, path, kCFURLPOSIXPathStyle, false);
    CFRelease(path);
  }
  if (outAppRef) *outAppRef = std::move(ref);
  return noErr;
}

// The answer of a launch through the session bus: a failure (no such
// service, or the application refused) sounds the bell once.
void bus_launch_answered(GObject* app, GAsyncResult* result, gpointer /*data*/) {
  GError* raw_error = nullptr;
  gboolean ok = g_app_info_launch_uris_finish(G_APP_INFO(app), result, &raw_error);
  GErrorPtr error(raw_error);
  if (!ok) SysBeep(5);
}

// An application the session bus starts (DBusActivatable) is asked to open
// the documents, without waiting for it to answer.
OSStatus launch_over_bus(GDesktopAppInfo* entry, const std::vector<std::string>& documents) {
  std::vector<GCharPtr> uris;
  GList* list = nullptr;
  for (const std::string& doc : documents) {
    uris.emplace_back(g_filename_to_uri(doc.c_str(), nullptr, nullptr));
    if (!uris.back()) return fnfErr;
    list = g_list_append(list, uris.back().get());
  }
  auto context = new_launch_context();
  g_app_info_launch_uris_async(G_APP_INFO(entry), list, context.get(), nullptr,
                               &bus_launch_answered, nullptr);
  g_list_free(list);
  return noErr;
}

OSStatus launch_desktop_entry(GDesktopAppInfo* entry, const std::vector<std::string>& documents) {
  if (g_desktop_app_info_get_boolean(entry, "DBusActivatable")) {
    return launch_over_bus(entry, documents);
  }
  GList* files = nullptr;
  for (const std::string& doc : documents)
    files = g_list_append(files, g_file_new_for_path(doc.c_str()));
  GObjectListPtr owned_files(files);
  GError* raw_error = nullptr;
  auto context = new_launch_context();
  gboolean ok = g_app_info_launch(G_APP_INFO(entry), files, context.get(), &raw_error);
  GErrorPtr error(raw_error);
  return ok ? noErr : kLSNoLaunchPermissionErr;
}

OSStatus launch_executable(const std::string& program, const std::vector<std::string>& documents) {
  std::vector<gchar*> argv;
  argv.push_back(const_cast<gchar*>(program.c_str()));
  for (const std::string& doc : documents) argv.push_back(const_cast<gchar*>(doc.c_str()));
  argv.push_back(nullptr);
  GError* raw_error = nullptr;
  gboolean ok = g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr,
                              nullptr, &raw_error);
  GErrorPtr error(raw_error);
  return ok ? noErr : kLSNoLaunchPermissionErr;
}

}  // namespace

const char* content_type_for_file_type(OSType type) {
  for (const TypeCode& code : kTypeCodes) {
    if (code.type == type) return code.content_type;
  }
  return "";
}

bool is_own_application(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::path(path).filename() == kOwnDesktopId) return true;
  return std::filesystem::equivalent(path, "/proc/self/exe", ec);
}

bool is_application(const std::string& path) {
  if (files::is_desktop_file(path)) return desktop_entry(path) != nullptr;
  return is_executable_file(path);
}

}  // namespace platform

OSStatus LSGetApplicationForItem(const FSRef* inItemRef, LSRolesMask, FSRef* outAppRef,
                                 CFURLRef* outAppURL) {
  if (inItemRef == nullptr || inItemRef->path.empty()) return paramErr;
  platform::GObjectPtr<GFile> file(g_file_new_for_path(inItemRef->path.c_str()));
  platform::GObjectPtr<GFileInfo> info(g_file_query_info(file.get(),
                                                         G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                         G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
  const char* type = info ? g_file_info_get_content_type(info.get()) : nullptr;
  platform::note_chooser_document_type(type ? type : "");
  if (!info) return fnfErr;
  return platform::app_for_content_type(type, outAppRef, outAppURL);
}

OSStatus LSGetApplicationForInfo(OSType inType, OSType, CFStringRef inExtension, LSRolesMask,
                                 FSRef* outAppRef, CFURLRef* outAppURL) {
  if (inType != 0) {
    return platform::app_for_content_type(platform::content_type_for_file_type(inType), outAppRef,
                                          outAppURL);
  }
  if (inExtension == nullptr || inExtension->utf8.empty()) return kLSApplicationNotFoundErr;
  std::string name = "file." + inExtension->utf8;
  gboolean uncertain = FALSE;
  platform::GCharPtr type(g_content_type_guess(name.c_str(), nullptr, 0, &uncertain));
  if (uncertain) return kLSApplicationNotFoundErr;
  platform::GCharPtr mime(g_content_type_get_mime_type(type.get()));
  return platform::app_for_content_type(mime ? mime.get() : type.get(), outAppRef, outAppURL);
}

OSStatus LSCopyItemInfoForRef(const FSRef* inItemRef, LSRequestedInfo inWhichInfo,
                              LSItemInfoRecord* outItemInfo) {
  if (inItemRef == nullptr || outItemInfo == nullptr) return paramErr;
  *outItemInfo = {};
  if ((inWhichInfo & kLSRequestExtension) == 0) return noErr;
  const std::string& path = inItemRef->path;
  std::string name = platform::files::name_of(path);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0 && dot + 1 < name.size()) {
    outItemInfo->extension = CFStringCreateWithUTF8(name.substr(dot + 1));
  }
  return noErr;
}

namespace platform {
namespace {

// The name of an entry as it can be read once it passes through Mac Roman:
// the localized Name when it has a Mac Roman form (its own or the nearest),
// else the untranslated Name, else the localized Name in Latin letters.
std::string readable_name(GDesktopAppInfo* entry) {
  std::string localized = g_app_info_get_name(G_APP_INFO(entry));
  if (has_mac_roman_form(localized)) return localized;
  GCharPtr untranslated(g_desktop_app_info_get_string(entry, "Name"));
  if (untranslated && has_mac_roman_form(untranslated.get())) return untranslated.get();
  return latin_transliteration(localized);
}

}  // namespace
}  // namespace platform

OSStatus LSCopyDisplayNameForRef(const FSRef* inRef, CFStringRef* outDisplayName) {
  if (inRef == nullptr || outDisplayName == nullptr) return paramErr;
  *outDisplayName = nullptr;
  struct stat st;
  if (stat(inRef->path.c_str(), &st) != 0) return fnfErr;
  if (auto entry = platform::desktop_entry(inRef->path)) {
    *outDisplayName = CFStringCreateWithUTF8(platform::readable_name(entry.get()));
    return noErr;
  }
  std::string name = platform::files::name_of(inRef->path);
  if (!platform::has_mac_roman_form(name)) name = platform::latin_transliteration(name);
  *outDisplayName = CFStringCreateWithUTF8(name.empty() ? "/" : name);
  return noErr;
}

OSStatus LSOpenFromRefSpec(const LSLaunchFSRefSpec* inLaunchSpec, FSRef* outLaunchedRef) {
  if (inLaunchSpec == nullptr || inLaunchSpec->appRef == nullptr) return paramErr;
  const std::string& app = inLaunchSpec->appRef->path;
  std::vector<std::string> documents;
  for (UInt32 i = 0; i < inLaunchSpec->numDocs; ++i) {
    const std::string& doc = inLaunchSpec->itemRefs[i].path;
    struct stat st;
    if (doc.empty() || stat(doc.c_str(), &st) != 0) return fnfErr;
    documents.push_back(doc);
  }
  if (app.empty() || access(app.c_str(), F_OK) != 0) return kLSApplicationNotFoundErr;
  if (platform::is_own_application(app))
    return kLSApplicationNotFoundErr;  // never hand a picture back to itself
  OSStatus status = kLSApplicationNotFoundErr;
  if (platform::files::is_desktop_file(app)) {
    auto entry = platform::desktop_entry(app);
    if (entry) status = platform::launch_desktop_entry(entry.get(), documents);
  } else if (platform::is_executable_file(app)) {
    status = platform::launch_executable(app, documents);
  }
  if (status == noErr && outLaunchedRef) *outLaunchedRef = *inLaunchSpec->appRef;
  return status;
}
