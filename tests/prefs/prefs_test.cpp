// The preferences record and its file, in a temporary XDG_CONFIG_HOME.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstring>

#include "platform/faults.h"
#include "platform/files.h"
#include "prefs/fileutils.h"
#include "prefs/prefs.h"
#include "prefs/userprefs.h"
#include "shell/records.h"
#include "shell/shared_values.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/packed.h"

using testing_support::packed;

namespace {

using std::filesystem::path;
using Bytes = std::string;

Bytes RecordBytes() {
  UInt8 bytes[kUserPrefsBytes];
  EncodeUserPrefs(G_USERPREFS, bytes);
  return Bytes(reinterpret_cast<char*>(bytes), kUserPrefsBytes);
}

void SetRecordBytes(const Bytes& text) {
  UInt8 bytes[kUserPrefsBytes];
  std::memcpy(bytes, text.data(), kUserPrefsBytes);
  DecodeUserPrefs(bytes, G_USERPREFS);
}

// A record with every byte set from its offset, so misplaced bytes show.
Bytes Pattern(int seed) {
  Bytes bytes(kUserPrefsBytes, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>((i * 7 + seed) & 0xFF);
  return bytes;
}

class Prefs : public ::testing::Test {
 protected:
  testing_support::Folder box;
  testing_support::RecordingAlerts alerts;
  path maker = box.config() / "VeskaSoftware";
  path file = maker / "Veska Tavrine Pro for ID Prefs";
  std::size_t cf_objects = platform::live_cf_object_count();

  void SetUp() override {
    G_USERPREFS = {};
    G_ALWAYSOPENWITH = true;
  }
  void TearDown() override {
    EXPECT_EQ(platform::live_cf_object_count(), cf_objects);
    EXPECT_EQ(platform::open_file_count(), 0u);
  }
  std::vector<std::string> folder_names() {
    std::vector<std::string> names;
    for (const auto& entry : testing_support::fs::directory_iterator(maker))
      names.push_back(entry.path().filename().string());
    return names;
  }
};

TEST_F(Prefs, NoFolderNoFileGivesTheDefaults) {
  SetRecordBytes(Pattern(1));
  GetPreferences();
  EXPECT_EQ(G_USERPREFS.postAppCount, 0);
  EXPECT_EQ(packed(G_USERPREFS.dimensionUnits), 0);
  EXPECT_FALSE(G_ALWAYSOPENWITH);
  EXPECT_FALSE(testing_support::fs::exists(maker));
  testing_support::fs::create_directories(maker);
  G_ALWAYSOPENWITH = true;
  GetPreferences();
  EXPECT_FALSE(G_ALWAYSOPENWITH);
  EXPECT_TRUE(folder_names().empty());
  EXPECT_TRUE(alerts.messages.empty());
  // The defaults leave everything before postAppCount alone.
  EXPECT_EQ(RecordBytes().substr(0, 3656), Pattern(1).substr(0, 3656));
}

TEST_F(Prefs, AShortFileFillsTheStartOfTheRecord) {
  SetRecordBytes(Pattern(1));
  testing_support::write_file(file, Pattern(2).substr(0, 100));
  GetPreferences();
  EXPECT_FALSE(GetUserPrefs());
  Bytes record = RecordBytes();
  EXPECT_EQ(record.substr(0, 100), Pattern(2).substr(0, 100));
  EXPECT_EQ(record.substr(100, 3556), Pattern(1).substr(100, 3556));
  EXPECT_EQ(G_USERPREFS.postAppCount, 0);
  EXPECT_EQ(packed(G_USERPREFS.dimensionUnits), 0);
}

TEST_F(Prefs, ALongFileIsReadTo3696BytesAndCutByTheNextSave) {
  Bytes stored = Pattern(3);
  stored[3656] = 7;  // postAppCount 7
  stored[3657] = 0;
  testing_support::write_file(file, stored + Bytes(304, 'x'));
  EXPECT_TRUE(GetUserPrefs());
  EXPECT_EQ(RecordBytes(), stored);
  SaveUserPrefs();
  EXPECT_EQ(testing_support::read_file(file), stored);
  EXPECT_TRUE(alerts.messages.empty());
}

TEST_F(Prefs, SavingCreatesTheFolderAndAnExactFile) {
  G_USERPREFS.dimensionUnits = 5;
  SaveUserPrefs();
  ASSERT_TRUE(testing_support::fs::is_regular_file(file));
  EXPECT_EQ(testing_support::fs::file_size(file), kUserPrefsBytes);
  char names[256];
  EXPECT_LE(::listxattr(file.c_str(), names, sizeof names), 0) << "no type or creator code";
  EXPECT_EQ(folder_names(), std::vector<std::string>{"Veska Tavrine Pro for ID Prefs"});
  EXPECT_TRUE(alerts.messages.empty());
}

TEST_F(Prefs, SavingTwiceAndReadingBackGiveTheSameBytes) {
  SetRecordBytes(Pattern(4));
  G_USERPREFS.postAppCount = 12;
  Bytes before = RecordBytes();
  SaveUserPrefs();
  Bytes first = testing_support::read_file(file);
  SaveUserPrefs();
  EXPECT_EQ(testing_support::read_file(file), first);
  EXPECT_EQ(first, before);
  G_USERPREFS = {};
  GetPreferences();
  EXPECT_EQ(RecordBytes().substr(0, 3660), before.substr(0, 3660));
  EXPECT_EQ(RecordBytes(), before);
}

TEST_F(Prefs, UnitsFromTheScriptLandAtOffset3660) {
  SetIntValueToCGlobal(3, 3);
  SaveUserPrefs();
  Bytes saved = testing_support::read_file(file);
  ASSERT_EQ(saved.size(), kUserPrefsBytes);
  EXPECT_EQ(saved.substr(3660, 4), Bytes("\x03\x00\x00\x00", 4));
}

TEST_F(Prefs, AFullListLeavesTheReservedBytesAlone) {
  for (int i = 0; i < kPostAppListSlots; ++i) {
    G_USERPREFS.postAppList[i].vRefNum = -1;
    G_USERPREFS.postAppList[i].parID = i;
    CopyCStringToPascal("App", G_USERPREFS.postAppList[i].name);
  }
  G_USERPREFS.postAppCount = 50;
  SaveUserPrefs();
  Bytes saved = testing_support::read_file(file);
  EXPECT_EQ(saved.substr(3586, 70), Bytes(70, '\0'));
  EXPECT_EQ(saved.substr(3656, 2), Bytes("\x32\x00", 2));
  EXPECT_EQ(saved.substr(86 + 70 * 49, 6), Bytes("\xFF\xFF\x31\x00\x00\x00", 6));
}

TEST_F(Prefs, CountsOutsideTheListAreClampedOnReading) {
  Bytes stored(kUserPrefsBytes, '\0');
  stored[3656] = 0x2C;  // 300
  stored[3657] = 0x01;
  testing_support::write_file(file, stored);
  GetPreferences();
  EXPECT_EQ(G_USERPREFS.postAppCount, 50);
  stored[3656] = static_cast<char>(0xFB);  // -5
  stored[3657] = static_cast<char>(0xFF);
  testing_support::write_file(file, stored);
  GetPreferences();
  EXPECT_EQ(G_USERPREFS.postAppCount, 0);
}

TEST_F(Prefs, FailedSavesShowTheirAlert) {
  {
    // The Preferences folder lies under a file: neither the maker folder nor
    // the folders above it can be made.
    testing_support::write_file(box.root() / "plain", "x");
    testing_support::EnvVar config("XDG_CONFIG_HOME", (box.root() / "plain" / "config").string());
    SaveUserPrefs();
  }
  testing_support::write_file(maker, "a file where the folder belongs");
  SaveUserPrefs();
  testing_support::fs::remove(maker);
  testing_support::fs::create_directories(file);  // a folder where the file belongs
  SaveUserPrefs();
  ASSERT_EQ(alerts.messages.size(), 3u);
  EXPECT_EQ(alerts.messages[0], "Can't save Veska Tavrine Pro preferences. (-1)");
  EXPECT_EQ(alerts.messages[1], "Can't save Veska Tavrine Pro preferences. (-3)");
  EXPECT_EQ(alerts.messages[2], "Can't save Veska Tavrine Pro preferences. (-3)");
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(alerts.types[i], kAlertNoteAlert);
    EXPECT_EQ(alerts.explanations[i], "");
  }
  EXPECT_EQ(folder_names(), std::vector<std::string>{"Veska Tavrine Pro for ID Prefs"});
  EXPECT_TRUE(testing_support::fs::is_directory(file));
}

TEST_F(Prefs, ASaveThatFailsHalfwayLeavesTheOldFileWhole) {
  SetRecordBytes(Pattern(5));
  SaveUserPrefs();
  Bytes old_bytes = testing_support::read_file(file);
  SetRecordBytes(Pattern(6));
  platform::inject_fault(platform::Fault::write, 1, dskFulErr, 1000);
  SaveUserPrefs();
  ASSERT_EQ(alerts.messages.size(), 1u);
  EXPECT_EQ(alerts.messages[0], "Can't save Veska Tavrine Pro preferences. (-3)");
  EXPECT_EQ(testing_support::read_file(file), old_bytes);
  EXPECT_EQ(folder_names(), std::vector<std::string>{"Veska Tavrine Pro for ID Prefs"});
  EXPECT_EQ(RecordBytes(), Pattern(6)) << "the record in memory is unchanged";
}

TEST_F(Prefs, AFirstSaveThatFailsLeavesNoFile) {
  platform::inject_fault(platform::Fault::write, 1, dskFulErr, 10);
  SaveUserPrefs();
  EXPECT_EQ(alerts.messages.size(), 1u);
  EXPECT_TRUE(folder_names().empty());
}

TEST_F(Prefs, ASaveKilledHalfwayLeavesTheOldFileWhole) {
  SetRecordBytes(Pattern(7));
  SaveUserPrefs();
  Bytes old_bytes = testing_support::read_file(file);
  SetRecordBytes(Pattern(8));
  pid_t child = ::fork();
  if (child == 0) {
    platform::inject_fault(platform::Fault::write_ends_process, 1, noErr, 2000);
    SaveUserPrefs();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 75);
  EXPECT_EQ(testing_support::read_file(file), old_bytes);
  // The next save clears what the killed one left and succeeds.
  SaveUserPrefs();
  EXPECT_EQ(testing_support::read_file(file), Pattern(8));
  EXPECT_EQ(folder_names(), std::vector<std::string>{"Veska Tavrine Pro for ID Prefs"});
  EXPECT_TRUE(alerts.messages.empty());
}

TEST_F(Prefs, SavingKeepsPermissionsAndSymbolicLinks) {
  path real = box.root() / "dotfiles" / "tavrine.prefs";
  testing_support::write_file(real, Pattern(9));
  ::chmod(real.c_str(), 0600);
  testing_support::fs::create_directories(maker);
  testing_support::fs::create_symlink(real, file);
  SetRecordBytes(Pattern(10));
  SaveUserPrefs();
  EXPECT_TRUE(alerts.messages.empty());
  EXPECT_TRUE(testing_support::fs::is_symlink(file));
  EXPECT_EQ(testing_support::read_file(real), Pattern(10));
  struct stat st;
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(testing_support::fs::file_size(real), kUserPrefsBytes);
}

TEST_F(Prefs, ADeviceOrAPipeInTheFilesPlaceIsLeftAlone) {
  testing_support::fs::create_directories(maker);
  path device = box.root() / "device";
  if (!testing_support::make_device(device))
    GTEST_SKIP() << "devices cannot be made here (not root?)";
  // Linking the preferences to a null device is how people stop a program
  // saving: the save fails with its alert, and the device stays.
  testing_support::fs::create_symlink(device, file);
  SetRecordBytes(Pattern(11));
  SaveUserPrefs();
  ASSERT_EQ(alerts.messages.size(), 1u);
  EXPECT_EQ(alerts.messages[0], "Can't save Veska Tavrine Pro preferences. (-3)");
  EXPECT_TRUE(testing_support::is_untouched_device(device));
  EXPECT_EQ(testing_support::names_in(box.root()), (std::vector<std::string>{"config", "device"}));
  EXPECT_EQ(folder_names(), std::vector<std::string>{"Veska Tavrine Pro for ID Prefs"});
  EXPECT_FALSE(GetUserPrefs());
  EXPECT_EQ(RecordBytes(), Pattern(11));

  testing_support::fs::remove(file);
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  ::alarm(20);  // a hang ends the test program instead of the run
  GetPreferences();
  SaveUserPrefs();
  ::alarm(0);
  EXPECT_EQ(alerts.messages.size(), 2u);
  EXPECT_TRUE(testing_support::fs::is_fifo(file));
}

// Two copies of the program saving at the same moment, 200 times each: every
// save succeeds, and the file is always one whole record of one of them.
TEST_F(Prefs, TwoProcessesSavingAtOnceBothSucceed) {
  SaveUserPrefs();
  auto saver = [](int seed) {
    ::alarm(60);
    SetRecordBytes(Pattern(seed));
    testing_support::RecordingAlerts failures;
    for (int i = 0; i < 200; ++i) SaveUserPrefs();
    ::_exit(static_cast<int>(failures.messages.size()));
  };
  pid_t first = ::fork();
  if (first == 0) saver(21);
  pid_t second = ::fork();
  if (second == 0) saver(22);
  int reads = 0, torn = 0;
  for (int done = 0; done < 2;) {
    Bytes seen = testing_support::read_file(file);
    ++reads;
    if (seen != Pattern(21) && seen != Pattern(22) && seen != RecordBytes()) ++torn;
    for (pid_t* child : {&first, &second}) {
      int status = 0;
      if (*child > 0 && ::waitpid(*child, &status, WNOHANG) == *child) {
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "saves that failed";
        *child = 0;
        ++done;
      }
    }
  }
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  EXPECT_EQ(folder_names(), std::vector<std::string>{"Veska Tavrine Pro for ID Prefs"});
}

TEST_F(Prefs, StoredApplicationsResolveInANewProcess) {
  if (const char* expected = std::getenv("TAVRINE_TEST_EXPECT_PATH")) {
    testing_support::EnvVar config("XDG_CONFIG_HOME", std::getenv("TAVRINE_TEST_CONFIG"));
    testing_support::EnvVar state("XDG_STATE_HOME", std::getenv("TAVRINE_TEST_STATE"));
    GetPreferences();
    ASSERT_EQ(G_USERPREFS.postAppCount, 1);
    ASSERT_TRUE(FileExists(G_USERPREFS.postAppList[0]));
    CFStringRef text = CopyPOSIXPath(G_USERPREFS.openWithAppSpec);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->utf8, expected);
    CFRelease(text);
    Str255 name;
    GetFileNameFromFileFSSpec(G_USERPREFS.postAppList[0], name);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "krita.desktop");
    testing_support::write_file(std::getenv("TAVRINE_TEST_MARKER"), "resolved");
    return;
  }
  path app = box.root() / "apps" / "krita.desktop";
  testing_support::write_file(app, "[Desktop Entry]\n");
  FSSpec spec{};
  ASSERT_EQ(FSPathMakeFSSpec(reinterpret_cast<const UInt8*>(app.c_str()), &spec, nullptr), noErr);
  G_USERPREFS.openWithAppSpec = spec;
  G_USERPREFS.postAppList[0] = spec;
  G_USERPREFS.postAppCount = 1;
  SaveUserPrefs();
  path marker = box.root() / "marker";
  int status = testing_support::run_in_new_process("Prefs.StoredApplicationsResolveInANewProcess",
                                                   {{"TAVRINE_TEST_EXPECT_PATH", app.string()},
                                                    {"TAVRINE_TEST_CONFIG", box.config().string()},
                                                    {"TAVRINE_TEST_STATE", box.state().string()},
                                                    {"TAVRINE_TEST_MARKER", marker.string()}});
  EXPECT_EQ(status, 0);
  EXPECT_EQ(testing_support::read_file(marker), "resolved");
}

}  // namespace
