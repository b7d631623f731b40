// Bundles: the application's own bundle (the folder of its resources), the
// date it carries, and plug-in bundles found by their identifier. Backed by
// the file system.
#pragma once

#include <string>
#include <string_view>

#include "platform/cf.h"

namespace platform {

// The application bundle's folder, as the framework found it at start-up;
// empty until then.
const std::string& main_bundle_path();
void set_main_bundle_path(std::string path);

// Sets a file's or folder's modification time to now. Returns false when the
// file system refuses (a read-only bundle keeps its date).
bool touch_modification_date(const std::string& path);

// The CFBundleIdentifier of an Info.plist (XML property list) text; empty
// when it has none.
std::string bundle_identifier_from_plist(std::string_view plist);

}  // namespace platform

// A plug-in bundle: a folder holding Contents/Info.plist, its resources in
// Contents/Resources.
struct __CFBundle : platform::CFObject {
  std::string path;
  std::string identifier;
};
using CFBundleRef = __CFBundle*;

// The bundle whose Info.plist carries the identifier, looked up in these
// folders in order, the first found winning: the application bundle's
// PlugIns folder, then the PlugIns folder under tavrine in $XDG_DATA_HOME
// (default ~/.local/share) and in each folder of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share). Each bundle is a folder directly inside one
// of them (any name, for instance LayoutCursors.bundle). Null when there is
// none. The bundle is not the caller's: it lives as long as the program.
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);

// The URL of an existing resource file in Contents/Resources (or its
// subfolder subDirName): resourceName, with "." and resourceType appended
// when a type is given. Null when there is no such file. The caller releases
// the URL.
CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName);
