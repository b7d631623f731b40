// Costs of the file-system utilities and of the preferences file, warm, on a
// temporary folder: what one picture's road and one save ask of the disk.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "platform/text.h"
#include "prefs/fileutils.h"
#include "prefs/prefs.h"
#include "prefs/userprefs.h"

namespace {

namespace fs = std::filesystem;

// A temporary tree like /Volumes/Disk/Folder/pic.tif, with the XDG folders
// pointed into it, and a folder of 1000 files for the shortened names.
struct Tree {
  Tree() {
    char pattern[] = "/tmp/tavrine-bench-XXXXXX";
    root = mkdtemp(pattern);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
    picture = root / "Volumes" / "Disk" / "Folder" / "pic.tif";
    fs::create_directories(picture.parent_path());
    std::ofstream(picture) << "II*";
    fs::create_directories(root / "Many");
    for (int i = 0; i < 1000; ++i) std::ofstream(root / "Many" / ("file " + std::to_string(i)));
    long_name = root / "Many" / (std::string(100, 'l') + ".tif");
    std::ofstream(long_name) << "x";
    // Ten Cyrillic folders of about 150 bytes each: a path of 1,500 bytes
    // that reaches the native side with every component shortened.
    fs::path folder = root;
    for (int i = 0; i < 10; ++i) {
      std::string name = std::to_string(i);
      while (name.size() < 140) name += " Фотографии";
      folder /= name;
    }
    cyrillic = folder / "обложка.jpg";
    fs::create_directories(folder);
    std::ofstream(cyrillic) << "x";
  }
  ~Tree() { fs::remove_all(root); }
  fs::path root, picture, long_name, cyrillic;
};

Tree& tree() {
  static Tree t;
  return t;
}

FSSpec SpecOf(const fs::path& p) {
  FSSpec spec{};
  FSPathMakeFSSpec(reinterpret_cast<const UInt8*>(p.c_str()), &spec, nullptr);
  return spec;
}

void BM_FSPathMakeFSSpec(benchmark::State& state) {
  std::string path = tree().picture.string();
  FSSpec spec;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        FSPathMakeFSSpec(reinterpret_cast<const UInt8*>(path.c_str()), &spec, nullptr));
  }
}
BENCHMARK(BM_FSPathMakeFSSpec);

// The 1,500-byte Cyrillic path as it crosses into a short text, and that
// text resolved back, by FSPathMakeFSSpec as GetPictureInfo resolves it and
// by FSPathMakeRef alone (goal: under 100 µs).
void BM_ShortTextOfA1500BytePath(benchmark::State& state) {
  std::string path = tree().cyrillic.string();
  for (auto _ : state) benchmark::DoNotOptimize(platform::short_text_of(path));
  state.SetLabel(std::to_string(path.size()) + " bytes");
}
BENCHMARK(BM_ShortTextOfA1500BytePath)->Unit(benchmark::kMicrosecond);

void BM_FSPathMakeFSSpecOfA1500BytePath(benchmark::State& state) {
  std::string mac = platform::short_text_of(tree().cyrillic.string());
  FSSpec spec;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        FSPathMakeFSSpec(reinterpret_cast<const UInt8*>(mac.c_str()), &spec, nullptr));
  }
  state.SetLabel(std::to_string(mac.size()) + " characters");
}
BENCHMARK(BM_FSPathMakeFSSpecOfA1500BytePath)->Unit(benchmark::kMicrosecond);

void BM_FSPathMakeRefOfA1500BytePath(benchmark::State& state) {
  std::string utf8 = platform::mac_roman_to_utf8(platform::short_text_of(tree().cyrillic.string()));
  FSRef ref;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        FSPathMakeRef(reinterpret_cast<const UInt8*>(utf8.c_str()), &ref, nullptr));
  }
}
BENCHMARK(BM_FSPathMakeRefOfA1500BytePath)->Unit(benchmark::kMicrosecond);

void BM_FileExists(benchmark::State& state) {
  FSSpec spec = SpecOf(tree().picture);
  for (auto _ : state) benchmark::DoNotOptimize(FileExists(spec));
}
BENCHMARK(BM_FileExists);

void BM_FileExistsOfAShortenedNameAmong1000(benchmark::State& state) {
  FSSpec spec = SpecOf(tree().long_name);
  for (auto _ : state) benchmark::DoNotOptimize(FileExists(spec));
}
BENCHMARK(BM_FileExistsOfAShortenedNameAmong1000);

// A stored FSSpec whose folder is gone: every check searches for the
// folder (bounded) before it answers false.
void BM_FileExistsOfAGoneFolder(benchmark::State& state) {
  fs::path gone = tree().root / "Gone" / "tool";
  fs::create_directories(gone.parent_path());
  std::ofstream(gone) << "x";
  FSSpec spec = SpecOf(gone);
  fs::remove_all(gone.parent_path());
  for (auto _ : state) benchmark::DoNotOptimize(FileExists(spec));
}
BENCHMARK(BM_FileExistsOfAGoneFolder)->Unit(benchmark::kMicrosecond);

void BM_CopyPOSIXPath(benchmark::State& state) {
  FSSpec spec = SpecOf(tree().picture);
  for (auto _ : state) {
    CFStringRef path = CopyPOSIXPath(spec);
    CFRelease(path);
  }
}
BENCHMARK(BM_CopyPOSIXPath);

void BM_GetFileNameFromFileFSSpec(benchmark::State& state) {
  FSSpec spec = SpecOf(tree().picture);
  Str255 name;
  for (auto _ : state) GetFileNameFromFileFSSpec(spec, name);
}
BENCHMARK(BM_GetFileNameFromFileFSSpec);

void BM_MyMakeFolderFSSpec(benchmark::State& state) {
  Str255 path;
  CopyCStringToPascal(tree().picture.c_str(), path);
  FSSpec spec;
  for (auto _ : state) benchmark::DoNotOptimize(MyMakeFolderFSSpec(&spec, 1, path, 6));
}
BENCHMARK(BM_MyMakeFolderFSSpec);

void BM_GetUserPrefs(benchmark::State& state) {
  tree();
  SaveUserPrefs();
  for (auto _ : state) benchmark::DoNotOptimize(GetUserPrefs());
}
BENCHMARK(BM_GetUserPrefs);

// Includes the fsync of the new file and of its folder: the price of a save
// that can never leave a broken file behind.
void BM_SaveUserPrefs(benchmark::State& state) {
  tree();
  for (auto _ : state) SaveUserPrefs();
}
BENCHMARK(BM_SaveUserPrefs)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
