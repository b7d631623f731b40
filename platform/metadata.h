// The Metadata framework: the pixel size and the colour profile name of a
// picture file.
//
// On Linux the item is made by reading the picture's headers at once, never
// its pixel data, with a small reader per format: JPEG, TIFF (and BigTIFF),
// PNG, PSD (and PSB), GIF, WebP, BMP, JPEG 2000 (boxed or a bare code
// stream), HEIF and AVIF. HEIF and AVIF give the displayed size, after the
// crop and the rotation the file asks for. lcms2 checks the profile and gives
// its description, but for a version 2 description, which is read here so
// that its Unicode record is used. exiv2 0.27 was measured first and set
// aside: it copies every TIFF tag (520 ms for a layered TIFF's 200 MB layer tag),
// walks a whole PNG or WebP, misses PSD and BMP profiles, turns down JPEG 2000
// profiles, takes the largest HEIF size rather than the picture's, and
// loading it doubles a small program's start-up.
//
// Only regular files are read; a FIFO, a device or a folder never gives an
// item and never blocks. The headers are read with a few bounded reads into
// buffers of the reader's own: a file that another program changes or cuts
// short while it is read gives the values read before, or no item.
#pragma once

#include "platform/cf.h"

// What was learnt about one file. Attributes that the file does not carry are
// absent.
struct __MDItem : platform::CFObject {
  std::int64_t pixel_width = 0;   // 0 when the file does not say
  std::int64_t pixel_height = 0;  // 0 when the file does not say
  std::string profile_name;       // UTF-8; empty when there is none
};
using MDItemRef = __MDItem*;

// Attribute names. A string with the same text names the same attribute.
extern const CFStringRef kMDItemPixelWidth;   // a number
extern const CFStringRef kMDItemPixelHeight;  // a number
extern const CFStringRef kMDItemProfileName;  // a string: the profile's description

// Makes the item of the file at an absolute POSIX path (UTF-8). Null when the
// path names no regular file, the file cannot be read, or its format is not
// one the reader understands. The caller releases the item with CFRelease.
MDItemRef MDItemCreate(CFAllocatorRef allocator, CFStringRef path);

// The value of one attribute, or null when the item does not carry it. The
// caller releases the value with CFRelease.
CFTypeRef MDItemCopyAttribute(MDItemRef item, CFStringRef name);
