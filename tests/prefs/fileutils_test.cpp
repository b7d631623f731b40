// Paths, file specifications and names on a real tree laid out like
// /Volumes/Disk/Folder/pic.tif inside a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/files.h"
#include "prefs/fileutils.h"
#include "tests/support/file_sandbox.h"

namespace {

using std::filesystem::path;

FSSpec Sentinel() {
  FSSpec spec;
  std::memset(&spec, 0xAB, sizeof spec);
  return spec;
}

bool IsSentinel(const FSSpec& spec) {
  FSSpec sentinel = Sentinel();
  return std::memcmp(&spec, &sentinel, sizeof spec) == 0;
}

OSErr MakeSpec(const std::string& bytes, FSSpec& spec) {
  return FSPathMakeFSSpec(reinterpret_cast<const UInt8*>(bytes.c_str()), &spec, nullptr);
}

std::string PosixPath(const FSSpec& spec) {
  CFStringRef text = CopyPOSIXPath(spec);
  if (!text) return "<null>";
  std::string out = text->utf8;
  CFRelease(text);
  return out;
}

class FileUtils : public ::testing::Test {
 protected:
  testing_support::Folder box;
  path tree = box.root() / "Volumes" / "Disk" / "Folder";
  path picture = tree / "pic.tif";
  std::size_t cf_objects = platform::live_cf_object_count();

  void SetUp() override { testing_support::write_file(picture, "II*\0"); }
  void TearDown() override { EXPECT_EQ(platform::live_cf_object_count(), cf_objects); }
};

TEST_F(FileUtils, PathsOfFilesAndFoldersMakeSpecs) {
  FSSpec spec = Sentinel();
  ASSERT_EQ(MakeSpec(picture.string(), spec), noErr);
  EXPECT_EQ(testing_support::name_of(spec), "pic.tif");
  EXPECT_EQ(PosixPath(spec), picture.string());

  spec = Sentinel();
  ASSERT_EQ(MakeSpec(tree.string() + "/", spec), noErr);
  EXPECT_EQ(testing_support::name_of(spec), "Folder");
  EXPECT_EQ(PosixPath(spec), tree.string());

  spec = Sentinel();
  EXPECT_EQ(MakeSpec((tree / "missing.tif").string(), spec), fnfErr);
  EXPECT_TRUE(IsSentinel(spec));
}

TEST_F(FileUtils, MacRomanPathsAreSpelledInUtf8BeforeResolving) {
  path cafe = box.root() / "Caf\xC3\xA9" / "pic.tif";  // the folder "Café" on disk
  testing_support::write_file(cafe, "x");
  std::string mac_roman = (box.root() / "Caf\x8E" / "pic.tif").string();
  FSSpec spec = Sentinel();
  ASSERT_EQ(MakeSpec(mac_roman, spec), noErr);
  EXPECT_EQ(PosixPath(spec), cafe.string());
  spec = Sentinel();
  EXPECT_EQ(MakeSpec(cafe.string(), spec), noErr) << "UTF-8 from a caller still resolves";
  EXPECT_EQ(PosixPath(spec), cafe.string());
}

// The folder that ends with the target-th "/" of the path, spelled without
// its trailing "/", or the whole path.
std::string Expected(const std::string& text, long target) {
  long slashes = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '/' && ++slashes == target) return i == 0 ? "/" : text.substr(0, i);
  }
  return text;
}

TEST_F(FileUtils, FolderSpecsFollowTheSlashCount) {
  std::string text = picture.string();
  Str255 pascal;
  CopyCStringToPascal(text.c_str(), pascal);
  long depth = std::count(text.begin(), text.end(), '/');  // 4 plus the temporary folder's
  long prefix = depth - 4;
  for (long target = -2; target <= depth + 2; ++target) {
    FSSpec spec{};
    ASSERT_EQ(MyMakeFolderFSSpec(&spec, 0, pascal, static_cast<SInt32>(target)), noErr) << target;
    EXPECT_EQ(PosixPath(spec), Expected(text, target)) << target;
  }
  FSSpec spec{};
  ASSERT_EQ(MyMakeFolderFSSpec(&spec, 0, pascal, static_cast<SInt32>(prefix + 4)), noErr);
  EXPECT_EQ(testing_support::name_of(spec), "Folder");
  ASSERT_EQ(MyMakeFolderFSSpec(&spec, 3, pascal, static_cast<SInt32>(prefix + 4)), noErr);
  EXPECT_EQ(PosixPath(spec), box.root().string()) << "the root of the tree";
  ASSERT_EQ(MyMakeFolderFSSpec(&spec, 0, pascal, 1), noErr);
  EXPECT_EQ(PosixPath(spec), "/");
  ASSERT_EQ(MyMakeFolderFSSpec(&spec, 1, pascal, INT32_MIN), noErr) << "wraps, as 32 bits do";
  EXPECT_EQ(PosixPath(spec), text);
}

TEST_F(FileUtils, FolderSpecsOfBadPathsFail) {
  Str255 pascal;
  FSSpec spec{};
  CopyCStringToPascal((box.root() / "Nowhere" / "pic.tif").c_str(), pascal);
  EXPECT_EQ(MyMakeFolderFSSpec(&spec, 0, pascal, 99), fnfErr);
  pascal[0] = 0;
  EXPECT_NE(MyMakeFolderFSSpec(&spec, 0, pascal, 1), noErr);
  // A relative path and a target of 0 stop after its first character.
  path here = testing_support::fs::current_path();
  testing_support::fs::current_path(box.root());
  testing_support::write_file(box.root() / "p", "x");
  CopyCStringToPascal("pic.tif", pascal);
  OSErr err = MyMakeFolderFSSpec(&spec, 0, pascal, 0);
  testing_support::fs::current_path(here);
  ASSERT_EQ(err, noErr);
  EXPECT_EQ(testing_support::name_of(spec), "p");
}

TEST_F(FileUtils, PosixPathsOfFoldersAndTheRoot) {
  EXPECT_EQ(PosixPath(testing_support::spec_of(tree)), tree.string());
  EXPECT_EQ(PosixPath(testing_support::spec_of("/")), "/");
  FSSpec gone = testing_support::spec_of(picture);
  testing_support::fs::remove(picture);
  EXPECT_EQ(PosixPath(gone), "<null>");
  EXPECT_EQ(PosixPath(FSSpec{}), "<null>");
}

TEST_F(FileUtils, FileNamesAreDisplayNamesInMacRoman) {
  Str255 name;
  GetFileNameFromFileFSSpec(testing_support::spec_of(picture), name);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "pic.tif");

  testing_support::write_file(tree / "R\xC3\xA9sum\xC3\xA9.jpg", "x");
  GetFileNameFromFileFSSpec(testing_support::spec_of(tree / "R\xC3\xA9sum\xC3\xA9.jpg"), name);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "R\x8Esum\x8E.jpg");

  std::string long_name = std::string(120, 'L') + ".tif";  // more than 63, fewer than 255
  testing_support::write_file(tree / long_name, "x");
  GetFileNameFromFileFSSpec(testing_support::spec_of(tree / long_name), name);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), long_name);

  // No Mac Roman form: Latin letters for another script, the nearest
  // characters for the rest; more than 254: cut at 254.
  const std::pair<std::string, std::string> unfit[] = {
      {"\xE5\x86\x99\xE7\x9C\x9F.tif", "xie zhen.tif"},
      {"\xC5\xB4ide.tif", "Wide.tif"},
      {std::string(255, 'M'), std::string(254, 'M')}};
  for (const auto& [file, shown] : unfit) {
    testing_support::write_file(tree / file, "x");
    GetFileNameFromFileFSSpec(testing_support::spec_of(tree / file), name);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), shown);
  }
  FSSpec gone = testing_support::spec_of(picture);
  testing_support::fs::remove(picture);
  name[0] = 9;
  GetFileNameFromFileFSSpec(gone, name);
  EXPECT_EQ(name[0], 0);
}

TEST_F(FileUtils, ExistenceOfFilesFoldersAndEmptySlots) {
  FSSpec file = testing_support::spec_of(picture);
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(testing_support::spec_of(tree)));
  EXPECT_TRUE(FileExists(testing_support::spec_of("/")));
  EXPECT_FALSE(FileExists(FSSpec{}));
  FSSpec damaged = file;
  damaged.name[0] = 200;  // a length past the 63 characters the name holds
  EXPECT_FALSE(FileExists(damaged));
  testing_support::fs::remove(picture);
  EXPECT_FALSE(FileExists(file));
}

}  // namespace
