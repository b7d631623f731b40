// Pictures as other tools write and read them (stray bytes in a JPEG, a bare
// JPEG 2000 code stream, a rotated or cropped HEIF, a version 2 profile's
// accented name, a packed profile that unpacks without end), and files that
// change or shrink while they are read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <thread>

#include "platform/linux/picture_reader.h"
#include "tests/support/item_attributes.h"

using namespace testing_support;

namespace {

ByteString icc_segment(const ByteString& icc) {
  ByteString payload{'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, 1, 1};
  payload.insert(payload.end(), icc.begin(), icc.end());
  return jpeg_segment(0xE2, payload);
}

ByteString property(std::string_view type, std::initializer_list<std::uint32_t> words,
                    bool bytes = false) {
  ByteWriter w;
  for (std::uint32_t word : words) bytes ? w.u8(word) : w.u32(word);
  return box(type, w.bytes);
}

// A clean aperture of `width` by `height` around the picture's centre.
ByteString clap(std::uint32_t width, std::uint32_t height, std::uint32_t denominator = 1) {
  return property("clap", {width, denominator, height, denominator, 0, 1, 0, 1});
}

// Reads bytes from memory, and the same bytes from a file (in memory, so
// that thousands of them cost little), and expects the same item.
void expect_same_through_a_file(const ByteString& bytes) {
  __MDItem from_memory, from_file;
  bool in_memory = platform::fill_metadata_item(platform::Bytes(bytes), from_memory);
  int fd = memfd_create("picture", MFD_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  platform::ByteSource file(fd, bytes.size());
  EXPECT_EQ(platform::fill_metadata_item(file, from_file), in_memory) << bytes.size() << " bytes";
  close(fd);
  EXPECT_EQ(from_file.pixel_width, from_memory.pixel_width);
  EXPECT_EQ(from_file.pixel_height, from_memory.pixel_height);
  EXPECT_EQ(from_file.profile_name, from_memory.profile_name);
}

// Whether a shell command succeeds; its output is dropped.
bool run(const std::string& command) {
  return std::system((command + " > /dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST_F(MetadataTest, JpegSkipsStrayAndFillBytesBetweenSegments) {
  ByteString icc = icc_profile(U"Stray RGB");
  Attributes a = read_bytes(jpeg_with_segments(
      {icc_segment(icc), {0x00, 0x00}, {0x12, 0x34, 0xFF, 0x00, 0x56}, {0xFF, 0xFF}}));
  EXPECT_EQ(a.width, 720);
  EXPECT_EQ(a.height, 360);
  EXPECT_EQ(a.profile, "Stray RGB");
  // The next marker is looked for in the next 64 KB; past them the file is
  // taken for broken.
  ByteString app0 = jpeg_segment(0xE0, {'J', 'F', 'I', 'F', 0});
  EXPECT_FALSE(read_bytes(jpeg_with_segments({app0, ByteString(64 * 1024 - 1, 0)})).has_item);
  EXPECT_TRUE(read_bytes(jpeg_with_segments({app0, ByteString(64 * 1024 - 2, 0)})).has_item);
}

TEST_F(MetadataTest, Jpeg2000CodeStreamGivesItsSize) {
  Attributes bare = read_bytes(j2k(451, 300, 16, 8), "picture.j2k");
  EXPECT_EQ(bare.width, 451);
  EXPECT_EQ(bare.height, 300);
  EXPECT_EQ(bare.profile, "-");
  // A boxed code stream without its header box, and the extended form.
  ByteWriter boxed;
  boxed.u32(12), boxed.text("jP  "), boxed.u32(0x0D0A870A);
  boxed.append(box("ftyp", {'j', 'p', '2', ' ', 0, 0, 0, 0, 'j', 'p', '2', ' '}));
  boxed.append(box("jp2c", j2k(64, 48)));
  EXPECT_EQ(read_bytes(boxed.bytes).width, 64);
  ByteString jpx = jp2(640, 320, icc_profile(U"Proof RGB"));
  std::copy_n("jpx ", 4, jpx.begin() + 20);  // the major brand
  Attributes extended = read_bytes(jpx, "picture.jpx");
  EXPECT_EQ(extended.width, 640);
  EXPECT_EQ(extended.profile, "Proof RGB");
  EXPECT_FALSE(read_bytes(j2k(0, 10, 10, 0)).has_item);  // an empty picture
}

TEST_F(MetadataTest, HeifAndAvifGiveTheDisplayedSize) {
  ByteString quarter = property("irot", {1}, true), half = property("irot", {2}, true);
  ByteString crop = clap(400, 300);
  struct Case {
    std::vector<ByteString> transforms;
    long width, height;
  } cases[] = {{{quarter}, 400, 600},
               {{property("irot", {3}, true)}, 400, 600},
               {{half}, 600, 400},
               {{property("imir", {1}, true)}, 600, 400},
               {{crop}, 400, 300},
               {{clap(801, 601, 2)}, 401, 301},  // a half pixel rounds up
               {{crop, quarter}, 300, 400},
               {{quarter, crop}, 400, 300},
               {{clap(400, 300, 0)}, 600, 400},  // no size: not a crop
               {{clap(900, 900)}, 600, 400}};    // no larger than the picture
  for (const Case& c : cases) {
    Attributes a = read_bytes(heif("avif", 1, {{1, 600, 400, {}, c.transforms}}));
    EXPECT_EQ(a.width, c.width) << c.transforms.size() << " " << c.transforms[0][4];
    EXPECT_EQ(a.height, c.height);
  }
}

TEST_F(MetadataTest, AvifEncodersRotationAndCropAreRead) {
  if (!run("command -v avifenc")) GTEST_SKIP() << "avifenc is not installed (libavif-bin)";
  // A grey 600 by 400 picture in the plain YUV format the encoder reads.
  std::FILE* y4m = std::fopen((m_folder.path().string() + "/grey.y4m").c_str(), "wb");
  ASSERT_NE(y4m, nullptr);
  std::fputs("YUV4MPEG2 W600 H400 F25:1 Ip A1:1 C444\nFRAME\n", y4m);
  ByteString plane(600 * 400, 128);
  for (int i = 0; i < 3; ++i) std::fwrite(plane.data(), 1, plane.size(), y4m);
  std::fclose(y4m);
  struct Case {
    const char* options;
    long width, height;
  } cases[] = {
      {"--irot 1", 400, 600}, {"--clap 400,1,300,1,0,1,0,1", 400, 300}, {"--imir 0", 600, 400}};
  for (const Case& c : cases) {
    std::string out = m_folder.path().string() + "/made.avif";
    ASSERT_TRUE(run("avifenc -s 10 " + std::string(c.options) + " " + m_folder.path().string() +
                    "/grey.y4m " + out))
        << c.options;
    Attributes a = read_attributes(out);
    EXPECT_EQ(a.width, c.width) << c.options;
    EXPECT_EQ(a.height, c.height) << c.options;
  }
}

TEST_F(MetadataTest, Version2ProfileNameComesFromItsUnicodeRecord) {
  // The ASCII record holds "Écran" in Latin-1; the Unicode record the whole name.
  // A hex escape, then text that would continue it if it were not apart.
  // clang-format off
  ByteString both = icc_v2_profile("\xC9" "cran large", u"\u00C9cran large \u2013 D65");
  // clang-format on
  EXPECT_EQ(read_bytes(png(8, 8, both)).profile, "\u00C9cran large \u2013 D65");
  // Without a Unicode name the ASCII record is read as Latin-1.
  ByteString empty_unicode = icc_v2_profile("Caf\xE9 RGB  ", u"");
  EXPECT_EQ(read_bytes(png(8, 8, empty_unicode)).profile, "Caf\u00E9 RGB");
  ByteString no_unicode = icc_v2_profile("Caf\xE9 RGB", u"", false);
  EXPECT_EQ(read_bytes(png(8, 8, no_unicode)).profile, "Caf\u00E9 RGB");
}

TEST_F(MetadataTest, PackedProfileUnpacksToItsDeclaredSizeAtMost) {
  ByteString icc = icc_profile(U"Honest RGB");
  ByteString padded = icc;
  padded.resize(icc.size() + (24 << 20), 0);  // past the largest profile read
  ByteString packed = zlib_compress(padded);
  platform::PictureFacts facts;
  ByteString file = png_packed_profile(8, 8, packed);
  platform::ByteSource source{platform::Bytes(file)};
  ASSERT_TRUE(platform::read_picture_facts(source, facts));
  EXPECT_EQ(facts.icc.size(), icc.size());
  EXPECT_EQ(read_bytes(file).profile, "Honest RGB");
  // The same stream declaring a size past the largest profile, or none.
  for (std::uint8_t first : {0x7F, 0x00}) {
    padded.assign(24 << 20, 0);
    padded[0] = first;
    Attributes bomb = read_bytes(png_packed_profile(8, 8, zlib_compress(padded)));
    EXPECT_EQ(bomb.width, 8);
    EXPECT_EQ(bomb.profile, "-");
  }
  packed = zlib_compress(icc);
  packed.resize(packed.size() / 2);
  EXPECT_EQ(read_bytes(png_packed_profile(8, 8, packed)).profile, "-");
}

TEST_F(MetadataTest, AFileCutShortWhileItIsReadGivesNoItem) {
  ByteString bytes = png(640, 480, icc_profile(U"Cut Short"));
  bytes.resize(100 * 1024, 0);
  std::string path = m_folder.write("cut.png", bytes);
  for (std::size_t cut : {0, 20, 40, 50000}) {
    SCOPED_TRACE(cut);
    int fd = open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    platform::ByteSource file(fd, bytes.size());  // the size it had when opened
    ASSERT_EQ(ftruncate(fd, static_cast<off_t>(cut)), 0);
    __MDItem item;
    bool read = platform::fill_metadata_item(file, item);
    EXPECT_EQ(read, cut == 50000);  // all the headers were read before the cut
    if (read) {
      EXPECT_EQ(item.profile_name, "Cut Short");
    }
    write_bytes(path, bytes);
    close(fd);
  }
  // Cut short between two reads: what was read stays, the rest is gone.
  int fd = open(path.c_str(), O_RDWR);
  platform::ByteSource file(fd, bytes.size());
  platform::ByteReader r(file, true);
  EXPECT_EQ(r.u32(16), 640u);
  ASSERT_EQ(ftruncate(fd, 30000), 0);
  EXPECT_EQ(r.u32(60000), 0u);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(file.size(), 30000u);
  EXPECT_TRUE(file.cut_short());
  EXPECT_EQ(r.u32(16), 640u);
  close(fd);
}

TEST_F(MetadataTest, AFileRewrittenWhileItIsReadNeverFaults) {
  const std::vector<ByteString> versions = {
      png(640, 480, icc_profile(U"One")),
      jpeg_with_segments({icc_segment(icc_profile(U"Two"))}),
      tiff({{10, 10, 1, {}}, {3200, 2400, 0, icc_profile(U"Three")}}, true, false),
      heif("heic", 1, {{1, 600, 400, icc_profile(U"Four"), {clap(300, 200)}}}),
      ByteString(3000, 0xFF),
      ByteString()};
  std::string path = m_folder.write("changing", versions[0]);
  std::atomic<bool> done{false};
  std::thread writer([&] {
    int fd = open(path.c_str(), O_WRONLY);
    for (std::size_t n = 0; !done; ++n) {
      const ByteString& v = versions[n % versions.size()];
      if (pwrite(fd, v.data(), v.size(), 0) < 0 || ftruncate(fd, static_cast<off_t>(v.size())))
        break;
    }
    close(fd);
  });
  int items = 0;
  for (int i = 0; i < 3000; ++i) items += read_attributes(path).has_item;
  done = true;
  writer.join();
  EXPECT_LE(items, 3000);
}

TEST_F(MetadataTest, EveryTruncatedLengthIsSafe) {
  ByteString v2 = icc_v2_profile("Caf\xE9", u"Caf\u00E9 \u2615");
  std::vector<ByteString> files = {
      jp2(64, 32, icc_profile(U"x")),
      png(9, 9, icc_profile(U"y")),
      png(9, 9, v2),
      j2k(5, 7),
      heif("avif", 1,
           {{1, 50, 40, icc_profile(U"z"), {clap(20, 10), property("irot", {1}, true)}}}),
      tiff({{10, 10, 1, {}}, {20, 20, 0, icc_profile(U"w")}}, true, true),
      jpeg_with_segments({{0, 0}, icc_segment(v2), {0xFF, 0x00, 0xFF}})};
  for (const char* name :
       {"sample-srgb.jpg", "sample-gray.psd", "sample-srgb.webp", "sample-wide.bmp",
        "sample-plain.gif", "sample-plain.heic", "sample-plain.avif", "sample-wide.tif"})
    files.push_back(file_bytes(sample_path(name)));
  for (const ByteString& file : files) {
    for (std::size_t length = 0; length <= file.size(); ++length) {
      // A buffer of exactly the length, so that a read past it is caught.
      ByteString prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
      expect_same_through_a_file(prefix);
    }
  }
}

TEST_F(MetadataTest, LongFilesReadAlikeFromMemoryAndFromTheFile) {
  // Segments and a directory far from the start, past the first reads.
  std::vector<ByteString> segments;
  for (int i = 0; i < 5; ++i) segments.push_back(jpeg_segment(0xE1, ByteString(60000, 0x20)));
  segments.push_back(icc_segment(icc_profile(U"Far RGB")));
  ByteString jpeg = jpeg_with_segments(segments);
  ByteString far_tiff = tiff({{1600, 1200, 0, icc_profile(U"Far TIFF")}}, false, false);
  ByteString padding(700000, 0x55);
  far_tiff.insert(far_tiff.begin() + 8, padding.begin(), padding.end());
  ByteWriter link{far_tiff, false};
  link.put32(4, 8 + static_cast<std::uint32_t>(padding.size()));  // the directory moved on
  far_tiff = link.bytes;
  std::uint32_t icc_at = 8 + static_cast<std::uint32_t>(padding.size()) + 2 + 4 * 12 + 4;
  link.put32(8 + padding.size() + 2 + 3 * 12 + 8, icc_at);
  far_tiff = link.bytes;
  EXPECT_EQ(read_bytes(jpeg).profile, "Far RGB");
  EXPECT_EQ(read_bytes(far_tiff).profile, "Far TIFF");
  for (const ByteString& file : {jpeg, far_tiff}) {
    for (std::size_t length = 0; length <= file.size(); length += 997)
      expect_same_through_a_file(
          ByteString(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)));
  }
}
