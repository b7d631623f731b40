// The document reader on small documents written the way Scribus 1.5 writes
// them: where each kind of item is placed, and what a damaged or foreign file
// gives. (The documents of links_command_test.cpp come from Scribus itself.)
#include <gtest/gtest.h>

#include "links/placed_pictures.h"

namespace {

using links::Place;
using links::PlacedPicture;

std::string document(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SCRIBUSUTF8NEW Version=\"1.5.8\">"
         "<DOCUMENT ANZPAGES=\"3\">" +
         body + "</DOCUMENT></SCRIBUSUTF8NEW>\n";
}

std::string image(const std::string& name, const std::string& more) {
  return "<PAGEOBJECT PTYPE=\"2\" ANNAME=\"" + name + "\" LOCALSCX=\"0.24\" LOCALSCY=\"0.5\" " +
         more + "/>";
}

std::vector<PlacedPicture> read(const std::string& xml) {
  std::vector<PlacedPicture> pictures;
  std::string error;
  EXPECT_TRUE(links::read_placed_pictures(xml, "/work/job", pictures, error)) << error;
  return pictures;
}

std::string failure(const std::string& xml) {
  std::vector<PlacedPicture> pictures{PlacedPicture{}};
  std::string error;
  EXPECT_FALSE(links::read_placed_pictures(xml, "/work/job", pictures, error));
  EXPECT_TRUE(pictures.empty());
  return error;
}

TEST(PlacedPictures, PlacesEachKindOfItem) {
  auto pictures = read(
      document("<MASTEROBJECT PTYPE=\"2\" ANNAME=\"logo\" OwnPage=\"0\" OnMasterPage=\"Left\" "
               "PFILE=\"logo.tif\"/>" +
               image("cover", "OwnPage=\"0\" PFILE=\"../art/cover.jpg\"") +
               image("aside", "OwnPage=\"-1\" PFILE=\"/srv/art/aside.png\"") +
               "<PAGEOBJECT PTYPE=\"12\" OwnPage=\"2\" ANNAME=\"Group1\">" +
               image("member", "OwnPage=\"2\" PFILE=\"a/./b/../member.png\"") +
               "<PAGEOBJECT PTYPE=\"6\" ANNAME=\"box\" PFILE=\"not-a-picture.png\"/></PAGEOBJECT>" +
               image("empty", "OwnPage=\"1\" PFILE=\"\"") +
               image("kept",
                     "OwnPage=\"1\" PFILE=\"\" isInlineImage=\"1\" inlineImageExt=\"png\" "
                     "ImageData=\"eJwLycgsVgCi4pL8omSFxLxUhcz8vJKi0oPlGQ==\"") +
               "<Pattern Name=\"Dots\"><PatternItem PTYPE=\"2\" ANNAME=\"dot\" PFILE=\"dot.png\"/>"
               "</Pattern>"));
  ASSERT_EQ(pictures.size(), 6u);
  EXPECT_EQ(links::place_label(pictures[0]), "master Left");
  EXPECT_EQ(pictures[0].path, "/work/job/logo.tif");
  EXPECT_EQ(links::place_label(pictures[1]), "page 1");
  EXPECT_EQ(pictures[1].path, "/work/art/cover.jpg");
  EXPECT_EQ(pictures[1].stored_path, "../art/cover.jpg");
  EXPECT_DOUBLE_EQ(pictures[1].scale_x, 0.24);
  EXPECT_DOUBLE_EQ(pictures[1].scale_y, 0.5);
  EXPECT_EQ(links::place_label(pictures[2]), "pasteboard");
  EXPECT_EQ(pictures[2].path, "/srv/art/aside.png");
  EXPECT_EQ(links::place_label(pictures[3]), "page 3");
  EXPECT_TRUE(pictures[3].grouped);
  EXPECT_EQ(pictures[3].path, "/work/job/a/member.png");
  EXPECT_EQ(links::place_label(pictures[4]), "page 2");
  EXPECT_TRUE(pictures[4].embedded);
  EXPECT_EQ(pictures[4].path, "") << "kept inside the document";
  EXPECT_EQ(links::place_label(pictures[5]), "pattern Dots");
}

TEST(PlacedPictures, PlacesInlineFramesWhereTheirTextFrameIs) {
  auto pictures = read(document(
      "<FRAMEOBJECT InID=\"7\" PTYPE=\"2\" ANNAME=\"inline\" PFILE=\"in.png\"/>"
      "<FRAMEOBJECT InID=\"8\" PTYPE=\"4\" ANNAME=\"caption\"><StoryText>"
      "<ITEXT Unicode=\"25\" COBJ=\"9\"/></StoryText></FRAMEOBJECT>"
      "<FRAMEOBJECT InID=\"9\" PTYPE=\"2\" ANNAME=\"deeper\" PFILE=\"deep.png\"/>"
      "<FRAMEOBJECT InID=\"10\" PTYPE=\"2\" ANNAME=\"orphan\" PFILE=\"orphan.png\"/>"
      "<PAGEOBJECT PTYPE=\"4\" OwnPage=\"1\" ANNAME=\"story\"><StoryText>"
      "<ITEXT CH=\"See \"/><ITEXT Unicode=\"25\" COBJ=\"7\"/><ITEXT Unicode=\"25\" COBJ=\"8\"/>"
      "</StoryText></PAGEOBJECT>"));
  ASSERT_EQ(pictures.size(), 3u);
  EXPECT_EQ(links::place_label(pictures[0]), "page 2");
  EXPECT_TRUE(pictures[0].inline_frame);
  EXPECT_EQ(links::place_label(pictures[1]), "page 2") << "held by an inline text frame";
  EXPECT_EQ(links::place_label(pictures[2]), "pasteboard") << "held by no text";
}

TEST(PlacedPictures, TakesNamesAsTheyAre) {
  auto pictures = read(document(image("Ünïcødé", "OwnPage=\"0\" PFILE=\"写真/猫 &amp; 犬.tif\"") +
                                image("colon", "OwnPage=\"0\" PFILE=\":cover.tif\"")));
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0].frame, "Ünïcødé");
  EXPECT_EQ(pictures[0].path, "/work/job/写真/猫 & 犬.tif");
  EXPECT_EQ(pictures[1].path, "/work/job/:cover.tif") << "a leading colon names no resource";
}

TEST(PlacedPictures, RefusesWhatIsNotAScribusDocument) {
  EXPECT_EQ(failure("<svg><PAGEOBJECT PTYPE=\"2\" PFILE=\"a.png\"/></svg>"),
            "not a Scribus document");
  EXPECT_EQ(failure(std::string("\x1f\x8b\x08\x00", 4) + "packed"),
            "compressed document: unpack it first (gunzip -k)");
  EXPECT_EQ(failure("just text"), "damaged document: Start tag expected. at line 1, column 1");
  EXPECT_EQ(failure(""), "damaged document: Premature end of document. at line 1, column 0");
}

// Every cut of a document is refused with a line naming where it broke, and
// never gives a half-read list.
TEST(PlacedPictures, RefusesEveryTruncatedDocument) {
  const std::string whole = document(image("a", "OwnPage=\"0\" PFILE=\"a.png\""));
  for (std::size_t length = 0; length + 1 < whole.size(); ++length) {
    std::string cut = whole.substr(0, length);
    std::string error = failure(cut);
    EXPECT_EQ(error.rfind("damaged document: ", 0), 0u) << length << ": " << error;
  }
}

TEST(PlacedPictures, RefusesFilesItCannotRead) {
  std::vector<PlacedPicture> pictures;
  std::string error;
  EXPECT_FALSE(links::read_placed_pictures_file("/nonexistent/catalogue.sla", pictures, error));
  EXPECT_EQ(error, "cannot read: No such file or directory");
  EXPECT_FALSE(links::read_placed_pictures_file("/tmp", pictures, error));
  EXPECT_EQ(error, "cannot read: not a regular file");
}

}  // namespace
