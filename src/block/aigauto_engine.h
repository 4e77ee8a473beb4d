// The automatic turnouts: every rule once, in order, throwing turnouts ahead of a train.
#pragma once

struct System;

void evaluate_aigauto(System& sys);
