// config_tco.txt: the eight panels, the render settings, the canton and train colours and the
// remembered positions of trains and turnouts.
#pragma once

#include <string>

struct System;

constexpr const char* kPanelFile = "config_tco.txt";

// Fills the panel store from the file of the layout folder (last step of window creation).
// A missing file gives the defaults; a damaged or unreadable one is set aside under a ".bad"
// name with a box, keeping what was read whole before the fault.
void load_panels(System& sys, const char* name);

// Writes the file through a temporary in the same folder renamed over the old one, so that a
// failure never loses it. False (after its box) when the file could not be written; a run that
// did not load the file writes nothing and returns true.
bool save_panels(System& sys, const char* name);

// The file's whole text as save_panels writes it (Windows-1252).
std::string panels_file_text(const System& sys);

// The quit path of the window and of menu "Quitter": saves the panels; after a failed save the
// operator chooses (Yes/No) whether to quit anyway. True to go on quitting.
bool save_panels_before_quit(System& sys);
