// The directory catalog as a user meets it: remembered applications survive a
// cleared cache and a lost catalog, follow a renamed folder, are never
// swapped for a file that took a freed inode, and the catalog stays small.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/linux/files_internal.h"
#include "prefs/fileutils.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/packed.h"

using testing_support::packed;

namespace {

using std::filesystem::path;
namespace files = platform::files;

std::string PathOf(const FSSpec& spec) {
  FSRef ref;
  if (FSpMakeFSRef(&spec, &ref) != noErr) return "<none>";
  return ref.path;
}

std::uint64_t InodeOf(const path& item) {
  struct stat st;
  return ::stat(item.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::size_t LinesOf(const path& file) {
  std::string text = testing_support::read_file(file);
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class Catalog : public ::testing::Test {
 protected:
  testing_support::Folder box;
  path catalog = box.state() / "tavrine" / "catalog";
  path old_catalog = box.cache() / "tavrine" / "catalog";

  // Makes the next call read the catalog file afresh, as a new run does.
  void StartANewRun() {
    testing_support::EnvVar away("XDG_STATE_HOME", (box.root() / "away").string());
    files::volume_known(1);
  }

  // Stores the FSSpec of a file in a folder, then removes the folder
  // and makes one that takes its freed inode (`newcomer`; empty when the file
  // system does not hand the inode out again).
  FSSpec StoreThenFreeAFolder(path& newcomer) {
    path first = box.root() / "Jobs" / "D1";
    testing_support::write_file(first / "x.txt", "first");
    FSSpec spec = testing_support::spec_of(first / "x.txt");
    std::uint64_t freed = InodeOf(first);
    testing_support::fs::remove_all(first);
    newcomer = TakeFreedInode(freed, box.root() / "Jobs", "New", true);
    return spec;
  }

  // Makes a new item whose inode is the one `freed` had, by making and
  // removing items until the file system hands it out again. Empty when it
  // never does (file systems that do not reuse inodes at once).
  path TakeFreedInode(std::uint64_t freed, const path& folder, const std::string& stem,
                      bool as_folder) {
    for (int i = 0; i < 64; ++i) {
      path item = folder / (stem + std::to_string(i) + (as_folder ? "" : ".desktop"));
      if (as_folder)
        testing_support::fs::create_directories(item);
      else
        testing_support::write_file(item, "newcomer");
      if (InodeOf(item) == freed) return item;
    }
    return {};
  }
};

TEST_F(Catalog, LivesInTheStateFolderAndMovesOverFromTheCacheOnce) {
  path app = box.root() / "Apps" / "painter.desktop";
  testing_support::write_file(app, "[Desktop Entry]\n");
  FSSpec spec = testing_support::spec_of(app);
  EXPECT_NE(testing_support::read_file(catalog).find((box.root() / "Apps").string()),
            std::string::npos);
  EXPECT_FALSE(testing_support::fs::exists(old_catalog));

  // An older version's catalog, in the cache, with its line for the folder.
  testing_support::EnvVar fresh_state("XDG_STATE_HOME", (box.root() / "state2").string());
  testing_support::write_file(old_catalog, "D " + std::to_string(spec.vRefNum) + " " +
                                               std::to_string(spec.parID) + " " +
                                               std::to_string(InodeOf(box.root() / "Apps")) + " " +
                                               (box.root() / "Apps").string() + "\n");
  EXPECT_EQ(PathOf(spec), app.string());
  EXPECT_FALSE(testing_support::fs::exists(old_catalog));
  std::string moved = testing_support::read_file(box.root() / "state2" / "tavrine" / "catalog");
  EXPECT_NE(moved.find("D " + std::to_string(spec.vRefNum)), std::string::npos) << moved;
  // The older line carried no witness: the next check records one.
  EXPECT_NE(moved.find("F " + std::to_string(spec.vRefNum)), std::string::npos) << moved;

  // Clearing the cache changes nothing any more.
  testing_support::fs::remove_all(box.cache());
  EXPECT_EQ(PathOf(spec), app.string());
}

TEST_F(Catalog, ALostCatalogStillFindsApplicationsWhereApplicationsLive) {
  path desktop_entry = box.root() / "data" / "applications" / "painter.desktop";
  path program = box.root() / "bin" / "resize-tool";
  path beside_the_jobs = box.root() / "Jobs" / "Tools" / "proof-tool";
  path elsewhere = box.root() / "Somewhere" / "Deep" / "notes.txt";
  path picture = box.root() / "Jobs" / "Spring" / "cover.png";
  testing_support::EnvVar search_path("PATH", (box.root() / "bin").string() + ":/usr/bin:/bin");
  for (const path& item : {desktop_entry, program, beside_the_jobs, elsewhere, picture})
    testing_support::write_file(item, "x");
  FSSpec entry_spec = testing_support::spec_of(desktop_entry);
  FSSpec program_spec = testing_support::spec_of(program);
  FSSpec beside_spec = testing_support::spec_of(beside_the_jobs);
  FSSpec elsewhere_spec = testing_support::spec_of(elsewhere);

  testing_support::fs::remove_all(box.state());
  testing_support::EnvVar lost("XDG_STATE_HOME", (box.root() / "state-lost").string());
  EXPECT_TRUE(FileExists(entry_spec));
  EXPECT_EQ(PathOf(entry_spec), desktop_entry.string());
  EXPECT_EQ(PathOf(program_spec), program.string());
  // What the search found is learnt.
  EXPECT_NE(testing_support::read_file(box.root() / "state-lost" / "tavrine" / "catalog")
                .find((box.root() / "bin").string()),
            std::string::npos);
  // Once a picture is shown, the folders along its path are searched too.
  EXPECT_FALSE(FileExists(beside_spec));
  testing_support::spec_of(picture);
  EXPECT_EQ(PathOf(beside_spec), beside_the_jobs.string());
  // A folder nowhere near the places searched is not found; nothing else is
  // taken for it.
  FSRef ref;
  EXPECT_EQ(FSpMakeFSRef(&elsewhere_spec, &ref), dirNFErr);
}

TEST_F(Catalog, ARenamedOrMovedFolderIsFoundAndItsEntriesFollow) {
  path tools = box.root() / "Apps" / "Tools";
  testing_support::write_file(tools / "resize-tool", "x");
  FSSpec spec = testing_support::spec_of(tools / "resize-tool");

  testing_support::fs::rename(tools, box.root() / "Apps" / "Tools 2");
  EXPECT_EQ(PathOf(spec), (box.root() / "Apps" / "Tools 2" / "resize-tool").string());
  EXPECT_NE(testing_support::read_file(catalog).find("Tools 2"), std::string::npos);

  // Moved up and out of its old parent.
  testing_support::fs::rename(box.root() / "Apps" / "Tools 2", box.root() / "Moved Tools");
  EXPECT_EQ(PathOf(spec), (box.root() / "Moved Tools" / "resize-tool").string());
  EXPECT_TRUE(FileExists(spec));

  // Gone for good: proved gone, and said so.
  testing_support::fs::remove_all(box.root() / "Moved Tools");
  EXPECT_FALSE(FileExists(spec));
}

TEST_F(Catalog, AFileThatTakesAFreedInodeIsNeverTheOneThatWasPicked) {
  path apps = box.root() / "Apps";
  std::string picked = std::string(70, 'p') + ".desktop";
  testing_support::write_file(apps / picked, "picked");
  FSSpec spec = testing_support::spec_of(apps / picked);
  std::uint64_t freed = InodeOf(apps / picked);
  testing_support::fs::remove(apps / picked);
  path newcomer = TakeFreedInode(freed, apps, std::string(70, 'n'), false);
  if (newcomer.empty()) GTEST_SKIP() << "this file system does not reuse a freed inode at once";
  FSRef ref;
  EXPECT_EQ(FSpMakeFSRef(&spec, &ref), fnfErr);
  // Nor without the catalog's record of the full name: the whole shortened
  // form must match, not the inode alone.
  std::string found;
  EXPECT_EQ(files::find_in_folder(apps.string(), testing_support::name_of(spec), found), fnfErr);
}

TEST_F(Catalog, APlainNameThatLooksShortenedFindsNoLongNamedFile) {
  path apps = box.root() / "Apps";
  testing_support::write_file(apps / (std::string(70, 'l') + ".txt"), "long");
  char plain[64];
  std::snprintf(plain, sizeof plain, "note#%llX.txt",
                static_cast<unsigned long long>(InodeOf(apps / (std::string(70, 'l') + ".txt"))));
  testing_support::write_file(apps / plain, "plain");
  FSSpec spec = testing_support::spec_of(apps / plain);
  EXPECT_EQ(testing_support::name_of(spec), plain);
  testing_support::fs::remove(apps / plain);
  FSRef ref;
  EXPECT_EQ(FSpMakeFSRef(&spec, &ref), fnfErr);
}

TEST_F(Catalog, AFolderThatTakesAFreedInodeIsNotTheOldOne) {
  path second;
  FSSpec old_spec = StoreThenFreeAFolder(second);
  if (second.empty()) GTEST_SKIP() << "this file system does not reuse a freed inode at once";
  testing_support::write_file(second / "x.txt", "second");
  FSSpec new_spec = testing_support::spec_of(second / "x.txt");  // the catalog records the newcomer
  EXPECT_NE(packed(new_spec.parID), packed(old_spec.parID));
  EXPECT_EQ(PathOf(new_spec), (second / "x.txt").string());
  FSRef ref;
  EXPECT_EQ(FSpMakeFSRef(&old_spec, &ref), dirNFErr);
  EXPECT_FALSE(FileExists(old_spec));
  // The catalog lookup of the folder itself gives the same ID.
  FSSpec folder = testing_support::spec_of(second);
  CInfoPBRec pb{};
  pb.hFileInfo.ioNamePtr = folder.name;
  pb.hFileInfo.ioVRefNum = folder.vRefNum;
  pb.hFileInfo.ioDirID = folder.parID;
  ASSERT_EQ(PBGetCatInfoSync(&pb), noErr);
  EXPECT_EQ(pb.hFileInfo.ioDirID, packed(new_spec.parID));
  // The newcomer keeps its own ID in a later run.
  StartANewRun();
  EXPECT_EQ(packed(testing_support::spec_of(second / "x.txt").parID), packed(new_spec.parID));
}

// Appends lines of 20,000 folders that are gone and starts a new run, which
// rewrites the catalog.
void AddDeadFoldersAndCompact(const path& catalog, SInt16 volume, const path& gone) {
  std::string text = testing_support::read_file(catalog);
  for (int i = 0; i < 20000; ++i) {
    text += "F " + std::to_string(volume) + " " + std::to_string(100000 + i) + " " +
            std::to_string(900000 + i) + " b5 " + std::to_string(i) + " " + gone.string() +
            std::to_string(i) + "\n";
  }
  testing_support::write_file(catalog, text);
}

TEST_F(Catalog, CompactionDropsDeadFoldersAndKeepsTheRecentlyUsed) {
  path live = box.root() / "Live";
  testing_support::write_file(live / "app.desktop", "x");
  FSSpec spec = testing_support::spec_of(live / "app.desktop");
  AddDeadFoldersAndCompact(catalog, spec.vRefNum, box.root() / "Gone");
  StartANewRun();
  EXPECT_EQ(PathOf(spec), (live / "app.desktop").string());
  // Of the dead, only the numbers of the most recently used stay reserved.
  std::string text = testing_support::read_file(catalog);
  EXPECT_LE(LinesOf(catalog), 1024u + 8u);
  EXPECT_EQ(text.find("Gone"), std::string::npos);
  EXPECT_NE(text.find("R " + std::to_string(spec.vRefNum) + " 119999 919999 b5 19999\n"),
            std::string::npos);
  EXPECT_EQ(text.find(" 118975 "), std::string::npos);
  EXPECT_NE(text.find(live.string()), std::string::npos);
}

TEST_F(Catalog, AFolderThatTakesTheInodeOfOneCompactedAwayIsNotTheOldOne) {
  path second;
  FSSpec old_spec = StoreThenFreeAFolder(second);
  if (second.empty()) GTEST_SKIP() << "this file system does not reuse a freed inode at once";
  AddDeadFoldersAndCompact(catalog, old_spec.vRefNum, box.root() / "Gone");
  StartANewRun();  // the rewrite keeps only D1's identity
  testing_support::write_file(second / "x.txt", "second");
  FSSpec new_spec = testing_support::spec_of(second / "x.txt");
  EXPECT_NE(packed(new_spec.parID), packed(old_spec.parID));
  EXPECT_EQ(PathOf(new_spec), (second / "x.txt").string());
  FSRef ref;
  EXPECT_EQ(FSpMakeFSRef(&old_spec, &ref), dirNFErr);
}

TEST_F(Catalog, KeepsAtMostItsCapOfFoldersTheLeastRecentlyUsedGoFirst) {
  path stale = box.root() / "Stale";
  testing_support::write_file(stale / "app.desktop", "x");
  FSSpec stale_spec = testing_support::spec_of(stale / "app.desktop");
  // Folders of a disk that is not plugged in now: kept, as they may well
  // come back, but they count towards the cap.
  SInt16 unplugged = stale_spec.vRefNum == -12345 ? -12346 : -12345;
  std::string text = testing_support::read_file(catalog) + "V " + std::to_string(unplugged) + " " +
                     (box.root() / "unplugged-disk").string() + "\n";
  for (int i = 0; i < 4200; ++i) {
    text +=
        files::format_catalog_line({'F',
                                    unplugged,
                                    1000 + i,
                                    1000u + i,
                                    {'b', i},
                                    2000000000 + i,
                                    (box.root() / "unplugged-disk" / std::to_string(i)).string()});
  }
  // The stale folder was last used long ago.
  files::ItemId id;
  ASSERT_EQ(files::identify(stale.string(), id), noErr);
  text += files::format_catalog_line(
      {'F', stale_spec.vRefNum, stale_spec.parID, id.inode, id.witness, 5, stale.string()});
  testing_support::write_file(catalog, text);
  StartANewRun();
  files::volume_known(1);
  std::string compacted = testing_support::read_file(catalog);
  EXPECT_EQ(compacted.find(stale.string() + "\n"), std::string::npos);
  EXPECT_LE(LinesOf(catalog), 4096u + 8u);
  EXPECT_NE(compacted.find("/unplugged-disk/4199\n"), std::string::npos);
  EXPECT_EQ(compacted.find("/unplugged-disk/103\n"), std::string::npos);
}

TEST_F(Catalog, ALargeOrDamagedFileCostsOnlyItsBadLines) {
  path app = box.root() / "Apps" / "painter.desktop";
  testing_support::write_file(app, "x");
  FSSpec spec = testing_support::spec_of(app);
  std::string good = testing_support::read_file(catalog);
  // Megabytes of damage in front of the good lines: a file far larger than
  // the catalog ever writes is still read, from its end.
  std::string junk;
  while (junk.size() < (9u << 20)) junk += "F 1 2 3 garbage \x01\x02 not a line\n";
  testing_support::write_file(catalog, junk + good + "F -5 7 9 b1 2 /cut short");
  StartANewRun();
  EXPECT_EQ(PathOf(spec), app.string());
  EXPECT_LT(testing_support::fs::file_size(catalog), 1u << 20);
}

}  // namespace
