// How long the links report of a large document takes, warm (the document
// and the pictures' headers in the page cache):
//
// - LinksReport/1000: a document of 1,000 image frames on 100 pages, each
//   placing a picture of its own: 500 large TIFFs (10000 x 8000 RGB, 240 MB
//   of pixels each, written sparse so they take no disk) and 500 JPEGs (the
//   sample). Reading the document, looking at every file and making the
//   table: what `tavrine --links` does but print;
// - LinksRead/1000: reading the document alone;
// - MetadataRead/1000: the metadata item of each of the same 1,000 pictures,
//   as the window's picture information reads one: the per-picture floor.
//
// Goal: the whole report under 1 s, and per picture about the reader's cost.
// TAVRINE_BENCH_KEEP=1 keeps the catalogue afterwards and says where.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_pictures.h"
#include "links/links_output.h"
#include "links/links_report.h"
#include "links/placed_pictures.h"
#include "platform/metadata.h"

namespace {

namespace fs = std::filesystem;
using bench_pictures::PutBE;
using bench_pictures::SrgbProfile;

constexpr int kPictures = 1000;
constexpr int kFramesPerPage = 10;

using Bytes = std::vector<std::uint8_t>;

// A big-endian RGB TIFF as a scanner writes one: the directory first, then
// the profile, then one strip of pixels. The pixels are left as a hole in a
// sparse file: the reader never touches them.
void write_large_tiff(const fs::path& path, const Bytes& icc) {
  const std::uint32_t width = 10000, height = 8000, pixels = width * height * 3;
  const std::uint32_t entries = 10, bits_at = 8 + 2 + entries * 12 + 4;
  const std::uint32_t icc_at = bits_at + 6,
                      strip_at = icc_at + static_cast<std::uint32_t>(icc.size());
  Bytes out{'M', 'M', 0, 42};
  PutBE(out, 8, 4);
  PutBE(out, entries, 2);
  auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                   std::uint32_t value) {
    PutBE(out, tag, 2), PutBE(out, type, 2), PutBE(out, count, 4);
    if (type == 3 && count == 1)
      PutBE(out, value, 2), PutBE(out, 0, 2);
    else
      PutBE(out, value, 4);
  };
  entry(256, 4, 1, width);
  entry(257, 4, 1, height);
  entry(258, 3, 3, bits_at);
  entry(259, 3, 1, 1);
  entry(262, 3, 1, 2);
  entry(273, 4, 1, strip_at);
  entry(277, 3, 1, 3);
  entry(278, 4, 1, height);
  entry(279, 4, 1, pixels);
  entry(34675, 7, static_cast<std::uint32_t>(icc.size()), icc_at);
  PutBE(out, 0, 4);
  for (int i = 0; i < 3; ++i) PutBE(out, 8, 2);
  out.insert(out.end(), icc.begin(), icc.end());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  fs::resize_file(path, std::uintmax_t{strip_at} + pixels);
}

// The Scribus document: frames with the attributes Scribus 1.5 writes for an
// image frame, ten a page.
std::string document_text(const std::vector<std::string>& pictures) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SCRIBUSUTF8NEW Version=\"1.5.8\">\n"
      "    <DOCUMENT ANZPAGES=\"100\" PAGEWIDTH=\"595\" PAGEHEIGHT=\"842\">\n";
  for (int i = 0; i < kPictures; ++i) {
    int page = i / kFramesPerPage;
    xml += "        <PAGEOBJECT XPOS=\"110\" YPOS=\"" + std::to_string(30 + page * 862) +
           "\" OwnPage=\"" + std::to_string(page) + "\" ItemID=\"" + std::to_string(400000 + i) +
           "\" PTYPE=\"2\" WIDTH=\"100\" HEIGHT=\"100\" FRTYPE=\"0\" CLIPEDIT=\"0\" "
           "PWIDTH=\"1\" PLINEART=\"1\" ANNAME=\"Image" +
           std::to_string(i) +
           "\" LOCALSCX=\"0.24\" LOCALSCY=\"0.24\" LOCALX=\"0\" LOCALY=\"0\" LOCALROT=\"0\" "
           "PICART=\"1\" SCALETYPE=\"1\" RATIO=\"1\" Pagenumber=\"0\" PFILE=\"" +
           pictures[i] +
           "\" IRENDER=\"0\" EMBEDDED=\"0\" path=\"M0 0 L100 0 L100 100 L0 100 L0 0 Z\" "
           "copath=\"M0 0 L100 0 L100 100 L0 100 L0 0 Z\" gXpos=\"0\" gYpos=\"0\" "
           "gWidth=\"0\" gHeight=\"0\" LAYER=\"0\" NEXTITEM=\"-1\" BACKITEM=\"-1\"/>\n";
  }
  return xml + "    </DOCUMENT>\n</SCRIBUSUTF8NEW>\n";
}

struct Catalogue {
  fs::path folder;
  fs::path document;
  std::vector<std::string> paths;  // absolute
};

Catalogue make_catalogue(const fs::path& folder) {
  Catalogue catalogue{folder, folder / "catalogue.sla", {}};
  fs::create_directories(folder / "pictures");
  const Bytes icc = SrgbProfile();
  const fs::path jpeg = fs::path(TAVRINE_SOURCE_DIR) / "samples/sample-srgb.jpg";
  std::vector<std::string> relative;
  for (int i = 0; i < kPictures; ++i) {
    std::string name = "pictures/" + std::to_string(i) + (i % 2 == 0 ? ".tif" : ".jpg");
    if (i % 2 == 0)
      write_large_tiff(folder / name, icc);
    else
      fs::copy_file(jpeg, folder / name);
    relative.push_back(name);
    catalogue.paths.push_back((folder / name).string());
  }
  std::ofstream(catalogue.document) << document_text(relative);
  return catalogue;
}

void BM_LinksReport(benchmark::State& state, const Catalogue* catalogue) {
  for (auto _ : state) {
    std::vector<links::PlacedPicture> pictures;
    std::string error;
    if (!links::read_placed_pictures_file(catalogue->document.string(), pictures, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    links::LinksReport report = links::make_links_report(std::move(pictures), 250);
    if (report.found != kPictures) state.SkipWithError("a picture was not found");
    benchmark::DoNotOptimize(links::links_table(report));
  }
  state.counters["per picture"] = benchmark::Counter(
      kPictures, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_LinksRead(benchmark::State& state, const Catalogue* catalogue) {
  for (auto _ : state) {
    std::vector<links::PlacedPicture> pictures;
    std::string error;
    links::read_placed_pictures_file(catalogue->document.string(), pictures, error);
    benchmark::DoNotOptimize(pictures);
  }
}

void BM_MetadataRead(benchmark::State& state, const Catalogue* catalogue) {
  std::vector<CFStringRef> paths;
  for (const std::string& path : catalogue->paths) paths.push_back(CFStringCreateWithUTF8(path));
  for (auto _ : state) {
    for (CFStringRef path : paths) {
      MDItemRef item = MDItemCreate(kCFAllocatorDefault, path);
      if (item == nullptr) state.SkipWithError("no metadata item");
      benchmark::DoNotOptimize(item);
      if (item != nullptr) CFRelease(item);
    }
  }
  for (CFStringRef path : paths) CFRelease(path);
  state.counters["per picture"] = benchmark::Counter(
      kPictures, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

int main(int argc, char** argv) {
  std::string pattern = (fs::temp_directory_path() / "tavrine-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  Catalogue catalogue = make_catalogue(pattern);
  benchmark::RegisterBenchmark("LinksReport/1000", BM_LinksReport, &catalogue)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("LinksRead/1000", BM_LinksRead, &catalogue)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("MetadataRead/1000", BM_MetadataRead, &catalogue)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // TAVRINE_BENCH_KEEP=1 leaves the catalogue, to time the whole program on
  // it (hyperfine 'tavrine --links FOLDER/catalogue.sla').
  if (getenv("TAVRINE_BENCH_KEEP") != nullptr) {
    std::printf("catalogue kept in %s\n", catalogue.folder.c_str());
    return 0;
  }
  std::error_code ignored;
  fs::remove_all(catalogue.folder, ignored);
  return 0;
}
