// The File Manager's readers of local files that another program may have
// written: catalog lines, Info.plist identifiers and netatalk's Finder
// information. No crash, no read past the bytes given, and a parsed catalog
// line formats back to a line that parses to the same values.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/bundle.h"
#include "platform/linux/files_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::files::CatalogLine line;
  if (platform::files::parse_catalog_line(text, line)) {
    std::string again = platform::files::format_catalog_line(line);
    platform::files::CatalogLine back;
    if (!platform::files::parse_catalog_line(std::string_view(again).substr(0, again.size() - 1),
                                             back) ||
        back.path != line.path || back.volume != line.volume || back.dir_id != line.dir_id ||
        back.inode != line.inode || back.witness != line.witness || back.used != line.used)
      abort();
  }
  (void)platform::bundle_identifier_from_plist(text);
  OSType type = 0, creator = 0;
  (void)platform::files::finder_info_from_apple_double({data, size}, type, creator);
  (void)platform::files::shortened_inode(text);
  return 0;
}
