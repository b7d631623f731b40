// Costs of the chooser's list: what opening "Other…" asks of GIO and ICU on a
// desktop with 300 installed applications, 20 of them handling JPEG.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/nav.h"

namespace {

namespace fs = std::filesystem;

constexpr int kApplications = 300;
constexpr int kJpegHandlers = 20;

// XDG folders in a temporary tree holding the entries and their MIME index.
struct Desktop {
  Desktop() {
    char pattern[] = "/tmp/tavrine-bench-XXXXXX";
    root = mkdtemp(pattern);
    fs::path apps = root / "data" / "applications";
    fs::create_directories(apps);
    fs::create_directories(root / "dirs");
    fs::create_directory_symlink("/usr/share/mime", root / "dirs" / "mime");
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_DATA_DIRS", (root / "dirs").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    for (int i = 0; i < kApplications; ++i) {
      std::ofstream(apps / ("app" + std::to_string(i) + ".desktop"))
          << "[Desktop Entry]\nType=Application\nName=Äpp " << (kApplications - i)
          << "\nGenericName=Some Editor\nKeywords=one;two;three;\nExec=true %f\n"
          << "MimeType=" << (i < kJpegHandlers ? "image/jpeg;" : "text/plain;") << "\n"
          << (i % 10 == 0 ? "NoDisplay=true\n" : "");
    }
    std::system(("update-desktop-database -q '" + apps.string() + "'").c_str());
  }
  ~Desktop() { fs::remove_all(root); }
  fs::path root;
};

void BM_ListApplicationsForJpeg(benchmark::State& state) {
  static Desktop desktop;
  for (auto _ : state) benchmark::DoNotOptimize(platform::list_applications("image/jpeg"));
}
BENCHMARK(BM_ListApplicationsForJpeg)->Unit(benchmark::kMillisecond);

void BM_FoldForSearch(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(platform::fold_for_search("Ärger Bildbearbeitung\nÉditeur"));
}
BENCHMARK(BM_FoldForSearch);

}  // namespace

BENCHMARK_MAIN();
