#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "platform/linux/picture_reader.h"
#include "tests/support/item_attributes.h"

using namespace testing_support;

namespace {

struct SampleCase {
  const char* name;
  long width, height;
  const char* profile;
};

class SampleTest : public MetadataTest, public ::testing::WithParamInterface<SampleCase> {};

}  // namespace

TEST_P(SampleTest, GivesTheHeaderSizeAndProfile) {
  const SampleCase& c = GetParam();
  Attributes a = read_attributes(sample_path(c.name));
  ASSERT_TRUE(a.has_item);
  EXPECT_EQ(a.width, c.width);
  EXPECT_EQ(a.height, c.height);
  EXPECT_EQ(a.profile, c.profile);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, SampleTest,
    ::testing::Values(SampleCase{"sample-srgb.jpg", 720, 360, "sRGB IEC61966-2.1"},
                      SampleCase{"sample-wide.tif", 1024, 768, "\u00C9cran large \u2013 D65"},
                      SampleCase{"sample-noprofile.png", 640, 480, "-"},
                      SampleCase{"sample-gray.psd", 300, 200, "Gray Gamma 2.2"},
                      SampleCase{"sample-unclaimed.jp2", 256, 128, "-"},
                      SampleCase{"sample-plain.gif", 320, 240, "-"},
                      SampleCase{"sample-srgb.webp", 400, 300, "sRGB IEC61966-2.1"},
                      SampleCase{"sample-wide.bmp", 200, 100, "\u00C9cran large \u2013 D65"},
                      SampleCase{"sample-plain.heic", 480, 320, "-"},
                      SampleCase{"sample-plain.avif", 360, 240, "-"}));

TEST_F(MetadataTest, GivesNoItemForWhatIsNotAPicture) {
  EXPECT_FALSE(read_attributes(m_folder.path()).has_item);  // a folder
  EXPECT_FALSE(read_attributes("/dev/null").has_item);      // a device
  EXPECT_FALSE(read_attributes(m_folder.path().string() + "/missing.jpg").has_item);
  EXPECT_FALSE(read_attributes("samples/sample-srgb.jpg").has_item);  // not absolute
  EXPECT_FALSE(read_bytes({}, "empty.jpg").has_item);
  EXPECT_FALSE(read_bytes({'h', 'e', 'l', 'l', 'o'}, "text.jpg").has_item);
  EXPECT_FALSE(read_bytes({0xFF, 0xD8, 0xFF}, "cut.jpg").has_item);
}

TEST_F(MetadataTest, NeverWaitsOnAFifo) {
  std::string fifo = m_folder.path().string() + "/picture.jpg";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(read_attributes(fifo).has_item);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(MetadataTest, NamesAttributesByTheirText) {
  CFStringRef path = CFStringCreateWithUTF8(sample_path("sample-srgb.jpg"));
  MDItemRef item = MDItemCreate(kCFAllocatorDefault, path);
  ASSERT_NE(item, nullptr);
  CFStringRef same = CFStringCreateWithUTF8("kMDItemPixelWidth");
  CFStringRef other = CFStringCreateWithUTF8("kMDItemFSSize");
  EXPECT_EQ(number_attribute(item, same), 720);
  EXPECT_EQ(MDItemCopyAttribute(item, other), nullptr);
  EXPECT_EQ(MDItemCopyAttribute(nullptr, same), nullptr);
  for (CFTypeRef object : {CFTypeRef(same), CFTypeRef(other), CFTypeRef(item), CFTypeRef(path)})
    CFRelease(object);
}

TEST_F(MetadataTest, JpegSizeComesFromTheFrameNotFromExif) {
  Attributes a = read_bytes(jpeg_with_segments({exif_segment(9999, 8888)}), "exif.jpg");
  EXPECT_EQ(a.width, 720);
  EXPECT_EQ(a.height, 360);
  EXPECT_EQ(a.profile, "-");  // the sample's profile segment was taken out
}

TEST_F(MetadataTest, JpegProfileInTwoSegmentsIsJoined) {
  ByteString icc = icc_profile(U"Split profile");
  std::size_t half = icc.size() / 2;
  std::vector<ByteString> segments;
  for (int part = 1; part <= 2; ++part) {
    ByteString payload{'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0};
    payload.push_back(static_cast<std::uint8_t>(part));
    payload.push_back(2);
    payload.insert(payload.end(), icc.begin() + (part == 1 ? 0 : half),
                   part == 1 ? icc.begin() + half : icc.end());
    segments.push_back(jpeg_segment(0xE2, payload));
  }
  EXPECT_EQ(read_bytes(jpeg_with_segments(segments)).profile, "Split profile");
}

TEST_F(MetadataTest, JpegProfileWithAChunkMissingIsLeftOut) {
  ByteString icc = icc_profile(U"Split profile");
  ByteString payload{'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, 2, 2};
  payload.insert(payload.end(), icc.begin() + 100, icc.end());
  Attributes a = read_bytes(jpeg_with_segments({jpeg_segment(0xE2, payload)}));
  EXPECT_EQ(a.width, 720);
  EXPECT_EQ(a.profile, "-");
}

TEST_F(MetadataTest, GifProfileComesFromItsExtension) {
  Attributes a = read_bytes(gif(300, 20, icc_profile(U"Web Safe RGB")), "picture.gif");
  EXPECT_EQ(a.width, 300);
  EXPECT_EQ(a.height, 20);
  EXPECT_EQ(a.profile, "Web Safe RGB");
}

TEST_F(MetadataTest, TiffSkipsReducedCopiesInEitherByteOrder) {
  ByteString icc = icc_profile(U"Scanner RGB");
  std::vector<TiffPage> pages = {{160, 120, 1, {}}, {3200, 2400, 0, icc}};
  for (bool big_endian : {false, true}) {
    for (bool big_tiff : {false, true}) {
      SCOPED_TRACE(testing::Message() << "big-endian " << big_endian << ", BigTIFF " << big_tiff);
      Attributes a = read_bytes(tiff(pages, big_endian, big_tiff));
      EXPECT_EQ(a.width, 3200);
      EXPECT_EQ(a.height, 2400);
      EXPECT_EQ(a.profile, "Scanner RGB");
    }
  }
  // Only reduced copies: the first one is all there is.
  Attributes only_thumbnail = read_bytes(tiff({{160, 120, 1, {}}}, false, false));
  EXPECT_EQ(only_thumbnail.width, 160);
}

TEST_F(MetadataTest, HeifAndAvifUseThePrimaryItem) {
  ByteString icc = icc_profile(U"Camera P3");
  // The depth map is listed first and is taller than the wide picture.
  std::vector<HeifItem> items = {
      {7, 500, 500, {}, {}}, {1, 4000, 300, icc, {}}, {2, 320, 24, {}, {}}};
  for (const char* brand : {"heic", "avif"}) {
    Attributes a = read_bytes(heif(brand, 1, items));
    EXPECT_EQ(a.width, 4000) << brand;
    EXPECT_EQ(a.height, 300) << brand;
    EXPECT_EQ(a.profile, "Camera P3") << brand;
  }
  EXPECT_FALSE(read_bytes(heif("isom", 1, items)).has_item);  // a video, not a picture
}

TEST_F(MetadataTest, ReadsProfilesOfJpeg2000AndPng) {
  ByteString icc = icc_profile(U"Proof RGB");
  Attributes j = read_bytes(jp2(640, 320, icc), "picture.jp2");
  EXPECT_EQ(j.width, 640);
  EXPECT_EQ(j.height, 320);
  EXPECT_EQ(j.profile, "Proof RGB");
  Attributes p = read_bytes(png(33, 17, icc), "picture.png");
  EXPECT_EQ(p.width, 33);
  EXPECT_EQ(p.profile, "Proof RGB");
}

TEST_F(MetadataTest, ProfileNameIsInTheUsersLanguage) {
  ByteString icc = icc_profile(U"Newsprint \u0174ide", U"Papier journal \u00E9tendu");
  EXPECT_EQ(read_bytes(png(8, 8, icc)).profile, "Newsprint \u0174ide");
  setenv("LC_ALL", "fr_FR.UTF-8", 1);
  EXPECT_EQ(read_bytes(png(8, 8, icc)).profile, "Papier journal \u00E9tendu");
}

TEST_F(MetadataTest, ProfileNameIsARecordThatMacRomanCanShow) {
  const std::u32string_view kJapanese = U"\u30A2\u30C9\u30D3 RGB (1998)";
  setenv("LC_ALL", "ja_JP.UTF-8", 1);
  // The user's record cannot be shown: English is.
  ByteString both =
      icc_profile_records({{"ja", "JP", kJapanese}, {"en", "US", U"Adobe RGB (1998)"}});
  EXPECT_EQ(read_bytes(png(8, 8, both)).profile, "Adobe RGB (1998)");
  // Without English, the first record that can be shown.
  ByteString german = icc_profile_records({{"ja", "JP", kJapanese},
                                           {"ko", "KR", U"\uC5B4\uB3C4\uBE44"},
                                           {"de", "DE", U"Gro\u00DF RGB"}});
  EXPECT_EQ(read_bytes(png(8, 8, german)).profile, "Gro\u00DF RGB");
  // None can: the user's own, which Mac Roman then shows as nearly as it can.
  ByteString only = icc_profile_records({{"ko", "KR", U"\uC5B4"}, {"ja", "JP", kJapanese}});
  EXPECT_EQ(read_bytes(png(8, 8, only)).profile, "\u30A2\u30C9\u30D3 RGB (1998)");
  // A record whose letters have a nearest form counts as one that can.
  setenv("LC_ALL", "cy_GB.UTF-8", 1);
  ByteString welsh = icc_profile_records({{"en", "US", U"Wide"}, {"cy", "GB", U"\u0174ide"}});
  EXPECT_EQ(read_bytes(png(8, 8, welsh)).profile, "\u0174ide");
}

TEST(ChooseDescription, PrefersTheUsersCountryThenLanguageThenEnglishThenAny) {
  std::vector<platform::DescriptionRecord> records = {
      {"fr", "CA", "Large (CA)"}, {"fr", "FR", "Large"}, {"en", "US", "Wide"}, {"", "", "Plain"}};
  auto chosen = [&](const char* language, const char* country) {
    const platform::DescriptionRecord* r = platform::choose_description(records, language, country);
    return r ? r->text : "<none>";
  };
  EXPECT_EQ(chosen("fr", "FR"), "Large");
  EXPECT_EQ(chosen("fr", "BE"), "Large (CA)");
  EXPECT_EQ(chosen("de", "DE"), "Wide");
  records.erase(records.begin() + 2);
  EXPECT_EQ(chosen("de", "DE"), "Large (CA)");
  EXPECT_EQ(platform::choose_description({}, "en", "US"), nullptr);
}

TEST_F(MetadataTest, BrokenProfileLeavesTheSize) {
  ByteString junk(600, 0x41);
  Attributes a = read_bytes(png(21, 13, junk));
  EXPECT_EQ(a.width, 21);
  EXPECT_EQ(a.profile, "-");
}

TEST_F(MetadataTest, StaysQuietOnBrokenFiles) {
  ByteString broken = jpeg_with_segments({exif_segment(1, 1)});
  broken.resize(40);  // inside the Exif block
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  read_bytes(broken);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
