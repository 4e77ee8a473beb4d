#include "app/main_window.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/gtk_host.h"
#include "core/fatal.h"
#include "core/system.h"
#include "core/text.h"
#include "panels/panel_file.h"
#include "runtime/menu.h"
#include "runtime/startup.h"
#include "runtime/tick.h"
#include "runtime/window_events.h"

namespace {

constexpr int kMinWidth = 800;
constexpr int kMinHeight = 700;
constexpr const char* kMenuIdKey = "zir-menu-id";

// GTK gives fractional positions; a position just left of or above the area (-0.5) is outside
// it, not in its first pixel, so it rounds down.
int window_pixel(double position) {
  return static_cast<int>(std::floor(position));
}

// The character a key gives, as its Windows-1252 byte (ESC, Enter, Backspace and Tab
// included, Ctrl+letter as its control code); -1 for keys that type nothing.
int32_t typed_character(const GdkEventKey* event) {
  switch (event->keyval) {
    case GDK_KEY_Escape:
      return kKeyEscape;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
      return kKeyEnter;
    case GDK_KEY_BackSpace:
      return 8;
    case GDK_KEY_Tab:
      return 9;
    default:
      break;
  }
  const gunichar u = gdk_keyval_to_unicode(event->keyval);
  if (u == 0) return -1;
  if ((event->state & GDK_CONTROL_MASK) && u >= '@' && u <= '~') return u & 0x1F;
  if (u < 0x80) return static_cast<int32_t>(u);
  char utf8[8];
  const int length = g_unichar_to_utf8(u, utf8);
  std::string byte;
  if (!utf8_to_cp1252(std::string_view(utf8, static_cast<size_t>(length)), byte) ||
      byte.size() != 1) {
    return -1;
  }
  return static_cast<unsigned char>(byte[0]);
}

GtkWidget* menu_item(const char* text, int id, MainWindow* window, GCallback callback) {
  GtkWidget* item = gtk_menu_item_new_with_label(text);
  g_object_set_data(G_OBJECT(item), kMenuIdKey, GINT_TO_POINTER(id));
  g_signal_connect(item, "activate", callback, window);
  return item;
}

// The size #general asks for, no larger than the monitor's work area: `resolution_ecran
// 99999999999 ...` must not open a window no screen can show.
void set_default_size_within_screen(GtkWindow* window, int width, int height) {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = display != nullptr ? gdk_display_get_primary_monitor(display) : nullptr;
  if (monitor == nullptr && display != nullptr) monitor = gdk_display_get_monitor(display, 0);
  if (monitor != nullptr) {
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    width = std::min(width, std::max(area.width, kMinWidth));
    height = std::min(height, std::max(area.height, kMinHeight));
  }
  gtk_window_set_default_size(window, width, height);
}

}  // namespace

MainWindow::MainWindow(System& sys, GtkHost& host)
    : sys_(sys),
      host_(host),
      window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      area_(gtk_drawing_area_new()) {
  gtk_window_set_title(GTK_WINDOW(window_), "ZIR");
  gtk_window_set_icon_name(GTK_WINDOW(window_), "zir");
  GdkGeometry hints{};
  hints.min_width = kMinWidth;
  hints.min_height = kMinHeight;
  gtk_window_set_geometry_hints(GTK_WINDOW(window_), nullptr, &hints, GDK_HINT_MIN_SIZE);
  set_default_size_within_screen(GTK_WINDOW(window_), sys.general.width, sys.general.height);

  gtk_widget_add_events(area_,
                        GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_box_pack_start(GTK_BOX(column), build_menu_bar(), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(column), area_, TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(window_), column);

  g_signal_connect(area_, "draw", G_CALLBACK(on_draw), this);
  g_signal_connect(area_, "size-allocate", G_CALLBACK(on_size), this);
  g_signal_connect(area_, "button-press-event", G_CALLBACK(on_button), this);
  g_signal_connect(area_, "button-release-event", G_CALLBACK(on_button), this);
  g_signal_connect(area_, "motion-notify-event", G_CALLBACK(on_motion), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(on_key), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(on_delete), this);

  if (const std::string path = remote_socket_path(); !path.empty()) {
    remote_ = std::make_unique<RemoteSocket>(path);
    if (!remote_->listening()) g_printerr("zir: %s\n", remote_->error().c_str());
  }

  host_.parent = GTK_WINDOW(window_);
  host_.drawing_area = area_;
  host_.on_repaint = [this] { window_paint(sys_); };
  host_.on_quit = [this] { close(); };
}

// Five drop-down menus and the direct items from the left; "   Aide " on a second bar packed
// at the right end.
GtkWidget* MainWindow::build_menu_bar() {
  GtkWidget* left = gtk_menu_bar_new();
  GtkWidget* right = gtk_menu_bar_new();
  for (const MenuBarEntry& entry : menu_bar()) {
    GtkWidget* top;
    if (entry.id != 0) {
      top = menu_item(entry.label, entry.id, this, G_CALLBACK(on_menu_item));
    } else {
      top = gtk_menu_item_new_with_label(entry.label);
      GtkWidget* menu = gtk_menu_new();
      for (const MenuItem& item : entry.items) {
        GtkWidget* child = item.id == 0
                               ? gtk_separator_menu_item_new()
                               : menu_item(item.text, item.id, this, G_CALLBACK(on_menu_item));
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), child);
      }
      gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(entry.at_right ? right : left), top);
  }
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_box_pack_start(GTK_BOX(row), left, TRUE, TRUE, 0);
  gtk_box_pack_end(GTK_BOX(row), right, FALSE, FALSE, 0);
  return row;
}

void MainWindow::show_and_run_timer() {
  if (sys_.general.maximise) gtk_window_maximize(GTK_WINDOW(window_));
  gtk_widget_show_all(window_);
  g_timeout_add(kTic, on_timer, this);
}

template <typename Handler>
void MainWindow::guarded(Handler&& handler) {
  ++handler_depth_;
  try {
    handler();
  } catch (const FatalConfigError&) {
    exit_status_ = 1;
    save_panels(sys_, kPanelFile);
    close_pending_ = true;
  }
  --handler_depth_;
  if (close_pending_) close();
}

void MainWindow::run_startup() {
  ++handler_depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{handler_depth_};
  startup_window_create(sys_);
}

void MainWindow::close() {
  if (closed_) return;
  if (handler_depth_ > 0) {
    close_pending_ = true;
    return;
  }
  closed_ = true;
  shutdown(sys_);
  // Before the main loop runs (a close during start-up) there is no loop to leave.
  if (gtk_main_level() > 0) gtk_main_quit();
}

// A signal: nobody may be there to answer a box, so the panels are saved without asking.
void MainWindow::end() {
  host_.end_boxes();
  save_panels(sys_, kPanelFile);
  close();
}

gboolean MainWindow::on_timer(gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  if (w->closed_) return G_SOURCE_REMOVE;
  // A remote-control code waiting on the socket becomes the remote key, one per tick.
  if (w->remote_ && w->remote_->listening()) w->remote_->poll(w->sys_);
  w->guarded([w] { tick(w->sys_); });
  return G_SOURCE_CONTINUE;
}

gboolean MainWindow::on_draw(GtkWidget*, cairo_t* cr, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  cairo_set_source_rgb(cr, 192 / 255.0, 192 / 255.0, 192 / 255.0);
  cairo_paint(cr);
  if (const Surface* front = w->host_.front()) {
    cairo_set_source_surface(cr, front->image(), 0, 0);
    cairo_paint(cr);
  }
  return TRUE;
}

gboolean MainWindow::on_key(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  const int32_t ch = typed_character(event);
  if (ch < 0) return FALSE;  // F10 and the like still reach the menu bar
  w->guarded([w, ch] { window_key(w->sys_, ch); });
  return TRUE;
}

gboolean MainWindow::on_button(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  if (event->button != 1 && event->button != 3) return FALSE;
  const MouseButton button = event->button == 1 ? MouseButton::Left : MouseButton::Right;
  const int x = window_pixel(event->x);
  const int y = window_pixel(event->y);
  w->guarded([w, event, button, x, y] {
    if (event->type == GDK_BUTTON_PRESS) {
      window_button_press(w->sys_, button, x, y);
    } else if (event->type == GDK_BUTTON_RELEASE) {
      window_button_release(w->sys_, button, x, y);
    }
  });
  return TRUE;
}

gboolean MainWindow::on_motion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  window_mouse_move(static_cast<MainWindow*>(self)->sys_, window_pixel(event->x),
                    window_pixel(event->y));
  return FALSE;
}

void MainWindow::on_size(GtkWidget*, GdkRectangle* allocation, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  window_resize(w->sys_, allocation->width, allocation->height);
  w->host_.request_repaint();
}

gboolean MainWindow::on_delete(GtkWidget*, GdkEvent*, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  // A failed save asks first; No keeps ZIR running.
  if (save_panels_before_quit(w->sys_)) {
    w->host_.end_boxes();
    w->close();
  }
  return TRUE;  // the window goes when the main loop ends
}

void MainWindow::on_menu_item(GtkMenuItem* item, gpointer self) {
  auto* w = static_cast<MainWindow*>(self);
  const int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), kMenuIdKey));
  w->guarded([w, id] { window_menu(w->sys_, id); });
}
