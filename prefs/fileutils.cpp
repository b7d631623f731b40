#include "prefs/fileutils.h"

#include <cstring>

#include "platform/files.h"
#include "platform/launch.h"

namespace {

// Room for a converted path: a Mac Roman character takes at most three UTF-8
// bytes, and the paths the program builds are at most 255 characters.
constexpr CFIndex kMaxUTF8Path = 4096;

}  // namespace

OSErr FSPathMakeFSSpec(const UInt8* path, FSSpec* spec, Boolean* isDirectory) {
  // Our paths are Mac Roman text and the file system's are UTF-8: a folder
  // named "Café" only resolves once its é is spelled the file system's way.
  const char* macRomanPath = reinterpret_cast<const char*>(path);
  char utf8Path[kMaxUTF8Path];
  Boolean converted = false;
  CFStringRef pathString =
      CFStringCreateWithCString(kCFAllocatorDefault, macRomanPath, kCFStringEncodingMacRoman);
  if (pathString != nullptr) {
    converted = CFStringGetCString(pathString, utf8Path, sizeof utf8Path, kCFStringEncodingUTF8);
    CFRelease(pathString);
  }
  FSRef ref;
  OSStatus err =
      FSPathMakeRef(converted ? reinterpret_cast<const UInt8*>(utf8Path) : path, &ref, isDirectory);

  // A caller that handed us UTF-8 already still finds its file.
  if (err != noErr && converted && std::strcmp(macRomanPath, utf8Path) != 0)
    err = FSPathMakeRef(path, &ref, isDirectory);

  if (err != noErr) return static_cast<OSErr>(err);  // cut to 16 bits
  return FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, spec, nullptr);
}

CFStringRef CopyPOSIXPath(FSSpec spec) {
  FSRef ref;
  if (FSpMakeFSRef(&spec, &ref) != noErr) return nullptr;
  CFURLRef url = CFURLCreateFromFSRef(kCFAllocatorDefault, &ref);
  if (url == nullptr) return nullptr;
  CFStringRef path = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
  CFRelease(url);
  return path;
}

OSErr MyMakeFolderFSSpec(FSSpec* spec, SInt16 level, ConstStr255Param path, SInt32 count) {
  // Computed in 32 bits, wrapping like the machine does.
  auto target = static_cast<SInt32>(static_cast<UInt32>(count) - static_cast<UInt32>(level));
  Str255 folderPath;
  folderPath[0] = 0;
  SInt16 slashes = 0;
  for (short i = 1; i <= path[0]; i++) {
    folderPath[++folderPath[0]] = path[i];
    if (path[i] == '/') slashes++;
    if (slashes == target) break;
  }
  char cPath[256];
  CopyPascalStringToC(folderPath, cPath);
  return FSPathMakeFSSpec(reinterpret_cast<const UInt8*>(cPath), spec, nullptr);
}

void GetFileNameFromFileFSSpec(FSSpec spec, StringPtr name) {
  name[0] = 0;
  FSRef ref;
  if (FSpMakeFSRef(&spec, &ref) != noErr) return;
  CFStringRef displayName = nullptr;
  if (LSCopyDisplayNameForRef(&ref, &displayName) != noErr) return;
  if (!CFStringGetPascalString(displayName, name, 255, kCFStringEncodingMacRoman)) {
    // A name without a Mac Roman form, or longer than 254 characters, is
    // written as nearly as it can be: an application named in another
    // script must not show up as an empty row.
    CFIndex used = 0;
    CFStringGetBytes(displayName, CFRangeMake(0, CFStringGetLength(displayName)),
                     kCFStringEncodingMacRoman, '?', false, name + 1, 254, &used);
    name[0] = static_cast<unsigned char>(used);
  }
  CFRelease(displayName);
}

Boolean FileExists(FSSpec spec) {
  Str255 emptyName;
  emptyName[0] = 0;
  if (spec.vRefNum == 0 && spec.parID == 0 && CompareString(spec.name, emptyName, nullptr) == 0)
    return false;

  CInfoPBRec pb;
  pb.hFileInfo.ioNamePtr = spec.name;
  pb.hFileInfo.ioVRefNum = spec.vRefNum;
  pb.hFileInfo.ioDirID = spec.parID;
  pb.hFileInfo.ioFDirIndex = 0;
  return PBGetCatInfoSync(&pb) == noErr;
}
