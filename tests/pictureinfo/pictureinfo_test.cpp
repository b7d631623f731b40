#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "pictureinfo/measure.h"
#include "pictureinfo/pictureinfo.h"
#include "platform/cf.h"
#include "platform/files.h"
#include "platform/text.h"
#include "prefs/userprefs.h"
#include "shell/records.h"
#include "tests/support/picture_files.h"
#include "tests/support/sandbox.h"

using namespace testing_support;

namespace {

const std::string kDash = "\xD0";  // en dash in Mac Roman

std::string Text(const unsigned char* shortText) {
  return std::string(reinterpret_cast<const char*>(shortText + 1), shortText[0]);
}

std::string MacRoman(const std::string& utf8) {
  return platform::utf8_to_mac_roman_lossy(utf8);
}

bool IsEmpty(const FSSpec& spec) {
  return spec.vRefNum == 0 && spec.parID == 0 && spec.name[0] == 0;
}

// A desktop of its own: one picture viewer that opens the common picture
// types by default; JPEG 2000 is left to no application.
class PictureInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_viewer = m_desktop.add_application("picture-viewer", "Picture Viewer", "true %f",
                                         "image/jpeg;image/tiff;image/png;");
    for (const char* type : {"image/jpeg", "image/tiff", "image/png"})
      m_desktop.set_default(type, "picture-viewer");
    std::filesystem::create_directories(m_desktop.root() / "pictures");
    setenv("LC_ALL", "en_US.UTF-8", 1);
    G_INFO = {};
    G_USERPREFS.dimensionUnits = 0;
  }
  void TearDown() override { EXPECT_EQ(platform::live_cf_object_count(), 0u); }

  // A copy of a sample (or given bytes) in the pictures folder.
  std::string Picture(const std::string& name, const ByteString& bytes) {
    std::string path = (m_desktop.root() / "pictures" / name).string();
    write_bytes(path, bytes);
    return path;
  }
  std::string Sample(const char* name) { return Picture(name, file_bytes(sample_path(name))); }

  // Stores the path as the script does (Mac Roman) and gathers the information.
  static void Get(const std::string& utf8Path) {
    std::string macRoman = MacRoman(utf8Path);
    CopyCStringToPascal(macRoman.c_str(), G_INFO.picturePath);
    GetPictureInfo();
  }

  testing_support::DesktopSandbox m_desktop;
  std::string m_viewer;
};

}  // namespace

TEST_F(PictureInfoTest, GathersApplicationSizeAndProfile) {
  Get(Sample("sample-srgb.jpg"));
  EXPECT_FALSE(G_INFO.creatorUnknown);
  EXPECT_FALSE(IsEmpty(G_INFO.pictureSpec));
  EXPECT_FALSE(IsEmpty(G_INFO.creatorAppSpec));
  EXPECT_EQ(Text(G_INFO.creatorAppName), "Picture Viewer");
  EXPECT_EQ(Text(G_INFO.creatorAppPath), MacRoman(m_viewer));
  EXPECT_EQ(G_INFO.pixelWidth, 720);
  EXPECT_EQ(G_INFO.pixelHeight, 360);
  EXPECT_EQ(Text(G_INFO.dimensionsText), "720 x 360 px");
  EXPECT_EQ(Text(G_INFO.colorProfileName), "sRGB IEC61966-2.1");
}

TEST_F(PictureInfoTest, ProfileNamesAreMacRoman) {
  Get(Sample("sample-wide.tif"));
  EXPECT_EQ(Text(G_INFO.dimensionsText), "1024 x 768 px");
  EXPECT_EQ(Text(G_INFO.colorProfileName),
            "\x83"
            "cran large \xD0 D65");
  Get(Sample("sample-gray.psd"));
  EXPECT_EQ(Text(G_INFO.colorProfileName), "Gray Gamma 2.2");
}

TEST_F(PictureInfoTest, PictureWithoutProfileShowsADash) {
  Get(Sample("sample-noprofile.png"));
  EXPECT_EQ(Text(G_INFO.dimensionsText), "640 x 480 px");
  EXPECT_EQ(Text(G_INFO.colorProfileName), kDash);
}

TEST_F(PictureInfoTest, UnclaimedTypeGivesUnknownThenTheNextPictureClearsIt) {
  Get(Sample("sample-unclaimed.jp2"));
  EXPECT_TRUE(G_INFO.creatorUnknown);
  EXPECT_EQ(Text(G_INFO.creatorAppName), "<Unknown>");
  EXPECT_EQ(Text(G_INFO.creatorAppPath), "");
  EXPECT_TRUE(IsEmpty(G_INFO.creatorAppSpec));
  EXPECT_EQ(Text(G_INFO.dimensionsText), "256 x 128 px");  // the metadata still counts
  Get(Sample("sample-srgb.jpg"));
  EXPECT_FALSE(G_INFO.creatorUnknown);
  EXPECT_EQ(Text(G_INFO.creatorAppName), "Picture Viewer");
  EXPECT_EQ(Text(G_INFO.creatorAppPath), MacRoman(m_viewer));
}

TEST_F(PictureInfoTest, PictureWithoutMetadataNeverShowsThePreviousValues) {
  Get(Sample("sample-srgb.jpg"));
  Get(Picture("broken.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 2}));
  EXPECT_EQ(G_INFO.pixelWidth, 0);
  EXPECT_EQ(G_INFO.pixelHeight, 0);
  EXPECT_EQ(Text(G_INFO.dimensionsText), "?");
  EXPECT_EQ(Text(G_INFO.colorProfileName), kDash);
}

TEST_F(PictureInfoTest, MissingFileResetsEverything) {
  Get(Sample("sample-srgb.jpg"));
  Get((m_desktop.root() / "pictures" / "gone.jpg").string());
  EXPECT_TRUE(IsEmpty(G_INFO.pictureSpec));
  EXPECT_TRUE(G_INFO.creatorUnknown);
  EXPECT_EQ(Text(G_INFO.creatorAppName), "<Unknown>");
  EXPECT_EQ(G_INFO.pictureCreator, FOUR_CHAR_CODE("????"));
  EXPECT_EQ(Text(G_INFO.dimensionsText), "?");
  EXPECT_EQ(Text(G_INFO.colorProfileName), kDash);
}

TEST_F(PictureInfoTest, WidthWithoutHeightShowsAQuestionMarkThatUnitsKeep) {
  ByteString png_bytes = png(33, 1, {});
  png_bytes[16 + 4 + 3] = 0;  // the header's height: 0
  Get(Picture("flat.png", png_bytes));
  EXPECT_EQ(G_INFO.pixelWidth, 33);
  EXPECT_EQ(G_INFO.pixelHeight, 0);
  EXPECT_EQ(Text(G_INFO.dimensionsText), "?");
  G_USERPREFS.dimensionUnits = 3;
  HandleDimensionsUnitsChange();
  EXPECT_EQ(Text(G_INFO.dimensionsText), "?");
}

TEST_F(PictureInfoTest, UnitsChangeReplacesPixelsUntilTheNextPicture) {
  Get(Sample("sample-srgb.jpg"));
  G_USERPREFS.dimensionUnits = 4;
  HandleDimensionsUnitsChange();
  EXPECT_EQ(Text(G_INFO.dimensionsText), "25.4 x 12.7 cm");
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  HandleDimensionsUnitsChange();
  EXPECT_EQ(Text(G_INFO.dimensionsText), "25,4 x 12,7 cm");
  GetPictureInfo();
  EXPECT_EQ(Text(G_INFO.dimensionsText), "720 x 360 px");
}

TEST_F(PictureInfoTest, LongAndForeignProfileNamesStayReadable) {
  std::u32string long_name(300, U'L');
  Get(Picture("long.png", png(10, 10, icc_profile(long_name))));
  EXPECT_EQ(Text(G_INFO.colorProfileName), std::string(255, 'L'));
  Get(Picture("foreign.png", png(10, 10, icc_profile(U"Newsprint \u0174ide \u6587"))));
  EXPECT_EQ(Text(G_INFO.colorProfileName), "Newsprint Wide ?");
}

TEST_F(PictureInfoTest, FindsPicturesInFoldersWithAccents) {
  std::filesystem::create_directories(m_desktop.root() / "pictures" / "Caf\u00E9");
  Get(Picture("Caf\u00E9/r\u00E9sum\u00E9.jpg", file_bytes(sample_path("sample-srgb.jpg"))));
  EXPECT_EQ(Text(G_INFO.dimensionsText), "720 x 360 px");
  EXPECT_FALSE(G_INFO.creatorUnknown);
}

TEST_F(PictureInfoTest, LongApplicationPathIsShortenedAndStillLeadsToIt) {
  // Before the first lookup: the desktop's folders are read once.
  std::string deep =
      m_desktop.root().string() + "/" + std::string(120, 'd') + "/" + std::string(120, 'e');
  std::filesystem::create_directories(deep + "/applications");
  std::filesystem::rename(m_viewer, deep + "/applications/picture-viewer.desktop");
  setenv("XDG_DATA_HOME", deep.c_str(), 1);
  Get(Sample("sample-srgb.jpg"));
  ASSERT_FALSE(G_INFO.creatorUnknown);
  std::string full = deep + "/applications/picture-viewer.desktop";
  ASSERT_GT(full.size(), 255u);
  // Its longest folders are shortened: the text fits and, on its way to the
  // window, reads as the whole path again.
  std::string text = Text(G_INFO.creatorAppPath);
  EXPECT_LE(text.size(), 255u);
  const std::string tail = "/applications/picture-viewer.desktop";
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  EXPECT_EQ(platform::text_of_short_text(text), full);
}
