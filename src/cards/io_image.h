// The I/O image: per-card tables that mirror what the cards measure and what they must drive.
// Card c, index i lives at entry c * count + i of each table.
#pragma once

#include <array>
#include <cstdint>

constexpr int kCards = 4;
constexpr int kDetPerCard = 16;
constexpr int kInPerCard = 80;
constexpr int kCanPerCard = 5;
constexpr int kOutPerCard = 80;
constexpr int kLedPerCard = 48;
constexpr int kServoPerCard = 5;
constexpr int kSrvCmdPerCard = 15;  // 0..4 setpoints, 10..14 speeds

struct IoImage {
  std::array<int32_t, kCards * kDetPerCard> det{};
  std::array<int32_t, kCards * kInPerCard> in{};
  std::array<int32_t, kCards * kCanPerCard> can{};
  std::array<int32_t, kCards * kOutPerCard> out{};
  std::array<int32_t, kCards * kLedPerCard> led{};
  std::array<int32_t, kCards * kLedPerCard> led_cli{};
  std::array<int32_t, kCards * kLedPerCard> led_phase{};
  std::array<int32_t, kCards * kServoPerCard> srv_pos{};
  std::array<int32_t, kCards * kSrvCmdPerCard> srv_cmd{};
  std::array<int32_t, kCards * kServoPerCard> srv_reserved{};
  std::array<int32_t, kCards * kDetPerCard> canton_inverted{};
  std::array<int32_t, kCards * kCanPerCard> pot_inverted{};
  std::array<int32_t, kCards> leds_shown{1, 1, 1, 1};

  // Manual control from the card screen: while a flag is set the frame carries the manual
  // value instead of the bus value. One LED flag covers its lit, blinking and phase values.
  std::array<int32_t, kCards * kDetPerCard> canton_man_flag{};
  std::array<int32_t, kCards * kDetPerCard> canton_man_speed{};  // -64..64
  std::array<int32_t, kCards * kOutPerCard> out_man_flag{};
  std::array<int32_t, kCards * kOutPerCard> out_man{};
  std::array<int32_t, kCards * kLedPerCard> led_man_flag{};
  std::array<int32_t, kCards * kLedPerCard> led_man{};
  std::array<int32_t, kCards * kLedPerCard> led_cli_man{};
  std::array<int32_t, kCards * kLedPerCard> led_phase_man{};
  std::array<int32_t, kCards * kServoPerCard> srv_man_flag{};
  std::array<int32_t, kCards * kServoPerCard> srv_man{};  // 0..255, sent unchanged
};

struct System;

// Every table of the I/O image to its start value (at window creation, with the other
// subsystems' resets).
void reset_io_image(System& sys);
// Speeds of manual control, outputs and LEDs off, manual values included: what the cards must
// drive when the program starts and when it ends.
void outputs_off(IoImage& io);
// Copies the last accepted answer of `card` into the input tables.
void decode_answer(System& sys, int card);
// Moves every servo one step towards its setpoint (once per tick, before the exchange).
void servo_ramp(System& sys);
