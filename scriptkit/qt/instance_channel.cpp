#include "scriptkit/qt/instance_channel.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>

#include "scriptkit/app/open_message.h"
#include "scriptkit/qt/qt_text.h"

namespace scriptkit::qt {
namespace {

constexpr char kTaken[] = "taken\n";
// How often a launch looks again for the instance that holds the lock.
constexpr unsigned long kLockPollMs = 50;

// The socket's folder: "tavrine" in the runtime folder, or, without one, a
// folder of this user's own in the temporary folder.
std::string socket_folder() {
  QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (runtime.startsWith('/')) return from_qt(runtime) + "/tavrine";
  return from_qt(QDir::tempPath()) + "/tavrine-" + std::to_string(::geteuid());
}

// True when only this user can enter the folder: checked on the opened
// folder itself, which must be a folder (not a link to one), owned by this
// user and closed to everyone else. `why` says what is wrong otherwise.
bool is_private_folder(const std::string& path, std::string& why) {
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    why = errno == ELOOP || errno == ENOTDIR ? "is a link or not a folder" : std::strerror(errno);
    return false;
  }
  struct stat info {};
  bool checked = ::fstat(fd, &info) == 0;
  ::close(fd);
  if (!checked || !S_ISDIR(info.st_mode)) {
    why = "is not a folder";
  } else if (info.st_uid != ::geteuid()) {
    why = "belongs to another user";
  } else if ((info.st_mode & 07777) != 0700) {
    why = "is open to other users";
  } else {
    return true;
  }
  return false;
}

// Makes the folder when it is missing and checks it. An item already there
// is only looked at: mkdir never follows a link, and nothing here changes
// the mode of anything by its path.
bool make_private_folder(const std::string& path, std::string& why) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    why = std::strerror(errno);
    return false;
  }
  return is_private_folder(path, why);
}

// True when the process at the other end of a connected local socket runs
// as this user.
bool peer_is_this_user(qintptr descriptor) {
  struct ucred peer {};
  socklen_t size = sizeof peer;
  return ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.uid == ::geteuid();
}

}  // namespace

InstanceChannel::InstanceChannel() = default;

InstanceChannel::~InstanceChannel() {
  m_server.close();
}

QString InstanceChannel::socket_path() {
  const std::string folder = socket_folder();
  std::string why;
  if (make_private_folder(folder, why)) return to_qt(folder + "/instance");
  static std::string said;  // once for each folder
  if (said != folder) {
    std::fprintf(stderr, "tavrine: launches do not hand pictures over: %s %s\n", folder.c_str(),
                 why.c_str());
    said = folder;
  }
  return {};
}

bool InstanceChannel::hand_over(const std::vector<std::string>& paths, const QString& socket,
                                int timeout_ms, const std::string& startup_id) {
  std::string why;
  if (socket.isEmpty() || !is_private_folder(from_qt(QFileInfo(socket).path()), why)) return false;
  QLocalSocket client;
  client.connectToServer(socket);
  if (!client.waitForConnected(timeout_ms)) return false;
  if (!peer_is_this_user(client.socketDescriptor())) {
    client.abort();
    return false;
  }
  std::string message = app::encode_open_message(paths, startup_id);
  client.write(message.data(), static_cast<qint64>(message.size()));
  if (!client.waitForBytesWritten(timeout_ms)) return false;
  QByteArray answer;
  while (!answer.contains('\n') && client.waitForReadyRead(timeout_ms)) answer += client.readAll();
  return answer == kTaken;
}

// The lock of the socket's instance, held from here on; its holder's
// process id is written in it, so a lock left by a crashed instance is stale
// and taken over.
bool InstanceChannel::take_lock(const QString& socket) {
  if (m_lock && m_lock->isLocked()) return true;
  m_lock = std::make_unique<QLockFile>(socket + ".lock");
  m_lock->setStaleLockTime(0);  // only a dead holder makes it stale
  return m_lock->tryLock(0);
}

InstanceChannel::Start InstanceChannel::start(const std::vector<std::string>& paths,
                                              const QString& socket, int patience_ms,
                                              const std::string& startup_id) {
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    const int left = std::max(patience_ms - static_cast<int>(clock.elapsed()), 1);
    if (hand_over(paths, socket, left, startup_id)) return Start::handed_over;
    if (take_lock(socket)) return Start::first;
    if (clock.elapsed() >= patience_ms) return Start::no_answer;
    QThread::msleep(kLockPollMs);
  }
}

bool InstanceChannel::listen(const QString& socket,
                             std::function<void(std::vector<std::string>)> received) {
  m_received = std::move(received);
  std::string why;
  if (socket.isEmpty() || !is_private_folder(from_qt(QFileInfo(socket).path()), why)) return false;
  if (!take_lock(socket)) return false;
  m_server.setSocketOptions(QLocalServer::UserAccessOption);
  if (!m_server.listen(socket)) {
    // This instance holds the lock, so whoever made the socket has gone.
    QLocalServer::removeServer(socket);
    if (!m_server.listen(socket)) return false;
  }
  QObject::connect(&m_server, &QLocalServer::newConnection, &m_server,
                   [this] { take_connection(); });
  return true;
}

void InstanceChannel::take_connection() {
  while (QLocalSocket* connection = m_server.nextPendingConnection()) {
    auto buffer = std::make_shared<std::string>();
    QObject::connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
    // A sender that never finishes its message is dropped.
    QTimer::singleShot(10000, connection, [connection] { connection->abort(); });
    QObject::connect(connection, &QLocalSocket::readyRead, connection, [this, connection, buffer] {
      QByteArray bytes = connection->readAll();
      buffer->append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
      app::OpenMessage message = app::decode_open_message(*buffer);
      if (message.state == app::OpenMessage::State::Incomplete) return;
      if (message.state == app::OpenMessage::State::Malformed) {
        connection->abort();
        return;
      }
      connection->write(kTaken);
      connection->flush();
      connection->disconnectFromServer();
      if (m_startup_id_received && !message.startup_id.empty())
        m_startup_id_received(message.startup_id);
      if (m_received) m_received(std::move(message.paths));
    });
  }
}

}  // namespace scriptkit::qt
