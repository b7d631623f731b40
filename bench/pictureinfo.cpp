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
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_pictures.h"
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

void BM_MetadataRead(benchmark::State& state, std::string path) {
  CFStringRef cf_path = CFStringCreateWithUTF8(path);
  for (auto _ : state) bench_pictures::ReadMetadata(cf_path, state);
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

}  // namespace

int main(int argc, char** argv) {
  bench_pictures::TempFolder folder;
  std::string small = folder.path() + "/layered-small.tif";
  std::string large = folder.path() + "/layered-264MB.tif";
  bench_pictures::WriteLayeredTiff(small, 64, 64, 4096);
  bench_pictures::WriteLayeredTiff(large, 8000, 8800, std::uint64_t{64} << 20);  // 211 MB of pixels
  // Each reading is measured on every sample and on both layered TIFFs.
  std::vector<std::pair<std::string, std::string>> pictures;
  for (const char* name : kSamples) pictures.emplace_back(name, SamplePath(name));
  pictures.emplace_back("tiff-small", small);
  pictures.emplace_back("tiff-264MB", large);
  auto register_on_every_picture = [&](const std::string& reading, auto* bench) {
    for (const auto& [name, path] : pictures)
      benchmark::RegisterBenchmark((reading + "/" + name).c_str(), bench, path)
          ->Unit(benchmark::kMicrosecond);
  };
  register_on_every_picture("MetadataRead", BM_MetadataRead);
  MakeDesktop(folder.path());
  register_on_every_picture("GetPictureInfo", BM_GetPictureInfo);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
