// References and file specifications on real folders: paths, names, the root,
// shortened names and the directory catalog.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "platform/linux/files_internal.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/packed.h"

using testing_support::packed;

namespace {

using std::filesystem::path;

OSStatus MakeRef(const std::string& text, FSRef& ref, Boolean* isDirectory = nullptr) {
  return FSPathMakeRef(reinterpret_cast<const UInt8*>(text.c_str()), &ref, isDirectory);
}

std::string PathOf(const FSSpec& spec) {
  FSRef ref;
  if (FSpMakeFSRef(&spec, &ref) != noErr) return "<none>";
  return ref.path;
}

class Specs : public ::testing::Test {
 protected:
  testing_support::Folder box;
  path pictures = box.root() / "Pictures";
  void SetUp() override { testing_support::write_file(pictures / "pic.tif", "II*\0"); }
};

TEST_F(Specs, PathsResolveToReferences) {
  FSRef ref;
  Boolean isDirectory = true;
  ASSERT_EQ(MakeRef((pictures / "pic.tif").string(), ref, &isDirectory), noErr);
  EXPECT_EQ(ref.path, (pictures / "pic.tif").string());
  EXPECT_FALSE(isDirectory);
  struct stat st;
  ASSERT_EQ(::stat(ref.path.c_str(), &st), 0);
  EXPECT_EQ(ref.inode, st.st_ino);
  EXPECT_EQ(ref.device, st.st_dev);

  ASSERT_EQ(MakeRef(pictures.string() + "//./", ref, &isDirectory), noErr);
  EXPECT_EQ(ref.path, pictures.string());
  EXPECT_TRUE(isDirectory);
  ASSERT_EQ(MakeRef((pictures / "../Pictures/pic.tif").string(), ref), noErr);
  EXPECT_EQ(ref.path, (pictures / "pic.tif").string());
}

TEST_F(Specs, BadPathsFailAndLeaveTheReference) {
  FSRef ref;
  ref.path = "/kept";
  EXPECT_EQ(MakeRef((pictures / "missing.tif").string(), ref), fnfErr);
  EXPECT_EQ(MakeRef("", ref), fnfErr);
  EXPECT_EQ(MakeRef((pictures / "pic.tif").string() + "/", ref), dirNFErr);
  EXPECT_EQ(MakeRef((pictures / "pic.tif" / "inside").string(), ref), dirNFErr);
  EXPECT_EQ(ref.path, "/kept");
}

TEST_F(Specs, RelativePathsStartAtTheCurrentFolder) {
  path here = testing_support::fs::current_path();
  testing_support::fs::current_path(pictures);
  FSRef ref;
  EXPECT_EQ(MakeRef("pic.tif", ref), noErr);
  testing_support::fs::current_path(here);
  EXPECT_EQ(ref.path, (pictures / "pic.tif").string());
}

TEST_F(Specs, SpecNamesTheParentFolderAndTheName) {
  FSSpec spec = testing_support::spec_of(pictures / "pic.tif");
  struct stat folder;
  ASSERT_EQ(::stat(pictures.c_str(), &folder), 0);
  EXPECT_NE(spec.vRefNum, 0);
  EXPECT_EQ(packed(spec.parID), static_cast<SInt32>(static_cast<std::uint32_t>(folder.st_ino)));
  EXPECT_EQ(testing_support::name_of(spec), "pic.tif");
  for (std::size_t i = 1 + spec.name[0]; i < sizeof spec.name; ++i) EXPECT_EQ(spec.name[i], 0);
  EXPECT_EQ(PathOf(spec), (pictures / "pic.tif").string());

  FSSpec folderSpec = testing_support::spec_of(pictures);
  EXPECT_EQ(folderSpec.vRefNum, spec.vRefNum);
  EXPECT_EQ(testing_support::name_of(folderSpec), "Pictures");
  EXPECT_EQ(PathOf(folderSpec), pictures.string());
}

TEST_F(Specs, TheRootIsTheVolumeRoot) {
  FSSpec root = testing_support::spec_of("/");
  EXPECT_EQ(packed(root.parID), fsRtParID);
  EXPECT_EQ(testing_support::name_of(root), "/");
  EXPECT_EQ(PathOf(root), "/");
  FSSpec elsewhere = root;
  elsewhere.vRefNum = static_cast<SInt16>(root.vRefNum == -1 ? -2 : -1);
  FSRef ref;
  EXPECT_EQ(FSpMakeFSRef(&elsewhere, &ref), nsvErr);
  FSRef parent;
  FSRef rootRef;
  ASSERT_EQ(MakeRef("/", rootRef), noErr);
  EXPECT_EQ(FSGetCatalogInfo(&rootRef, kFSCatInfoNone, nullptr, nullptr, nullptr, &parent), noErr);
  EXPECT_TRUE(parent.path.empty());
}

TEST_F(Specs, MacRomanNamesStayAsTheyAre) {
  testing_support::write_file(pictures / "Caf\xC3\xA9 \xE2\x80\x93 1.tif", "x");  // "Café – 1.tif"
  FSSpec spec = testing_support::spec_of(pictures / "Caf\xC3\xA9 \xE2\x80\x93 1.tif");
  EXPECT_EQ(testing_support::name_of(spec), "Caf\x8E \xD0 1.tif");
  EXPECT_EQ(PathOf(spec), (pictures / "Caf\xC3\xA9 \xE2\x80\x93 1.tif").string());
}

TEST_F(Specs, LongAndForeignNamesAreShortenedAndFoundByInode) {
  std::string long_name = std::string(100, 'a') + ".tif";
  std::string foreign = "\xE5\x86\x99\xE7\x9C\x9F.jpeg";  // "写真.jpeg"
  std::string decomposed = "Cafe\xCC\x81.png";            // e and a combining acute
  for (const std::string& name : {long_name, foreign, decomposed}) {
    testing_support::write_file(pictures / name, "x");
    struct stat st;
    ASSERT_EQ(::stat((pictures / name).c_str(), &st), 0);
    char hex[24];
    std::snprintf(hex, sizeof hex, "#%llX", static_cast<unsigned long long>(st.st_ino));
    FSSpec spec = testing_support::spec_of(pictures / name);
    std::string shortened = testing_support::name_of(spec);
    EXPECT_LE(shortened.size(), 63u);
    EXPECT_NE(shortened.find(hex), std::string::npos) << shortened;
    EXPECT_EQ(PathOf(spec), (pictures / name).string()) << name;
  }
  EXPECT_EQ(testing_support::name_of(testing_support::spec_of(pictures / long_name)).substr(0, 3),
            "aaa");
  EXPECT_TRUE(
      testing_support::name_of(testing_support::spec_of(pictures / foreign)).ends_with(".jpeg"));
  EXPECT_TRUE(testing_support::name_of(testing_support::spec_of(pictures / decomposed))
                  .starts_with("Cafe"));
  // Exactly 63 characters still fit; 64 do not.
  EXPECT_EQ(platform::files::spec_name(std::string(63, 'b'), 5), std::string(63, 'b'));
  EXPECT_EQ(platform::files::spec_name(std::string(64, 'b'), 5), std::string(61, 'b') + "#5");
}

TEST_F(Specs, ALongNameFollowsItsFullNameNotItsInode) {
  std::string name = std::string(80, 'x') + ".desktop";
  testing_support::write_file(pictures / name, "old");
  FSSpec spec = testing_support::spec_of(pictures / name);
  // A package upgrade writes the new file beside the old and renames it over.
  testing_support::write_file(pictures / "upgrade.tmp", "new");
  testing_support::fs::rename(pictures / "upgrade.tmp", pictures / name);
  FSRef ref;
  ASSERT_EQ(FSpMakeFSRef(&spec, &ref), noErr);
  EXPECT_EQ(ref.path, (pictures / name).string());
  EXPECT_EQ(testing_support::read_file(ref.path), "new");
  // Renamed, the file is not the one that was picked any more.
  testing_support::fs::rename(pictures / name, pictures / (std::string(90, 'y') + ".desktop"));
  EXPECT_EQ(FSpMakeFSRef(&spec, &ref), fnfErr);
}

TEST_F(Specs, AShortNameThatOnlyLooksShortenedFindsNoOtherFile) {
  struct stat st;
  ASSERT_EQ(::stat((pictures / "pic.tif").c_str(), &st), 0);
  FSSpec spec = testing_support::spec_of(pictures / "pic.tif");
  char name[64];
  int length = std::snprintf(name, sizeof name, "other#%llX.tif",
                             static_cast<unsigned long long>(st.st_ino));
  spec.name[0] = static_cast<unsigned char>(length);
  std::memcpy(spec.name + 1, name, static_cast<std::size_t>(length));
  FSRef ref;
  EXPECT_EQ(FSpMakeFSRef(&spec, &ref), fnfErr);
}

TEST_F(Specs, BadSpecsAreRefusedWithoutReadingPastTheName) {
  FSSpec spec = testing_support::spec_of(pictures / "pic.tif");
  FSRef ref;
  FSSpec bad = spec;
  bad.name[0] = 200;
  EXPECT_EQ(FSpMakeFSRef(&bad, &ref), bdNamErr);
  for (const char* name : {"", ".", "..", "a/b"}) {
    bad = spec;
    CopyCStringToPascal(name, bad.name);
    EXPECT_EQ(FSpMakeFSRef(&bad, &ref), bdNamErr) << name;
  }
  FSSpec zero{};
  EXPECT_EQ(FSpMakeFSRef(&zero, &ref), nsvErr);
  bad = spec;
  bad.parID ^= 0x5A5A5A5A;
  EXPECT_EQ(FSpMakeFSRef(&bad, &ref), dirNFErr);
}

TEST_F(Specs, ReferencesToReplacedItemsFail) {
  FSRef ref;
  ASSERT_EQ(MakeRef((pictures / "pic.tif").string(), ref), noErr);
  testing_support::fs::rename(pictures / "pic.tif", pictures / "old.tif");
  testing_support::write_file(pictures / "pic.tif", "new");
  FSSpec spec;
  EXPECT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), fnfErr);
  EXPECT_EQ(CFURLCreateFromFSRef(kCFAllocatorDefault, &ref), nullptr);
  EXPECT_EQ(FSGetCatalogInfo(&ref, 1, nullptr, nullptr, &spec, nullptr), paramErr);
}

TEST_F(Specs, CatalogHitsAreCheckedAgainstTheFolderInode) {
  FSSpec spec = testing_support::spec_of(pictures / "pic.tif");
  // The folder moves away and a new one takes its path: the old directory ID
  // must not lead into the newcomer, but to where the folder went.
  testing_support::fs::rename(pictures, box.root() / "Moved");
  testing_support::write_file(pictures / "pic.tif", "impostor");
  EXPECT_EQ(PathOf(spec), (box.root() / "Moved" / "pic.tif").string());
  testing_support::fs::remove_all(box.root() / "Moved");
  FSRef ref;
  EXPECT_EQ(FSpMakeFSRef(&spec, &ref), dirNFErr);
}

TEST_F(Specs, TheCatalogFileSurvivesDamage) {
  FSSpec spec = testing_support::spec_of(pictures / "pic.tif");
  path catalog = box.state() / "tavrine" / "catalog";
  std::string text = testing_support::read_file(catalog);
  EXPECT_NE(text.find(pictures.string()), std::string::npos);
  testing_support::write_file(
      catalog, "garbage\nD x y z\nV 0 /\nD -1 2 3 relative\n" + text + "D -5 7 9 /cut");
  {
    // Another, empty catalog knows nothing of the folder, which lies nowhere
    // near the places searched; made again there, the volume gets the same
    // number, as it is derived from its mount folder.
    testing_support::EnvVar other("XDG_STATE_HOME", (box.root() / "other").string());
    FSRef ref;
    EXPECT_NE(FSpMakeFSRef(&spec, &ref), noErr);
    EXPECT_EQ(testing_support::spec_of(pictures / "pic.tif").vRefNum, spec.vRefNum);
  }
  // Back to the damaged file, read afresh.
  EXPECT_EQ(PathOf(spec), (pictures / "pic.tif").string());

  using platform::files::CatalogLine;
  CatalogLine line{'F', -3, -7, 42, {'b', 1700000000123456789}, 1800000000, "/a\\b\nc"};
  CatalogLine back;
  std::string formatted = platform::files::format_catalog_line(line);
  EXPECT_EQ(formatted, "F -3 -7 42 b1700000000123456789 1800000000 /a\\\\b\\nc\n");
  ASSERT_TRUE(platform::files::parse_catalog_line(formatted.substr(0, formatted.size() - 1), back));
  EXPECT_EQ(back.path, line.path);
  EXPECT_EQ(back.dir_id, -7);
  EXPECT_EQ(back.witness, line.witness);
  EXPECT_EQ(back.used, line.used);
  EXPECT_FALSE(platform::files::parse_catalog_line("D -3 -7 42 /bad\\q", back));
  EXPECT_FALSE(platform::files::parse_catalog_line("F -3 -7 42 x1 5 /p", back));
  EXPECT_FALSE(platform::files::parse_catalog_line("N -3 -7 42 a/b", back));
  ASSERT_TRUE(platform::files::parse_catalog_line("R -3 -7 42 g9 77", back));
  EXPECT_EQ(platform::files::format_catalog_line(back), "R -3 -7 42 g9 77\n");
  EXPECT_FALSE(platform::files::parse_catalog_line("R -3 -7 42 g9 77 /p", back));
  ASSERT_TRUE(platform::files::parse_catalog_line("D -3 -7 42 /older", back));
  EXPECT_EQ(back.witness.kind, '?');  // taken on trust until the folder is next seen
}

TEST_F(Specs, APipeOrADeviceAsTheCatalogFileIsLeftAlone) {
  path state = box.root() / "odd-state";
  testing_support::EnvVar odd("XDG_STATE_HOME", state.string());
  testing_support::fs::create_directories(state / "tavrine");
  path catalog = state / "tavrine" / "catalog";
  ASSERT_EQ(::mkfifo(catalog.c_str(), 0600), 0);
  testing::internal::CaptureStderr();
  ::alarm(20);  // a hang ends the test program instead of the run
  FSSpec spec = testing_support::spec_of(pictures / "pic.tif");
  ::alarm(0);
  EXPECT_EQ(PathOf(spec), (pictures / "pic.tif").string()) << "known in memory all the same";
  EXPECT_TRUE(testing_support::fs::is_fifo(catalog));
  if (testing_support::make_device(box.root() / "device")) {
    testing_support::fs::remove(catalog);
    testing_support::fs::create_symlink(box.root() / "device", catalog);
    testing_support::write_file(box.root() / "Other" / "pic.tif", "II*\0");
    testing_support::spec_of(box.root() / "Other" / "pic.tif");
    EXPECT_TRUE(testing_support::is_untouched_device(box.root() / "device"));
  }
  EXPECT_EQ(
      testing::internal::GetCapturedStderr(),
      "tavrine: folders are not remembered in " + catalog.string() + " (not a regular file)\n");
}

TEST_F(Specs, ResolvesInANewProcessThroughTheCatalogFile) {
  if (const char* expected = std::getenv("TAVRINE_TEST_EXPECT_PATH")) {
    // The child: it only knows the stored bytes and the parent's catalog.
    testing_support::EnvVar state("XDG_STATE_HOME", std::getenv("TAVRINE_TEST_STATE"));
    FSSpec spec{};
    std::string hex = std::getenv("TAVRINE_TEST_SPEC");
    for (std::size_t i = 0; i < sizeof spec; ++i)
      reinterpret_cast<UInt8*>(&spec)[i] =
          static_cast<UInt8>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    ASSERT_EQ(PathOf(spec), expected);
    testing_support::write_file(std::getenv("TAVRINE_TEST_MARKER"), "resolved");
    return;
  }
  testing_support::write_file(pictures / "Sub" / (std::string(70, 'z') + ".tif"), "x");
  path target = pictures / "Sub" / (std::string(70, 'z') + ".tif");
  FSSpec spec = testing_support::spec_of(target);
  std::string hex;
  for (std::size_t i = 0; i < sizeof spec; ++i) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", reinterpret_cast<const UInt8*>(&spec)[i]);
    hex += pair;
  }
  path marker = box.root() / "marker";
  int status =
      testing_support::run_in_new_process("Specs.ResolvesInANewProcessThroughTheCatalogFile",
                                          {{"TAVRINE_TEST_EXPECT_PATH", target.string()},
                                           {"TAVRINE_TEST_SPEC", hex},
                                           {"TAVRINE_TEST_MARKER", marker.string()},
                                           {"TAVRINE_TEST_STATE", box.state().string()}});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(testing_support::read_file(marker), "resolved");
}

TEST_F(Specs, UrlsOfFoldersHaveNoTrailingSlash) {
  FSRef ref;
  ASSERT_EQ(MakeRef(pictures.string() + "/", ref), noErr);
  CFURLRef url = CFURLCreateFromFSRef(kCFAllocatorDefault, &ref);
  ASSERT_NE(url, nullptr);
  EXPECT_TRUE(url->is_directory);
  CFStringRef text = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
  EXPECT_EQ(text->utf8, pictures.string());
  FSRef back;
  EXPECT_TRUE(CFURLGetFSRef(url, &back));
  EXPECT_EQ(back.inode, ref.inode);
  CFRelease(text);
  CFRelease(url);
}

}  // namespace
