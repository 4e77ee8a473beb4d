#include "app/layout_folder.h"

#include <gtk/gtk.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/command_line.h"

namespace {

namespace fs = std::filesystem;

fs::path remembered_file() {
  return fs::path(g_get_user_config_dir()) / "zir" / "dossier-reseau";
}

std::string remembered_folder() {
  std::ifstream in(remembered_file());
  std::string folder;
  std::getline(in, folder);
  return folder;
}

void remember_folder(const std::string& folder) {
  std::error_code ignored;
  fs::create_directories(remembered_file().parent_path(), ignored);
  std::ofstream(remembered_file(), std::ios::trunc) << folder << '\n';
}

// The standard folder chooser, opened on the folder picked last time; empty when cancelled.
std::string ask_for_folder() {
  GtkWidget* dialog =
      gtk_file_chooser_dialog_new("ZIR - Choisir le dossier du réseau (celui de config.txt)",
                                  nullptr, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Annuler",
                                  GTK_RESPONSE_CANCEL, "_Ouvrir", GTK_RESPONSE_ACCEPT, nullptr);
  const std::string last = remembered_folder();
  if (!last.empty()) gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), last.c_str());
  std::string folder;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
    if (name != nullptr) folder = name;
    g_free(name);
  }
  gtk_widget_destroy(dialog);
  while (gtk_events_pending()) gtk_main_iteration();
  return folder;
}

}  // namespace

FolderChoice enter_layout_folder(const CommandLine& line, std::string& error) {
  std::string folder = line.folder;
  if (folder.empty() && line.choose_folder && !fs::exists("config.txt")) {
    folder = ask_for_folder();
    if (folder.empty()) return FolderChoice::Cancelled;
    remember_folder(folder);
  }
  if (!folder.empty() && chdir(folder.c_str()) != 0) {
    error = "impossible d'ouvrir le dossier '" + folder + "' : " + std::strerror(errno);
    return FolderChoice::Failed;
  }
  return FolderChoice::Ready;
}
