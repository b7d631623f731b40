#include "scriptkit/qt/instance_channel.h"

#include <sys/stat.h>
#include <unistd.h>

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

// A folder only this user can enter, made if missing; false when it exists
// but belongs to someone else or is open to others.
bool private_folder(const QString& path) {
  QDir().mkpath(path);
  ::chmod(path.toLocal8Bit().constData(), 0700);
  struct stat info {};
  if (::lstat(path.toLocal8Bit().constData(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

}  // namespace

InstanceChannel::InstanceChannel() = default;

InstanceChannel::~InstanceChannel() {
  m_server.close();
}

QString InstanceChannel::socket_path() {
  QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  QString folder = runtime.startsWith('/')
                       ? runtime + "/tavrine"
                       : QDir::tempPath() + "/tavrine-" + QString::number(::getuid());
  private_folder(folder);
  return folder + "/instance";
}

bool InstanceChannel::hand_over(const std::vector<std::string>& paths, const QString& socket,
                                int timeout_ms, const std::string& startup_id) {
  QLocalSocket client;
  client.connectToServer(socket);
  if (!client.waitForConnected(timeout_ms)) return false;
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
  QFileInfo folder(QFileInfo(socket).path());
  if (!private_folder(folder.filePath())) return false;
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
