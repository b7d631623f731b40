#include "platform/launch.h"
#include "platform/linux/files_internal.h"

OSStatus LSCopyDisplayNameForRef(const FSRef* inRef, CFStringRef* outDisplayName) {
  if (!inRef || !outDisplayName) return paramErr;
  OSErr err = platform::files::verify_ref(*inRef);
  if (err != noErr) return err;
  std::string name = platform::files::name_of(inRef->path);
  *outDisplayName = CFStringCreateWithUTF8(name.empty() ? "/" : name);
  return noErr;
}
