// One running instance per user and desktop session. The first launch
// listens on a local socket, $XDG_RUNTIME_DIR/tavrine/instance (or
// $TMPDIR/tavrine-<uid>/instance when XDG_RUNTIME_DIR is unset); a later
// launch hands its files to it over that socket (scriptkit/app/open_message.h)
// and exits. The socket's folder must be private: a folder, not a link, owned
// by this user, mode 0700. Where another user got there first, launches do
// not hand over at all; each opens its own window. A lock file beside the
// socket (instance.lock) is held by the running instance for as long as it
// lives, so that launches at the same moment agree on one of them and nobody
// removes a live instance's socket.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>
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
                        int timeout_ms = 3000, const std::string& startup_id = {});

  // How a launch starts.
  enum class Start {
    handed_over,  // the running instance took the paths: this launch ends
    first,        // this launch holds the lock and is the one to run
    no_answer,    // an instance lives but did not take the paths in time
  };
  // Hands the paths to the running instance, or takes the lock when none
  // runs. While another launch holds the lock (starting up, or busy with a
  // modal dialog or a slow handler) it waits for that one to take the paths,
  // up to patience_ms, and never takes over from it. A lock whose holder has
  // died is taken over.
  // The startup id the desktop gave this launch goes with the paths.
  Start start(const std::vector<std::string>& paths, const QString& socket, int patience_ms = 30000,
              const std::string& startup_id = {});
  // Receives the startup id of each hand-over that carries one, just before
  // its paths.
  void on_startup_id(std::function<void(const std::string&)> received) {
    m_startup_id_received = std::move(received);
  }

  // Listens on the socket, replacing a stale one that no instance answers
  // on; the socket of an instance that holds the lock is never removed. Each
  // complete message is handed to `received` (possibly with no paths), after
  // the sender has been told that it was taken. False when the socket cannot
  // be made; the program then runs on alone.
  bool listen(const QString& socket, std::function<void(std::vector<std::string>)> received);

 private:
  bool take_lock(const QString& socket);
  void take_connection();
  std::unique_ptr<QLockFile> m_lock;
  QLocalServer m_server;
  std::function<void(std::vector<std::string>)> m_received;
  std::function<void(const std::string&)> m_startup_id_received;
};

}  // namespace scriptkit::qt
