// The model clock with its timetable, the external actions and the vibrator.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int kExternalActions = 100;
constexpr int kHoroActions = 255;
constexpr int kHoroFields = 28;
constexpr int kHoroEntries = 6;  // s/c entries of one action
constexpr int kHoroComments = 5;
constexpr int kHoroCommentRoom = 80;  // a comment stays below this length

// The fields of one timetable action.
enum HoroField {
  HORO_DAY = 0,   // -1 any day, 0..6, HORO_WEEKDAYS, HORO_WEEKEND, HORO_CLEANING
  HORO_HD_H = 1,  // -1: the action is not defined (the list ends there)
  HORO_HD_M = 2,
  HORO_HF_H = 3,
  HORO_HF_M = 4,
  HORO_HI_H = 5,
  HORO_HI_M = 6,
  HORO_HB_H = 7,
  HORO_HB_M = 8,
  HORO_HB_MODE = 9,    // -1 no block, 0 at that time, 1 that long after firing
  HORO_VF_SENSE = 10,  // -1 none, 0 the variable must read non-zero, 1 zero
  HORO_VF_VAR = 11,
  HORO_ENTRIES = 12,  // 6 pairs (kind, variable): kind 1 writes 1, kind 0 writes 0
  HORO_STATE = 24,    // 0 idle, 1 armed, 2 blocking the clock
  HORO_BLOCK_H = 25,
  HORO_BLOCK_M = 26,
  HORO_INHIBITED = 27,
};

constexpr int32_t HORO_WEEKDAYS = 7;
constexpr int32_t HORO_WEEKEND = 8;
constexpr int32_t HORO_CLEANING = 9;

using HoroAction = std::array<int32_t, kHoroFields>;

struct ClockState {
  ClockState() { reset_timetable(); }

  int32_t running = 0;
  int32_t blocked = 0;
  int32_t day = 0;  // 0 = Monday
  int32_t hour = 5;
  int32_t minute = 0;
  int32_t start_day = 0;
  int32_t start_hour = 5;
  int32_t start_minute = 0;
  int32_t tic_par_min = 16;
  int32_t countdown = 16;  // ticks left in the current model minute
  int32_t cleaning = 0;

  std::array<HoroAction, kHoroActions> horo{};
  std::array<std::string, kHoroComments> comments;  // Windows-1252, as read

  bool defined(int action) const { return horo[static_cast<size_t>(action)][HORO_HD_H] != -1; }
  // Every action undefined, idle and not inhibited; no comment; cleaning off.
  void reset_timetable() {
    for (HoroAction& a : horo) {
      a.fill(-1);
      a[HORO_STATE] = 0;
      a[HORO_INHIBITED] = 0;
    }
    for (std::string& c : comments) c.clear();
    cleaning = 0;
  }
};

struct ExeState {
  std::array<int32_t, kExternalActions> exe{};     // exe_ triggers
  std::array<std::string, kExternalActions> text;  // from the opening quote, Windows-1252
  int32_t count = 0;                               // actions that hold a text
};

struct VibState {
  int32_t vib_on = 0;
  int32_t vib_state = 0;
  int32_t out = -1;  // output variable, -1 none
  int32_t inverted = 0;
  int32_t canton = -1;  // canton number, -1 none
  int32_t speed = 32;
  int32_t time_before = 0;
  int32_t time_after = 0;
  int32_t start_count = 0;
  int32_t stop_count = 0;
};
