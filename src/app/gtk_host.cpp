#include "app/gtk_host.h"

#include "app/exe_launcher.h"
#include "cards/serial_posix.h"

namespace {

GtkMessageType message_type(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Error:
      return GTK_MESSAGE_ERROR;
    case BoxIcon::Warning:
      return GTK_MESSAGE_WARNING;
    case BoxIcon::Question:
      return GTK_MESSAGE_QUESTION;
    case BoxIcon::Information:
      break;
  }
  return GTK_MESSAGE_INFO;
}

}  // namespace

int GtkHost::show_box(const std::string& title, const std::string& text, BoxIcon icon,
                      GtkButtonsType buttons) {
  if (ending_) return GTK_RESPONSE_NONE;
  // Before the window is shown the boxes have no parent.
  GtkWindow* owner = parent && gtk_widget_get_visible(GTK_WIDGET(parent)) ? parent : nullptr;
  GtkWidget* box = gtk_message_dialog_new(owner, GTK_DIALOG_MODAL, message_type(icon), buttons,
                                          "%s", text.c_str());
  gtk_window_set_title(GTK_WINDOW(box), title.c_str());
  gtk_window_set_position(GTK_WINDOW(box),
                          owner ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
  // The nested loop of the box delivers timer ticks meanwhile; the tick's busy flag holds them.
  open_boxes_.push_back(box);
  const int response = gtk_dialog_run(GTK_DIALOG(box));
  open_boxes_.pop_back();
  gtk_widget_destroy(box);
  return response;
}

void GtkHost::end_boxes() {
  ending_ = true;
  for (GtkWidget* box : open_boxes_)
    gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_DELETE_EVENT);
}

void GtkHost::message_box(const std::string& title, const std::string& text, BoxIcon icon) {
  show_box(title, text, icon, GTK_BUTTONS_OK);
}

bool GtkHost::ask_yes_no(const std::string& title, const std::string& text, BoxIcon icon) {
  return show_box(title, text, icon, GTK_BUTTONS_YES_NO) == GTK_RESPONSE_YES;
}

gboolean GtkHost::run_repaint(gpointer self) {
  auto* host = static_cast<GtkHost*>(self);
  host->repaint_pending_ = false;
  if (host->on_repaint) host->on_repaint();
  return G_SOURCE_REMOVE;
}

void GtkHost::request_repaint() {
  if (repaint_pending_) return;
  repaint_pending_ = true;
  g_idle_add(run_repaint, this);
}

void GtkHost::present(const Surface& s, int x, int y, int w, int h) {
  front_.present(s, x, y, w, h);
  if (drawing_area) gtk_widget_queue_draw_area(drawing_area, x, y, w, h);
}

void GtkHost::request_quit() {
  if (on_quit) on_quit();
}

bool GtkHost::open_document(const std::string& path) {
  GError* error = nullptr;
  gchar* uri = g_filename_to_uri(path.c_str(), nullptr, &error);
  bool opened = uri && g_app_info_launch_default_for_uri(uri, nullptr, &error);
  g_free(uri);
  if (error) g_error_free(error);
  return opened;
}

bool GtkHost::run_external(const ExternalCommand& command, std::string& reason) {
  return launch_external(command, reason);
}

uint32_t GtkHost::now_ms() {
  return static_cast<uint32_t>(g_get_monotonic_time() / 1000);
}

void GtkHost::sleep_ms(int ms) {
  if (ms > 0) g_usleep(static_cast<gulong>(ms) * 1000);
}

std::unique_ptr<SerialPort> GtkHost::open_serial(int com, std::string& reason) {
  return open_posix_serial(com, reason);
}
