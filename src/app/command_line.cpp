#include "app/command_line.h"

#include <string_view>

CommandLine parse_command_line(int argc, char** argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      line.action = CommandLine::Action::Help;
      return line;
    }
    if (arg == "--version") {
      line.action = CommandLine::Action::Version;
      return line;
    }
    if (arg == "--choose-folder") {
      line.choose_folder = true;
    } else if (arg.starts_with("-") || !line.folder.empty()) {
      line.action = CommandLine::Action::Error;
      line.error = "argument inattendu : " + std::string(arg);
      return line;
    } else {
      line.folder = arg;
    }
  }
  return line;
}

std::string usage_text() {
  return "Utilisation : zir [DOSSIER]\n"
         "Commande un réseau de trains miniatures décrit par le fichier config.txt du dossier\n"
         "DOSSIER (le dossier courant s'il n'est pas donné).\n\n"
         "  --choose-folder  sans config.txt dans le dossier courant, demander le dossier du\n"
         "                   réseau (le menu du bureau lance ZIR ainsi) ; le choix est retenu\n"
         "  --help           afficher cette aide\n"
         "  --version        afficher la version\n";
}

std::string version_text() {
  return "zir " ZIR_VERSION "\n";
}
