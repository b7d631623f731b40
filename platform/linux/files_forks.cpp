// File data: the table of open files and reading, writing, sizing, flushing
// and closing them, on POSIX file descriptors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>

#include "platform/faults.h"
#include "platform/linux/files_internal.h"

namespace platform {
namespace {

// How many files may be open at once; the program opens one at a time.
constexpr std::size_t kOpenFileLimit = 64;

struct OpenFile {
  files::UniqueFd fd;
  bool can_write = false;
};

std::array<std::optional<OpenFile>, kOpenFileLimit>& open_files() {
  static std::array<std::optional<OpenFile>, kOpenFileLimit> table;
  return table;
}

OpenFile* lookup(SInt16 refNum) {
  if (refNum < 1 || static_cast<std::size_t>(refNum) > kOpenFileLimit) return nullptr;
  auto& slot = open_files()[static_cast<std::size_t>(refNum - 1)];
  return slot ? &*slot : nullptr;
}

int open_flags(SInt8 permission) {
  switch (permission) {
    case fsRdPerm:
      return O_RDONLY;
    case fsWrPerm:
      return O_WRONLY;
    default:
      return O_RDWR;
  }
}

// Opens the file at ref's path, which must still be ref's item and a
// regular file. Anything else is refused before it is opened, since opening
// a device can already act on it; O_NONBLOCK keeps a pipe that took the
// file's place meanwhile from blocking the open.
OSErr open_data(const FSRef& ref, SInt8 permission, SInt16* refNum) {
  if (!refNum || permission < fsCurPerm || permission > fsRdWrPerm) return paramErr;
  struct stat before;
  if (::stat(ref.path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) return notAFileErr;
  int extra = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  files::UniqueFd fd(::open(ref.path.c_str(), open_flags(permission) | extra));
  bool can_write = permission != fsRdPerm;
  if (!fd.valid() && permission == fsCurPerm && (errno == EACCES || errno == EROFS)) {
    fd.reset(::open(ref.path.c_str(), O_RDONLY | extra));
    can_write = false;
  }
  if (!fd.valid()) return status_from_errno(errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return status_from_errno(errno);
  if (st.st_dev != ref.device || st.st_ino != ref.inode) return fnfErr;
  if (!S_ISREG(st.st_mode)) return notAFileErr;
  ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
  for (std::size_t i = 0; i < kOpenFileLimit; ++i) {
    if (open_files()[i]) continue;
    open_files()[i] = OpenFile{std::move(fd), can_write};
    *refNum = static_cast<SInt16>(i + 1);
    return noErr;
  }
  return tmfoErr;
}

// The byte position a positioning mode and offset name; -1 when invalid.
off_t position_of(const OpenFile& file, UInt16 mode, SInt64 offset) {
  off_t base = 0;
  if (mode == fsAtMark || mode == fsFromMark) {
    base = ::lseek(file.fd.get(), 0, SEEK_CUR);
  } else if (mode == fsFromLEOF) {
    struct stat st;
    base = ::fstat(file.fd.get(), &st) == 0 ? st.st_size : -1;
  } else if (mode != fsFromStart) {
    return -1;
  }
  if (base < 0) return -1;
  off_t at = base + (mode == fsAtMark ? 0 : offset);
  return at < 0 ? -1 : at;
}

}  // namespace

OSErr files::write_all(int fd, off_t at, const std::uint8_t* bytes, std::size_t count,
                       std::size_t& done) {
  std::optional<WriteFault> fault = take_write_fault();
  std::size_t limit = fault ? std::min(count, fault->bytes_first) : count;
  done = 0;
  while (done < limit) {
    ssize_t n = ::pwrite(fd, bytes + done, limit - done, at + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return status_from_errno(errno);
    done += static_cast<std::size_t>(n);
  }
  if (fault && limit < count) {
    if (fault->ends_process) ::_exit(75);
    return fault->status;
  }
  return noErr;
}

std::size_t open_file_count() {
  std::size_t count = 0;
  for (const auto& slot : open_files()) count += slot.has_value();
  return count;
}

}  // namespace platform

using platform::OpenFile;

OSErr FSpOpenDF(const FSSpec* spec, SInt8 permission, SInt16* refNum) {
  if (!spec) return paramErr;
  FSRef ref;
  OSErr err = platform::files::resolve_spec(*spec, ref);
  if (err != noErr) return err;
  return platform::open_data(ref, permission, refNum);
}

OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* /*forkName*/,
                 SInt8 permissions, SInt16* forkRefNum) {
  if (!ref) return paramErr;
  if (forkNameLength != 0) return errFSForkNotFound;
  return platform::open_data(*ref, permissions, forkRefNum);
}

OSErr FSReadFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset,
                 ByteCount requestCount, void* buffer, ByteCount* actualCount) {
  if (actualCount) *actualCount = 0;
  OpenFile* file = platform::lookup(forkRefNum);
  if (!file) return platform::status_from_errno(EBADF);
  if (!buffer && requestCount > 0) return paramErr;
  off_t at = platform::position_of(*file, positionMode, positionOffset);
  if (at < 0) return paramErr;
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  OSErr err = noErr;
  while (done < requestCount) {
    ssize_t n =
        ::pread(file->fd.get(), bytes + done, requestCount - done, at + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) err = platform::status_from_errno(errno);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (err == noErr && done < requestCount) err = eofErr;
  ::lseek(file->fd.get(), at + static_cast<off_t>(done), SEEK_SET);
  if (actualCount) *actualCount = done;
  return err;
}

OSErr FSRead(SInt16 refNum, long* count, void* buffPtr) {
  if (!count || *count < 0) return paramErr;
  ByteCount actual = 0;
  OSErr err = FSReadFork(refNum, fsAtMark, 0, static_cast<ByteCount>(*count), buffPtr, &actual);
  *count = static_cast<long>(actual);
  return err;
}

OSErr FSWriteFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset,
                  ByteCount requestCount, const void* buffer, ByteCount* actualCount) {
  if (actualCount) *actualCount = 0;
  OpenFile* file = platform::lookup(forkRefNum);
  if (!file) return platform::status_from_errno(EBADF);
  if (!file->can_write) return wrPermErr;
  if (!buffer && requestCount > 0) return paramErr;
  off_t at = platform::position_of(*file, positionMode, positionOffset);
  if (at < 0) return paramErr;
  std::size_t done = 0;
  OSErr err = platform::files::write_all(
      file->fd.get(), at, static_cast<const std::uint8_t*>(buffer), requestCount, done);
  ::lseek(file->fd.get(), at + static_cast<off_t>(done), SEEK_SET);
  if (actualCount) *actualCount = done;
  return err;
}

OSErr FSSetForkSize(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset) {
  OpenFile* file = platform::lookup(forkRefNum);
  if (!file) return platform::status_from_errno(EBADF);
  if (!file->can_write) return wrPermErr;
  off_t size = platform::position_of(*file, positionMode, positionOffset);
  if (size < 0) return paramErr;
  return ::ftruncate(file->fd.get(), size) == 0 ? OSErr{noErr} : platform::status_from_errno(errno);
}

OSErr FSFlushFork(SInt16 forkRefNum) {
  OpenFile* file = platform::lookup(forkRefNum);
  if (!file) return platform::status_from_errno(EBADF);
  return ::fsync(file->fd.get()) == 0 ? OSErr{noErr} : platform::status_from_errno(errno);
}

OSErr FSCloseFork(SInt16 forkRefNum) {
  if (!platform::lookup(forkRefNum)) return platform::status_from_errno(EBADF);
  auto& slot = platform::open_files()[static_cast<std::size_t>(forkRefNum - 1)];
  int result = slot->fd.reset();
  int error = errno;
  slot.reset();
  return result == 0 ? OSErr{noErr} : platform::status_from_errno(error);
}

OSErr FSClose(SInt16 refNum) {
  return FSCloseFork(refNum);
}
