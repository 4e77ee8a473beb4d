// The #train section: train entries, reserve trains, keyboard configurations and the
// progressive inertia tables.
#pragma once

#include <string>

struct System;

// Reads #train once at start-up; a bad line shows its boxes and throws FatalConfigError.
void read_train_section(System& sys);

// The name rule: '_' becomes a blank; anything but a blank, '-', '[', ']', a digit or an ASCII
// letter becomes '-'. Bytes are Windows-1252.
std::string train_name_from_file(const std::string& token);

// Puts a train on a canton as its main canton (start-up, saved positions, screens, panels).
void place_train_on_canton(System& sys, int train, int canton);
// Parks a train in a siding.
void park_train_in_siding(System& sys, int train, int siding);
