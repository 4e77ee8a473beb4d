// Starts the external actions on the desktop, never through a shell: a URL or a document opens
// in its default application, a program starts with its arguments. GLib only, no GTK, so the
// headless runner and the tests share it with the window.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/host.h"

// Splits arguments by shell quoting rules without a shell; false with the reason when they
// cannot be split (an unmatched quote). No words at all gives an empty list.
bool split_arguments(const std::string& text, std::vector<std::string>& args, std::string& reason);

enum class LaunchWay { Missing, Open, Spawn };

// How `file` starts: a URL or an existing file that is not a program opens with the desktop's
// default application; a program file, or a bare name found on PATH, is spawned. `target` is the
// URL or the path to use (relative names taken from `folder`).
LaunchWay choose_launch(const std::string& file, const std::filesystem::path& folder,
                        std::string& target);

// Starts the command and does not wait for it; children are reaped and inherit no descriptor
// beyond the standard three. False with the system's reason when nothing was started.
bool launch_external(const ExternalCommand& command, std::string& reason);
