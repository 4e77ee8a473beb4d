// Serial ports by COM number on Linux: COM1 /dev/ttyS0, COM2 /dev/ttyS1, COM3 /dev/ttyUSB0,
// COM4 /dev/ttyUSB1, COM5 /dev/ttyACM0, COM6 /dev/ttyACM1, each replaced by the environment
// variable ZIR_COMn when it is set. Ports are opened exclusively, raw, 38400 8N1, no flow
// control.
#pragma once

#include <memory>
#include <string>

#include "core/host.h"

std::string com_device_path(int com);
std::unique_ptr<SerialPort> open_posix_serial(int com, std::string& reason);
