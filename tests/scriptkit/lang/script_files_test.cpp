// Runs every script under tests/scripts against the sample window and checks
// the expectations written in it:
//   -- expect: <text>                          the next `log` line
//   -- expect result: <value>                  the value the run ends with
//   -- expect error: <number> <message>        compiling fails so
//   -- expect runtime error: <number> [<message>]  the run fails so (after the logs)
// A message, when given, must be the whole message.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scriptkit/lang/script.h"
#include "scriptkit/model/coerce.h"
#include "tests/support/sample_window.h"

namespace {

namespace fs = std::filesystem;

struct Expectations {
  std::vector<std::string> logs;
  std::string result;
  bool has_result = false;
  bool compile_error = false;
  bool runtime_error = false;
  int number = 0;
  std::string message;
};

// "<number> <message>" after an error marker.
void read_error(std::string_view rest, Expectations& e) {
  std::istringstream in{std::string(rest)};
  in >> e.number;
  std::getline(in >> std::ws, e.message);
}

Expectations read_expectations(const std::string& text) {
  Expectations e;
  std::istringstream lines(text);
  std::string line;
  const std::string markers[] = {
      "-- expect: ", "-- expect result: ", "-- expect error: ", "-- expect runtime error: "};
  while (std::getline(lines, line)) {
    if (line.size() >= 10 && line.compare(line.size() - 10, 10, "-- expect:") == 0) {
      e.logs.emplace_back();
      continue;
    }
    for (std::size_t m = 0; m < 4; ++m) {
      std::size_t at = line.find(markers[m]);
      if (at == std::string::npos) continue;
      std::string rest = line.substr(at + markers[m].size());
      if (m == 0) e.logs.push_back(rest);
      if (m == 1) e.result = rest, e.has_result = true;
      if (m == 2) e.compile_error = true, read_error(rest, e);
      if (m == 3) e.runtime_error = true, read_error(rest, e);
      break;
    }
  }
  return e;
}

std::vector<std::string> script_files() {
  std::vector<std::string> files;
  fs::path root = fs::path(TAVRINE_SOURCE_DIR) / "tests" / "scripts";
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.path().extension() == ".applescript") {
      files.push_back(fs::relative(entry.path(), root).string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

class ScriptFile : public ::testing::TestWithParam<std::string> {};

TEST_P(ScriptFile, MeetsItsExpectations) {
  fs::path path = fs::path(TAVRINE_SOURCE_DIR) / "tests" / "scripts" / GetParam();
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Expectations expected = read_expectations(text);

  auto script = scriptkit::lang::Script::compile(text);
  if (expected.compile_error) {
    ASSERT_TRUE(scriptkit::failed(script)) << "compiled";
    const auto& error = std::get<scriptkit::ScriptError>(script);
    EXPECT_EQ(error.number, expected.number);
    if (!expected.message.empty()) {
      EXPECT_EQ(error.message, expected.message);
    }
    return;
  }
  ASSERT_FALSE(scriptkit::failed(script)) << std::get<scriptkit::ScriptError>(script).message;

  sample::SampleWindow window;
  std::vector<std::string> logged;
  scriptkit::lang::Environment env{window.app,
                                   [&](std::string_view line) { logged.emplace_back(line); }};
  scriptkit::lang::Instance instance(std::get<scriptkit::lang::Script>(std::move(script)), env);
  auto result = instance.run();
  EXPECT_EQ(logged, expected.logs);
  if (expected.runtime_error) {
    ASSERT_TRUE(scriptkit::failed(result)) << "ran to its end";
    const auto& error = std::get<scriptkit::ScriptError>(result);
    EXPECT_EQ(error.number, expected.number) << error.message;
    if (!expected.message.empty()) {
      EXPECT_EQ(error.message, expected.message);
    }
    return;
  }
  ASSERT_FALSE(scriptkit::failed(result)) << std::get<scriptkit::ScriptError>(result).message;
  if (expected.has_result) {
    EXPECT_EQ(scriptkit::model::describe_value(std::get<scriptkit::Value>(result)),
              expected.result);
  }
}

std::string test_name(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.substr(0, info.param.size() - std::string(".applescript").size());
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptFile, ::testing::ValuesIn(script_files()), test_name);

}  // namespace
