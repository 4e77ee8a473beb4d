#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fuzz/fuzz_target.h"

namespace {

// One folder for the whole run: every input rewrites its config.txt.
const std::filesystem::path& fuzz_folder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "zir-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return std::filesystem::path(pattern);
  }();
  return folder;
}

}  // namespace

FuzzLayout::FuzzLayout(std::string_view text) : sys(host, fuzz_folder()) {
  std::ofstream(fuzz_folder() / "config.txt", std::ios::binary | std::ios::trunc)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
  std::filesystem::remove(fuzz_folder() / "config_tco.txt");
}

std::string section_text(const char* header, const uint8_t* data, size_t size) {
  std::string text = header;
  text += "\n";
  text.append(reinterpret_cast<const char*>(data), size);
  text += "\n]\n";
  return text;
}

namespace {
std::vector<FuzzTarget>& target_list() {
  static std::vector<FuzzTarget> targets;
  return targets;
}
}  // namespace

bool register_fuzz_target(const char* name, FuzzBody body) {
  target_list().push_back({name, body});
  return true;
}

const std::vector<FuzzTarget>& fuzz_targets() {
  return target_list();
}
