#include "trains/split_join.h"

#include <algorithm>
#include <cstdio>

#include "core/system.h"
#include "core/tokens.h"

namespace {

constexpr int kFirstWagon = 16;
constexpr int kLastTrain = kFirstWagon - 1;

// A split or join position: a canton (its slot) or a siding.
struct Place {
  enum Kind { None, Canton, Siding } kind = None;
  int slot = -1;
  int siding = -1;
};

Place place_of(int32_t position) {
  if (canton_slot(position) >= 0) return {Place::Canton, canton_slot(position), -1};
  const int32_t siding = position - kSidingPosition;
  if (siding >= 0 && siding < kSidings) return {Place::Siding, -1, siding};
  return {};
}

bool detected(const System& sys, const Place& p) {
  return p.kind == Place::Canton && sys.io.det[p.slot] == 1;
}

// A detected canton whose train is driven by hand.
bool manual_canton(const System& sys, const Place& p) {
  return detected(sys, p) && sys.cantons.ResvMANU[p.slot] == 1;
}

// A movement holding a siding owns its parked train: splits and joins never touch it.
bool free_siding(const System& sys, const Place& p, int32_t state_lock) {
  return p.kind == Place::Siding && sys.garage.res_auto[p.siding] == 0 &&
         sys.garage.state_lock[p.siding] == state_lock;
}

bool is_train(int t) {
  return t >= 0 && t <= kLastTrain;
}
bool is_wagon(int t) {
  return t >= kFirstWagon && t < kTrainEntries;
}

bool manual_mode(const System& sys, int t) {
  return same_word(sys.trains.mode[t], "SEL");
}

int canton_train(const System& sys, int32_t canton) {
  const int slot = canton_slot(canton);
  return slot < 0 ? -1 : sys.cantons.num_train[slot];
}

// A split looks for its train on the canton a siding feeds.
int split_occupant(const System& sys, const Place& p) {
  if (p.kind == Place::Canton) return sys.cantons.num_train[p.slot];
  return canton_train(sys, sys.garage.ass_canton[p.siding]);
}

// A join looks for the train an isolated siding held at the start of the tick.
int join_occupant(const System& sys, const Place& p) {
  if (p.kind == Place::Canton) return sys.cantons.num_train[p.slot];
  if (sys.garage.state_lock[p.siding] == 0) return -1;
  return sys.cantons.prev_garage_num_train[p.siding];
}

void give_cantons(System& sys, int from, int to) {
  for (int32_t& n : sys.cantons.num_train)
    if (n == from) n = to;
}

// The wagons stand on a canton: they are where tracking last saw them.
void mark_seen(System& sys, int w) {
  sys.trains.capt[w] = 1;
  sys.cantons.pb_capt_t[w] = 0;
}

void park(System& sys, int siding, int train) {
  sys.garage.cmd_lock[siding] = 1;
  sys.garage.state_lock[siding] = 1;
  sys.garage.num_train[siding] = train;
}

void split(System& sys, const SplitEntry& e) {
  const Place a = place_of(e[SPLIT_POS_A]);
  const Place b = place_of(e[SPLIT_POS_B]);
  for (const Place& p : {a, b})
    if (!detected(sys, p) && !free_siding(sys, p, 0)) return;
  if (!manual_canton(sys, a) && !(a.kind == Place::Siding && manual_canton(sys, b)) &&
      b.kind != Place::Siding)
    return;
  const int t = split_occupant(sys, a);
  if (t != split_occupant(sys, b) || !is_train(t) || !manual_mode(sys, t)) return;
  const int w = free_wagon_entry(sys);
  if (w >= 0) split_train(sys, e[SPLIT_POS_A], e[SPLIT_POS_B], t, w);
}

void join(System& sys, const SplitEntry& e) {
  const Place a = place_of(e[SPLIT_POS_A]);
  const Place b = place_of(e[SPLIT_POS_B]);
  for (const Place& p : {a, b})
    if (!manual_canton(sys, p) && !free_siding(sys, p, 1)) return;
  const int on_a = join_occupant(sys, a);
  const int on_b = join_occupant(sys, b);
  if (!(is_train(on_a) && is_wagon(on_b)) && !(is_wagon(on_a) && is_train(on_b))) return;
  if (!manual_mode(sys, on_a) || !manual_mode(sys, on_b)) return;
  join_train(sys, e[SPLIT_POS_A], e[SPLIT_POS_B], std::min(on_a, on_b), std::max(on_a, on_b));
}

// Runs one table: each requested entry is consumed, back to idle when #iti describes it and
// back to "not defined" otherwise.
template <typename Action>
void run_entries(System& sys, std::array<SplitEntry, kSplitEntries>& entries,
                 const std::array<bool, kSplitEntries>& defined, Action action) {
  for (int n = 0; n < kSplitEntries; ++n) {
    SplitEntry& e = entries[n];
    if (e[SPLIT_TRIGGER] != 1) continue;
    e[SPLIT_TRIGGER] = defined[n] ? 0 : -1;
    // A pair naming one place twice has nothing to split or join.
    if (defined[n] && e[SPLIT_POS_A] != e[SPLIT_POS_B]) action(sys, e);
  }
}

}  // namespace

int free_wagon_entry(const System& sys) {
  for (int w = kTrainEntries - 1; w >= kFirstWagon; --w)
    if (sys.trains.en[w] == 0) return w;
  return -1;
}

void make_wagon_entry(System& sys, int w) {
  char name[16];
  std::snprintf(name, sizeof name, "WGON[%2d]", w);
  sys.trains.en[w] = 1;
  sys.trains.name[w] = name;
  sys.trains.en_auto[w] = 0;
}

void clear_wagon_entry(System& sys, int w) {
  TrainTable& t = sys.trains;
  t.en[w] = 0;
  t.cmd[w] = -1;
  t.en_auto[w] = 0;
  t.inv[w] = 0;
  t.vmin[w] = 0;
  t.vmax[w] = 64;
  t.acc[w] = -1;
  t.dec[w] = -1;
  t.frein[w] = -1;
  t.cons[w] = 0;
  t.vit[w] = 0;
  t.mode[w] = "SEL";
}

bool split_train(System& sys, int32_t pos_a, int32_t pos_b, int t, int w) {
  const Place a = place_of(pos_a);
  const Place b = place_of(pos_b);
  if (a.kind == Place::Canton && b.kind == Place::Canton) {
    sys.cantons.num_train[b.slot] = w;
    make_wagon_entry(sys, w);
    mark_seen(sys, w);
  } else if (a.kind == Place::Canton && b.kind == Place::Siding) {
    make_wagon_entry(sys, w);
    sys.trains.train_garage[w] = b.siding;
    park(sys, b.siding, w);
  } else if (a.kind == Place::Siding && b.kind == Place::Canton) {
    sys.cantons.num_train[b.slot] = w;
    make_wagon_entry(sys, w);
    sys.trains.train_garage[t] = a.siding;
    park(sys, a.siding, t);
    give_cantons(sys, t, w);
    mark_seen(sys, w);
  } else {
    return false;
  }
  return true;
}

bool join_train(System& sys, int32_t pos_a, int32_t pos_b, int t, int w) {
  const Place a = place_of(pos_a);
  const Place b = place_of(pos_b);
  if (a.kind == Place::None || b.kind == Place::None) return false;
  if (a.kind == Place::Siding && b.kind == Place::Siding) return false;
  if (a.kind == Place::Siding || b.kind == Place::Siding) {
    const bool siding_at_a = a.kind == Place::Siding;
    const int siding = siding_at_a ? a.siding : b.siding;
    if (sys.garage.ass_canton[siding] != (siding_at_a ? pos_b : pos_a)) return false;
    // The entry parked there leaves the siding, which is connected again.
    const int parked = sys.cantons.prev_garage_num_train[siding];
    sys.garage.cmd_lock[siding] = 0;
    sys.garage.state_lock[siding] = 0;
    sys.garage.num_train[siding] = -1;
    if (parked >= 0 && parked < kTrainEntries) sys.trains.train_garage[parked] = -1;
  }
  clear_wagon_entry(sys, w);
  give_cantons(sys, w, t);
  return true;
}

void split_join_tick(System& sys) {
  run_entries(sys, sys.iti.separe, sys.iti.separe_defined, split);
  run_entries(sys, sys.iti.regroupe, sys.iti.regroupe_defined, join);
}
