#include "app/exe_launcher.h"

#include <glib.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace {

// scheme ':' with a scheme of two characters or more, so that "C:\x" is not a URL.
bool is_url(const std::string& file) {
  const size_t colon = file.find(':');
  if (colon == std::string::npos || colon < 2 || !g_ascii_isalpha(file[0])) return false;
  for (size_t i = 1; i < colon; ++i) {
    const char c = file[i];
    if (!g_ascii_isalnum(c) && c != '+' && c != '.' && c != '-') return false;
  }
  return true;
}

bool is_program(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

struct GFreeDeleter {
  void operator()(gchar* p) const { g_free(p); }
};
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;

bool spawn(const std::vector<std::string>& argv, const std::filesystem::path& folder,
           std::string& reason) {
  std::vector<gchar*> raw;
  for (const std::string& a : argv) raw.push_back(const_cast<gchar*>(a.c_str()));
  raw.push_back(nullptr);
  GError* error = nullptr;
  // Without G_SPAWN_DO_NOT_REAP_CHILD the child is reaped for us; descriptors above 2 are
  // closed in the child, so the serial port and the remote socket stay ours.
  const std::string dir = folder.empty() ? std::string(".") : folder.string();
  const gboolean ok = g_spawn_async(dir.c_str(), raw.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr,
                                    nullptr, nullptr, &error);
  if (!ok) {
    reason = error != nullptr ? error->message : "échec";
    if (error != nullptr) g_error_free(error);
  }
  return ok;
}

// xdg-open, or `gio open` where it is missing.
bool open_with_desktop(const std::string& target, const std::filesystem::path& folder,
                       std::string& reason) {
  if (GCharPtr xdg{g_find_program_in_path("xdg-open")})
    return spawn({xdg.get(), target}, folder, reason);
  if (GCharPtr gio{g_find_program_in_path("gio")})
    return spawn({gio.get(), "open", target}, folder, reason);
  reason = "xdg-open et gio introuvables";
  return false;
}

}  // namespace

bool split_arguments(const std::string& text, std::vector<std::string>& args, std::string& reason) {
  args.clear();
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return true;
  gint argc = 0;
  gchar** argv = nullptr;
  GError* error = nullptr;
  if (!g_shell_parse_argv(text.c_str(), &argc, &argv, &error)) {
    reason = error != nullptr ? error->message : "arguments illisibles";
    if (error != nullptr) g_error_free(error);
    return false;
  }
  for (gint i = 0; i < argc; ++i) args.emplace_back(argv[i]);
  g_strfreev(argv);
  return true;
}

LaunchWay choose_launch(const std::string& file, const std::filesystem::path& folder,
                        std::string& target) {
  if (is_url(file)) {
    target = file;
    return LaunchWay::Open;
  }
  const std::filesystem::path path(file);
  const std::filesystem::path local = path.is_absolute() ? path : folder / path;
  std::error_code error;
  if (!file.empty() && std::filesystem::exists(local, error)) {
    target = std::filesystem::absolute(local, error).string();  // the child starts in `folder`
    return is_program(local) ? LaunchWay::Spawn : LaunchWay::Open;
  }
  if (!file.empty() && file.find('/') == std::string::npos) {
    if (GCharPtr found{g_find_program_in_path(file.c_str())}) {
      target = found.get();
      return LaunchWay::Spawn;
    }
  }
  return LaunchWay::Missing;
}

bool launch_external(const ExternalCommand& command, std::string& reason) {
  std::vector<std::string> args;
  if (!split_arguments(command.arguments, args, reason)) return false;
  std::string target;
  switch (choose_launch(command.file, command.folder, target)) {
    case LaunchWay::Missing:
      reason = g_strerror(ENOENT);
      return false;
    case LaunchWay::Open:  // a document takes no arguments
      return open_with_desktop(target, command.folder, reason);
    case LaunchWay::Spawn:
      args.insert(args.begin(), target);
      return spawn(args, command.folder, reason);
  }
  return false;
}
