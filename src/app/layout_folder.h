// Where the layout lives: the folder given on the command line, or the one the operator picks
// in the standard folder chooser when the desktop menu started ZIR outside any layout. The last
// folder picked is remembered in $XDG_CONFIG_HOME/zir/.
#pragma once

#include <string>

struct CommandLine;

enum class FolderChoice { Ready, Cancelled, Failed };

// Makes the layout folder the working directory (config.txt, config_tco.txt and the log are
// read and written there). On Failed, `error` says why.
FolderChoice enter_layout_folder(const CommandLine& line, std::string& error);
