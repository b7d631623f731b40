// Prints what tavrine learns about a picture from its headers: the pixel width
// and height and the colour profile's name, one per line, like
//
//   ImageWidth         : 720
//   ImageHeight        : 360
//   ProfileDescription : sRGB IEC61966-2.1
//
// A missing value leaves its line out. Exit status 1 when the file gives no
// metadata item. scripts/bench-vs-exiftool times this program, whole process
// against whole process, against exiftool printing the same three tags.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "platform/metadata.h"

static void PrintNumber(MDItemRef item, CFStringRef name, const char* label) {
  auto number = static_cast<CFNumberRef>(MDItemCopyAttribute(item, name));
  if (number == nullptr) return;
  long long value = 0;
  CFNumberGetValue(number, kCFNumberSInt64Type, &value);
  std::printf("%-19s: %lld\n", label, value);
  CFRelease(number);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PICTURE\n", argv[0]);
    return 2;
  }
  // The metadata item wants an absolute path.
  std::string absolute = argv[1];
  char folder[PATH_MAX];
  if (absolute[0] != '/' && getcwd(folder, sizeof folder)) absolute = folder + ("/" + absolute);
  CFStringRef path = CFStringCreateWithUTF8(absolute);
  MDItemRef item = MDItemCreate(kCFAllocatorDefault, path);
  CFRelease(path);
  if (item == nullptr) return 1;
  PrintNumber(item, kMDItemPixelWidth, "ImageWidth");
  PrintNumber(item, kMDItemPixelHeight, "ImageHeight");
  auto profile = static_cast<CFStringRef>(MDItemCopyAttribute(item, kMDItemProfileName));
  if (profile) std::printf("%-19s: %s\n", "ProfileDescription", profile->utf8.c_str());
  CFRelease(profile);
  CFRelease(item);
  return 0;
}
