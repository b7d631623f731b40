// Folders, file data, replacing files and the catalog lookup on real files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/faults.h"
#include "platform/linux/files_internal.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/packed.h"

using testing_support::packed;

namespace {

using std::filesystem::path;

std::u16string U16(const char* ascii) {
  return std::u16string(ascii, ascii + std::strlen(ascii));
}

FSRef RefOf(const path& p) {
  FSRef ref;
  std::string text = p.string();
  EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(text.c_str()), &ref, nullptr), noErr);
  return ref;
}

class Data : public ::testing::Test {
 protected:
  testing_support::Folder box;
  void TearDown() override { EXPECT_EQ(platform::open_file_count(), 0u); }
};

TEST_F(Data, PreferencesFolderFollowsXdgConfigHome) {
  FSRef ref;
  EXPECT_EQ(FSFindFolder(kUserDomain, kPreferencesFolderType, kDontCreateFolder, &ref), fnfErr);
  ASSERT_EQ(FSFindFolder(kUserDomain, kPreferencesFolderType, kCreateFolder, &ref), noErr);
  EXPECT_EQ(ref.path, box.config().string());
  EXPECT_EQ(
      testing_support::fs::status(box.config()).permissions() & testing_support::fs::perms::all,
      testing_support::fs::perms::owner_all);
  {
    testing_support::EnvVar unset("XDG_CONFIG_HOME", "relative/ignored");
    testing_support::EnvVar home("HOME", box.root().string());
    testing_support::fs::create_directories(box.root() / ".config");
    ASSERT_EQ(FSFindFolder(kUserDomain, kPreferencesFolderType, kDontCreateFolder, &ref), noErr);
    EXPECT_EQ(ref.path, (box.root() / ".config").string());
  }
  EXPECT_EQ(FSFindFolder(kUserDomain, FOUR_CHAR_CODE("asup"), kCreateFolder, &ref), fnfErr);
}

TEST_F(Data, ItemsAreFoundAndCreatedByUnicodeName) {
  FSRef parent = RefOf(box.root());
  std::u16string folder = u"Dossier \u00E9t\u00E9";
  FSRef made, found;
  FSSpec spec;
  UInt32 dirID = 0;
  ASSERT_EQ(FSCreateDirectoryUnicode(&parent, folder.size(),
                                     reinterpret_cast<const UniChar*>(folder.data()),
                                     kFSCatInfoNone, nullptr, &made, &spec, &dirID),
            noErr);
  EXPECT_EQ(made.path, (box.root() / "Dossier \xC3\xA9t\xC3\xA9").string());
  EXPECT_EQ(dirID, static_cast<UInt32>(made.inode));
  EXPECT_EQ(testing_support::name_of(spec), "Dossier \x8Et\x8E");
  EXPECT_EQ(FSCreateDirectoryUnicode(&parent, folder.size(),
                                     reinterpret_cast<const UniChar*>(folder.data()),
                                     kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr),
            dupFNErr);
  ASSERT_EQ(
      FSMakeFSRefUnicode(&parent, folder.size(), reinterpret_cast<const UniChar*>(folder.data()),
                         kTextEncodingUnknown, &found),
      noErr);
  EXPECT_EQ(found.inode, made.inode);

  std::u16string file = U16("CursorData");
  auto* chars = reinterpret_cast<const UniChar*>(file.data());
  EXPECT_EQ(FSMakeFSRefUnicode(&made, file.size(), chars, 0, &found), fnfErr);
  ASSERT_EQ(
      FSCreateFileUnicode(&made, file.size(), chars, kFSCatInfoNone, nullptr, &found, nullptr),
      noErr);
  EXPECT_EQ(testing_support::fs::file_size(found.path), 0u);
  testing_support::write_file(found.path, "kept");
  EXPECT_EQ(
      FSCreateFileUnicode(&made, file.size(), chars, kFSCatInfoNone, nullptr, nullptr, nullptr),
      dupFNErr);
  EXPECT_EQ(testing_support::read_file(found.path), "kept");
}

TEST_F(Data, BadNamesAreRefused) {
  FSRef parent = RefOf(box.root());
  FSRef ref;
  for (const char* name : {"", ".", "..", "a/b"}) {
    std::u16string text = U16(name);
    EXPECT_EQ(FSMakeFSRefUnicode(&parent, text.size(),
                                 reinterpret_cast<const UniChar*>(text.data()), 0, &ref),
              bdNamErr)
        << name;
  }
  UniChar lone_surrogate[] = {'a', 0xD800};
  EXPECT_EQ(FSCreateFileUnicode(&parent, 2, lone_surrogate, kFSCatInfoNone, nullptr, &ref, nullptr),
            bdNamErr);
  FSRef gone;
  EXPECT_EQ(FSMakeFSRefUnicode(&gone, 1, lone_surrogate, 0, &ref), fnfErr);
}

TEST_F(Data, ReadsWritesSizesAndCloses) {
  testing_support::write_file(box.root() / "data", "0123456789");
  FSSpec spec = testing_support::spec_of(box.root() / "data");
  SInt16 refNum = 0;
  ASSERT_EQ(FSpOpenDF(&spec, fsRdPerm, &refNum), noErr);
  char buffer[16] = {};
  ByteCount actual = 0;
  EXPECT_EQ(FSReadFork(refNum, fsFromStart, 2, 4, buffer, &actual), noErr);
  EXPECT_EQ(std::string(buffer, actual), "2345");
  long count = 10;
  EXPECT_EQ(FSRead(refNum, &count, buffer), eofErr);  // from the mark, after "5"
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(count)), "6789");
  EXPECT_EQ(FSWriteFork(refNum, fsFromStart, 0, 1, "x", &actual), wrPermErr);
  EXPECT_EQ(FSClose(refNum), noErr);
  EXPECT_EQ(FSClose(refNum), fnOpnErr);

  FSRef ref = RefOf(box.root() / "data");
  UniChar resource[] = {'R'};
  EXPECT_EQ(FSOpenFork(&ref, 1, resource, fsRdWrPerm, &refNum), errFSForkNotFound);
  ASSERT_EQ(FSOpenFork(&ref, 0, nullptr, fsRdWrPerm, &refNum), noErr);
  EXPECT_EQ(FSWriteFork(refNum, fsFromStart, 8, 4, "ABCD", &actual), noErr);
  EXPECT_EQ(actual, 4u);
  EXPECT_EQ(FSSetForkSize(refNum, fsFromStart, 10), noErr);
  EXPECT_EQ(FSFlushFork(refNum), noErr);
  EXPECT_EQ(FSCloseFork(refNum), noErr);
  EXPECT_EQ(testing_support::read_file(box.root() / "data"), "01234567AB");
}

TEST_F(Data, FoldersPipesAndReplacedFilesDoNotOpen) {
  SInt16 refNum = 0;
  FSRef folder = RefOf(box.root());
  EXPECT_EQ(FSOpenFork(&folder, 0, nullptr, fsRdPerm, &refNum), notAFileErr);
  EXPECT_EQ(FSOpenFork(&folder, 0, nullptr, fsRdWrPerm, &refNum), notAFileErr);
  ASSERT_EQ(::mkfifo((box.root() / "pipe").c_str(), 0600), 0);
  FSRef pipe = RefOf(box.root() / "pipe");
  EXPECT_EQ(FSOpenFork(&pipe, 0, nullptr, fsRdPerm, &refNum), notAFileErr);  // and no hang
  if (testing_support::make_device(box.root() / "device")) {
    FSRef device = RefOf(box.root() / "device");
    EXPECT_EQ(FSOpenFork(&device, 0, nullptr, fsRdWrPerm, &refNum), notAFileErr);
    EXPECT_TRUE(testing_support::is_untouched_device(box.root() / "device"));
  }
  testing_support::write_file(box.root() / "file", "a");
  FSRef file = RefOf(box.root() / "file");
  testing_support::fs::rename(box.root() / "file",
                              box.root() / "file.old");  // keeps its inode taken
  testing_support::write_file(box.root() / "file", "b");
  EXPECT_EQ(FSOpenFork(&file, 0, nullptr, fsRdPerm, &refNum), fnfErr);
}

TEST_F(Data, AnInjectedFailureStopsTheWritePartWay) {
  testing_support::write_file(box.root() / "data", "");
  FSRef ref = RefOf(box.root() / "data");
  SInt16 refNum = 0;
  ASSERT_EQ(FSOpenFork(&ref, 0, nullptr, fsRdWrPerm, &refNum), noErr);
  platform::inject_fault(platform::Fault::write, 1, dskFulErr, 3);
  ByteCount actual = 0;
  EXPECT_EQ(FSWriteFork(refNum, fsFromStart, 0, 8, "abcdefgh", &actual), dskFulErr);
  EXPECT_EQ(actual, 3u);
  EXPECT_EQ(FSWriteFork(refNum, fsAtMark, 0, 2, "XY", &actual), noErr);  // the fault was spent
  EXPECT_EQ(FSCloseFork(refNum), noErr);
  EXPECT_EQ(testing_support::read_file(box.root() / "data"), "abcXY");
}

TEST_F(Data, DeletesAnEmptyFolderOnce) {
  testing_support::fs::create_directories(box.root() / "adir");
  FSRef dir = RefOf(box.root() / "adir");
  EXPECT_EQ(FSDeleteObject(&dir), noErr);
  EXPECT_EQ(FSDeleteObject(&dir), fnfErr);
}

TEST_F(Data, CatalogLookupFindsFilesAndFolders) {
  testing_support::write_file(box.root() / "Folder" / "pic.tif", std::string(1234, 'x'));
  FSSpec file = testing_support::spec_of(box.root() / "Folder" / "pic.tif");
  FSSpec folder = testing_support::spec_of(box.root() / "Folder");
  CInfoPBRec pb{};
  pb.hFileInfo.ioNamePtr = file.name;
  pb.hFileInfo.ioVRefNum = file.vRefNum;
  pb.hFileInfo.ioDirID = file.parID;
  ASSERT_EQ(PBGetCatInfoSync(&pb), noErr);
  EXPECT_EQ(pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask, 0);
  EXPECT_EQ(pb.hFileInfo.ioFlLgLen, 1234);
  EXPECT_EQ(pb.hFileInfo.ioFlParID, packed(file.parID));

  pb = CInfoPBRec{};
  pb.hFileInfo.ioNamePtr = folder.name;
  pb.hFileInfo.ioVRefNum = folder.vRefNum;
  pb.hFileInfo.ioDirID = folder.parID;
  ASSERT_EQ(PBGetCatInfoSync(&pb), noErr);
  EXPECT_NE(pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask, 0);
  EXPECT_EQ(pb.hFileInfo.ioDirID, packed(file.parID));

  Str255 long_name;
  long_name[0] = 64;
  pb.hFileInfo.ioNamePtr = long_name;
  EXPECT_EQ(PBGetCatInfoSync(&pb), bdNamErr);
  EXPECT_EQ(pb.hFileInfo.ioResult, bdNamErr);
  pb.hFileInfo.ioNamePtr = folder.name;
  pb.hFileInfo.ioFDirIndex = 1;
  EXPECT_EQ(PBGetCatInfoSync(&pb), paramErr);
}

TEST(ErrnoStatus, MapsTheCommonErrors) {
  using platform::status_from_errno;
  EXPECT_EQ(status_from_errno(0), noErr);
  EXPECT_EQ(status_from_errno(ENOENT), fnfErr);
  EXPECT_EQ(status_from_errno(ENOTDIR), dirNFErr);
  EXPECT_EQ(status_from_errno(EEXIST), dupFNErr);
  EXPECT_EQ(status_from_errno(EACCES), permErr);
  EXPECT_EQ(status_from_errno(ENOSPC), dskFulErr);
  EXPECT_EQ(status_from_errno(EDQUOT), dskFulErr);
  EXPECT_EQ(status_from_errno(EROFS), wPrErr);
  EXPECT_EQ(status_from_errno(EISDIR), notAFileErr);
  EXPECT_EQ(status_from_errno(EMFILE), tmfoErr);
  EXPECT_EQ(status_from_errno(EIO), ioErr);
  EXPECT_EQ(status_from_errno(12345), ioErr);
}

}  // namespace
