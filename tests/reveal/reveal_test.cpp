// Revealing a folder of the picture's path: a real folder tree laid out like
// /Volumes/Disk/Folder/pic.tif in a temporary folder, a private session bus
// with a recording file manager, and a bell that counts.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/aedesc.h"
#include "platform/alerts.h"
#include "platform/appleevents.h"
#include "platform/faults.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "reveal/reveal.h"
#include "scriptkit/runtime/methods.h"
#include "shell/records.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/private_bus.h"
#include "tests/support/reveal_support.h"
#include "tests/support/sandbox.h"

namespace fs = std::filesystem;
using namespace testing_support;
using platform::Fault;

namespace {

// Keeps every event AESend is given in a list.
class KeptSends final : public platform::SendObserver {
 public:
  explicit KeptSends(std::vector<platform::SentEvent>& list) : m_list(list) {}
  void sent(const platform::SentEvent& event) override { m_list.push_back(event); }

 private:
  std::vector<platform::SentEvent>& m_list;
};

class RevealFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("DISPLAY");
    fs::create_directories(tree / "Volumes" / "Disk" / "Folder");
    std::ofstream(tree / "Volumes" / "Disk" / "Folder" / "pic.tif") << "II*";
    set_picture(tree / "Volumes" / "Disk" / "Folder" / "pic.tif");
  }
  void TearDown() override {
    platform::clear_faults();
    EXPECT_EQ(platform::live_descriptor_count(), 0u) << "descriptors left";
    EXPECT_EQ(platform::live_handle_count(), 0u) << "handles left";
  }

  void set_picture(const fs::path& path) { CopyCStringToPascal(path.c_str(), G_INFO.picturePath); }
  // The count that gives the picture's own folder at level 0: the slashes of
  // the picture's path, 4 for /Volumes/Disk/Folder/pic.tif.
  SInt32 count() const {
    const std::string path = tree.string();
    return static_cast<SInt32>(std::count(path.begin(), path.end(), '/')) + 4;
  }
  void start_file_manager(PrivateBus::Options options = {}) {
    bus.emplace(desktop.root(), options);
    bus->start_file_manager();
  }
  std::string shown(const fs::path& item) const { return uri_of(item); }
  // The last call's startup id and items.
  std::string startup_id() const { return split(bus->calls().back())[1]; }
  std::string item_of_last_call() const { return split(bus->calls().back())[2]; }
  static std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1) {
      parts.push_back(line.substr(start, bar - start));
    }
    parts.push_back(line.substr(start));
    return parts;
  }
  // Reveals as the Reveal button does, and lets the file manager answer.
  static void reveal(SInt16 level, SInt32 folders) {
    HandleRevealFolder(level, folders);
    EXPECT_TRUE(settle_file_manager_requests());
  }
  bool file_manager_in_front() const {
    ProcessSerialNumber front{}, fm = find_process(kFileManagerSignature);
    GetFrontProcess(&front);
    return !is_no_process(fm) && front.lowLongOfPSN == fm.lowLongOfPSN;
  }

  DesktopSandbox desktop;
  fs::path tree = desktop.root() / "tree";
  std::optional<PrivateBus> bus;
  RecordingAlerts bell;
  std::vector<platform::SentEvent> sent;
  KeptSends keeper{sent};
  platform::ScopedBacking<platform::SendObserver> keeper_installed{&keeper};
};

TEST_F(RevealFolder, PicturesFolderIsSentTwiceAsAliases) {
  start_file_manager();
  reveal(0, count());
  EXPECT_EQ(bell.beeps, 0);
  ASSERT_EQ(bus->calls().size(), 1u);
  EXPECT_EQ(item_of_last_call(), shown(tree / "Volumes/Disk/Folder"));
  EXPECT_NE(startup_id().find("_TIME"), std::string::npos) << "brought forward";

  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].type, typeAppleEvent);
  EXPECT_EQ(sent[0].mode, 0x71);
  EXPECT_EQ(sent[0].priority, kAENormalPriority);
  EXPECT_EQ(sent[0].timeout, kAEDefaultTimeout);
  const auto& params = sent[0].data.items;
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0].key, keyDirectObject);
  EXPECT_EQ(params[0].type, typeAlias);
  EXPECT_EQ(params[1].key, keySelection);
  EXPECT_EQ(params[1].type, typeAEList);
  ASSERT_EQ(params[1].items.size(), 1u);
  EXPECT_EQ(params[1].items[0].type, typeAlias);
  EXPECT_EQ(params[1].items[0].bytes, params[0].bytes);
  const auto* addr = platform::find_item(sent[0].data.attributes, keyAddressAttr);
  ProcessSerialNumber fm = find_process(kFileManagerSignature);
  EXPECT_EQ(addr->type, typeProcessSerialNumber);
  EXPECT_EQ(std::memcmp(addr->bytes.data(), &fm, sizeof fm), 0);
}

TEST_F(RevealFolder, LevelsClimbTheTreeUpToItsRoot) {
  start_file_manager();
  reveal(1, count());
  EXPECT_EQ(item_of_last_call(), shown(tree / "Volumes/Disk"));
  reveal(3, count());
  EXPECT_EQ(item_of_last_call(), shown(tree));
  reveal(static_cast<SInt16>(count() - 1), count());  // target 1
  EXPECT_EQ(item_of_last_call(), "file:///");
  EXPECT_EQ(bell.beeps, 0);
}

TEST_F(RevealFolder, TargetZeroOrPastTheLastSlashGivesThePicture) {
  start_file_manager();
  reveal(static_cast<SInt16>(count()), count());  // target 0
  EXPECT_EQ(item_of_last_call(), shown(tree / "Volumes/Disk/Folder/pic.tif"));
  reveal(0, count() + 5);
  EXPECT_EQ(item_of_last_call(), shown(tree / "Volumes/Disk/Folder/pic.tif"));
  reveal(20, count());  // target below 0
  EXPECT_EQ(item_of_last_call(), shown(tree / "Volumes/Disk/Folder/pic.tif"));
  EXPECT_EQ(bus->calls().size(), 3u);
  EXPECT_EQ(bell.beeps, 0);
}

TEST_F(RevealFolder, BridgeTakesTheLevelAsSigned16Bits) {
  start_file_manager();
  scriptkit::runtime::registry().add(ask_program_methods);
  using scriptkit::Value;
  scriptkit::runtime::registry().call(
      scriptkit::runtime::kApplicationObject,
      "__HandleRevealFolder:withValue:", scriptkit::ValueList{Value(65536), Value(count())});
  ASSERT_TRUE(settle_file_manager_requests());
  ASSERT_EQ(bus->calls().size(), 1u);
  EXPECT_EQ(item_of_last_call(), shown(tree / "Volumes/Disk/Folder"));
  scriptkit::runtime::registry().call(
      scriptkit::runtime::kApplicationObject,
      "__HandleRevealFolder:withValue:", scriptkit::ValueList{Value(65537), Value(count())});
  ASSERT_TRUE(settle_file_manager_requests());
  EXPECT_EQ(item_of_last_call(), shown(tree / "Volumes/Disk"));
}

TEST_F(RevealFolder, AccentedAndOverlongNamesReachTheFileManager) {
  start_file_manager();
  std::string long_name(80, 'L');
  fs::create_directories(tree / "Caf\xC3\xA9" / long_name);
  std::ofstream(tree / "Caf\xC3\xA9" / long_name / "pic.tif") << "II*";
  // The picture's path as the program holds it: Mac Roman.
  std::string roman = tree.string() + "/Caf\x8E/" + long_name + "/pic.tif";
  CopyCStringToPascal(roman.c_str(), G_INFO.picturePath);
  SInt32 slashes = count() - 1;  // one folder fewer than the usual tree
  reveal(0, slashes);
  reveal(1, slashes);
  EXPECT_EQ(bell.beeps, 0);
  ASSERT_EQ(bus->calls().size(), 2u);
  EXPECT_EQ(split(bus->calls()[0])[2], shown(tree) + "/Caf%C3%A9/" + long_name);
  EXPECT_EQ(split(bus->calls()[1])[2], shown(tree) + "/Caf%C3%A9");
}

TEST_F(RevealFolder, MissingFolderOrEmptyPathBeepsOnceAndSendsNothing) {
  start_file_manager();
  set_picture(tree / "Volumes/Gone/Folder/pic.tif");
  reveal(1, count());
  EXPECT_EQ(bell.beeps, 1);
  G_INFO.picturePath[0] = 0;
  reveal(0, count());
  EXPECT_EQ(bell.beeps, 2);
  EXPECT_TRUE(sent.empty());
  EXPECT_TRUE(bus->calls().empty());
  EXPECT_FALSE(file_manager_in_front());
}

TEST_F(RevealFolder, NoFileManagerBeepsOnce) {
  bus.emplace(desktop.root(), PrivateBus::Options{});
  reveal(0, count());
  EXPECT_EQ(bell.beeps, 1);
  ASSERT_EQ(sent.size(), 1u);  // addressed to no process
  EXPECT_TRUE(bus->calls().empty());
}

TEST_F(RevealFolder, RefusingFileManagerBeepsOnceYetWasBroughtForward) {
  start_file_manager({.failing_file_manager = true});
  reveal(0, count());
  EXPECT_EQ(bell.beeps, 1);
  ASSERT_EQ(bus->calls().size(), 1u);
  EXPECT_NE(startup_id().find("_TIME"), std::string::npos);
}

TEST_F(RevealFolder, RefusalThatArrivesLaterBeepsOnceThen) {
  start_file_manager({.failing_file_manager = true, .answer_after_ms = 300});
  HandleRevealFolder(0, count());
  EXPECT_EQ(bell.beeps, 0);
  EXPECT_EQ(platform::file_manager_requests_in_flight(), 1);
  ASSERT_TRUE(settle_file_manager_requests());
  EXPECT_EQ(bell.beeps, 1);
}

TEST_F(RevealFolder, SilentFileManagerCostsNothingUntilTheBusGoes) {
  start_file_manager({.silent_file_manager = true});
  HandleRevealFolder(0, count());
  EXPECT_FALSE(settle_file_manager_requests(300));
  EXPECT_EQ(bell.beeps, 0);
  bus.reset();  // the call fails with the bus
  EXPECT_TRUE(settle_file_manager_requests());
  EXPECT_EQ(bell.beeps, 1);
}

TEST_F(RevealFolder, NoUserInteractionStillSendsWithoutComingForward) {
  start_file_manager();
  platform::inject_fault(Fault::interact_with_user, 1, errAENoUserInteraction);
  reveal(0, count());
  EXPECT_EQ(bell.beeps, 0);
  ASSERT_EQ(bus->calls().size(), 1u);
  EXPECT_EQ(startup_id(), "");
  EXPECT_FALSE(file_manager_in_front());
}

TEST_F(RevealFolder, FolderHandlerThatIsAFileManagerOpensTheParent) {
  bus.emplace(desktop.root(), PrivateBus::Options{});
  fs::path marker = desktop.root() / "launched";
  desktop.add_application("files", "Files", desktop.marker_program(marker).string() + " %F",
                          "inode/directory;", "Categories=System;FileManager;\n");
  desktop.set_default("inode/directory", "files");
  reveal(0, count());
  EXPECT_EQ(bell.beeps, 0);
  ASSERT_TRUE(wait_for_file(marker));
  EXPECT_EQ(read_lines(marker), std::vector<std::string>{(tree / "Volumes/Disk").string()});
}

// A failure once the event exists: one beep, nothing shown, yet the file
// manager was asked to come forward.
struct InjectedFailure {
  const char* name;
  Fault fault;
  int nth;
  friend std::ostream& operator<<(std::ostream& out, const InjectedFailure& f) {
    return out << f.name;
  }
};

class RevealFolderLateFailure : public RevealFolder,
                                public ::testing::WithParamInterface<InjectedFailure> {};

TEST_P(RevealFolderLateFailure, BeepsOnceAfterBringingTheFileManagerForward) {
  start_file_manager();
  platform::inject_fault(GetParam().fault, GetParam().nth, memFullErr);
  reveal(0, count());
  EXPECT_EQ(bell.beeps, 1);
  EXPECT_TRUE(bus->calls().empty());
  EXPECT_TRUE(file_manager_in_front());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RevealFolderLateFailure,
    ::testing::Values(InjectedFailure{"DirectObjectDescriptor", Fault::create_desc, 2},
                      InjectedFailure{"DirectObject", Fault::put_param_desc, 1},
                      InjectedFailure{"ListItemDescriptor", Fault::create_desc, 3},
                      InjectedFailure{"ListItem", Fault::put_desc, 1},
                      InjectedFailure{"List", Fault::create_list, 1},
                      InjectedFailure{"SelectionParameter", Fault::put_param_desc, 2},
                      InjectedFailure{"Send", Fault::send, 1}),
    [](const auto& p) { return std::string(p.param.name); });

// A failure before the event exists, or before the aliases are made: one
// beep, and the file manager stays where it is.
class RevealFolderEarlyFailure : public RevealFolder,
                                 public ::testing::WithParamInterface<InjectedFailure> {};

TEST_P(RevealFolderEarlyFailure, BeepsOnceAndLeavesTheFileManagerAlone) {
  start_file_manager();
  platform::inject_fault(GetParam().fault, GetParam().nth, memFullErr);
  reveal(0, count());
  EXPECT_EQ(bell.beeps, 1);
  EXPECT_TRUE(sent.empty());
  EXPECT_TRUE(bus->calls().empty());
  EXPECT_FALSE(file_manager_in_front());
}

INSTANTIATE_TEST_SUITE_P(Steps, RevealFolderEarlyFailure,
                         ::testing::Values(InjectedFailure{"Address", Fault::create_desc, 1},
                                           InjectedFailure{"Event", Fault::create_apple_event, 1},
                                           InjectedFailure{"FirstAlias", Fault::new_alias, 1},
                                           InjectedFailure{"SecondAlias", Fault::new_alias, 2}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
