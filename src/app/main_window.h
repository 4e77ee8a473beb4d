// The main window: title, icon, size from #general, the menu bar, a drawing area showing the
// front buffer, keys and mouse forwarded to the window event handling, the 80 ms timer, and
// the orderly shutdown on close, menu "Quitter", SIGTERM or SIGINT, whatever box is open.
#pragma once

#include <gtk/gtk.h>

#include <memory>

#include "trains/remote_socket.h"

struct System;
class GtkHost;

class MainWindow {
 public:
  MainWindow(System& sys, GtkHost& host);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The window-creation steps of start-up, held as one handler: a close asked meanwhile
  // waits for their end. A configuration error leaves as FatalConfigError.
  void run_startup();
  // Shows the window (maximised for "plein écran") and starts the timer.
  void show_and_run_timer();
  // The orderly shutdown, once: save, all card outputs off, leave the main loop. Held back
  // while a handler runs (a tick, a menu command, start-up: a box inside it has its own loop)
  // and done when it ends.
  void close();
  // A signal or the window's close button: the open boxes end too, then close().
  void end();
  // A close was asked and is waiting for the running handler, or is done.
  bool ending() const { return close_pending_ || closed_; }
  // 0, or 1 when a configuration error ended the program while it ran.
  int exit_status() const { return exit_status_; }

 private:
  GtkWidget* build_menu_bar();
  // Runs an event handler; a configuration error found while running (the logic's table
  // limits, a reload) has shown its boxes: the program then shuts down in order with status 1,
  // cards switched off, rather than letting the error cross GTK.
  template <typename Handler>
  void guarded(Handler&& handler);
  static gboolean on_timer(gpointer self);
  static gboolean on_draw(GtkWidget* widget, cairo_t* cr, gpointer self);
  static gboolean on_key(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean on_button(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean on_motion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
  static void on_size(GtkWidget* widget, GdkRectangle* allocation, gpointer self);
  static gboolean on_delete(GtkWidget* widget, GdkEvent* event, gpointer self);
  static void on_menu_item(GtkMenuItem* item, gpointer self);

  System& sys_;
  GtkHost& host_;
  GtkWidget* window_;
  GtkWidget* area_;
  std::unique_ptr<RemoteSocket> remote_;  // the remote-control receiver, when it could bind
  int handler_depth_ = 0;                 // handlers running, nested ones included
  bool close_pending_ = false;
  bool closed_ = false;
  int exit_status_ = 0;
};
