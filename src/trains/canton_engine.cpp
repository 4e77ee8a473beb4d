#include "trains/canton_engine.h"

#include <cstdio>

#include "block/block_engine.h"
#include "core/system.h"
#include "core/tokens.h"
#include "trains/speed_profile.h"

namespace {

bool in_auto_mode(const TrainTable& t, int i) {
  return same_word(t.mode[i], "AUTO");
}

bool is_driven(const TrainTable& t, int i) {
  return t.cmd[i] != -1 && t.en[i] != 0 && t.train_garage[i] == -1 && !in_auto_mode(t, i);
}

bool is_pot_cmd(int cmd) {
  return cmd >= 0 && cmd < 305 && cmd % 100 < kCanPerCard;
}
bool is_clav_cmd(int cmd) {
  return cmd >= kClavCmdBase && cmd < kClavCmdBase + kClavConfs;
}

// The speed the train's command asks for: potentiometer (with brake detection) or keyboard.
int requested_speed(const System& sys, int i) {
  const int cmd = sys.trains.cmd[i];
  if (is_pot_cmd(cmd)) {
    int reading = sys.io.can[static_cast<size_t>(cmd / 100 * kCanPerCard + cmd % 100)];
    if (sys.trains.inv[i] == 1) reading = 255 - reading;
    return pot_to_speed(reading, true);
  }
  if (is_clav_cmd(cmd)) return level_to_speed(sys.trains.clav_level[cmd - kClavCmdBase]);
  return 0;
}

// A lower deceleration index is a faster one: the faster of the two wins.
int faster_deceleration(int e, int block_dec) {
  return (block_dec != -1 && e != -1 && block_dec < e) ? block_dec : e;
}

void drive_train(System& sys, int i) {
  TrainTable& t = sys.trains;
  const BlockState& b = sys.block;
  int s = requested_speed(sys, i);
  const bool braking = s == kBrakeRequest;
  t.cmd_speed[i] = braking ? 0 : s;

  // The automatic turnouts (while aigauto is on), then the block's speed limits, halts and
  // block stops: they fill the block results read below.
  block_run_for_train(sys, i);

  const int d = b.vitmax_lim[i];
  if (d > 0 && d < s && !braking) s = d;
  if (d < 0 && s < d && s != kBrakeRequest) s = d;

  int e = t.dec[i];
  if (b.bal_state[i] == 2 && b.block_inhibit != 1) {
    s = 0;
    e = faster_deceleration(e, b.bal_dec[i]);
  } else if (b.bal_state[i] == 1) {
    const int ral = b.bal_ral[i];
    if (s > 0 && ral > 0 && s >= ral) s = ral;
    // A brake request stays a brake request: it is never raised to the slow-down speed.
    if (s < 0 && ral < 0 && ral >= s && !braking) s = ral;
    e = faster_deceleration(e, b.bal_dec[i]);
  }

  t.vit[i] = ramp_step(sys, s, t.vit[i], t.acc[i], e, t.frein[i]);
  t.cons[i] = s;
  if (b.halt_inhibit != 1 && b.halt_flag[i] == 1) t.vit[i] = 0;
}

void update_cantons_txt_and_capt(System& sys, int i) {
  const CantonTable& c = sys.cantons;
  TrainTable& t = sys.trains;
  std::string txt;
  int capt = 0;
  for (int slot = 0; slot < kCantons; ++slot) {
    if (c.num_train[slot] != i) continue;
    const bool detected = sys.io.det[slot] != 0;
    char item[16];
    std::snprintf(item, sizeof item, "c%d ", canton_number(slot));
    if (c.ResvMANU[slot] != 0) txt += item;
    if (c.ResvAUTO[slot] != 0 && detected) txt += item;
    if (detected && (c.ResvMANU[slot] != 0 || c.ResvAUTO[slot] != 0)) capt = 1;
  }
  if (txt.size() > static_cast<size_t>(kCantonsTxtLength)) txt.resize(kCantonsTxtLength);
  t.cantons_txt[i] = txt;
  t.capt[i] = t.train_garage[i] != -1 ? 2 : capt;
}

}  // namespace

void canton_init(System& sys) {
  CantonTable& c = sys.cantons;
  c.num_train.fill(-1);
  for (auto* field : {&c.ResvAUTO, &c.ResvMANU, &c.libe_count, &c.Inverse, &c.Res2MANU, &c.Vit_AUTO,
                      &c.Vit_MANU, &c.det2, &c.det2p, &c.det2m}) {
    field->fill(0);
  }
  c.sens_ok.fill(3);
  c.sens_perm.fill(3);
}

void snapshot_step(System& sys) {
  CantonTable& c = sys.cantons;
  c.prev_num_train = c.num_train;
  c.prev_ResvAUTO = c.ResvAUTO;
  c.prev_ResvMANU = c.ResvMANU;
  c.prev_Res2MANU = c.Res2MANU;
  c.sens_ok = c.sens_perm;
}

void lost_train_step(System& sys) {
  CantonTable& c = sys.cantons;
  TrainTable& t = sys.trains;
  for (int i = 0; i < kTrainEntries; ++i) t.panel_name[i] = t.name[i];
  c.pb_capt_t.fill(0);
  for (int slot = 0; slot < kCantons; ++slot) {
    const int n = c.num_train[slot];
    if (n >= 0 && n < kTrainEntries && t.capt[n] == 0) c.pb_capt_t[n] = 1;
  }
  for (int slot = 0; slot < kCantons; ++slot) {
    const int n = c.num_train[slot];
    c.pb_capt_c[slot] = (n >= 0 && n < kTrainEntries) ? c.pb_capt_t[n] : 0;
  }
  c.prev_garage_num_train = sys.garage.num_train;
  c.prev_garage_ass_canton = sys.garage.ass_canton;
}

void trains_engine_step(System& sys) {
  TrainTable& t = sys.trains;
  block_pass_begin(sys);
  for (int i = 0; i < kTrainEntries; ++i) {
    if (is_driven(t, i)) {
      drive_train(sys, i);
    } else {
      t.cons[i] = 0;
      t.vit[i] = 0;
    }
  }
  for (int i = 0; i < kTrainEntries; ++i) update_cantons_txt_and_capt(sys, i);
}

void canton_update_step(System& sys) {
  CantonTable& c = sys.cantons;
  for (int slot = 0; slot < kCantons; ++slot) {
    int v = 0;
    if (c.ResvAUTO[slot] == 0 && c.num_train[slot] != -1 &&
        (c.ResvMANU[slot] != 0 || c.Res2MANU[slot] != 0)) {
      v = c.Vit_MANU[slot];
    }
    if (c.ResvAUTO[slot] == 1) v = c.Vit_AUTO[slot];
    c.Vitesse[slot] = v;
    // Occupied with delay: detected, or still held as a main canton until tracking frees it.
    const int occupied = (sys.io.det[slot] == 1 || c.ResvMANU[slot] == 1) ? 1 : 0;
    c.det2[slot] = occupied;
    c.det2p[slot] = occupied && v > 3 ? 1 : 0;
    c.det2m[slot] = occupied && v < -3 ? 1 : 0;
  }
}
