// Serial ports on Linux: COM1..COM6 are device paths, each replaceable through the
// environment variable ZIR_COMn.
#pragma once

#include <memory>
#include <string>

#include "core/host.h"

// The device path of COMn (1..6); empty for any other number.
std::string com_device_path(int com);
// Opens COMn exclusively; null with the path and the system's reason on failure.
std::unique_ptr<SerialPort> open_posix_serial(int com, std::string& reason);
// Opens a device path directly (the tests and the card emulator's clients use it).
std::unique_ptr<SerialPort> open_posix_serial_path(const std::string& path, std::string& reason);
