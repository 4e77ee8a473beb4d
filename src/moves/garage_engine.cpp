#include "moves/garage_engine.h"

#include "core/system.h"
#include "core/tokens.h"

namespace {

bool valid_train(int train) {
  return train >= 0 && train < kTrainEntries;
}

// The train leaves every canton it holds and becomes the siding's parked train. A train that a
// movement drives is left alone: it would vanish from the movement's own cantons.
void isolate(System& sys, int g, int slot) {
  GarageTable& garage = sys.garage;
  CantonTable& c = sys.cantons;
  garage.cmd_lock[g] = 0;
  const int train = c.num_train[slot];
  if (c.ResvMANU[slot] == 0 || !valid_train(train) || same_word(sys.trains.mode[train], "AUTO"))
    return;
  for (int s = 0; s < kCantons; ++s) {
    if (c.num_train[s] != train) continue;
    c.num_train[s] = -1;
    c.ResvMANU[s] = 0;
    c.Res2MANU[s] = 0;
  }
  sys.trains.train_garage[train] = g;
  garage.num_train[g] = train;
  garage.cmd_lock[g] = 1;
  garage.state_lock[g] = 1;
}

// The parked train comes back on the canton as a manually driven train, unless a movement or
// another manual train holds the canton.
void connect(System& sys, int g, int slot) {
  GarageTable& garage = sys.garage;
  CantonTable& c = sys.cantons;
  garage.cmd_lock[g] = 1;
  if (c.ResvAUTO[slot] == 1 || c.ResvMANU[slot] == 1) return;
  const int train = garage.num_train[g];
  if (valid_train(train)) {
    c.num_train[slot] = train;
    c.ResvMANU[slot] = 1;
    sys.trains.train_garage[train] = -1;
  }
  garage.num_train[g] = -1;
  garage.cmd_lock[g] = 0;
  garage.state_lock[g] = 0;
}

void drive_relay(System& sys, int g) {
  const GarageTable& garage = sys.garage;
  const int out = garage.ass_out[g];
  if (out < 0 || out / 100 >= kCards || out % 100 >= kOutPerCard) return;
  const int pol = garage.pol[g] != 0 ? 1 : 0;
  sys.io.out[static_cast<size_t>(out / 100 * kOutPerCard + out % 100)] =
      garage.state_lock[g] == 1 ? pol : 1 - pol;
}

}  // namespace

void garage_tick(System& sys) {
  GarageTable& garage = sys.garage;
  for (int g = 0; g < kSidings; ++g) {
    const int slot = canton_slot(garage.ass_canton[g]);
    if (slot < 0) continue;  // not defined
    if (garage.res_auto[g] != 1) {
      if (garage.state_lock[g] == 0 && garage.cmd_lock[g] == 1) isolate(sys, g, slot);
      if (garage.state_lock[g] == 1 && garage.cmd_lock[g] == 0) connect(sys, g, slot);
    }
    drive_relay(sys, g);
  }
}
