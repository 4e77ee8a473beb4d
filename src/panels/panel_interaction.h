// Working the layout from a panel: what a click, a press, a release or a drag does on each kind
// of block (turnouts, buttons, switches, routes, servos, screen jumps, direction permissions,
// sidings, the multi-function blocks), the canton selection that starts a movement, and the
// drags that split and join trains. The renderer shows the state kept here.
#pragma once

#include <cstdint>

struct System;

// The countdowns of the pending selection and of the result frame, in TickState's
// panel_countdown (the tick counts them down).
constexpr int kSelectionCountdown = 0;
constexpr int kResultCountdown = 1;
constexpr int kSelectionTicks = 50;
constexpr int kResultTicks = 20;

// A mouse event on panel 0..7 in run mode (no overlay open), at the mouse position of
// sys.screen: `mode` is the screen entry-point mode (kLeftPress, kLeftRelease, kRightPress;
// the others do nothing).
void panel_event(System& sys, int panel, int mode);

// A held push or servo button lets go (its output back to 0, the servo stopped where it is),
// and the multi-function blocks stop looking pressed. Called at every left release, whatever
// the screen, and whenever the panel leaves the view, so that no output stays at 1.
void panel_let_go(System& sys);

// The action state back to rest, with the emergency stop and both inhibitions off (when
// config_tco.txt is loaded).
void clear_panel_action(System& sys);

// ---- What the renderer shows --------------------------------------------------------------

// The first movement (0..199) starting at `source` that ends at `target` (its stop, or for a
// canton its arrival variable, which is the canton's detection), or -1.
int movement_between(const System& sys, int32_t source, int32_t target);
// The one train detected nowhere and the one detected canton without a train, when there is
// exactly one of each (multi-function block 3 offers to put the train there).
bool lost_train_candidate(const System& sys, int& train, int& slot);
// Whether multi-function block `opt` looks pressed.
bool multi_function_held(const System& sys, int opt);
