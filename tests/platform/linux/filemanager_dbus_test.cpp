// The desktop's file manager as the process 'MACS': found on a private session
// bus (running or activatable) or as the default folder handler, and reached
// with a reveal event.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/aedesc.h"
#include "platform/aliases.h"
#include "platform/appleevents.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "tests/support/private_bus.h"
#include "tests/support/reveal_support.h"
#include "tests/support/sandbox.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

const OSType kMACS = kFileManagerSignature;

class FileManagerProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("DISPLAY");
    fs::create_directories(folder);
  }
  void TearDown() override {
    EXPECT_EQ(platform::live_descriptor_count(), 0u);
    EXPECT_EQ(platform::live_handle_count(), 0u);
  }
  std::unique_ptr<PrivateBus> bus(PrivateBus::Options options = {}) {
    return std::make_unique<PrivateBus>(desktop.root(), options);
  }

  DesktopSandbox desktop;
  fs::path folder = desktop.root() / "Volumes" / "Disk" / "Folder";
};

TEST_F(FileManagerProcess, RunningProviderIsListedAfterThisProgram) {
  auto b = bus();
  EXPECT_EQ(process_signatures(), "???? ");
  b->start_file_manager();
  EXPECT_EQ(process_signatures(), "???? MACS ");

  ProcessSerialNumber psn = find_process(kMACS);
  Str255 name{};
  FSSpec app{1, 2, {3}};
  ProcessInfoRec info{};
  info.processInfoLength = kProcessInfoRecLength;
  info.processName = name;
  info.processAppSpec = &app;
  ASSERT_EQ(GetProcessInformation(&psn, &info), noErr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "file_manager_st");
  EXPECT_EQ(info.processType, FOUR_CHAR_CODE("APPL"));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(app.name + 1), app.name[0]),
            "file_manager_standin");
  EXPECT_NE(app.vRefNum, 0);

  info.processInfoLength = kProcessInfoRecLength - 1;
  EXPECT_EQ(GetProcessInformation(&psn, &info), paramErr);
}

TEST_F(FileManagerProcess, WalkEndsWithNoProcess) {
  auto b = bus();
  b->start_file_manager();
  ProcessSerialNumber psn{0, kNoProcess};
  ASSERT_EQ(GetNextProcess(&psn), noErr);
  ASSERT_EQ(GetNextProcess(&psn), noErr);
  EXPECT_EQ(GetNextProcess(&psn), procNotFound);
  EXPECT_TRUE(is_no_process(psn));
  ProcessSerialNumber unknown{7, 7};
  EXPECT_EQ(GetNextProcess(&unknown), procNotFound);
  EXPECT_EQ(SetFrontProcess(&unknown), procNotFound);
}

TEST_F(FileManagerProcess, ShowItemsGetsTheEscapedUriOfTheItem) {
  auto b = bus();
  b->start_file_manager();
  fs::path odd = desktop.root() / "A b#c%\xC3\xA9";
  fs::create_directories(odd);
  ASSERT_EQ(send_reveal(find_process(kMACS), odd), noErr);
  ASSERT_TRUE(settle_file_manager_requests());
  ASSERT_EQ(b->calls().size(), 1u);
  EXPECT_EQ(b->calls()[0], "ShowItems||file://" + desktop.root().string() + "/A%20b%23c%25%C3%A9");
}

TEST_F(FileManagerProcess, FrontRequestTravelsOnceAsTheStartupId) {
  auto b = bus();
  b->start_file_manager();
  ProcessSerialNumber psn = find_process(kMACS);
  ASSERT_EQ(SetFrontProcess(&psn), noErr);
  ProcessSerialNumber front{};
  GetFrontProcess(&front);
  EXPECT_EQ(front.lowLongOfPSN, psn.lowLongOfPSN);
  ASSERT_EQ(send_reveal(psn, folder), noErr);
  ASSERT_EQ(send_reveal(psn, folder, true), noErr);

  auto calls = b->calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_TRUE(calls[0].starts_with("ShowItems|tavrine-")) << calls[0];
  EXPECT_NE(calls[0].find("_TIME"), std::string::npos);
  EXPECT_TRUE(calls[0].ends_with("|" + uri_of(folder)));
  EXPECT_EQ(calls[1], "ShowItems||" + uri_of(folder));
}

TEST_F(FileManagerProcess, ActivatableProviderIsListedAndStartedByTheSend) {
  auto b = bus({.activatable_file_manager = true});
  EXPECT_FALSE(b->file_manager_owns_name());
  ProcessSerialNumber psn = find_process(kMACS);
  ASSERT_FALSE(is_no_process(psn));
  ASSERT_EQ(send_reveal(psn, folder, true), noErr);
  EXPECT_TRUE(b->file_manager_owns_name());
  EXPECT_EQ(b->calls(), std::vector<std::string>{"ShowItems||" + uri_of(folder)});
}

TEST_F(FileManagerProcess, RefusedOrVanishedFileManagerFailsTheSend) {
  auto b = bus({.failing_file_manager = true});
  b->start_file_manager();
  ProcessSerialNumber psn = find_process(kMACS);
  EXPECT_EQ(send_reveal(psn, folder, true), connectionInvalid);
  EXPECT_EQ(b->calls().size(), 1u);

  b->stop_file_manager();
  EXPECT_EQ(send_reveal(psn, folder, true), connectionInvalid);
  EXPECT_TRUE(is_no_process(find_process(kMACS)));
  EXPECT_EQ(send_reveal(psn, folder), procNotFound);
}

TEST_F(FileManagerProcess, SendWithoutWaitingLeavesASlowOrSilentFileManagerBehind) {
  for (PrivateBus::Options options : {PrivateBus::Options{.answer_after_ms = 10000},
                                      PrivateBus::Options{.silent_file_manager = true}}) {
    TempDir dir;
    auto b = std::make_unique<PrivateBus>(dir.path(), options);
    b->start_file_manager();
    ProcessSerialNumber psn = find_process(kMACS);
    ASSERT_EQ(send_reveal(psn, folder), noErr);
    ASSERT_EQ(send_reveal(psn, folder), noErr);
    EXPECT_EQ(platform::file_manager_requests_in_flight(), 2);
    EXPECT_FALSE(settle_file_manager_requests(200));
    EXPECT_EQ(b->calls().size(), 2u);
    b.reset();  // the bus goes, and the calls end with it
    EXPECT_TRUE(settle_file_manager_requests());
  }
}

TEST_F(FileManagerProcess, FolderThatCannotBeSelectedIsOpened) {
  auto b = bus();
  b->start_file_manager();
  ProcessSerialNumber psn = find_process(kMACS);
  ASSERT_EQ(send_reveal(psn, "/", true), noErr);
  ASSERT_EQ(send_reveal(psn, "/proc", true), noErr);  // a mounted file system
  ASSERT_EQ(send_reveal(psn, folder, true), noErr);
  EXPECT_EQ(b->calls(),
            (std::vector<std::string>{"ShowFolders||file:///", "ShowFolders||file:///proc",
                                      "ShowItems||" + uri_of(folder)}));
}

TEST_F(FileManagerProcess, EventsItDoesNotTakeAreRefused) {
  auto b = bus();
  b->start_file_manager();
  ProcessSerialNumber self{0, kNoProcess};
  GetNextProcess(&self);
  EXPECT_EQ(send_reveal(self, folder), errAEEventNotHandled);
  EXPECT_EQ(send_reveal({0, kNoProcess}, folder), procNotFound);

  ProcessSerialNumber psn = find_process(kMACS);
  AEAddressDesc address;
  AECreateDesc(typeProcessSerialNumber, &psn, sizeof psn, &address);
  AppleEvent open_event;
  AECreateAppleEvent(FOUR_CHAR_CODE("aevt"), FOUR_CHAR_CODE("odoc"), &address,
                     kAutoGenerateReturnID, kAnyTransactionID, &open_event);
  AppleEvent bare;
  AECreateAppleEvent(kAEMiscStandards, kAEMakeObjectsVisible, &address, kAutoGenerateReturnID,
                     kAnyTransactionID, &bare);
  EXPECT_EQ(AESend(&open_event, nullptr, kAENoReply, 0, kAEDefaultTimeout, nullptr, nullptr),
            errAEEventNotHandled);
  EXPECT_EQ(AESend(&bare, nullptr, kAENoReply, 0, kAEDefaultTimeout, nullptr, nullptr),
            errAEDescNotFound);
  AEDisposeDesc(&open_event);
  AEDisposeDesc(&bare);
  AEDisposeDesc(&address);
  EXPECT_TRUE(b->calls().empty());
}

TEST_F(FileManagerProcess, AliasOfAReplacedFolderDoesNotFindIt) {
  auto b = bus();
  b->start_file_manager();
  ProcessSerialNumber psn = find_process(kMACS);
  AliasHandle alias = nullptr;
  ASSERT_EQ(platform::new_alias_for_ref(ref_of(folder), &alias), noErr);
  fs::rename(folder, folder.parent_path() / "Old");
  fs::create_directory(folder);  // the same path, another folder
  AEDesc object;
  AECreateDesc(typeAlias, *alias, GetHandleSize(reinterpret_cast<Handle>(alias)), &object);
  AEAddressDesc address;
  AECreateDesc(typeProcessSerialNumber, &psn, sizeof psn, &address);
  AppleEvent event;
  AECreateAppleEvent(kAEMiscStandards, kAEMakeObjectsVisible, &address, kAutoGenerateReturnID,
                     kAnyTransactionID, &event);
  AEPutParamDesc(&event, keyDirectObject, &object);
  EXPECT_EQ(AESend(&event, nullptr, kAENoReply, 0, kAEDefaultTimeout, nullptr, nullptr), fnfErr);
  AEDisposeDesc(&event);
  AEDisposeDesc(&address);
  AEDisposeDesc(&object);
  DisposeHandle(reinterpret_cast<Handle>(alias));
  EXPECT_TRUE(b->calls().empty());
}

// Without a provider on the bus: the default folder handler, if it is one.
class FolderHandler : public FileManagerProcess {
 protected:
  // A program that writes its startup id and then its arguments to the marker.
  fs::path recorder() {
    fs::path program = desktop.root() / "bin" / "record-launch";
    fs::create_directories(program.parent_path());
    std::ofstream(program)
        << "#!/bin/sh\n{ echo \"id=$DESKTOP_STARTUP_ID\"; for a; do echo \"$a\"; done; } > '"
        << marker.string() << ".tmp' && mv '" << marker.string() << ".tmp' '" << marker.string()
        << "'\n";
    fs::permissions(program, fs::perms::owner_all);
    return program;
  }
  fs::path marker = desktop.root() / "launched";
};

TEST_F(FolderHandler, FileManagerOpensTheParentFolder) {
  auto b = bus();
  desktop.add_application("files", "Files", recorder().string() + " %F", "inode/directory;",
                          "Categories=System;Core;GTK;FileManager;\n");
  desktop.set_default("inode/directory", "files");
  ProcessSerialNumber psn = find_process(kMACS);
  ASSERT_FALSE(is_no_process(psn));
  FSSpec app{};
  ProcessInfoRec info{};
  info.processInfoLength = kProcessInfoRecLength;
  info.processAppSpec = &app;
  ASSERT_EQ(GetProcessInformation(&psn, &info), noErr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(app.name + 1), app.name[0]), "files.desktop");

  ASSERT_EQ(SetFrontProcess(&psn), noErr);
  ASSERT_EQ(send_reveal(psn, folder), noErr);
  EXPECT_EQ(platform::file_manager_requests_in_flight(), 0);
  ASSERT_TRUE(wait_for_file(marker));
  auto lines = read_lines(marker);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].starts_with("id=tavrine-")) << lines[0];
  EXPECT_NE(lines[0].find("_TIME"), std::string::npos);
  EXPECT_EQ(lines[1], folder.parent_path().string());
}

TEST_F(FolderHandler, RootIsOpenedItself) {
  auto b = bus();
  desktop.add_application("files", "Files", recorder().string() + " %F", "inode/directory;",
                          "Categories=FileManager;\n");
  desktop.set_default("inode/directory", "files");
  ASSERT_EQ(send_reveal(find_process(kMACS), "/"), noErr);
  ASSERT_TRUE(wait_for_file(marker));
  EXPECT_EQ(read_lines(marker), (std::vector<std::string>{"id=", "/"}));
}

TEST_F(FolderHandler, BusStartedFileManagerWithoutItsServiceFailsLater) {
  auto b = bus();
  desktop.add_application("org.example.Files", "Files", recorder().string() + " %U",
                          "inode/directory;", "Categories=FileManager;\nDBusActivatable=true\n");
  desktop.set_default("inode/directory", "org.example.Files");
  ProcessSerialNumber psn = find_process(kMACS);
  ASSERT_FALSE(is_no_process(psn));
  EXPECT_EQ(send_reveal(psn, folder, true), connectionInvalid);
  EXPECT_EQ(send_reveal(psn, folder), noErr);
  EXPECT_EQ(platform::file_manager_requests_in_flight(), 1);
  EXPECT_TRUE(settle_file_manager_requests());
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(FolderHandler, RunningProviderComesFirst) {
  auto b = bus();
  b->start_file_manager();
  desktop.add_application("files", "Files", recorder().string() + " %F", "inode/directory;",
                          "Categories=FileManager;\n");
  desktop.set_default("inode/directory", "files");
  ASSERT_EQ(send_reveal(find_process(kMACS), folder, true), noErr);
  EXPECT_EQ(b->calls().size(), 1u);
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(FolderHandler, OtherFolderHandlerIsNeverUsed) {
  auto b = bus();
  desktop.add_application("editor", "Code Editor", recorder().string() + " %F",
                          "inode/directory;text/plain;", "Categories=Development;TextEditor;\n");
  desktop.set_default("inode/directory", "editor");
  EXPECT_EQ(process_signatures(), "???? ");
  ProcessSerialNumber psn = find_process(kMACS);
  EXPECT_TRUE(is_no_process(psn));
  EXPECT_EQ(send_reveal(psn, folder), procNotFound);
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(FolderHandler, NoSessionBusAndNoHandlerMeansNoFileManager) {
  setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (desktop.root() / "nobus").string()).c_str(),
         1);
  EXPECT_EQ(process_signatures(), "???? ");
}

}  // namespace
