// How long a picture's metadata item takes from a cold disk and from the page
// cache, for files where reading too much would show: a 315 MB TIFF with its
// directory at the end, a 200 MB layered TIFF (a 92 MB layer tag before the
// directory), a 100 MB PNG and the small sample JPEG. The files are written
// at start in a temporary folder on a disk (TAVRINE_BENCH_DIR, else
// /var/tmp; not a memory file system, whose pages cannot be dropped).
//
// - MetadataCold/<file>: the file's pages are dropped from the cache
//   (posix_fadvise DONTNEED, outside the timing) before each read of the
//   item and its three attributes;
// - MetadataWarm/<file>: the same from the cache;
// - Process/<program>/<file>/<cold|warm>: whole processes, for comparison:
//   bench_tavrine_info, `exiv2 pr` and `identify -ping` (each skipped when it
//   is not installed), started and waited for.
//
// Goal: under 3 ms cold for every file; warm no slower than from memory.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_pictures.h"

extern char** environ;

namespace {

void BM_Metadata(benchmark::State& state, std::string path, bool cold) {
  CFStringRef cf_path = CFStringCreateWithUTF8(path);
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      bench_pictures::DropFromCache(path);
      state.ResumeTiming();
    }
    bench_pictures::ReadMetadata(cf_path, state);
  }
  CFRelease(cf_path);
}

// Runs a program to its end, its output thrown away; false when it cannot
// be started or is killed. Its exit status does not count: exiv2 says 253
// for a picture without Exif data.
bool RunProgram(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  return failed == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status);
}

void BM_Process(benchmark::State& state, std::vector<std::string> command, std::string path,
                bool cold) {
  command.push_back(path);
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      bench_pictures::DropFromCache(path);
      state.ResumeTiming();
    }
    if (!RunProgram(command)) {
      state.SkipWithError(("cannot run " + command[0]).c_str());
      break;
    }
  }
}

bool Installed(const std::string& program) {
  return std::system(("command -v " + program + " > /dev/null").c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* base = std::getenv("TAVRINE_BENCH_DIR");
  bench_pictures::TempFolder folder(base ? base : "/var/tmp");
  const std::string dir = folder.path();
  struct File {
    std::string name, path;
  };
  const std::vector<File> files = {{"tiff-315MB", dir + "/plain-315MB.tif"},
                                   {"layered-tiff-200MB", dir + "/layered-200MB.tif"},
                                   {"png-100MB", dir + "/big-100MB.png"},
                                   {"jpeg-small", dir + "/small.jpg"}};
  bench_pictures::WriteLayeredTiff(files[0].path, 10000, 10500, 0);
  bench_pictures::WriteLayeredTiff(files[1].path, 6000, 6000, std::uint64_t{92} << 20);
  bench_pictures::WritePng(files[2].path, 6000, 5500, std::uint64_t{100} << 20);
  std::filesystem::copy_file(std::string(TAVRINE_SOURCE_DIR) + "/samples/sample-srgb.jpg",
                             files[3].path);
  for (const File& f : files) bench_pictures::FlushToDisk(f.path);

  std::string info = (std::filesystem::path(argv[0]).parent_path() / "bench_tavrine_info").string();
  std::vector<std::pair<std::string, std::vector<std::string>>> programs = {
      {"tavrine_info", {info}}};
  if (Installed("exiv2")) programs.push_back({"exiv2", {"exiv2", "-q", "pr"}});
  if (Installed("identify")) programs.push_back({"identify", {"identify", "-ping"}});
  for (const File& f : files) {
    for (bool cold : {true, false}) {
      std::string kind = cold ? "Cold/" : "Warm/";
      benchmark::RegisterBenchmark(("Metadata" + kind + f.name).c_str(), BM_Metadata, f.path, cold)
          ->Unit(benchmark::kMicrosecond)
          ->UseRealTime()
          ->Iterations(cold ? 200 : 2000);
    }
  }
  for (const auto& [name, command] : programs) {
    for (const File& f : files) {
      for (bool cold : {true, false}) {
        std::string title = "Process/" + name + "/" + f.name + (cold ? "/cold" : "/warm");
        benchmark::RegisterBenchmark(title.c_str(), BM_Process, command, f.path, cold)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(5);
      }
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
