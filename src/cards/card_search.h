// The search for cards on COM1..COM6 at start-up and on command 915.
#pragma once

struct System;

// Probes the ports in order and keeps the first on which a card answers; the number of the
// port kept (1..6), or 0 when no card was found (the program then runs without cards).
int find_cards(System& sys);
// Start-up: search, then bind card-link object k to card k, linked when card k answered.
void open_cards(System& sys);
// Command 915: close the port kept by an earlier search, search again and rebind.
void search_cards_again(System& sys);
