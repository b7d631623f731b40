// The window script's own settings: the file, its values, the script methods.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "scriptkit/app/user_defaults.h"
#include "scriptkit/runtime/methods.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/sandbox.h"

using namespace scriptkit;
using scriptkit::app::UserDefaults;

namespace {

TEST(UserDefaults, LiveUnderTheConfigHome) {
  testing_support::TempDir dir;
  setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  EXPECT_EQ(UserDefaults::standard_file("tavrine"), dir.path() / "tavrine" / "defaults");
  setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
  setenv("HOME", dir.path().c_str(), 1);
  EXPECT_EQ(UserDefaults::standard_file("tavrine"),
            dir.path() / ".config" / "tavrine" / "defaults");
}

TEST(UserDefaults, RoundTripEveryKindOfValue) {
  testing_support::TempDir dir;
  auto file = dir.path() / "new-folder" / "defaults";
  UserDefaults written(file);
  ASSERT_FALSE(written.set("units", Value("Milli \"metres\" \\")));
  ASSERT_FALSE(written.set("count", Value(std::int64_t{-42})));
  ASSERT_FALSE(written.set("ratio", Value(2.5)));
  ASSERT_FALSE(written.set("on", Value(true)));
  ASSERT_FALSE(written.set("frame of window Main",
                           Value(ValueList{Value(1), Value(ValueList{Value("a"), Value(false)})})));
  ASSERT_TRUE(written.save());

  UserDefaults read_back(file);
  read_back.load();
  EXPECT_EQ(read_back.get("units").as_text(), "Milli \"metres\" \\");
  EXPECT_EQ(read_back.get("count").as_integer(), -42);
  EXPECT_EQ(read_back.get("ratio").as_real(), 2.5);
  EXPECT_TRUE(read_back.get("on").as_bool());
  const ValueList& frame = read_back.get("frame of window Main").as_list();
  ASSERT_EQ(frame.size(), 2u);
  EXPECT_EQ(frame[1].as_list()[0].as_text(), "a");
  EXPECT_EQ(testing_support::read_file(file),
            "# tavrine's window settings, written by tavrine\n"
            "\n"
            "[Settings]\n"
            "count=-42\n"
            "frame of window Main={1, {\"a\", false}}\n"
            "on=true\n"
            "ratio=2.5\n"
            "units=\"Milli \\\\\"metres\\\\\" \\\\\\\\\"\n");
}

TEST(UserDefaults, KeepKeysAndTextsOfAnyCharacter) {
  testing_support::TempDir dir;
  auto file = dir.path() / "defaults";
  UserDefaults written(file);
  const char* keys[] = {"a=b",         "[x]",  " lead", "trail ",           "#hash",
                        "line\nbreak", "100%", "%41",   "caf\xE9 (Latin-1)"};
  for (const char* key : keys) ASSERT_FALSE(written.set(key, Value(key)));
  ASSERT_TRUE(written.save());
  UserDefaults read_back(file);
  read_back.load();
  for (const char* key : keys) {
    if (std::string_view(key).starts_with("caf\xE9")) {
      EXPECT_EQ(read_back.get(key).as_text(), "caf\uFFFD (Latin-1)") << "texts are UTF-8";
    } else {
      EXPECT_EQ(read_back.get(key).as_text(), key) << key;
    }
  }
}

TEST(UserDefaults, ReadAFileOfAnEarlierVersionOnceThenSaveAKeyFile) {
  testing_support::TempDir dir;
  auto file = dir.write("defaults",
                        "# tavrine's window settings, written by tavrine\n"
                        "\"units\" = \"Millimetres\"\n"
                        "\"frame of window Main\" = {120, 140, 460, 360}\n");
  UserDefaults defaults(file);
  defaults.load();
  EXPECT_EQ(defaults.get("units").as_text(), "Millimetres");
  ASSERT_TRUE(defaults.save());
  EXPECT_EQ(testing_support::read_file(file),
            "# tavrine's window settings, written by tavrine\n\n[Settings]\n"
            "frame of window Main={120, 140, 460, 360}\nunits=\"Millimetres\"\n");
  UserDefaults again(file);
  again.load();
  EXPECT_EQ(again.get("frame of window Main").as_list().size(), 4u);
  EXPECT_EQ(again.get("units").as_text(), "Millimetres");
}

TEST(UserDefaults, SkipTheValuesOfAKeyFileThatCannotBeRead) {
  testing_support::TempDir dir;
  auto file = dir.write("defaults",
                        "[Settings]\n"
                        "a=1\n"
                        "b=\"open\n"
                        "c={1, {2}\n"
                        "f=\"kept\"\n"
                        "[Other]\n"
                        "g=2\n");
  UserDefaults defaults(file);
  defaults.load();
  EXPECT_EQ(defaults.get("a").as_integer(), 1);
  EXPECT_TRUE(defaults.get("b").is_missing());
  EXPECT_TRUE(defaults.get("c").is_missing());
  EXPECT_EQ(defaults.get("f").as_text(), "kept");
  EXPECT_TRUE(defaults.get("g").is_missing()) << "only the settings group is ours";
}

TEST(UserDefaults, KeepTheGoodLinesOfADamagedFile) {
  testing_support::TempDir dir;
  auto file = dir.write("defaults",
                        "\"a\" = 1\n"
                        "\"b\" = \"open\n"
                        "no quotes = 3\n"
                        "\"c\" = {1, {2}\n"
                        "\"d\" = 4 5\n"
                        "   # a comment\n"
                        "\"e\" = {{{{{{{{{{1}}}}}}}}}}\n"
                        "\"f\" = \"kept\"\n");
  UserDefaults defaults(file);
  defaults.load();
  EXPECT_EQ(defaults.get("a").as_integer(), 1);
  EXPECT_TRUE(defaults.get("b").is_missing());
  EXPECT_TRUE(defaults.get("c").is_missing());
  EXPECT_TRUE(defaults.get("d").is_missing());
  EXPECT_TRUE(defaults.get("e").is_missing()) << "lists nest eight deep at most";
  EXPECT_EQ(defaults.get("f").as_text(), "kept");
}

TEST(UserDefaults, RegisteredValuesStandInButAreNeverSaved) {
  testing_support::TempDir dir;
  UserDefaults defaults(dir.path() / "defaults");
  defaults.register_default("horizontalunits", Value("Inches"));  // as a record label comes
  EXPECT_EQ(defaults.get("horizontalUnits").as_text(), "Inches") << "keys ignore case";
  defaults.register_default("units", Value("Inches"));
  EXPECT_EQ(defaults.get("units").as_text(), "Inches");
  ASSERT_FALSE(defaults.set("units", Value("Points")));
  EXPECT_EQ(defaults.get("units").as_text(), "Points");
  defaults.remove("units");
  EXPECT_EQ(defaults.get("units").as_text(), "Inches");
  ASSERT_TRUE(defaults.save());
  EXPECT_EQ(testing_support::read_file(dir.path() / "defaults"),
            "# tavrine's window settings, written by tavrine\n");
  ASSERT_FALSE(defaults.set("Units", Value("Picas")));
  ASSERT_FALSE(defaults.set("UNITS", Value("Points")));
  ASSERT_TRUE(defaults.save());
  EXPECT_EQ(testing_support::read_file(dir.path() / "defaults"),
            "# tavrine's window settings, written by tavrine\n\n[Settings]\nUNITS=\"Points\"\n");
}

TEST(UserDefaults, RefuseValuesTheFileCannotHold) {
  UserDefaults defaults;
  auto error = defaults.set("r", Value(ValueRecord{{"a", Value(1)}}));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->number, kErrCantMake);
  EXPECT_TRUE(defaults.get("r").is_missing());
}

TEST(UserDefaults, APipeOrADeviceInTheFilesPlaceIsLeftAlone) {
  testing_support::TempDir dir;
  auto file = dir.path() / "defaults";
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  UserDefaults defaults(file);
  ::alarm(20);  // a hang ends the test program instead of the run
  defaults.load();
  ::alarm(0);
  ASSERT_FALSE(defaults.set("units", Value("Picas")));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(defaults.save());
  EXPECT_FALSE(defaults.save());
  EXPECT_EQ(
      testing::internal::GetCapturedStderr(),
      "tavrine: the window settings are not saved in " + file.string() + " (not a regular file)\n");
  EXPECT_TRUE(std::filesystem::is_fifo(file));

  std::filesystem::remove(file);
  if (!testing_support::make_device(dir.path() / "device"))
    GTEST_SKIP() << "devices cannot be made here";
  std::filesystem::create_symlink(dir.path() / "device", file);
  EXPECT_FALSE(defaults.save());
  EXPECT_TRUE(testing_support::is_untouched_device(dir.path() / "device"));
  EXPECT_EQ(testing_support::names_in(dir.path()),
            (std::vector<std::string>{"defaults", "device"}));
}

// A file system of 64 kB, filled to the last block before the save.
TEST(UserDefaults, AFullDiskKeepsTheOldFileAndSaysSo) {
  testing_support::TempDir dir;
  if (::unshare(CLONE_NEWNS) != 0 ||
      ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      ::mount("tavrine-test", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "no tmpfs of our own here (needs root): " << std::strerror(errno);
  }
  auto file = dir.path() / "tavrine" / "defaults";
  UserDefaults defaults(file);
  ASSERT_FALSE(defaults.set("units", Value("Picas")));
  ASSERT_TRUE(defaults.save());
  const std::string before = testing_support::read_file(file);
  {
    std::ofstream filler(dir.path() / "filler", std::ios::binary);
    std::string block(4096, 'x');
    for (int i = 0; i < 64 && filler.write(block.data(), block.size()); ++i) filler.flush();
  }
  ASSERT_FALSE(defaults.set("frame of window Main", Value(ValueList{Value(1), Value(2)})));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(defaults.save());
  EXPECT_EQ(
      testing::internal::GetCapturedStderr(),
      "tavrine: the window settings are not saved in " + file.string() + " (the disk is full)\n");
  EXPECT_EQ(testing_support::read_file(file), before);
  EXPECT_EQ(testing_support::names_in(file.parent_path()), std::vector<std::string>{"defaults"});
  std::filesystem::remove(dir.path() / "filler");
  EXPECT_TRUE(defaults.save());
  ::umount2(dir.path().c_str(), MNT_DETACH);
}

TEST(UserDefaults, ScriptsReachThemByClassMethods) {
  testing_support::TempDir dir;
  UserDefaults defaults(dir.path() / "defaults");
  app::install_user_defaults_methods(defaults);
  auto& registry = runtime::registry();
  Value record(ValueRecord{{"units", Value("Inches")}});
  ASSERT_FALSE(failed(registry.call("UserDefaults", "registerDefaults:", std::span(&record, 1))));
  Value key("units");
  auto got = registry.call("UserDefaults", "objectForKey:", std::span(&key, 1));
  EXPECT_EQ(std::get<Value>(got).as_text(), "Inches");

  Value pair[] = {Value("Picas"), Value("units")};
  ASSERT_FALSE(failed(registry.call("UserDefaults", "setObject:forKey:", pair)));
  UserDefaults on_disk(dir.path() / "defaults");
  on_disk.load();
  EXPECT_EQ(on_disk.get("units").as_text(), "Picas") << "a value set is written at once";

  ASSERT_FALSE(failed(registry.call("UserDefaults", "removeObjectForKey:", std::span(&key, 1))));
  got = registry.call("UserDefaults", "objectForKey:", std::span(&key, 1));
  EXPECT_EQ(std::get<Value>(got).as_text(), "Inches");
  Value bad[] = {Value(ValueRecord{}), Value("units")};
  EXPECT_EQ(std::get<ScriptError>(registry.call("UserDefaults", "setObject:forKey:", bad)).number,
            kErrCantMake);
}

}  // namespace
