#include "platform/cf.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <unordered_map>

#include "platform/text.h"
#include "platform/utf.h"

namespace platform {
namespace {

// Every live object, owned here until its last reference is given back.
std::unordered_map<const CFObject*, std::unique_ptr<CFObject>>& live() {
  static std::unordered_map<const CFObject*, std::unique_ptr<CFObject>> table;
  return table;
}

template <typename T>
T* make_object() {
  auto owned = std::make_unique<T>();
  T* raw = owned.get();
  live().emplace(raw, std::move(owned));
  return raw;
}

void destroy(const CFObject* object) {
  live().erase(object);
}

bool encode(const std::string& utf8, CFStringEncoding encoding, std::string& out) {
  if (encoding == kCFStringEncodingUTF8) {
    out = utf8;
    return true;
  }
  if (encoding == kCFStringEncodingMacRoman) return utf8_to_mac_roman_exact(utf8, out);
  return false;
}

}  // namespace

std::size_t live_cf_object_count() {
  return live().size();
}

const CFObject* adopt_cf_object(std::unique_ptr<CFObject> object) {
  const CFObject* raw = object.get();
  if (raw) live().emplace(raw, std::move(object));
  return raw;
}

}  // namespace platform

CFTypeRef CFRetain(CFTypeRef object) {
  if (object) ++const_cast<platform::CFObject*>(object)->references;
  return object;
}

void CFRelease(CFTypeRef object) {
  if (!object) return;
  auto* mutable_object = const_cast<platform::CFObject*>(object);
  if (--mutable_object->references == 0) platform::destroy(object);
}

CFStringEncoding CFStringGetSystemEncoding() {
  return kCFStringEncodingMacRoman;
}

CFStringRef CFStringCreateWithUTF8(std::string text) {
  auto* string = platform::make_object<__CFString>();
  string->utf8 = std::move(text);
  return string;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* text, CFStringEncoding encoding) {
  if (!text) return nullptr;
  if (encoding == kCFStringEncodingMacRoman) {
    return CFStringCreateWithUTF8(platform::mac_roman_to_utf8(text));
  }
  if (encoding != kCFStringEncodingUTF8) return nullptr;
  std::string_view view(text);
  char32_t c = 0;
  for (std::size_t at = 0, n = 0; (n = platform::decode_utf8(view, at, c)) != 0; at += n) {
    if (c == 0xFFFD && n == 1 && static_cast<unsigned char>(view[at]) >= 0x80) return nullptr;
  }
  return CFStringCreateWithUTF8(std::string(view));
}

CFIndex CFStringGetLength(CFStringRef string) {
  return string ? static_cast<CFIndex>(platform::utf8_to_utf16(string->utf8).size()) : 0;
}

void CFStringGetCharacters(CFStringRef string, CFRange range, UniChar* buffer) {
  if (!string || !buffer || range.location < 0 || range.length < 0) return;
  std::u16string units = platform::utf8_to_utf16(string->utf8);
  for (CFIndex i = 0; i < range.length && range.location + i < static_cast<CFIndex>(units.size());
       ++i) {
    buffer[i] = units[static_cast<std::size_t>(range.location + i)];
  }
}

Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding) {
  if (!string || !buffer || bufferSize <= 0) return false;
  buffer[0] = '\0';
  std::string bytes;
  if (!platform::encode(string->utf8, encoding, bytes)) return false;
  if (static_cast<CFIndex>(bytes.size()) + 1 > bufferSize) return false;
  std::memcpy(buffer, bytes.data(), bytes.size());
  buffer[bytes.size()] = '\0';
  return true;
}

Boolean CFStringGetPascalString(CFStringRef string, StringPtr buffer, CFIndex bufferSize,
                                CFStringEncoding encoding) {
  if (!string || !buffer || bufferSize <= 0) return false;
  buffer[0] = 0;
  std::string bytes;
  if (!platform::encode(string->utf8, encoding, bytes)) return false;
  if (static_cast<CFIndex>(bytes.size()) + 1 > bufferSize || bytes.size() > 255) return false;
  std::memcpy(buffer + 1, bytes.data(), bytes.size());
  buffer[0] = static_cast<unsigned char>(bytes.size());
  return true;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* valuePtr) {
  if (!valuePtr) return nullptr;
  auto* number = platform::make_object<__CFNumber>();
  switch (type) {
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
      number->integer = *static_cast<const std::int32_t*>(valuePtr);
      break;
    case kCFNumberSInt64Type:
      number->integer = *static_cast<const std::int64_t*>(valuePtr);
      break;
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
      number->is_float = true;
      number->real = *static_cast<const float*>(valuePtr);
      break;
    default:
      number->is_float = true;
      number->real = *static_cast<const double*>(valuePtr);
      break;
  }
  return number;
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* valuePtr) {
  if (!number || !valuePtr) return false;
  double as_real = number->is_float ? number->real : static_cast<double>(number->integer);
  std::int64_t as_integer =
      number->is_float ? static_cast<std::int64_t>(number->real) : number->integer;
  bool exact = !number->is_float || std::trunc(number->real) == number->real;
  switch (type) {
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
      *static_cast<std::int32_t*>(valuePtr) = static_cast<std::int32_t>(as_integer);
      return exact && as_integer >= std::numeric_limits<std::int32_t>::min() &&
             as_integer <= std::numeric_limits<std::int32_t>::max();
    case kCFNumberSInt64Type:
      *static_cast<std::int64_t*>(valuePtr) = as_integer;
      return exact;
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
      *static_cast<float*>(valuePtr) = static_cast<float>(as_real);
      return true;
    default:
      *static_cast<double*>(valuePtr) = as_real;
      return true;
  }
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef path, CFURLPathStyle,
                                       Boolean isDirectory) {
  if (!path || path->utf8.empty() || path->utf8[0] != '/') return nullptr;
  auto* url = platform::make_object<__CFURL>();
  url->path = path->utf8;
  url->is_directory = isDirectory;
  return url;
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle) {
  if (!url) return nullptr;
  std::string path = url->path;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return CFStringCreateWithUTF8(std::move(path));
}

CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef, CFURLRef url, CFStringRef component,
                                               Boolean isDirectory) {
  if (!url || !component || component->utf8.empty()) return nullptr;
  auto* appended = platform::make_object<__CFURL>();
  appended->path = url->path;
  if (appended->path.empty() || appended->path.back() != '/') appended->path += '/';
  appended->path += component->utf8;
  appended->is_directory = isDirectory;
  return appended;
}

namespace {

// The bytes of one code point in the encoding; empty when it has no form and
// no loss byte stands in for it.
std::string encode_one(char32_t c, CFStringEncoding encoding, UInt8 loss_byte) {
  std::string utf8;
  platform::append_utf8(utf8, c);
  if (encoding == kCFStringEncodingUTF8) return utf8;
  int byte = platform::unicode_to_mac_roman(c);
  if (byte >= 0) return std::string(1, static_cast<char>(byte));
  if (loss_byte == 0) return {};
  std::string nearest = platform::utf8_to_mac_roman_lossy(utf8);
  // The lossy conversion marks a character without any near form with "?".
  if (nearest == "?" && c != U'?') nearest = std::string(1, static_cast<char>(loss_byte));
  return nearest;
}

}  // namespace

CFIndex CFStringGetBytes(CFStringRef string, CFRange range, CFStringEncoding encoding,
                         UInt8 lossByte, Boolean, UInt8* buffer, CFIndex maxBufLen,
                         CFIndex* usedBufLen) {
  CFIndex converted = 0, used = 0;
  if (string && range.location >= 0 && range.length >= 0 &&
      (encoding == kCFStringEncodingMacRoman || encoding == kCFStringEncodingUTF8)) {
    std::u16string units = platform::utf8_to_utf16(string->utf8);
    CFIndex end =
        std::min<CFIndex>(range.location + range.length, static_cast<CFIndex>(units.size()));
    std::u16string_view in(units.data(), static_cast<std::size_t>(std::max<CFIndex>(end, 0)));
    for (CFIndex at = range.location; at < end;) {
      char32_t c = 0;
      auto width =
          static_cast<CFIndex>(platform::decode_utf16(in, static_cast<std::size_t>(at), c));
      std::string bytes = encode_one(c, encoding, lossByte);
      if (bytes.empty()) break;
      if (buffer && used + static_cast<CFIndex>(bytes.size()) > maxBufLen) break;
      if (buffer) std::memcpy(buffer + used, bytes.data(), bytes.size());
      used += static_cast<CFIndex>(bytes.size());
      converted += width;
      at += width;
    }
  }
  if (usedBufLen) *usedBufLen = used;
  return converted;
}
