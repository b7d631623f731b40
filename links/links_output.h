// The links report as a person reads it on a terminal, and as JSON for other
// programs.
#pragma once

#include <string>

#include "links/links_report.h"

namespace links {

// A table, a line per placed picture, columns padded to the widest cell
// (counted in terminal columns, so a name in Japanese lines up), then a
// summary line. A picture that is missing or under the minimum is marked "!"
// in the first column. Unknown values show as "-".
std::string links_table(const LinksReport& report);

// One JSON object (UTF-8, ending in a new line):
//   {"document": ..., "min_ppi": N or null, "count": N, "found": N,
//    "missing": N, "low_resolution": N,
//    "pictures": [{"page": N or null, "place": "page 2", "frame": ...,
//                  "path": ... (null when embedded), "stored_path": ..., "status": "found",
//                  "width": N or null, "height": N or null,
//                  "profile": ... or null, "ppi_x": N or null,
//                  "ppi_y": N or null, "low_resolution": bool,
//                  "inline": bool, "grouped": bool}, ...]}
std::string links_json(const LinksReport& report);

}  // namespace links
