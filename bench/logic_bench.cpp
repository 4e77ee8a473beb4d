// The logic engine on a full program: 20000 items of truth tables and equations, mixed.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "tools/sim/recording_host.h"
#include "core/system.h"
#include "logic/tdv_config.h"
#include "logic/tdv_engine.h"

namespace {

constexpr int kTableItems = 482;
constexpr int kEquationItems = 21;

// Appends " prefixN" (GCC 12 warns wrongly on const char* + std::string in Release).
void word(std::string& s, const char* prefix, int n) {
  s += ' ';
  s += prefix;
  s += std::to_string(n);
}

// One table: 10 inputs, 10 outputs, 20 rows of values with one set/clear pair each (482 items).
std::string table(int t) {
  std::string s = "tdv: in:";
  for (int i = 0; i < 10; ++i) word(s, "in_", (t * 7 + i) % 80);
  s += " out:";
  for (int i = 0; i < 10; ++i) word(s, "out_", (t * 3 + i) % 80);
  for (int r = 0; r < 20; ++r) {
    s += "\neq:";
    for (int i = 0; i < 10; ++i) s += (r + i) % 3 == 0 ? " x" : ((r >> (i % 4)) & 1) ? " 1" : " 0";
    s += " |";
    for (int i = 0; i < 10; ++i) s += (r + i) % 4 == 0 ? " x" : (i & 1) ? " 1" : " 0";
    s += (r & 1) ? " set" : " clear";
    word(s, "var_", (t + r) % 400);
  }
  return s + "\n";
}

// A block of equations (21 items).
std::string equations(int e) {
  const int a = e % 400;
  const int b = (e * 7 + 3) % 400;
  std::string s = "equ: l";
  word(s, "var_", a);
  s += " a";
  word(s, "in_", e % 80);
  s += " on";
  word(s, "var_", b);
  s += " =";
  word(s, "led_", e % 48);
  s += " l";
  word(s, "var_", b);
  s += ">=";
  s += std::to_string(e % 9);
  s += " =val";
  word(s, "var_", (a + 1) % 400);
  s += " 12 ln";
  word(s, "in_", (e + 5) % 80);
  s += " xn";
  word(s, "var_", a);
  s += " =var";
  word(s, "var_", (b + 2) % 400);
  word(s, "var_", a);
  return s + "\n";
}

std::string full_program() {
  std::string text = "#tdv\n[\n";
  int items = 2;  // start and end
  for (int t = 0; items + kTableItems + kEquationItems * 16 <= 20000; ++t) {
    text += table(t);
    items += kTableItems;
    for (int e = 0; e < 16; ++e) text += equations(t * 16 + e);
    items += kEquationItems * 16;
  }
  for (; items + kEquationItems <= 20000; items += kEquationItems) text += equations(items);
  for (; items < 20000; ++items) text += "0 ";
  return text + "\n]\n";
}

void BM_LogicTickFullProgram(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "zir-bench-XXXXXX").string();
  const std::filesystem::path dir = mkdtemp(pattern.data());
  std::ofstream(dir / "config.txt") << full_program();
  RecordingHost host;
  auto sys = std::make_unique<System>(host, dir);
  read_tdv(*sys);
  if (sys->tdv.length != 20000) state.SkipWithError("the program is not 20000 items long");
  for (int i = 0; i < 80; i += 2) sys->io.in[static_cast<size_t>(i)] = 1;
  for (auto _ : state) {
    tdv_tick(*sys);
    benchmark::ClobberMemory();
  }
  state.counters["items"] = sys->tdv.length;
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LogicTickFullProgram)->Unit(benchmark::kMicrosecond);

}  // namespace
