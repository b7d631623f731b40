// What a file's metadata item says, for the metadata tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/metadata.h"
#include "tests/support/picture_files.h"
#include "tests/support/sandbox.h"

namespace testing_support {

// What one file's item says: -1 for a missing size, "-" for a missing profile.
struct Attributes {
  bool has_item = false;
  long width = -1;
  long height = -1;
  std::string profile = "-";
};

inline long number_attribute(MDItemRef item, CFStringRef name) {
  auto number = static_cast<CFNumberRef>(MDItemCopyAttribute(item, name));
  if (!number) return -1;
  int value = 0;
  CFNumberGetValue(number, kCFNumberIntType, &value);
  CFRelease(number);
  return value;
}

inline Attributes read_attributes(const std::string& path) {
  Attributes a;
  CFStringRef cf_path = CFStringCreateWithUTF8(path);
  MDItemRef item = MDItemCreate(kCFAllocatorDefault, cf_path);
  CFRelease(cf_path);
  if (!item) return a;
  a.has_item = true;
  a.width = number_attribute(item, kMDItemPixelWidth);
  a.height = number_attribute(item, kMDItemPixelHeight);
  auto profile = static_cast<CFStringRef>(MDItemCopyAttribute(item, kMDItemProfileName));
  if (profile) a.profile = profile->utf8;
  CFRelease(profile);
  CFRelease(item);
  return a;
}

class MetadataTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("LC_ALL", "en_US.UTF-8", 1); }
  void TearDown() override { EXPECT_EQ(platform::live_cf_object_count(), 0u); }

  Attributes read_bytes(const ByteString& bytes, const char* name = "picture") {
    return read_attributes(m_folder.write(name, bytes));
  }

  TempDir m_folder;
};

}  // namespace testing_support
