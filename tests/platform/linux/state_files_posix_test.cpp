// The program's own files: saved whole, beside other processes saving, and
// read without blocking; odd items in their place are left alone.
#include "platform/state_files.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <cstring>

#include "platform/faults.h"
#include "tests/support/file_sandbox.h"

namespace {

using std::filesystem::path;

class StateFiles : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  path folder = dir.path();

  mode_t mode_of(const path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mode & 07777;
  }
};

TEST_F(StateFiles, ReplacesTheFileBehindALinkKeepingItsPermissions) {
  path real = folder / "dotfiles" / "settings";
  testing_support::write_file(real, "old");
  ::chmod(real.c_str(), 0640);
  path link = folder / "config" / "settings";
  testing_support::fs::create_directories(link.parent_path());
  testing_support::fs::create_symlink("../dotfiles/settings", link);

  ASSERT_EQ(platform::write_state_file(link.string(), "new"), noErr);
  EXPECT_TRUE(testing_support::fs::is_symlink(link));
  EXPECT_EQ(testing_support::read_file(real), "new");
  EXPECT_EQ(mode_of(real), 0640u);
  EXPECT_EQ(testing_support::names_in(real.parent_path()), std::vector<std::string>{"settings"});

  // A new file takes the mode asked for, less the umask; a link that leads
  // nowhere yet names the file to make.
  mode_t old_mask = ::umask(022);
  ASSERT_EQ(platform::write_state_file((folder / "fresh").string(), "x", 0666), noErr);
  ASSERT_EQ(platform::write_state_file((folder / "private").string(), "x", 0600), noErr);
  ::umask(old_mask);
  EXPECT_EQ(mode_of(folder / "fresh"), 0644u);
  EXPECT_EQ(mode_of(folder / "private"), 0600u);
  testing_support::fs::create_symlink("later", folder / "dangling");
  ASSERT_EQ(platform::write_state_file((folder / "dangling").string(), "made"), noErr);
  EXPECT_EQ(testing_support::read_file(folder / "later"), "made");
  EXPECT_EQ(platform::write_state_file((folder / "no" / "folder").string(), "x"), fnfErr);
}

TEST_F(StateFiles, NeverReplacesWhatIsNotARegularFile) {
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
  testing_support::fs::create_directories(folder / "folder");
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, (folder / "socket").c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  testing_support::fs::create_symlink("pipe", folder / "to-pipe");
  std::vector<std::string> odd = {"pipe", "folder", "socket", "to-pipe"};
  bool devices = testing_support::make_device(folder / "device");
  if (devices) {
    testing_support::fs::create_symlink(folder / "device", folder / "to-device");
    odd.insert(odd.end(), {"device", "to-device"});
  }
  const std::vector<std::string> before = testing_support::names_in(folder);
  for (const std::string& name : odd) {
    SCOPED_TRACE(name);
    EXPECT_EQ(platform::write_state_file((folder / name).string(), "record"), notAFileErr);
    std::string bytes = "left";
    EXPECT_EQ(platform::read_state_file((folder / name).string(), 100, bytes), notAFileErr);
    EXPECT_EQ(bytes, "");
  }
  EXPECT_EQ(testing_support::names_in(folder), before) << "nothing made, nothing left behind";
  EXPECT_TRUE(testing_support::fs::is_fifo(folder / "pipe"));
  EXPECT_TRUE(testing_support::fs::is_symlink(folder / "to-pipe"));
  if (!devices) GTEST_SKIP() << "devices cannot be made here (not root?)";
  EXPECT_TRUE(testing_support::is_untouched_device(folder / "device"));
}

TEST_F(StateFiles, AFailedSaveLeavesTheOldFileAndNothingElse) {
  testing_support::write_file(folder / "state", "whole old record");
  platform::inject_fault(platform::Fault::write, 1, dskFulErr, 4);
  EXPECT_EQ(platform::write_state_file((folder / "state").string(), "the new record"), dskFulErr);
  EXPECT_EQ(testing_support::read_file(folder / "state"), "whole old record");
  EXPECT_EQ(testing_support::names_in(folder), std::vector<std::string>{"state"});
  ::chmod(folder.c_str(), 0500);
  if (::access(folder.c_str(), W_OK) != 0) {  // root may write anyway
    EXPECT_EQ(platform::write_state_file((folder / "state").string(), "x"), permErr);
  }
  ::chmod(folder.c_str(), 0700);
}

TEST_F(StateFiles, ReadsWholeFilesWithinTheirLimit) {
  std::string bytes;
  EXPECT_EQ(platform::read_state_file((folder / "missing").string(), 100, bytes), fnfErr);
  testing_support::write_file(folder / "state", std::string(100, 'x'));
  ASSERT_EQ(platform::read_state_file((folder / "state").string(), 100, bytes), noErr);
  EXPECT_EQ(bytes, std::string(100, 'x'));
  EXPECT_EQ(platform::read_state_file((folder / "state").string(), 99, bytes), ioErr);
  EXPECT_EQ(bytes, "");
  testing_support::fs::create_symlink("state", folder / "link");
  ASSERT_EQ(platform::read_state_file((folder / "link").string(), 100, bytes), noErr);
  EXPECT_EQ(bytes.size(), 100u);
}

}  // namespace
