// A small stand-in for the Core Foundation objects the program passes around:
// strings, numbers and URLs of files. Objects are reference counted; the
// creator owns one reference and gives it back with CFRelease. Every live
// object is counted so that tests can see each one released.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/types.h"

using CFIndex = long;
using CFStringEncoding = UInt32;
using UniChar = std::uint16_t;
using UniCharCount = unsigned long;
using CFURLPathStyle = long;
using CFNumberType = long;

struct CFRange {
  CFIndex location;
  CFIndex length;
};
inline CFRange CFRangeMake(CFIndex location, CFIndex length) {
  return {location, length};
}

enum : CFStringEncoding {
  kCFStringEncodingMacRoman = 0,
  kCFStringEncodingUTF8 = 0x08000100,
};
enum : CFURLPathStyle { kCFURLPOSIXPathStyle = 0 };
enum : CFNumberType {
  kCFNumberSInt32Type = 3,
  kCFNumberSInt64Type = 4,
  kCFNumberFloat32Type = 5,
  kCFNumberFloat64Type = 6,
  kCFNumberIntType = 9,
  kCFNumberFloatType = 12,
  kCFNumberDoubleType = 13,
};

namespace platform {

struct CFObject {
  virtual ~CFObject() = default;
  long references = 1;
};

// Objects made and not yet released.
std::size_t live_cf_object_count();

// Counts an object that another backing made (a metadata item, a locale) as
// live, with one reference for the caller, and returns it.
const CFObject* adopt_cf_object(std::unique_ptr<CFObject> object);

}  // namespace platform

struct __CFAllocator;
using CFAllocatorRef = const __CFAllocator*;
constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;

// Text, held as UTF-8.
struct __CFString : platform::CFObject {
  std::string utf8;
};
// A number, integral or floating.
struct __CFNumber : platform::CFObject {
  bool is_float = false;
  std::int64_t integer = 0;
  double real = 0;
};
// The URL of a file: its absolute POSIX path (UTF-8) and whether it names a
// folder.
struct __CFURL : platform::CFObject {
  std::string path;
  bool is_directory = false;
};

using CFTypeRef = const platform::CFObject*;
using CFStringRef = const __CFString*;
using CFNumberRef = const __CFNumber*;
using CFURLRef = const __CFURL*;

CFTypeRef CFRetain(CFTypeRef object);
// Gives back one reference; the object goes with the last. Null is ignored.
void CFRelease(CFTypeRef object);

CFStringEncoding CFStringGetSystemEncoding();  // Mac Roman
// Null when the bytes do not decode in the encoding.
CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* text,
                                      CFStringEncoding encoding);
// Creates a string from UTF-8 text; internal convenience for the backings.
CFStringRef CFStringCreateWithUTF8(std::string text);
// Length in UTF-16 units.
CFIndex CFStringGetLength(CFStringRef string);
void CFStringGetCharacters(CFStringRef string, CFRange range, UniChar* buffer);
// Writes NUL-ended text in the encoding into a buffer of bufferSize bytes.
// False (buffer left empty) when the text does not fit or has no form in it.
Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding);
// Writes a short text into a buffer of bufferSize bytes (length byte included),
// so at most bufferSize - 1 characters. False when it does not fit or convert.
Boolean CFStringGetPascalString(CFStringRef string, StringPtr buffer, CFIndex bufferSize,
                                CFStringEncoding encoding);

CFNumberRef CFNumberCreate(CFAllocatorRef alloc, CFNumberType type, const void* valuePtr);
// False when the value does not fit the type exactly (it is still stored, cut).
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* valuePtr);

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef alloc, CFStringRef path, CFURLPathStyle style,
                                       Boolean isDirectory);
// The path without a trailing "/" (except for the root).
CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle style);
CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef alloc, CFURLRef url,
                                               CFStringRef component, Boolean isDirectory);

// Writes the characters of `range` (in UTF-16 units) in the encoding into
// `buffer`, at most maxBufLen bytes. A character without a form in the
// encoding becomes its nearest one when lossByte is not 0 (for Mac Roman: the
// letter without its accent, a no-break space for the narrow one), or lossByte
// when there is none; with lossByte 0 the conversion stops before it. Returns
// the number of UTF-16 units converted; *usedBufLen (when given) gets the
// bytes written. Only Mac Roman and UTF-8 are known; external
// representation is not supported.
CFIndex CFStringGetBytes(CFStringRef string, CFRange range, CFStringEncoding encoding,
                         UInt8 lossByte, Boolean isExternalRepresentation, UInt8* buffer,
                         CFIndex maxBufLen, CFIndex* usedBufLen);
