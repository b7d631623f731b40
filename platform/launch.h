// Launch Services: how the desktop names an item.
#pragma once

#include "platform/cf.h"
#include "platform/files.h"

// The name the file manager shows for an item: for a plain file or folder
// its file name ("/" for the root). A new string the caller releases.
// fnfErr when the reference no longer leads to its item.
OSStatus LSCopyDisplayNameForRef(const FSRef* inRef, CFStringRef* outDisplayName);
