// Finder information and display names of real files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>

#include "platform/launch.h"
#include "platform/linux/files_internal.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/packed.h"

using testing_support::packed;

namespace {

using std::filesystem::path;

class FinderInfo : public ::testing::Test {
 protected:
  testing_support::Folder box;

  OSType type_of(const std::string& name, const std::string& bytes, mode_t mode = 0644) {
    path file = box.root() / name;
    testing_support::write_file(file, bytes);
    ::chmod(file.c_str(), mode);
    FSSpec spec = testing_support::spec_of(file);
    FInfo info{};
    EXPECT_EQ(FSpGetFInfo(&spec, &info), noErr) << name;
    return info.fdType;
  }
};

TEST_F(FinderInfo, TypesComeFromTheContent) {
  EXPECT_EQ(type_of("photo", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11)),
            FOUR_CHAR_CODE("JPEG"));
  EXPECT_EQ(type_of("scan.tif", std::string("II*\0\x08\0\0\0", 8)), FOUR_CHAR_CODE("TIFF"));
  EXPECT_EQ(type_of("a.png", std::string("\x89PNG\r\n\x1A\n", 8)), FOUR_CHAR_CODE("PNGf"));
  EXPECT_EQ(type_of("layers.psd", std::string("8BPS\0\x01", 6)), FOUR_CHAR_CODE("8BPS"));
  EXPECT_EQ(type_of("anim.gif", "GIF89a"), FOUR_CHAR_CODE("GIFf"));
  EXPECT_EQ(type_of("doc.pdf", "%PDF-1.4\n"), FOUR_CHAR_CODE("PDF "));
  EXPECT_EQ(type_of("bitmap", std::string("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0", 14)),
            FOUR_CHAR_CODE("BMP "));
  EXPECT_EQ(type_of("pic.bmp", "no signature"), FOUR_CHAR_CODE("BMP "));
  EXPECT_EQ(type_of("BMW notes.txt", "BMW 320i, 1987"), FOUR_CHAR_CODE("TEXT"));
  EXPECT_EQ(type_of("named.jpg", std::string("\x89PNG\r\n\x1A\n", 8)), FOUR_CHAR_CODE("PNGf"));
  EXPECT_EQ(type_of("unknown.xyz", std::string("\x01\x02\x03", 3)), 0u);
}

TEST_F(FinderInfo, ApplicationsAreDesktopEntriesAndPrograms) {
  EXPECT_EQ(type_of("gimp.desktop", "[Desktop Entry]\nType=Application\n"), FOUR_CHAR_CODE("APPL"));
  EXPECT_EQ(type_of("tool", "#!/bin/sh\necho hi\n", 0755), FOUR_CHAR_CODE("APPL"));
  EXPECT_EQ(type_of("elf",
                    std::string("\x7F"
                                "ELF\x02\x01\x01",
                                7),
                    0755),
            FOUR_CHAR_CODE("APPL"));
  // An executable bit alone (pictures on a FAT stick have them all) is not an application.
  EXPECT_EQ(type_of("stick.jpg", std::string("\xFF\xD8\xFF\xE0", 4), 0755), FOUR_CHAR_CODE("JPEG"));
  EXPECT_NE(type_of("script.sh", "#!/bin/sh\n", 0644), FOUR_CHAR_CODE("APPL"));
}

TEST_F(FinderInfo, FoldersAndMissingFilesHaveNone) {
  FSSpec folder = testing_support::spec_of(box.root());
  FInfo info{};
  EXPECT_EQ(FSpGetFInfo(&folder, &info), fnfErr);
  testing_support::write_file(box.root() / "gone", "x");
  FSSpec gone = testing_support::spec_of(box.root() / "gone");
  testing_support::fs::remove(box.root() / "gone");
  EXPECT_EQ(FSpGetFInfo(&gone, &info), fnfErr);
}

std::string AppleDouble(const char type[5], const char creator[5]) {
  std::string header("\x00\x05\x16\x07\x00\x02\x00\x00", 8);
  header += std::string(16, '\0');
  header += std::string("\x00\x01", 2);  // one entry
  header +=
      std::string("\x00\x00\x00\x09\x00\x00\x00\x26\x00\x00\x00\x20", 12);  // Finder info at 38
  header += std::string(type, 4) + std::string(creator, 4) + std::string(24, '\0');
  return header;
}

TEST_F(FinderInfo, CreatorComesFromNetatalkMetadata) {
  path file = box.root() / "from-mac.tif";
  testing_support::write_file(file, "II*\0");
  std::string metadata = AppleDouble("TIFF", "8BIM");
  if (::setxattr(file.c_str(), "user.org.netatalk.Metadata", metadata.data(), metadata.size(), 0) !=
      0)
    GTEST_SKIP() << "no user extended attributes here (errno " << errno << ")";
  FSSpec spec = testing_support::spec_of(file);
  FInfo info{};
  ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
  EXPECT_EQ(packed(info.fdCreator), FOUR_CHAR_CODE("8BIM"));
  EXPECT_EQ(info.fdFlags, 0);
}

TEST(AppleDouble, ReadsOnlyWhatIsThere) {
  std::string good = AppleDouble("JPEG", "prvw");
  OSType type = 0, creator = 0;
  auto bytes = [](const std::string& s) {
    return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
  };
  ASSERT_TRUE(platform::files::finder_info_from_apple_double(bytes(good), type, creator));
  EXPECT_EQ(type, FOUR_CHAR_CODE("JPEG"));
  EXPECT_EQ(creator, FOUR_CHAR_CODE("prvw"));
  for (std::size_t length = 0; length < 46; ++length)
    EXPECT_FALSE(platform::files::finder_info_from_apple_double(bytes(good.substr(0, length)), type,
                                                                creator))
        << length;
  std::string wrong_magic = good;
  wrong_magic[3] = 0;
  EXPECT_FALSE(platform::files::finder_info_from_apple_double(bytes(wrong_magic), type, creator));
  std::string far_offset = good;
  far_offset[26 + 4] = '\x7F';
  EXPECT_FALSE(platform::files::finder_info_from_apple_double(bytes(far_offset), type, creator));
}

TEST_F(FinderInfo, DisplayNamesAreFileNames) {
  testing_support::write_file(box.root() / "My Picture.tif", "x");
  FSRef ref;
  std::string text = (box.root() / "My Picture.tif").string();
  ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(text.c_str()), &ref, nullptr), noErr);
  CFStringRef name = nullptr;
  ASSERT_EQ(LSCopyDisplayNameForRef(&ref, &name), noErr);
  EXPECT_EQ(name->utf8, "My Picture.tif");
  CFRelease(name);
  ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>("/"), &ref, nullptr), noErr);
  ASSERT_EQ(LSCopyDisplayNameForRef(&ref, &name), noErr);
  EXPECT_EQ(name->utf8, "/");
  CFRelease(name);
}

}  // namespace
