// The desktop's file manager, the process behind the signature 'MACS'. Found,
// in this order, as:
//  1. the provider of org.freedesktop.FileManager1 on the session bus: the
//     name's owner, or a service the bus can start for it (ListActivatableNames);
//     items are shown with ShowItems(uris, startup id);
//  2. the default application for folders (inode/directory, mime-apps rules),
//     only when its desktop entry lists the category FileManager; an item is
//     shown by opening its parent folder in it (that is the most it can do to
//     put the item in view), with the startup id in the launch environment.
// A folder handler that is not a file manager (an editor, a search tool) is
// never used: then there is no file manager.
// A folder no file manager can select, because nothing holds it (the root, a
// mount point), is opened itself: ShowFolders, or the folder given to the
// folder handler.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

class FileManager {
 public:
  virtual ~FileManager() = default;
  // Stays the same while the same provider is found again.
  virtual std::string identity() const = 0;
  // The name to show for the process (UTF-8).
  virtual std::string name() const = 0;
  // The application's desktop entry or executable, or empty.
  virtual std::string application_path() const = 0;
  // The file manager's answer to a request: noErr once it has taken it;
  // connectionInvalid when it cannot be reached or refuses; errAETimeout
  // when it does not answer in time.
  using Answer = std::function<void(OSErr)>;
  // Asks to show the items (absolute paths, UTF-8) with the startup id (may
  // be empty) and returns at once, never waiting for the file manager: noErr
  // once the request is on its way, and `answered` is called exactly once,
  // later, from the thread's GLib main context (possibly before this returns
  // when the answer is known at once). Any other status: nothing was sent and
  // `answered` is never called. timeout_ms < 0 for the default.
  virtual OSErr show_items(const std::vector<std::string>& paths, const std::string& startup_id,
                           int timeout_ms, Answer answered) = 0;
};

// Sends the request and waits for the answer on a main context of its own,
// so that no other event of the program runs meanwhile.
OSErr show_items_and_wait(FileManager& manager, const std::vector<std::string>& paths,
                          const std::string& startup_id, int timeout_ms);

// The desktop's file manager now, or nullptr when it has none.
std::unique_ptr<FileManager> find_file_manager();

// A new startup id for a request to come to the front, ending in
// "_TIME<timestamp>" like the desktop's startup notification ids.
std::string make_startup_id();

}  // namespace platform
