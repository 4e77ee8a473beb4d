// Every fuzz target over the inputs kept in regressions/<target>/, so that a fault fuzzing found
// and that was mended stays mended; the whole-file targets also over every layout of the tree
// (their seed corpus).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_target.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = ZIR_SOURCE_DIR;
const fs::path kFuzzDir = kSourceDir / "tests" / "fuzz";

std::vector<fs::path> layout_files(const char* name) {
  std::vector<fs::path> files;
  for (const char* dir : {"examples", "tests/scenarios"})
    for (const auto& entry : fs::recursive_directory_iterator(kSourceDir / dir))
      if (entry.path().filename() == name) files.push_back(entry.path());
  return files;
}

std::vector<fs::path> files_below(const fs::path& dir) {
  std::vector<fs::path> files;
  if (!fs::is_directory(dir)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file()) files.push_back(entry.path());
  return files;
}

std::vector<uint8_t> bytes_of(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzReplay, EveryTargetSurvivesItsSeedsAndRegressions) {
  ASSERT_FALSE(fuzz_targets().empty());
  for (const FuzzTarget& target : fuzz_targets()) {
    std::vector<fs::path> inputs = files_below(kFuzzDir / "regressions" / target.name);
    const std::string_view name = target.name;
    if (name == "config" || name == "screens")
      for (const fs::path& config : layout_files("config.txt")) inputs.push_back(config);
    if (name == "panels")
      for (const fs::path& panels : layout_files("config_tco.txt")) inputs.push_back(panels);
    for (const fs::path& input : inputs) {
      SCOPED_TRACE(input.string());
      const std::vector<uint8_t> bytes = bytes_of(input);
      EXPECT_EQ(target.body(bytes.data(), bytes.size()), 0);
    }
  }
}

}  // namespace
