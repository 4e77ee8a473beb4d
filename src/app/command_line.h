// zir's command line: `zir [DIR]` starts in the layout folder DIR; `--choose-folder` (what the
// desktop menu runs) asks for the folder when the working directory has no config.txt;
// `--help` and `--version` print and end.
#pragma once

#include <string>

struct CommandLine {
  enum class Action { Run, Help, Version, Error };
  Action action = Action::Run;
  std::string folder;  // the layout folder given, or empty for the working directory
  bool choose_folder = false;
  std::string error;  // with Action::Error
};

CommandLine parse_command_line(int argc, char** argv);
std::string usage_text();
std::string version_text();
