// A second launch hands its files to the running instance.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "scriptkit/app/open_message.h"
#include "scriptkit/qt/instance_channel.h"
#include "tests/app/qt_app.h"
#include "tests/support/sandbox.h"

using namespace scriptkit;
using app::decode_open_message;
using app::OpenMessage;

namespace {

using namespace std::string_literals;

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

TEST(OpenMessage, WaitsForEveryTruncatedLength) {
  std::string bytes = app::encode_open_message({"/x/y.tif", "/z.png"});
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

// Run only as the child process of TheRunningInstanceTakesTheFiles.
TEST(InstanceChannelHelper, HandOver) {
  const char* socket = std::getenv("TAVRINE_TEST_SOCKET");
  if (!socket) GTEST_SKIP() << "the second launch of another test";
  testing_support::qt_application();
  EXPECT_TRUE(qt::InstanceChannel::hand_over({"/Jobs/cover.tif", "/Jobs/back.jpg"}, socket));
}

}  // namespace
