// How long a picture's information takes, warm (the file in the page cache):
//
// - MetadataRead/<sample>: the metadata item of each sample picture and its
//   three attributes, as GetPictureInfo asks for them;
// - MetadataRead/tiff-<size>: a layered TIFF written at start in a temporary
//   folder, 200 MB of pixels and a 64 MB layer tag, against the same file
//   with a 64 by 64 picture: reading headers only, both cost the same;
// - HandleDimensionsUnitsChange: one change of units (two formatted numbers);
// - GetPictureInfo/<picture>: the whole operation for each sample and both
//   TIFFs, application lookup included, on a desktop of its own (a viewer
//   for JPEG, TIFF and PNG; JPEG 2000 left to none).
//
// Goal: under 250 µs per call for every format and size.
#include <benchmark/benchmark.h>
#include <lcms2.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pictureinfo/measure.h"
#include "pictureinfo/pictureinfo.h"
#include "platform/metadata.h"
#include "platform/types.h"
#include "prefs/userprefs.h"
#include "shell/records.h"

namespace {

const char* const kSamples[] = {"sample-srgb.jpg",  "sample-wide.tif",      "sample-noprofile.png",
                                "sample-gray.psd",  "sample-srgb.webp",     "sample-plain.gif",
                                "sample-wide.bmp",  "sample-unclaimed.jp2", "sample-plain.heic",
                                "sample-plain.avif"};

std::string SamplePath(const char* name) {
  return std::string(TAVRINE_SOURCE_DIR) + "/samples/" + name;
}

// Reads the item and its three attributes, and gives everything back.
void ReadMetadata(CFStringRef path, benchmark::State& state) {
  MDItemRef item = MDItemCreate(kCFAllocatorDefault, path);
  if (item == nullptr) {
    state.SkipWithError("no metadata item");
    return;
  }
  for (CFStringRef name : {kMDItemProfileName, kMDItemPixelWidth, kMDItemPixelHeight}) {
    CFTypeRef value = MDItemCopyAttribute(item, name);
    benchmark::DoNotOptimize(value);
    CFRelease(value);
  }
  CFRelease(item);
}

void BM_MetadataRead(benchmark::State& state, std::string path) {
  CFStringRef cf_path = CFStringCreateWithUTF8(path);
  for (auto _ : state) ReadMetadata(cf_path, state);
  CFRelease(cf_path);
}

void BM_HandleDimensionsUnitsChange(benchmark::State& state) {
  setenv("LC_ALL", "en_US.UTF-8", 1);
  G_INFO.pixelWidth = 1024;
  G_INFO.pixelHeight = 768;
  G_USERPREFS.dimensionUnits = 3;
  for (auto _ : state) {
    HandleDimensionsUnitsChange();
    benchmark::DoNotOptimize(G_INFO.dimensionsText);
  }
}
BENCHMARK(BM_HandleDimensionsUnitsChange)->Unit(benchmark::kMicrosecond);

void BM_GetPictureInfo(benchmark::State& state, std::string path) {
  CopyCStringToPascal(path.c_str(), G_INFO.picturePath);  // ASCII paths only
  for (auto _ : state) {
    GetPictureInfo();
    benchmark::DoNotOptimize(G_INFO.dimensionsText);
  }
  if (G_INFO.pixelWidth == 0) state.SkipWithError("no pixel size");
}

// --- A layered TIFF of any size ------------------------------------------------

std::vector<std::uint8_t> SrgbProfile() {
  cmsHPROFILE profile = cmsCreate_sRGBProfile();
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  std::vector<std::uint8_t> bytes(size);
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsCloseProfile(profile);
  return bytes;
}

void PutLE(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Writes `count` bytes of a pattern, a megabyte at a time.
void WriteFill(std::ofstream& out, std::uint64_t count) {
  std::vector<char> block(1 << 20);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7);
  for (; count > 0; count -= std::min<std::uint64_t>(count, block.size()))
    out.write(block.data(),
              static_cast<std::streamsize>(std::min<std::uint64_t>(count, block.size())));
}

// A little-endian RGB TIFF as an image editor saves one: one strip of pixels,
// the layers in a private tag, the profile, and the directory at the end.
void WriteLayeredTiff(const std::string& path, std::uint32_t width, std::uint32_t height,
                      std::uint64_t layer_bytes) {
  std::vector<std::uint8_t> icc = SrgbProfile();
  std::uint64_t pixels = std::uint64_t{width} * height * 3;
  std::uint64_t layers_at = 8 + pixels, icc_at = layers_at + layer_bytes;
  std::uint64_t bits_at = icc_at + icc.size(), dir_at = bits_at + 6;
  struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count;
    std::uint64_t value;
  };
  const Entry entries[] = {{254, 4, 1, 0},
                           {256, 4, 1, width},
                           {257, 4, 1, height},
                           {258, 3, 3, bits_at},
                           {259, 3, 1, 1},
                           {262, 3, 1, 2},
                           {273, 4, 1, 8},
                           {277, 3, 1, 3},
                           {278, 4, 1, height},
                           {279, 4, 1, pixels},
                           {284, 3, 1, 1},
                           {34675, 7, static_cast<std::uint32_t>(icc.size()), icc_at},
                           {37724, 7, static_cast<std::uint32_t>(layer_bytes), layers_at}};
  std::vector<std::uint8_t> head{'I', 'I', 42, 0}, tail(icc);
  PutLE(head, dir_at, 4);
  for (int i = 0; i < 3; ++i) PutLE(tail, 8, 2);  // bits per sample
  PutLE(tail, std::size(entries), 2);
  for (const Entry& e : entries) {
    PutLE(tail, e.tag, 2), PutLE(tail, e.type, 2), PutLE(tail, e.count, 4);
    PutLE(tail, e.value, e.type == 3 && e.count == 1 ? 2 : 4);
    if (e.type == 3 && e.count == 1) PutLE(tail, 0, 2);
  }
  PutLE(tail, 0, 4);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
  WriteFill(out, pixels + layer_bytes);
  out.write(reinterpret_cast<const char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
}

void WriteText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path) << text;
}

// The XDG folders in `root`: one picture viewer, and the machine's MIME
// database. Set before the first lookup.
void MakeDesktop(const std::string& root) {
  WriteText(root + "/data/applications/viewer.desktop",
            "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %f\n"
            "MimeType=image/jpeg;image/tiff;image/png;\n");
  WriteText(root + "/config/mimeapps.list",
            "[Default Applications]\nimage/jpeg=viewer.desktop\nimage/tiff=viewer.desktop\n"
            "image/png=viewer.desktop\n");
  std::filesystem::create_directories(root + "/dirs");
  std::filesystem::create_directory_symlink("/usr/share/mime", root + "/dirs/mime");
  setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
  setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
  setenv("XDG_DATA_DIRS", (root + "/dirs").c_str(), 1);
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tavrine-bench-XXXXXX").string();
    if (mkdtemp(pattern.data())) m_path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
  }
  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
};

}  // namespace

int main(int argc, char** argv) {
  TempFolder folder;
  std::string small = folder.path() + "/layered-small.tif";
  std::string large = folder.path() + "/layered-264MB.tif";
  WriteLayeredTiff(small, 64, 64, 4096);
  WriteLayeredTiff(large, 8000, 8800, std::uint64_t{64} << 20);  // 211 MB of pixels
  for (const char* name : kSamples)
    benchmark::RegisterBenchmark((std::string("MetadataRead/") + name).c_str(), BM_MetadataRead,
                                 SamplePath(name))
        ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("MetadataRead/tiff-small", BM_MetadataRead, small)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("MetadataRead/tiff-264MB", BM_MetadataRead, large)
      ->Unit(benchmark::kMicrosecond);
  MakeDesktop(folder.path());
  for (const char* name : kSamples)
    benchmark::RegisterBenchmark((std::string("GetPictureInfo/") + name).c_str(), BM_GetPictureInfo,
                                 SamplePath(name))
        ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("GetPictureInfo/tiff-small", BM_GetPictureInfo, small)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("GetPictureInfo/tiff-264MB", BM_GetPictureInfo, large)
      ->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
