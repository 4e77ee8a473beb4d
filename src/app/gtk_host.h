// The Host of the desktop program: GTK message boxes (modal, with their nested loop), the
// front buffer that the drawing area shows, repaint requests run from the idle loop, the
// desktop's "open", the monotonic clock and the serial ports.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <vector>

#include "core/host.h"
#include "core/surface.h"

class GtkHost : public Host {
 public:
  void message_box(const std::string& title, const std::string& text, BoxIcon icon) override;
  bool ask_yes_no(const std::string& title, const std::string& text, BoxIcon icon) override;
  void request_repaint() override;
  void present(const Surface& s, int x, int y, int w, int h) override;
  void request_quit() override;
  bool open_document(const std::string& path) override;
  bool run_external(const ExternalCommand& command, std::string& reason) override;
  uint32_t now_ms() override;
  void sleep_ms(int ms) override;
  std::unique_ptr<SerialPort> open_serial(int com, std::string& reason) override;

  // Set by the window once it exists: the boxes' parent, the widget showing the front buffer,
  // and what a repaint and a quit request do.
  GtkWindow* parent = nullptr;
  GtkWidget* drawing_area = nullptr;
  std::function<void()> on_repaint;
  std::function<void()> on_quit;

  const Surface* front() const { return front_.surface(); }

  // The program is ending (a signal, the window closed): the boxes open now are closed as if
  // their close button had been pressed, and every later box is answered at once without
  // being shown (OK, or No to a question), so that the code that opened them runs on to the
  // orderly shutdown.
  void end_boxes();

 private:
  static gboolean run_repaint(gpointer self);
  int show_box(const std::string& title, const std::string& text, BoxIcon icon,
               GtkButtonsType buttons);

  FrontBuffer front_;
  bool repaint_pending_ = false;
  bool ending_ = false;
  std::vector<GtkWidget*> open_boxes_;  // innermost last: each runs its own nested loop
};
