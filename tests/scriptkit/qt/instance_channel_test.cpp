// A second launch hands its files to the running instance.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include "scriptkit/app/open_message.h"
#include "scriptkit/qt/instance_channel.h"
#include "tests/support/another_user.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/private_bus.h"
#include "tests/support/qt_app.h"
#include "tests/support/sandbox.h"

using namespace scriptkit;
using app::decode_open_message;
using app::OpenMessage;

namespace {

using namespace std::string_literals;

// The exit codes of a launch played by a child process.
constexpr int kHandedOver = 10;
constexpr int kRanFirst = 11;
constexpr int kNoAnswer = 12;
constexpr int kCrashed = 13;

TEST(OpenMessage, RoundTripsPaths) {
  std::string bytes = app::encode_open_message({"/a b/c.tif", "/é.jpg"});
  EXPECT_EQ(bytes, "tavrine-open\0/a b/c.tif\0/é.jpg\0\0"s);
  OpenMessage message = decode_open_message(bytes);
  EXPECT_EQ(message.state, OpenMessage::State::Complete);
  EXPECT_EQ(message.paths, (std::vector<std::string>{"/a b/c.tif", "/é.jpg"}));
  message = decode_open_message(app::encode_open_message({}));
  EXPECT_EQ(message.state, OpenMessage::State::Complete);
  EXPECT_TRUE(message.paths.empty());
}

TEST(OpenMessage, CarriesTheStartupIdFirst) {
  std::string bytes = app::encode_open_message({"/a.tif"}, "box-12-3_TIME456");
  EXPECT_EQ(bytes, "tavrine-open\0id:box-12-3_TIME456\0/a.tif\0\0"s);
  OpenMessage message = decode_open_message(bytes);
  EXPECT_EQ(message.state, OpenMessage::State::Complete);
  EXPECT_EQ(message.startup_id, "box-12-3_TIME456");
  EXPECT_EQ(message.paths, std::vector<std::string>{"/a.tif"});
  EXPECT_EQ(decode_open_message(app::encode_open_message({}, "x")).startup_id, "x");
  EXPECT_EQ(decode_open_message("tavrine-open\0/a.tif\0id:x\0\0"s).state,
            OpenMessage::State::Malformed);
  EXPECT_EQ(decode_open_message("tavrine-open\0id:x\0id:y\0\0"s).state,
            OpenMessage::State::Malformed);
  EXPECT_EQ(decode_open_message("tavrine-open\0id:\0\0"s).state, OpenMessage::State::Malformed);
}

TEST(OpenMessage, WaitsForEveryTruncatedLength) {
  std::string bytes = app::encode_open_message({"/x/y.tif", "/z.png"}, "id_TIME1");
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    EXPECT_EQ(decode_open_message(bytes.substr(0, n)).state, OpenMessage::State::Incomplete)
        << "after " << n << " bytes";
  }
}

TEST(OpenMessage, RefusesWhatNoLaunchSends) {
  EXPECT_EQ(decode_open_message("tavrine-opem").state, OpenMessage::State::Malformed);
  EXPECT_EQ(decode_open_message("tavrine-open\0relative.tif\0\0"s).state,
            OpenMessage::State::Malformed);
  EXPECT_EQ(decode_open_message("tavrine-open\0/a\0\0more"s).state, OpenMessage::State::Malformed);
  std::string huge = "tavrine-open\0/"s + std::string(app::kMaxOpenMessage, 'x');
  EXPECT_EQ(decode_open_message(huge).state, OpenMessage::State::Malformed);
}

class InstanceChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::qt_application();
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
  }
  testing_support::TempDir dir;
};

TEST_F(InstanceChannelTest, MakesAPrivateSocketUnderTheRuntimeFolder) {
  QString socket = qt::InstanceChannel::socket_path();
  EXPECT_EQ(socket.toStdString(), (dir.path() / "tavrine" / "instance").string());
  struct stat info {};
  ASSERT_EQ(::stat((dir.path() / "tavrine").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(InstanceChannelTest, WithNobodyListeningNothingIsHandedOver) {
  EXPECT_FALSE(qt::InstanceChannel::hand_over({"/a.tif"}, qt::InstanceChannel::socket_path(), 200));
}

// The second launch runs as its own process (the real program would); here
// a child process of this test program plays it, with QProcess's event loop
// letting the listening side answer.
TEST_F(InstanceChannelTest, TheRunningInstanceTakesTheFiles) {
  QString socket = qt::InstanceChannel::socket_path();
  qt::InstanceChannel channel;
  std::vector<std::vector<std::string>> received;
  ASSERT_TRUE(channel.listen(
      socket, [&](std::vector<std::string> paths) { received.push_back(std::move(paths)); }));

  QProcess second;
  second.setProgram(QCoreApplication::applicationFilePath());
  second.setArguments({"--gtest_filter=InstanceChannelHelper.HandOver"});
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TAVRINE_TEST_SOCKET", socket);
  second.setProcessEnvironment(env);
  second.start();
  QElapsedTimer clock;
  clock.start();
  while (second.state() != QProcess::NotRunning && clock.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardOutput().toStdString();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], (std::vector<std::string>{"/Jobs/cover.tif", "/Jobs/back.jpg"}));
}

TEST_F(InstanceChannelTest, AStaleSocketIsReplaced) {
  QString socket = qt::InstanceChannel::socket_path();
  // A socket file nobody listens on, as a crashed instance leaves it.
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket.toLocal8Bit().constData(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  ASSERT_TRUE(std::filesystem::exists(socket.toStdString()));
  EXPECT_FALSE(qt::InstanceChannel::hand_over({}, socket, 200));
  qt::InstanceChannel channel;
  EXPECT_TRUE(channel.listen(socket, [](std::vector<std::string>) {}));
}

// Without a runtime folder the socket's folder lies in the temporary
// folder, which every user may write to (sticky, like /tmp).
class SharedTemporaryFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_support::can_play_another_user())
      GTEST_SKIP() << "needs root and setpriv to play a second user";
    testing_support::qt_application();
    ::unsetenv("XDG_RUNTIME_DIR");
    tmp = testing_support::shared_temporary_folder(dir.path());
    tmpdir = std::make_unique<testing_support::EnvVar>("TMPDIR", tmp.string());
  }
  // Waits until another user's listener is ready (false after 10 s).
  bool wait_for(const std::filesystem::path& marker, QProcess& process) {
    QElapsedTimer clock;
    clock.start();
    while (!std::filesystem::exists(marker) && clock.elapsed() < 10000) process.waitForFinished(20);
    return std::filesystem::exists(marker);
  }

  testing_support::TempDir dir;
  std::filesystem::path tmp = dir.path() / "tmp";
  std::filesystem::path squat = tmp / ("tavrine-" + std::to_string(::geteuid()));
  std::filesystem::path heard = tmp / "heard";
  std::unique_ptr<testing_support::EnvVar> tmpdir;
};

TEST_F(SharedTemporaryFolder, AnotherUsersFolderGetsNothing) {
  QProcess other;
  testing_support::start_as_another_user(
      other, {QCoreApplication::applicationFilePath(), "--gtest_filter=*.ListenAsAnotherUser"},
      {{"TAVRINE_TEST_SQUAT", QString::fromStdString(squat.string())},
       {"TAVRINE_TEST_HEARD", QString::fromStdString(heard.string())}});
  ASSERT_TRUE(wait_for(squat / "ready", other)) << other.readAllStandardOutput().toStdString();

  testing::internal::CaptureStderr();
  EXPECT_TRUE(qt::InstanceChannel::socket_path().isEmpty());
  EXPECT_TRUE(qt::InstanceChannel::socket_path().isEmpty());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "tavrine: launches do not hand pictures over: " + squat.string() +
                " belongs to another user\n");
  QString socket = QString::fromStdString((squat / "instance").string());
  EXPECT_FALSE(qt::InstanceChannel::hand_over({"/Jobs/secret.tif"}, socket, 500));
  qt::InstanceChannel channel;
  EXPECT_FALSE(channel.listen(socket, [](std::vector<std::string>) {}));
  other.kill();
  other.waitForFinished();
  EXPECT_FALSE(std::filesystem::exists(heard)) << "the other user heard from us";
}

TEST_F(SharedTemporaryFolder, AListenerOfAnotherUserIsLeftBeforeAnythingIsSent) {
  // Our own private folder, in which another user got a socket while it
  // was open for a moment.
  QString socket = qt::InstanceChannel::socket_path();
  ASSERT_EQ(socket.toStdString(), (squat / "instance").string());
  ::chmod(squat.c_str(), 0777);
  QProcess other;
  testing_support::start_as_another_user(
      other, {QCoreApplication::applicationFilePath(), "--gtest_filter=*.ListenAsAnotherUser"},
      {{"TAVRINE_TEST_SQUAT", QString::fromStdString(squat.string())},
       {"TAVRINE_TEST_HEARD", QString::fromStdString(heard.string())}});
  bool ready = wait_for(squat / "ready", other);
  ::chmod(squat.c_str(), 0700);
  ASSERT_TRUE(ready);
  EXPECT_FALSE(qt::InstanceChannel::hand_over({"/Jobs/secret.tif"}, socket, 2000));
  other.waitForFinished(5000);
  EXPECT_FALSE(std::filesystem::exists(heard)) << "the other user heard from us";
}

TEST_F(SharedTemporaryFolder, ALinkedFolderIsNeitherUsedNorChanged) {
  std::filesystem::path documents = dir.path() / "Documents";
  ASSERT_EQ(::mkdir(documents.c_str(), 0755), 0);
  ::chmod(documents.c_str(), 0755);
  QProcess other;
  testing_support::start_as_another_user(other,
                                         {"ln", "-s", QString::fromStdString(documents.string()),
                                          QString::fromStdString(squat.string())});
  ASSERT_TRUE(other.waitForFinished(10000));
  ASSERT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();

  testing::internal::CaptureStderr();
  EXPECT_TRUE(qt::InstanceChannel::socket_path().isEmpty());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("is a link or not a folder"),
            std::string::npos);
  EXPECT_FALSE(qt::InstanceChannel::hand_over(
      {"/Jobs/secret.tif"}, QString::fromStdString((squat / "instance").string()), 500));
  struct stat info {};
  ASSERT_EQ(::stat(documents.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0755u) << "the folder the link leads to kept its mode";
  EXPECT_FALSE(std::filesystem::exists(documents / "instance"));
}

// Run only by the tests above, as another user: listens on the socket in
// the folder TAVRINE_TEST_SQUAT (made open to all when missing), and writes
// whatever a connection sends to TAVRINE_TEST_HEARD.
TEST(InstanceChannelHelper, ListenAsAnotherUser) {
  const char* folder = std::getenv("TAVRINE_TEST_SQUAT");
  const char* heard = std::getenv("TAVRINE_TEST_HEARD");
  if (!folder || !heard) GTEST_SKIP() << "another user in the tests above";
  if (::mkdir(folder, 0777) == 0) ::chmod(folder, 0777);
  std::string socket_file = std::string(folder) + "/instance";
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket_file.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::chmod(socket_file.c_str(), 0777);
  ASSERT_EQ(::listen(fd, 4), 0);
  testing_support::write_file(std::string(folder) + "/ready", "");
  pollfd waiting{fd, POLLIN, 0};
  if (::poll(&waiting, 1, 10000) != 1) return;
  int connection = ::accept(fd, nullptr, nullptr);
  char bytes[4096];
  pollfd reading{connection, POLLIN, 0};
  ssize_t n = ::poll(&reading, 1, 1000) == 1 ? ::read(connection, bytes, sizeof bytes) : 0;
  if (n > 0) testing_support::write_file(heard, std::string(bytes, std::size_t(n)));
  (void)!::write(connection, "taken\n", 6);
  ::close(connection);
}

// Launches played by child processes of this test program, each running the
// helper test with the environment given; returns their exit codes.
std::vector<int> run_launches(const std::vector<QProcessEnvironment>& environments,
                              const std::function<void()>& meanwhile = {}) {
  std::vector<std::unique_ptr<QProcess>> launches;
  for (const auto& env : environments) {
    launches.push_back(std::make_unique<QProcess>());
    launches.back()->setProgram(QCoreApplication::applicationFilePath());
    launches.back()->setArguments({"--gtest_filter=InstanceChannelHelper.Launch"});
    launches.back()->setProcessEnvironment(env);
  }
  for (auto& launch : launches) launch->start();
  if (meanwhile) meanwhile();
  std::vector<int> codes;
  for (auto& launch : launches) {
    QElapsedTimer clock;
    clock.start();
    while (launch->state() != QProcess::NotRunning && clock.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    codes.push_back(launch->exitCode());
  }
  return codes;
}

QProcessEnvironment launch_environment(const QString& socket, const std::string& picture,
                                       const std::filesystem::path& record) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TAVRINE_TEST_LAUNCH_SOCKET", socket);
  env.insert("TAVRINE_TEST_PICTURE", QString::fromStdString(picture));
  env.insert("TAVRINE_TEST_RECORD", QString::fromStdString(record.string()));
  return env;
}

TEST_F(InstanceChannelTest, LaunchesAtTheSameMomentAgreeOnOneThatTakesEveryPicture) {
  QString socket = qt::InstanceChannel::socket_path();
  std::vector<QProcessEnvironment> environments;
  for (int i = 1; i <= 5; ++i) {
    environments.push_back(
        launch_environment(socket, "/Jobs/" + std::to_string(i) + ".tif", dir.path() / "record"));
  }
  std::vector<int> codes = run_launches(environments);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), kRanFirst), 1);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), kHandedOver), 4);
  auto lines = testing_support::read_lines(dir.path() / "record");
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"/Jobs/1.tif", "/Jobs/2.tif", "/Jobs/3.tif",
                                             "/Jobs/4.tif", "/Jobs/5.tif"}));
}

TEST_F(InstanceChannelTest, ABusyInstanceGetsTheLaunchLaterAndKeepsItsSocket) {
  QString socket = qt::InstanceChannel::socket_path();
  qt::InstanceChannel channel;
  ASSERT_EQ(channel.start({}, socket), qt::InstanceChannel::Start::first);
  std::vector<std::vector<std::string>> received;
  ASSERT_TRUE(channel.listen(
      socket, [&](std::vector<std::string> paths) { received.push_back(std::move(paths)); }));
  // Four seconds without an event loop, as a slow handler takes them.
  auto codes = run_launches({launch_environment(socket, "/Jobs/late.tif", dir.path() / "record")},
                            [] { QThread::msleep(4000); });
  EXPECT_EQ(codes, std::vector<int>{kHandedOver});
  EXPECT_EQ(received, std::vector<std::vector<std::string>>{{"/Jobs/late.tif"}});
  EXPECT_TRUE(std::filesystem::exists(socket.toStdString()));
}

TEST_F(InstanceChannelTest, TheLockOfAnInstanceThatDiedIsTakenOver) {
  QString socket = qt::InstanceChannel::socket_path();
  auto env = launch_environment(socket, "/Jobs/a.tif", dir.path() / "record");
  env.insert("TAVRINE_TEST_CRASH", "1");
  run_launches({env});
  ASSERT_TRUE(std::filesystem::exists(socket.toStdString() + ".lock"));
  qt::InstanceChannel channel;
  EXPECT_EQ(channel.start({"/Jobs/b.tif"}, socket, 2000), qt::InstanceChannel::Start::first);
  EXPECT_TRUE(channel.listen(socket, [](std::vector<std::string>) {}));
}

// A launch, run only as a child process of the tests above: the one that runs
// first records its own picture and those handed to it for two seconds, or
// until five have come; one told to crash dies holding the lock.
TEST(InstanceChannelHelper, Launch) {
  const char* socket = std::getenv("TAVRINE_TEST_LAUNCH_SOCKET");
  if (!socket) GTEST_SKIP() << "a launch of another test";
  testing_support::qt_application();
  std::ofstream record(std::getenv("TAVRINE_TEST_RECORD"), std::ios::app);
  qt::InstanceChannel channel;
  auto start = channel.start({std::getenv("TAVRINE_TEST_PICTURE")}, socket);
  if (std::getenv("TAVRINE_TEST_CRASH")) std::_Exit(kCrashed);
  if (start == qt::InstanceChannel::Start::handed_over) std::_Exit(kHandedOver);
  if (start == qt::InstanceChannel::Start::no_answer) std::_Exit(kNoAnswer);
  int pictures = 1;
  record << std::getenv("TAVRINE_TEST_PICTURE") << std::endl;
  channel.listen(socket, [&](std::vector<std::string> paths) {
    for (const auto& path : paths) record << path << std::endl;
    pictures += static_cast<int>(paths.size());
  });
  QElapsedTimer clock;
  clock.start();
  while (pictures < 5 && clock.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  std::_Exit(kRanFirst);
}

// Run only as the child process of TheRunningInstanceTakesTheFiles.
TEST(InstanceChannelHelper, HandOver) {
  const char* socket = std::getenv("TAVRINE_TEST_SOCKET");
  if (!socket) GTEST_SKIP() << "the second launch of another test";
  testing_support::qt_application();
  EXPECT_TRUE(qt::InstanceChannel::hand_over({"/Jobs/cover.tif", "/Jobs/back.jpg"}, socket));
}

}  // namespace
