// Handles and the alias records they hold.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/aliases.h"
#include "platform/memory.h"
#include "tests/support/sandbox.h"

namespace fs = std::filesystem;

namespace {

class AliasRecords : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(platform::live_handle_count(), 0u); }
  static FSRef ref_of(const fs::path& item) {
    struct stat st {};
    stat(item.c_str(), &st);
    return FSRef{item.string(), st.st_dev, st.st_ino};
  }
};

TEST_F(AliasRecords, HandlesAreZeroedSizedAndCounted) {
  Handle h = NewHandle(10);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetHandleSize(h), 10);
  EXPECT_EQ(std::count(*h, *h + 10, 0), 10);
  EXPECT_EQ(platform::live_handle_count(), 1u);
  EXPECT_EQ(NewHandle(-1), nullptr);
  DisposeHandle(h);
  EXPECT_EQ(GetHandleSize(h), 0);
  DisposeHandle(h);  // a second time is ignored
  DisposeHandle(nullptr);
}

TEST_F(AliasRecords, RoundTripsItsBytes) {
  platform::AliasTarget target{"/Volumes/Disk/Folder", 0x0102030405060708, 0x1112131415161718};
  auto bytes = platform::encode_alias(target);
  const std::uint8_t head[] = {0, 0, 0, 0,    46,   0,    1,    0,    8,    7,    6,    5,  4,
                               3, 2, 1, 0x18, 0x17, 0x16, 0x15, 0x14, 0x13, 0x12, 0x11, 20, 0};
  ASSERT_EQ(bytes.size(), 46u);
  EXPECT_EQ(std::memcmp(bytes.data(), head, sizeof head), 0);
  EXPECT_EQ(std::string(bytes.begin() + 26, bytes.end()), target.path);
  auto back = platform::decode_alias(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->path, target.path);
  EXPECT_EQ(back->device, target.device);
  EXPECT_EQ(back->inode, target.inode);
}

TEST_F(AliasRecords, RefusesDamagedBytes) {
  auto bytes = platform::encode_alias({"/a/b", 1, 2});
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    EXPECT_FALSE(platform::decode_alias(std::span(bytes.data(), n))) << n;
  }
  for (std::size_t at : {4u, 6u, 24u, 26u}) {
    auto edited = bytes;
    edited[at] ^= 0x01;
    EXPECT_FALSE(platform::decode_alias(edited)) << at;
  }
  auto with_nul = platform::encode_alias({std::string("/a\0b", 4), 1, 2});
  EXPECT_FALSE(platform::decode_alias(with_nul));
  EXPECT_FALSE(platform::decode_alias(platform::encode_alias({"relative", 1, 2})));
}

TEST_F(AliasRecords, FindsTheSameItemOnly) {
  testing_support::TempDir dir;
  fs::path folder = dir.path() / "Folder";
  fs::create_directory(folder);
  AliasHandle alias = nullptr;
  ASSERT_EQ(platform::new_alias_for_ref(ref_of(folder), &alias), noErr);
  std::span<const std::uint8_t> bytes(
      reinterpret_cast<const std::uint8_t*>(*alias),
      static_cast<std::size_t>(GetHandleSize(reinterpret_cast<Handle>(alias))));
  std::string path;
  EXPECT_EQ(platform::resolve_alias(bytes, &path), noErr);
  EXPECT_EQ(path, folder.string());
  fs::rename(folder, dir.path() / "Moved");
  EXPECT_EQ(platform::resolve_alias(bytes, &path), fnfErr);
  fs::create_directory(folder);
  EXPECT_EQ(platform::resolve_alias(bytes, &path), fnfErr);
  DisposeHandle(reinterpret_cast<Handle>(alias));
}

TEST_F(AliasRecords, NewAliasOfNothingMakesNothing) {
  AliasHandle alias = reinterpret_cast<AliasHandle>(1);
  EXPECT_EQ(NewAlias(nullptr, nullptr, &alias), paramErr);
  EXPECT_EQ(alias, nullptr);
  EXPECT_EQ(platform::new_alias_for_ref(FSRef{"relative", 1, 2}, &alias), paramErr);
  EXPECT_EQ(platform::new_alias_for_ref(FSRef{"/" + std::string(70000, 'a'), 1, 2}, &alias),
            bdNamErr);
  EXPECT_EQ(alias, nullptr);
}

}  // namespace
