// The route engine: direct routes throw their turnouts; on/off routes wait for their train,
// hold their turnouts and release them once the train has reached the stop canton or when
// stopped.
#pragma once

struct System;

// The states of an on/off route.
enum ItiState : int {
  ITI_IDLE = 0,
  ITI_WAIT_TRAIN = 1,
  ITI_WAIT_FREE = 2,
  ITI_WAIT_POSITION = 3,
  ITI_WAIT_STOP_CANTON = 4,
  ITI_RELEASE_DELAY = 5,
  ITI_ESTABLISHED = 6,
  ITI_RELEASE = 7,
};
constexpr int kItiStates = 8;
// Ticks a route stays established after its train has reached the stop canton.
constexpr int kItiReleaseDelay = 16;

// What the route screen shows for each state (24 characters, UTF-8).
extern const char* const kItiStateText[kItiStates];

// Once per tick, after the clock and before split and join and the turnout sequencer: routes
// 0..49 in order, so the lower number takes a turnout two routes want.
void iti_tick(System& sys);
