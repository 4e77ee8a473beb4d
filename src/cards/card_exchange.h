// The per-tick exchange with each card: the 55-byte command frame, the 25-byte answer, the
// recovery when an answer goes missing, and the direct register accesses that follow.
#pragma once

struct System;

// Fills the command frame of `card` from the I/O image (or the card screen's manual values).
void build_command(System& sys, int card);
// Writes the 55 bytes in one write; true when written.
bool send_frame(System& sys, int card);
// True when a 25-byte answer starting with 0x83 arrived within 100 ms and was kept.
bool receive_answer(System& sys, int card);
// One exchange with its recovery, then the card's direct-access slots: true when done (or
// nothing to do), false when failed. The operator's No to the Yes/No box unlinks the card.
bool transfer(System& sys, int card);
// Build, up to four transfers, decode. Nothing happens unless the card is linked.
void exchange_card(System& sys, int card);
// Tick step: cards 0, 1, 2, 3 in order.
void exchange_cards(System& sys);
// Window closing: every canton speed, output and LED to 0 (manual control dropped), then one
// exchange per linked card. Servos keep their position.
void switch_off_cards(System& sys);
