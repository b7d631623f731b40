// The program's own files (its preferences, its window settings, its
// directory catalog): saving one whole, and reading one without ever
// blocking. Backed by POSIX calls on the Linux file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/oserr.h"

namespace platform {

// Replaces the file at `path` with `bytes` in one step: the bytes go to a new
// file beside it (unnamed with O_TMPFILE, or under a fresh name made with
// O_EXCL where the file system cannot do that), which is synced, renamed over
// the file, and then the folder is synced. A reader sees the old file or the
// new one, never a mix; two processes saving at once both succeed, and the
// file is the whole of one of their saves.
//
// - A symbolic link keeps its place: the file it leads to (after every link)
//   is replaced, or made when it does not exist yet.
// - The new file takes the old one's permissions and, where the system lets
//   us, its owner; a file made anew gets `mode` less the umask.
// - Only a regular file is ever replaced: a folder, a device, a pipe or a
//   socket, at the path or where its links lead, gives notAFileErr and is
//   left exactly as it was.
//
// Returns noErr, notAFileErr, or the status of the call that failed
// (dskFulErr for a full disk, permErr, fnfErr when the folder is missing...).
// On failure the old file is untouched and no new file is left behind.
// Honours the write faults (platform/faults.h).
OSErr write_state_file(const std::string& path, std::string_view bytes, std::uint32_t mode = 0666);

// Reads the whole file at `path` (symbolic links followed) into `bytes`. Only
// a regular file is opened, and with O_NONBLOCK, so a pipe or a device in its
// place never blocks the reader. Returns noErr; fnfErr when there is no file;
// notAFileErr for anything but a regular file; ioErr for a file longer than
// `limit` bytes; otherwise the status of the failed call. `bytes` is empty
// on failure.
OSErr read_state_file(const std::string& path, std::size_t limit, std::string& bytes);

}  // namespace platform
