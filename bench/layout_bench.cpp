// The virtual layout: one frame with 32 trains running on a ring of 64 cantons over four cards.
#include <benchmark/benchmark.h>

#include <array>

#include "tools/cards/emu/virtual_layout.h"

namespace {

LayoutTrack ring_track() {
  LayoutTrack track;
  for (int slot = 0; slot < kCantons; ++slot) {
    TrackRule rule;
    rule.from = slot;
    rule.from_dir = 1;
    rule.to = (slot + 1) % kCantons;
    rule.to_dir = 1;
    track.rules.push_back(rule);
    track.used[static_cast<size_t>(slot)] = true;
  }
  for (int t = 0; t < kTrainEntries; ++t) track.start_slot[static_cast<size_t>(t)] = 2 * t;
  track.cards_used.fill(true);
  return track;
}

// Every canton of the card at speed byte 40, forward.
std::array<uint8_t, kCommandBytes> forward_frame(int card) {
  std::array<uint8_t, kCommandBytes> frame{};
  frame[0] = static_cast<uint8_t>(16 * card + 1);
  for (int i = 0; i < 16; ++i) frame[static_cast<size_t>(2 + i)] = 40;
  frame[18] = 0xFF;
  frame[19] = 0xFF;
  return frame;
}

void BM_LayoutFrame(benchmark::State& state) {
  VirtualLayout layout(ring_track(), {});
  CardBank bank({0, 1, 2, 3});
  std::array<std::array<uint8_t, kCommandBytes>, kCards> frames{};
  for (int c = 0; c < kCards; ++c) frames[static_cast<size_t>(c)] = forward_frame(c);
  for (auto _ : state) {
    for (int c = 0; c < kCards; ++c) layout.command_frame(c, frames[static_cast<size_t>(c)].data());
    layout.advance(95);
    layout.write_inputs(bank);
  }
}
BENCHMARK(BM_LayoutFrame);

}  // namespace
