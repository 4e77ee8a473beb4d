// Train tracking: follows each manually driven train from canton to canton by detection,
// reserves and powers the canton ahead of it, frees the cantons it left.
#pragma once

struct System;

void tracking_step(System& sys);
