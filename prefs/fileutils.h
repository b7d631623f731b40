// Conversions between the three ways the program names a file: a POSIX path,
// an FSSpec (volume, folder and name) and an FSRef. None of them
// shows anything; failures come back as a status, null, empty text or false.
#pragma once

#include "platform/cf.h"
#include "platform/types.h"

// The FSSpec of the item at path. The path is the program's own text (Mac
// Roman bytes, NUL-ended) and is turned into the file system's UTF-8 before
// it is resolved; when that names nothing but the bytes are UTF-8 already,
// they are tried as they are. isDirectory, when given, says whether it is a
// folder. Returns fnfErr for a missing item; spec is then not filled.
OSErr FSPathMakeFSSpec(const UInt8* path, FSSpec* spec, Boolean* isDirectory);

// The POSIX path of the item (without a trailing "/", except "/" itself) as a
// new string that the caller releases; null when the FSSpec leads nowhere.
CFStringRef CopyPOSIXPath(FSSpec spec);

// The FSSpec of the folder of path (a short text) that ends with its
// (count - level)-th "/"; the item itself when the path has fewer slashes or
// that number is 0 or less. Returns the status of FSPathMakeFSSpec.
OSErr MyMakeFolderFSSpec(FSSpec* spec, SInt16 level, ConstStr255Param path, SInt32 count);

// The item's display name as Mac Roman short text (at most 254 characters)
// in name, which holds at least 255 bytes. Empty when the FSSpec leads
// nowhere or the name has no complete Mac Roman form.
void GetFileNameFromFileFSSpec(FSSpec spec, StringPtr name);

// True when the FSSpec leads to an existing file or folder. The all-empty
// FSSpec (an unused slot) is false without asking the file system.
Boolean FileExists(FSSpec spec);
