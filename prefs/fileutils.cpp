#include "prefs/fileutils.h"

#include <string.h>

#include "platform/files.h"
#include "platform/launch.h"

// Room for a converted path: a Mac Roman character takes at most three UTF-8
// bytes, and the paths the program builds are at most 255 characters.
enum { kMaxUTF8Path = 4096 };

OSErr FSPathMakeFSSpec(const UInt8* path, FSSpec* spec, Boolean* isDirectory) {
  FSRef ref;
  OSStatus err;
  char utf8Path[kMaxUTF8Path];
  CFStringRef pathString;
  Boolean converted = false;

  // Our paths are Mac Roman text and the file system's are UTF-8: a folder
  // named "Café" only resolves once its é is spelled the file system's way.
  pathString =
      CFStringCreateWithCString(kCFAllocatorDefault, (const char*)path, kCFStringEncodingMacRoman);
  if (pathString != NULL) {
    converted = CFStringGetCString(pathString, utf8Path, sizeof utf8Path, kCFStringEncodingUTF8);
    CFRelease(pathString);
  }
  err = FSPathMakeRef(converted ? (const UInt8*)utf8Path : path, &ref, isDirectory);

  // A caller that handed us UTF-8 already still finds its file.
  if (err != noErr && converted && strcmp((const char*)path, utf8Path) != 0)
    err = FSPathMakeRef(path, &ref, isDirectory);

  if (err != noErr) return (OSErr)err;  // cut to 16 bits
  return FSGetCatalogInfo(&ref, kFSCatInfoNone, NULL, NULL, spec, NULL);
}

CFStringRef CopyPOSIXPath(FSSpec spec) {
  FSRef ref;
  CFURLRef url;
  CFStringRef path = NULL;

  if (FSpMakeFSRef(&spec, &ref) != noErr) return NULL;
  url = CFURLCreateFromFSRef(kCFAllocatorDefault, &ref);
  if (url != NULL) {
    path = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
    CFRelease(url);
  }
  return path;
}

OSErr MyMakeFolderFSSpec(FSSpec* spec, SInt16 level, ConstStr255Param path, SInt32 count) {
  // Computed in 32 bits, wrapping like the machine does.
  SInt32 target = (SInt32)((UInt32)count - (UInt32)(SInt32)level);
  Str255 folderPath;
  SInt16 slashes = 0;
  char cPath[256];
  short i;

  folderPath[0] = 0;
  for (i = 1; i <= path[0]; i++) {
    folderPath[++folderPath[0]] = path[i];
    if (path[i] == '/') slashes++;
    if (slashes == target) break;
  }
  CopyPascalStringToC(folderPath, cPath);
  return FSPathMakeFSSpec((const UInt8*)cPath, spec, NULL);
}

void GetFileNameFromFileFSSpec(FSSpec spec, StringPtr name) {
  FSRef ref;
  CFStringRef displayName = NULL;

  name[0] = 0;
  if (FSpMakeFSRef(&spec, &ref) != noErr) return;
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
  CInfoPBRec pb;
  Str255 emptyName;

  emptyName[0] = 0;
  if (spec.vRefNum == 0 && spec.parID == 0 && CompareString(spec.name, emptyName, NULL) == 0)
    return false;

  pb.hFileInfo.ioNamePtr = spec.name;
  pb.hFileInfo.ioVRefNum = spec.vRefNum;
  pb.hFileInfo.ioDirID = spec.parID;
  pb.hFileInfo.ioFDirIndex = 0;
  return PBGetCatInfoSync(&pb) == noErr;
}
