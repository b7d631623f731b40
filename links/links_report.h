// The links report: for every picture placed in a Scribus document, whether
// its file is there, its pixel size and colour profile (read by the same
// header readers as the window's picture information) and the resolution it
// prints at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "links/placed_pictures.h"

namespace links {

enum class LinkStatus {
  Found,       // a regular file
  Missing,     // nothing at the path
  NotRegular,  // a folder, a FIFO, a device...
  Embedded,    // the picture's data is inside the document
};

struct Link {
  PlacedPicture placed;
  LinkStatus status = LinkStatus::Missing;
  std::int64_t pixel_width = 0;  // 0 when unknown (missing, or a format not read)
  std::int64_t pixel_height = 0;
  std::string profile_name;  // UTF-8; empty when there is none
  // The effective resolution, 72 / scale, rounded as Scribus shows it; 0 when
  // the document gives no scale.
  int ppi_x = 0;
  int ppi_y = 0;
  bool low_resolution = false;  // under the minimum asked for
};

struct LinksReport {
  std::string document;  // the document's path as given
  int min_ppi = 0;       // 0: no minimum asked for
  std::vector<Link> links;
  int found = 0;
  int missing = 0;  // missing or not a regular file
  int low_resolution = 0;
};

// The lower of the two effective resolutions, or 0 when neither is known.
int effective_ppi(const Link& link);

// Looks at each picture's file (once per distinct path, however often it is
// placed) and fills the report. With `min_ppi` > 0, a picture whose lower
// effective resolution is under it is marked and counted.
LinksReport make_links_report(std::vector<PlacedPicture> pictures, int min_ppi);

// 0 when every picture is found (embedded ones count as found) and, when a
// minimum was asked for, none is under it; 1 otherwise.
int links_exit_status(const LinksReport& report);

const char* status_name(LinkStatus status);  // "found", "missing", ...

}  // namespace links
