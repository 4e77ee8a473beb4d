// zir: the desktop program. Start-up in its fixed order (the checks and the screen keys of
// #general before the window, then the window-creation steps), the window's main loop, and the
// orderly shutdown when the window closes. Exit status 1 after a configuration error.
#include <gtk/gtk.h>

#include "app/gtk_host.h"
#include "app/main_window.h"
#include "core/fatal.h"
#include "runtime/startup.h"
#include "core/system.h"

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkHost host;
  System sys(host);
  try {
    startup_before_window(sys);
    MainWindow window(sys, host);
    startup_window_create(sys);
    window.show_and_run_timer();
    gtk_main();
    return window.exit_status();
  } catch (const FatalConfigError&) {
    return 1;
  }
}
