// Texts that the window script hands over as paths: whatever their bytes,
// turning them into short texts and back stays inside them, and a shortened
// name cut to its own length comes back unchanged (what resolving relies on).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/linux/files_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::size_t limit = data[0] % 80;
  const ino_t inode = static_cast<ino_t>(data[1]) * 0x10001u;
  std::string shortened = platform::files::shortened_name(text, inode, limit);
  if (platform::files::shortened_name(text, inode, shortened.size()) != shortened) std::abort();
  if (platform::files::shortened_inode(shortened) != std::uint64_t(inode)) std::abort();
  (void)platform::text_of_short_text(text);
  // Paths are resolved read-only; only short texts of existing items are
  // made, so a path under a fresh name leaves the file system as it was.
  (void)platform::short_text_of(text);
  return 0;
}
