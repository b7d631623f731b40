#include "links/links_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>

#include "platform/terminal.h"

namespace links {

namespace {

constexpr std::size_t kColumns = 8;
using Row = std::array<std::string, kColumns>;

std::string or_dash(const std::string& text) {
  return text.empty() ? "-" : text;
}

std::string pixels_text(const Link& link) {
  if (link.pixel_width == 0 || link.pixel_height == 0) return "-";
  return std::to_string(link.pixel_width) + " x " + std::to_string(link.pixel_height);
}

std::string ppi_text(const Link& link) {
  if (link.ppi_x == 0 && link.ppi_y == 0) return "-";
  if (link.ppi_x == link.ppi_y) return std::to_string(link.ppi_x);
  return std::to_string(link.ppi_x) + " x " + std::to_string(link.ppi_y);
}

bool is_trouble(const Link& link) {
  bool found = link.status == LinkStatus::Found || link.status == LinkStatus::Embedded;
  return !found || link.low_resolution;
}

Row row_of(const Link& link) {
  Row row;
  row[0] = is_trouble(link) ? "!" : "";
  row[1] = place_label(link.placed);
  row[2] = or_dash(link.placed.frame);
  row[3] = status_name(link.status);
  row[4] = pixels_text(link);
  row[5] = ppi_text(link);
  row[6] = or_dash(link.profile_name);
  row[7] = or_dash(link.placed.path);
  return row;
}

std::string summary(const LinksReport& report) {
  std::string text = std::to_string(report.links.size()) + " placed picture" +
                     (report.links.size() == 1 ? "" : "s") + ": " + std::to_string(report.found) +
                     " found, " + std::to_string(report.missing) + " missing";
  if (report.min_ppi > 0) {
    text += ", " + std::to_string(report.low_resolution) + " under " +
            std::to_string(report.min_ppi) + " ppi";
  }
  return text + "\n";
}

QJsonValue number_or_null(std::int64_t value) {
  return value == 0 ? QJsonValue() : QJsonValue(static_cast<qint64>(value));
}

QString qt_text(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QJsonObject json_of(const Link& link) {
  const PlacedPicture& placed = link.placed;
  QJsonObject object;
  object["page"] = placed.place == Place::Page ? QJsonValue(placed.page) : QJsonValue();
  object["place"] = qt_text(place_label(placed));
  object["frame"] = qt_text(placed.frame);
  object["path"] = placed.path.empty() ? QJsonValue() : qt_text(placed.path);
  object["stored_path"] = qt_text(placed.stored_path);
  object["status"] = status_name(link.status);
  object["width"] = number_or_null(link.pixel_width);
  object["height"] = number_or_null(link.pixel_height);
  object["profile"] = link.profile_name.empty() ? QJsonValue() : qt_text(link.profile_name);
  object["ppi_x"] = number_or_null(link.ppi_x);
  object["ppi_y"] = number_or_null(link.ppi_y);
  object["low_resolution"] = link.low_resolution;
  object["inline"] = placed.inline_frame;
  object["grouped"] = placed.grouped;
  return object;
}

}  // namespace

std::string links_table(const LinksReport& report) {
  std::vector<Row> rows{{"", "Place", "Frame", "Status", "Pixels", "PPI", "Profile", "Path"}};
  for (const Link& link : report.links) rows.push_back(row_of(link));
  std::array<std::size_t, kColumns> widths{};
  for (const Row& row : rows) {
    for (std::size_t c = 0; c < kColumns; ++c)
      widths[c] = std::max(widths[c], platform::display_width(row[c]));
  }
  std::string text;
  for (const Row& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < kColumns; ++c) {
      line += row[c];
      if (c + 1 < kColumns) line.append(widths[c] - platform::display_width(row[c]) + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
  }
  return text + summary(report);
}

std::string links_json(const LinksReport& report) {
  QJsonArray pictures;
  for (const Link& link : report.links) pictures.append(json_of(link));
  QJsonObject object;
  object["document"] = qt_text(report.document);
  object["min_ppi"] = number_or_null(report.min_ppi);
  object["count"] = static_cast<qint64>(report.links.size());
  object["found"] = report.found;
  object["missing"] = report.missing;
  object["low_resolution"] = report.low_resolution;
  object["pictures"] = pictures;
  return QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace links
