// The serial link to the cards: the one port object, the four card-link objects and the
// direct-access slots, with the byte-level operations the search and the exchange share.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "cards/io_image.h"
#include "core/host.h"

struct System;

constexpr int kComPorts = 6;
constexpr int kCommandBytes = 55;
constexpr int kAnswerBytes = 25;
constexpr int kDirectSlots = 5;
constexpr int kWaitLimitMs = 100;  // every wait for the cards ends after this
constexpr int kSyncZeros = 60;
// Bytes on the wire, shared by the program and the card emulator.
constexpr uint8_t kSingleCardProbe = 0x41;  // asks for a card 0 working alone on the line
constexpr uint8_t kAnswerMark = 0x83;       // first byte of an answer
constexpr uint8_t kFrameMark = 0x08;        // second byte of a command frame
constexpr std::array<uint8_t, 4> kFrameTrailer = {0x12, 0x34, 0x56, 0x00};  // bytes 51..54
constexpr int kFrameTrailerByte = 51;
constexpr uint8_t kDirectAccess = 0x02;  // then the register address
constexpr uint8_t kDirectWrite = 0x03;   // then the value
constexpr uint8_t kDirectRead = 0x04;    // the card answers the value

// The port object: the port kept by the search, which cards answered, the error counter.
struct SerialLink {
  std::unique_ptr<SerialPort> port;
  int32_t com = 0;  // 1..6 while a port is kept
  std::array<int32_t, kCards> card_found{};
  int32_t active = 0;  // reads and writes fail while 0
  int32_t error_counter = 0;
};

// One per card; object k carries card k once the search has bound it.
struct CardLink {
  int32_t card = 0;
  int32_t linked = 0;
  std::array<uint8_t, kCommandBytes> command{};
  std::array<uint8_t, kAnswerBytes> answer{};
};

// A direct register access riding after the card's frame: 'w' write once, 'r' read once,
// 'a' read at every tick, 'x' done or idle.
struct DirectSlot {
  char state = 'x';
  int32_t address = 0;
  int32_t data = 0;
};

struct CardLinkState {
  SerialLink serial;
  std::array<CardLink, kCards> links{{{0}, {1}, {2}, {3}}};
  std::array<DirectSlot, kCards * kDirectSlots> slots{};
};

// The probe byte of card c, which is also the first byte of its command frame.
constexpr uint8_t card_byte(int card) {
  return static_cast<uint8_t>(16 * card + 1);
}

// Byte-level operations, true when done (the card link's convention: a bool named for
// success); each fails while the port is not active.
bool send_byte(System& sys, uint8_t byte);
bool send_bytes(System& sys, const uint8_t* data, size_t count);
// The first byte received within 100 ms.
bool wait_byte(System& sys, uint8_t& byte);
// Reads and discards whatever arrives for 100 ms, looking every `step_ms`.
void drain_input(System& sys, int step_ms);
// 60 zeros, one per millisecond.
void send_sync_zeros(System& sys);
// The zeros, then 100 ms of draining: a card caught in the middle of a
// frame finishes it and waits for a command byte again.
void sync_link(System& sys);
// Closes the kept port (if any) and forgets which cards were found.
void close_port(System& sys);
