// zir: the desktop program. Start-up in its fixed order (the checks and the screen keys of
// #general before the window, then the window-creation steps), the window's main loop, and the
// orderly shutdown when the window closes or SIGTERM or SIGINT comes, whatever box is open.
// Exit status 1 after a configuration error.
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>
#include <iostream>

#include "app/command_line.h"
#include "app/gtk_host.h"
#include "app/layout_folder.h"
#include "app/main_window.h"
#include "core/fatal.h"
#include "core/system.h"
#include "runtime/startup.h"

namespace {

// Where a signal goes: the boxes end at once; the window, once it exists, shuts down in order.
struct Ending {
  GtkHost& host;
  MainWindow* window = nullptr;
  bool asked = false;
};

gboolean on_signal(gpointer data) {
  auto* ending = static_cast<Ending*>(data);
  ending->asked = true;
  if (ending->window != nullptr) {
    ending->window->end();
  } else {
    ending->host.end_boxes();
  }
  return G_SOURCE_CONTINUE;
}

// --help and --version answer without a display; the rest is read once GTK took its own options.
int command_line_status(int& argc, char**& argv) {
  const CommandLine first = parse_command_line(argc, argv);
  if (first.action == CommandLine::Action::Help) {
    std::cout << usage_text();
    return 0;
  }
  if (first.action == CommandLine::Action::Version) {
    std::cout << version_text();
    return 0;
  }
  gtk_init(&argc, &argv);
  const CommandLine line = parse_command_line(argc, argv);
  if (line.action == CommandLine::Action::Error) {
    std::cerr << "zir : " << line.error << "\n\n" << usage_text();
    return 2;
  }
  std::string error;
  switch (enter_layout_folder(line, error)) {
    case FolderChoice::Cancelled:
      return 0;
    case FolderChoice::Failed:
      std::cerr << "zir : " << error << '\n';
      return 1;
    case FolderChoice::Ready:
      return -1;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int status = command_line_status(argc, argv); status >= 0) return status;
  GtkHost host;
  Ending ending{host};
  // A box runs a nested loop of the default context, so a signal is seen while it is open.
  g_unix_signal_add(SIGTERM, on_signal, &ending);
  g_unix_signal_add(SIGINT, on_signal, &ending);
  System sys(host);
  try {
    startup_before_window(sys);
    if (ending.asked) return 0;  // nothing opened yet: nothing to switch off
    MainWindow window(sys, host);
    ending.window = &window;
    window.run_startup();
    if (ending.asked || window.ending()) {
      window.close();
      return window.exit_status();
    }
    window.show_and_run_timer();
    gtk_main();
    return window.exit_status();
  } catch (const FatalConfigError&) {
    return 1;
  }
}
