#include "links/links_report.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "platform/metadata.h"

namespace links {

namespace {

// What one file gave; shared by every frame that places it.
struct FileFacts {
  LinkStatus status = LinkStatus::Missing;
  std::int64_t pixel_width = 0;
  std::int64_t pixel_height = 0;
  std::string profile_name;
};

FileFacts look_at(const std::string& path) {
  FileFacts facts;
  std::error_code error;
  auto type = std::filesystem::status(path, error).type();
  if (type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::none)
    return facts;
  if (type != std::filesystem::file_type::regular) {
    facts.status = LinkStatus::NotRegular;
    return facts;
  }
  facts.status = LinkStatus::Found;
  CFStringRef cf_path = CFStringCreateWithUTF8(path);
  MDItemRef item = MDItemCreate(kCFAllocatorDefault, cf_path);
  CFRelease(cf_path);
  if (item == nullptr) return facts;
  facts.pixel_width = item->pixel_width;
  facts.pixel_height = item->pixel_height;
  facts.profile_name = item->profile_name;
  CFRelease(item);
  return facts;
}

// Scribus shows a frame's "actual PPI" as 72 / scale, rounded.
int ppi_of(double scale) {
  scale = std::fabs(scale);
  if (!(scale > 0) || !std::isfinite(scale)) return 0;
  double ppi = std::round(72.0 / scale);
  return ppi > 1e9 ? 1000000000 : static_cast<int>(ppi);
}

}  // namespace

int effective_ppi(const Link& link) {
  if (link.ppi_x == 0) return link.ppi_y;
  if (link.ppi_y == 0) return link.ppi_x;
  return std::min(link.ppi_x, link.ppi_y);
}

LinksReport make_links_report(std::vector<PlacedPicture> pictures, int min_ppi) {
  LinksReport report;
  report.min_ppi = min_ppi;
  std::map<std::string, FileFacts> seen;
  for (PlacedPicture& placed : pictures) {
    Link link;
    if (placed.embedded) {
      link.status = LinkStatus::Embedded;
    } else {
      auto known = seen.find(placed.path);
      if (known == seen.end()) known = seen.emplace(placed.path, look_at(placed.path)).first;
      const FileFacts& facts = known->second;
      link.status = facts.status;
      link.pixel_width = facts.pixel_width;
      link.pixel_height = facts.pixel_height;
      link.profile_name = facts.profile_name;
    }
    link.ppi_x = ppi_of(placed.scale_x);
    link.ppi_y = ppi_of(placed.scale_y);
    int ppi = effective_ppi(link);
    link.low_resolution = min_ppi > 0 && ppi > 0 && ppi < min_ppi;
    link.placed = std::move(placed);
    bool found = link.status == LinkStatus::Found || link.status == LinkStatus::Embedded;
    (found ? report.found : report.missing) += 1;
    report.low_resolution += link.low_resolution ? 1 : 0;
    report.links.push_back(std::move(link));
  }
  return report;
}

int links_exit_status(const LinksReport& report) {
  return report.missing == 0 && report.low_resolution == 0 ? 0 : 1;
}

const char* status_name(LinkStatus status) {
  switch (status) {
    case LinkStatus::Found:
      return "found";
    case LinkStatus::Missing:
      return "missing";
    case LinkStatus::NotRegular:
      return "not a regular file";
    case LinkStatus::Embedded:
      return "embedded";
  }
  return "missing";
}

}  // namespace links
