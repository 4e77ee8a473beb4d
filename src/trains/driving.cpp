#include "trains/driving.h"

#include <algorithm>

#include "core/system.h"

namespace {

constexpr int kMaxLevel = 3;

void throw_remote_turnout(System& sys) {
  RemoteState& r = sys.remote;
  const int n = r.remote_number;
  if (sys.aig.aig_reserved[n] == 0) {  // a turnout locked by a route or movement stays put
    int& cmd = sys.aig.aig_cmd[n];
    cmd = r.remote_aig_mode == -1 ? (cmd == 0 ? 1 : 0) : r.remote_aig_mode;
  }
  r.remote_aig_mode = -1;
  r.remote_digits = 0;
  r.remote_number = 0;
}

void remote_clav_code(System& sys, int code) {
  RemoteState& r = sys.remote;
  auto& levels = sys.trains.clav_level;
  if (code >= 30 && code < 30 + kClavConfs) r.remote_clav = code - 30;
  int& level = levels[static_cast<size_t>(r.remote_clav)];
  if (code == 40) level = 0;
  if (code == 41 && level >= -kMaxLevel + 1) --level;
  if (code == 42 && level < kMaxLevel) ++level;
  if (code == 50) levels.fill(0);
}

}  // namespace

void keyboard_driving(System& sys, int ch) {
  if (ch == 0) return;  // 0 marks a configuration key that is not set
  if (ch >= 'A' && ch <= 'Z') ch += 'a' - 'A';
  TrainTable& t = sys.trains;
  for (int j = 0; j < kClavConfs; ++j) {
    int& level = t.clav_level[j];
    if (t.plus_key[j] == ch && level < kMaxLevel) ++level;
    if (t.stop_key[j] == ch) level = 0;
    if (t.minus_key[j] == ch && level > -kMaxLevel) --level;
  }
}

void remote_step(System& sys) {
  RemoteState& r = sys.remote;
  const int c = sys.screen.remote_key;
  if (c == -1) {
    if (++r.remote_idle == kRemoteForget) {
      r.remote_digits = 0;
      r.remote_number = 0;
    }
    return;
  }
  r.remote_idle = 0;
  const bool digit = c >= 0 && c <= 11;
  if (digit) {
    // Past any turnout number the value only has to stay large: keep it from overflowing.
    r.remote_number = std::min(r.remote_number, kRemoteNumberCeiling) * 10 + c;
    ++r.remote_digits;
  } else {
    r.remote_number = 0;  // any other code starts a new number
    r.remote_digits = 0;
  }
  if (c == 20) r.remote_aig_mode = 1;
  if (c == 21) r.remote_aig_mode = 0;
  if (digit && r.remote_digits == sys.general.ir_aig_digit && r.remote_number < kTurnouts) {
    throw_remote_turnout(sys);
  }
  remote_clav_code(sys, c);
  sys.screen.remote_key = -1;
}
