// Paths in short texts: every path the file system can name crosses into 255
// Mac Roman characters and resolves back to the same item, at every folder,
// and only to it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/linux/files_internal.h"
#include "platform/text.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/hard_places.h"

namespace {

using std::filesystem::path;

struct Reached {
  OSStatus status;
  dev_t device = 0;
  ino_t inode = 0;
};

// Where a Mac Roman path leads once the platform reads it as UTF-8.
Reached Resolve(const std::string& mac) {
  std::string utf8 = platform::mac_roman_to_utf8(mac);
  FSRef ref;
  OSStatus status = FSPathMakeRef(reinterpret_cast<const UInt8*>(utf8.c_str()), &ref, nullptr);
  return {status, ref.device, ref.inode};
}

::testing::AssertionResult LeadsTo(const std::string& mac, const path& item) {
  Reached reached = Resolve(mac);
  struct stat st;
  if (::stat(item.c_str(), &st) != 0) return ::testing::AssertionFailure() << item << " is gone";
  if (reached.status != noErr)
    return ::testing::AssertionFailure() << mac << " gives " << reached.status;
  if (reached.device != st.st_dev || reached.inode != st.st_ino)
    return ::testing::AssertionFailure() << mac << " leads elsewhere than " << item;
  return ::testing::AssertionSuccess();
}

// The text up to and including its n-th "/".
std::string UpToSlash(const std::string& text, std::size_t n) {
  std::size_t at = 0;
  for (std::size_t seen = 0; seen < n; ++at) {
    if (text[at] == '/') ++seen;
  }
  return text.substr(0, at);
}

class ShortPaths : public ::testing::Test {
 protected:
  testing_support::Folder box;
  path root = box.root();
};

TEST_F(ShortPaths, PlainPathsThatFitStayByteForByte) {
  path picture = root / "Jobs" / "Caf\xC3\xA9 #2" / "cover.tif";
  testing_support::write_file(picture, "II*\0");
  std::string mac = platform::short_text_of(picture.string());
  std::string expected = root.string() + "/Jobs/Caf\x8E #2/cover.tif";
  EXPECT_EQ(mac, expected);
  EXPECT_EQ(platform::text_of_short_text(mac), picture.string());
  EXPECT_EQ(platform::short_text_of("Adobe RGB (1998)"), "Adobe RGB (1998)");
  EXPECT_EQ(platform::short_text_of("/no/such/Изображения"), "/no/such/???????????");
}

TEST_F(ShortPaths, EveryHardPlaceFitsAndLeadsBackAtEveryFolder) {
  for (const auto& place : testing_support::make_hard_places(
           root, path(TAVRINE_SOURCE_DIR) / "samples" / "sample-srgb.jpg")) {
    SCOPED_TRACE(place.label);
    const std::string real = place.picture.string();
    std::string mac = platform::short_text_of(real);
    ASSERT_LE(mac.size(), 255u);
    EXPECT_TRUE(LeadsTo(mac, place.picture));
    EXPECT_EQ(platform::text_of_short_text(mac), real);
    // One "/" for each folder, so that the path can be cut at any of them.
    std::size_t slashes = std::count(real.begin(), real.end(), '/');
    ASSERT_EQ(std::size_t(std::count(mac.begin(), mac.end(), '/')), slashes) << mac;
    for (std::size_t n = 1; n < slashes; ++n) {
      EXPECT_TRUE(LeadsTo(UpToSlash(mac, n), UpToSlash(real, n))) << n;
    }
  }
}

TEST_F(ShortPaths, NamesThatShortenAlikeNeverLeadToEachOther) {
  path folder = root / "Изображения";
  path a = folder / "обложка.jpg", b = folder / "облажка.jpg";
  testing_support::write_file(a, "a");
  testing_support::write_file(b, "b");
  std::string to_a = platform::short_text_of(a.string());
  std::string to_b = platform::short_text_of(b.string());
  EXPECT_NE(to_a, to_b);
  EXPECT_TRUE(LeadsTo(to_a, a));
  EXPECT_TRUE(LeadsTo(to_b, b));

  // Renamed, the file no longer bears the form handed out for it.
  testing_support::fs::rename(a, folder / "другое.jpg");
  EXPECT_EQ(Resolve(to_a).status, fnfErr);
  // Another name's form with this file's inode leads nowhere either.
  std::string inode_of_b = to_b.substr(to_b.rfind('#'));
  EXPECT_EQ(Resolve(to_a.substr(0, to_a.rfind('/') + 1) + "Zzz" + inode_of_b).status, fnfErr);
  // A file that bears another's shortened form as its real name is taken as
  // named; the path of the other is then handed out in another form.
  std::string b_form = to_b.substr(to_b.rfind('/') + 1);
  testing_support::write_file(folder / platform::mac_roman_to_utf8(b_form), "impostor");
  std::string again = platform::short_text_of(b.string());
  EXPECT_NE(again, to_b);
  EXPECT_TRUE(LeadsTo(again, b)) << again;
}

TEST_F(ShortPaths, ShortenedComponentsResolveAtAnyDepth) {
  path deep = root / "Φωτογραφίες" / "写真" / "Изображения";
  testing_support::write_file(deep / "εξώφυλλο.tif", "II*\0");
  std::string mac = platform::short_text_of((deep / "εξώφυλλο.tif").string());
  for (const char* name : {"Φωτογραφίες", "写真", "Изображения", "εξώφυλλο.tif"}) {
    EXPECT_EQ(mac.find(name), std::string::npos) << "each non-Latin name is shortened";
  }
  FSSpec spec;
  std::string utf8 = platform::mac_roman_to_utf8(mac);
  FSRef ref;
  ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(utf8.c_str()), &ref, nullptr), noErr);
  EXPECT_EQ(ref.path, (deep / "εξώφυλλο.tif").string());
  ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), noErr);
  // A folder on the way that is a file stops the walk.
  std::string through_file = utf8 + "/more";
  EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(through_file.c_str()), &ref, nullptr),
            dirNFErr);
}

}  // namespace
