// The report's two forms on a report made here: the table lines up wide
// (Japanese) names by terminal columns, and JSON gives null for what is not
// known.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <clocale>

#include "links/links_output.h"

namespace {

links::LinksReport sample_report() {
  links::PlacedPicture cover{links::Place::Page, 1,    "",  "cover", "../a/cover.jpg",
                             "/a/cover.jpg",     0.24, 0.24};
  links::PlacedPicture photo{links::Place::Master, 0,   "Normal", "写真", "写真.tif",
                             "/b/写真.tif",        0.5, 0.25};
  links::LinksReport report;
  report.document = "/a/catalogue.sla";
  report.min_ppi = 250;
  report.links.push_back({cover, links::LinkStatus::Found, 720, 360, "sRGB", 300, 300, false});
  report.links.push_back({photo, links::LinkStatus::Missing, 0, 0, "", 144, 288, true});
  report.found = report.missing = report.low_resolution = 1;
  return report;
}

TEST(LinksOutput, LinesUpTheTableByTerminalColumns) {
  std::setlocale(LC_CTYPE, "C.UTF-8");
  EXPECT_EQ(links::links_table(sample_report()),
            "   Place          Frame  Status   Pixels     PPI        Profile  Path\n"
            "   page 1         cover  found    720 x 360  300        sRGB     /a/cover.jpg\n"
            "!  master Normal  写真   missing  -          144 x 288  -        /b/写真.tif\n"
            "2 placed pictures: 1 found, 1 missing, 1 under 250 ppi\n");
}

TEST(LinksOutput, WritesNullForWhatIsNotKnown) {
  links::LinksReport report = sample_report();
  links::PlacedPicture kept{links::Place::Page, 3, "", "kept", "", "", 1, 1};
  kept.embedded = true;
  report.links.push_back({kept, links::LinkStatus::Embedded, 0, 0, "", 72, 72, false});
  QJsonDocument json =
      QJsonDocument::fromJson(QByteArray::fromStdString(links::links_json(report)));
  EXPECT_TRUE(json["pictures"][2]["path"].isNull()) << "kept inside the document";
  EXPECT_EQ(json["pictures"][2]["status"].toString(), "embedded");
  QJsonObject photo = json["pictures"][1].toObject();
  EXPECT_TRUE(photo["page"].isNull()) << "a master page is no page";
  EXPECT_EQ(photo["place"].toString(), "master Normal");
  EXPECT_EQ(photo["frame"].toString(), QStringLiteral("写真"));
  EXPECT_EQ(photo["status"].toString(), "missing");
  EXPECT_TRUE(photo["width"].isNull());
  EXPECT_TRUE(photo["height"].isNull());
  EXPECT_TRUE(photo["profile"].isNull());
  EXPECT_EQ(photo["ppi_y"].toInt(), 288);
  EXPECT_EQ(json["pictures"][0]["page"].toInt(), 1);
  EXPECT_EQ(json["pictures"][0]["profile"].toString(), "sRGB");
}

}  // namespace
