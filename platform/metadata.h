// The Metadata framework: the pixel size and the colour profile name of a
// picture file.
//
// On Linux the item is made by reading the picture's headers at once (never
// its pixel data): exiv2 for JPEG and GIF, and readers of our own for TIFF,
// PNG, WebP, BMP, PSD, JPEG 2000, HEIF and AVIF, where exiv2 0.27 would read
// far more than the headers, misses the profile or picks the wrong image. The profile's description
// comes from lcms2. Only regular files are read; a FIFO, a device or a folder never gives an item
// and never blocks.
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
