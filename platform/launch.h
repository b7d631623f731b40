// Launch Services: the application for a document, display names, and opening
// a document with an application. Backed by GIO: an item's content type (by
// its contents and its name) and the desktop's default application for it
// (the mime-apps rules); an application is a desktop entry (.desktop file) or
// an executable file. Entries that are Hidden, or whose TryExec program is
// missing, do not count as applications.
#pragma once

#include "platform/cf.h"
#include "platform/files.h"
#include "platform/types.h"

using LSRolesMask = UInt32;
using LSRequestedInfo = UInt32;
using LSLaunchFlags = UInt32;

enum : LSRolesMask {
  kLSRolesNone = 1,
  kLSRolesViewer = 2,
  kLSRolesEditor = 4,
  kLSRolesAll = 0xFFFFFFFF
};
enum : LSRequestedInfo { kLSRequestExtension = 1 };
enum : LSLaunchFlags { kLSLaunchDefaults = 1 };

struct LSItemInfoRecord {
  UInt32 flags;
  OSType filetype;
  OSType creator;
  CFStringRef extension;  // owned by the caller when requested
};

struct LSLaunchFSRefSpec {
  const FSRef* appRef;
  UInt32 numDocs;
  const FSRef* itemRefs;
  const void* passThruParams;
  LSLaunchFlags launchFlags;
  void* asyncRefCon;
};

// The application that opens this item by default: its content type, sniffed
// from the first bytes and guessed from the name, and the default application
// for that type; where that default is hidden or tavrine's own entry, the
// type's next handler. kLSApplicationNotFoundErr when there is none. The
// item's content type is noted for the chooser's recommendations.
OSStatus LSGetApplicationForItem(const FSRef* inItemRef, LSRolesMask inRoleMask, FSRef* outAppRef,
                                 CFURLRef* outAppURL);
// The application for a file type (a type code mapped to a content type) or,
// when the type is 0, for a file-name extension alone. The creator code is not
// used: Linux applications carry no signature.
OSStatus LSGetApplicationForInfo(OSType inType, OSType inCreator, CFStringRef inExtension,
                                 LSRolesMask inRoleMask, FSRef* outAppRef, CFURLRef* outAppURL);
// With kLSRequestExtension: the item's file-name extension (without the dot),
// or null when the name has none.
OSStatus LSCopyItemInfoForRef(const FSRef* inItemRef, LSRequestedInfo inWhichInfo,
                              LSItemInfoRecord* outItemInfo);
// The name a user sees: a desktop entry's localized Name, else the file name.
// Since the program shows it in Mac Roman, a localized Name without a Mac
// Roman form gives way to the entry's untranslated Name, and when that has
// none either, to the localized Name in Latin letters ("Просмотр
// изображений" reads "Prosmotr izobrazenij"), never a row of "?". A file
// name without a Mac Roman form is given in Latin letters too.
OSStatus LSCopyDisplayNameForRef(const FSRef* inRef, CFStringRef* outDisplayName);
// Opens the documents with the application: a desktop entry is launched with
// GIO, an executable is started with the documents as its arguments. Fails for
// an entry that is gone, hidden, whose TryExec is missing, or whose program
// cannot be started, for tavrine itself (kLSApplicationNotFoundErr: a picture
// is never handed back to this program), and for a document that is gone. An
// entry that the session bus starts (DBusActivatable) is asked without
// waiting for its answer; a failure that arrives later (no such service on
// the bus, or the application refuses) sounds the bell once.
OSStatus LSOpenFromRefSpec(const LSLaunchFSRefSpec* inLaunchSpec, FSRef* outLaunchedRef);

namespace platform {

// True when the file is an application: a valid, shown desktop entry or an
// executable regular file.
bool is_application(const std::string& path);
// True for tavrine itself: a desktop entry named tavrine.desktop, or the
// running program's own file.
bool is_own_application(const std::string& path);
// The content type for a type code ("JPEG" gives image/jpeg), or empty.
const char* content_type_for_file_type(OSType type);

}  // namespace platform
