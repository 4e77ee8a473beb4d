// One fuzz target per reader of outside bytes. FUZZ_TARGET(name) { body } defines the body once:
// `make fuzz` builds a libFuzzer program per target around it, and the test build replays every
// target over its seed corpus and its kept regressions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/recording_host.h"
#include "core/system.h"

using FuzzBody = int (*)(const uint8_t* data, size_t size);

bool register_fuzz_target(const char* name, FuzzBody body);

// A System in a private folder whose config.txt holds `text`; boxes are collected silently.
struct FuzzLayout {
  RecordingHost host;
  System sys;
  explicit FuzzLayout(std::string_view text);
};

// `header` (such as "#tdv [") on a line of its own, then the fuzz bytes, then a closing line,
// so that a section target spends its time inside the section.
std::string section_text(const char* header, const uint8_t* data, size_t size);

// The registered targets, in registration order.
struct FuzzTarget {
  const char* name;
  FuzzBody body;
};
const std::vector<FuzzTarget>& fuzz_targets();

// Defines `zir_fuzz_NAME`, which the fuzzer NAME calls for each input, and registers it.
#define FUZZ_TARGET(name)                                           \
  extern "C" int zir_fuzz_##name(const uint8_t* data, size_t size); \
  [[maybe_unused]] static const bool fuzz_registered_##name =       \
      register_fuzz_target(#name, zir_fuzz_##name);                 \
  extern "C" int zir_fuzz_##name(const uint8_t* data, size_t size)
