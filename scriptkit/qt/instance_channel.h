// One running instance per user and desktop session. The first launch
// listens on a local socket, $XDG_RUNTIME_DIR/tavrine/instance (or
// $TMPDIR/tavrine-<uid>/instance when XDG_RUNTIME_DIR is unset); a later
// launch hands its files to it over that socket (scriptkit/app/open_message.h)
// and exits. The socket's folder must be private: a folder, not a link, owned
// by this user, mode 0700. Where another user got there first, launches do
// not hand over at all; each opens its own window.
#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace scriptkit::qt {

class InstanceChannel {
 public:
  InstanceChannel();
  ~InstanceChannel();

  // The socket's path; its folder is made (mode 0700) when missing. Empty,
  // after one line on standard error, when the folder is not private.
  static QString socket_path();

  // Sends the paths to a running instance and waits until it has taken
  // them. False when none answers within the time given, and without
  // connecting when the socket's folder is not private; a listener that runs
  // as another user is left at once, before anything is sent.
  static bool hand_over(const std::vector<std::string>& paths, const QString& socket,
                        int timeout_ms = 3000);

  // Listens on the socket, replacing a stale one that no instance answers
  // on. Each complete message is handed to `received` (possibly with no
  // paths), after the sender has been told that it was taken. False when the
  // socket cannot be made; the program then runs on alone.
  bool listen(const QString& socket, std::function<void(std::vector<std::string>)> received);

 private:
  void take_connection();
  QLocalServer m_server;
  std::function<void(std::vector<std::string>)> m_received;
};

}  // namespace scriptkit::qt
