// The program's own files, saved whole and read without blocking.
#include "platform/state_files.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/linux/files_internal.h"

namespace platform {
namespace {

using files::UniqueFd;

// A name for the new file beside the old one stays within NAME_MAX.
constexpr std::size_t kNameKept = 200;
// Fresh names tried before giving up; each is 64 random bits.
constexpr int kNameAttempts = 16;

// The file a path finally leads to after its symbolic links, also when that
// file does not exist yet (a dangling link names the file to make).
OSErr link_target(const std::string& path, std::string& target) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0) {
      return errno == ENOENT ? OSErr{noErr} : status_from_errno(errno);
    }
    if (!S_ISLNK(st.st_mode)) return noErr;
    char text[PATH_MAX];
    ssize_t length = ::readlink(target.c_str(), text, sizeof text - 1);
    if (length <= 0) return length < 0 ? status_from_errno(errno) : OSErr{fnfErr};
    std::string next(text, static_cast<std::size_t>(length));
    target = next[0] == '/' ? next : files::join(files::parent_of(target), next);
  }
  return fnfErr;  // a loop of links
}

// The folder of that file, opened, and the file's name in it.
OSErr open_target_folder(const std::string& path, UniqueFd& folder, std::string& name) {
  std::string target;
  OSErr err = link_target(path, target);
  if (err != noErr) return err;
  name = files::name_of(target);
  if (!files::valid_item_name(name)) return bdNamErr;
  folder.reset(::open(files::parent_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return folder.valid() ? OSErr{noErr} : status_from_errno(errno);
}

// ".<name>.saving-<16 hex digits>", hidden and never a name the program reads.
std::string fresh_name(const std::string& name) {
  static unsigned long long counter = 0;
  unsigned long long bits = 0;
  // Without random bits (a very early boot), the process and a count still
  // tell the names apart.
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != sizeof bits)
    bits = (static_cast<unsigned long long>(::getpid()) << 32) ^ ++counter;
  char tail[32];
  std::snprintf(tail, sizeof tail, ".saving-%016llx", bits);
  return "." + name.substr(0, kNameKept) + tail;
}

// The new file while it is written: unnamed (O_TMPFILE) until it is linked
// under a fresh name; that name is removed again unless the file took the
// old one's place.
class NewFile {
 public:
  NewFile(int folder, const std::string& name) : m_folder(folder), m_name(name) {}
  ~NewFile() {
    if (!m_temporary.empty()) ::unlinkat(m_folder, m_temporary.c_str(), 0);
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Opens it, unnamed where the file system can.
  OSErr create(mode_t mode, bool unnamed) {
    if (unnamed) {
      m_fd.reset(::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
      if (m_fd.valid()) return noErr;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      std::string fresh = fresh_name(m_name);
      int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;
      m_fd.reset(::openat(m_folder, fresh.c_str(), flags, mode));
      if (m_fd.valid()) {
        m_temporary = fresh;
        return noErr;
      }
      if (errno != EEXIST) return status_from_errno(errno);
    }
    return dupFNErr;
  }

  // Writes and syncs the bytes, with the old file's permissions and owner.
  OSErr fill(std::string_view bytes, const struct stat* old) {
    if (old) {
      // A user cannot give a file away; then it stays ours, which is fine.
      (void)!::fchown(m_fd.get(), old->st_uid, old->st_gid);
      if (::fchmod(m_fd.get(), old->st_mode & 07777) != 0) return status_from_errno(errno);
    }
    std::size_t done = 0;
    OSErr err = files::write_all(m_fd.get(), 0, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                 bytes.size(), done);
    if (err != noErr) return err;
    return ::fsync(m_fd.get()) == 0 ? OSErr{noErr} : status_from_errno(errno);
  }

  // Gives an unnamed file its fresh name. False when the system cannot
  // (no /proc); the caller then starts over with a named file.
  bool name() {
    if (!m_temporary.empty()) return true;
    std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      std::string fresh = fresh_name(m_name);
      if (::linkat(AT_FDCWD, self.c_str(), m_folder, fresh.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        m_temporary = fresh;
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }

  // Puts the file in the old one's place and syncs the folder.
  OSErr replace() {
    if (m_fd.reset() != 0) return status_from_errno(errno);
    if (::renameat(m_folder, m_temporary.c_str(), m_folder, m_name.c_str()) != 0)
      return status_from_errno(errno);
    m_temporary.clear();
    ::fsync(m_folder);
    return noErr;
  }

 private:
  int m_folder;
  std::string m_name;
  std::string m_temporary;  // the fresh name while the file has one
  UniqueFd m_fd;
};

// One attempt; `unnameable` says that an unnamed file could not be named,
// so that a second attempt may use a named one.
OSErr save_into(int folder, const std::string& name, std::string_view bytes, mode_t mode,
                const struct stat* old, bool unnamed, bool& unnameable) {
  NewFile file(folder, name);
  OSErr err = file.create(old ? 0600 : mode, unnamed);
  if (err == noErr) err = file.fill(bytes, old);
  if (err != noErr) return err;
  unnameable = !file.name();
  return unnameable ? OSErr{ioErr} : file.replace();
}

}  // namespace

OSErr write_state_file(const std::string& path, std::string_view bytes, std::uint32_t mode) {
  UniqueFd folder;
  std::string name;
  OSErr err = open_target_folder(path, folder, name);
  if (err != noErr) return err;
  struct stat old;
  bool exists = ::fstatat(folder.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) return status_from_errno(errno);
  // A link here now was put there since its target was found; it is not
  // followed a second time.
  if (exists && !S_ISREG(old.st_mode)) return notAFileErr;
  bool unnameable = false;
  err = save_into(folder.get(), name, bytes, mode, exists ? &old : nullptr, true, unnameable);
  if (unnameable)
    err = save_into(folder.get(), name, bytes, mode, exists ? &old : nullptr, false, unnameable);
  return err;
}

OSErr read_state_file(const std::string& path, std::size_t limit, std::string& bytes) {
  bytes.clear();
  struct stat before;
  if (::stat(path.c_str(), &before) != 0) return status_from_errno(errno);
  if (!S_ISREG(before.st_mode)) return notAFileErr;  // never opened
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat st;
  if (!fd.valid()) return status_from_errno(errno);
  if (::fstat(fd.get(), &st) != 0) return status_from_errno(errno);
  if (!S_ISREG(st.st_mode)) return notAFileErr;  // it changed since
  if (static_cast<std::uint64_t>(st.st_size) > limit) return ioErr;
  std::string text(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::read(fd.get(), text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return status_from_errno(errno);
    if (n == 0) break;  // cut short meanwhile
    done += static_cast<std::size_t>(n);
  }
  text.resize(done);
  bytes = std::move(text);
  return noErr;
}

}  // namespace platform
