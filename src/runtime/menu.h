// The menu bar of the main window: five drop-down menus, the direct items, and "   Aide " at
// the right. The toolkit builds its menus from this table; the ids go to window_menu.
#pragma once

#include <span>

struct MenuItem {
  int id;  // 0 for a separator
  const char* text;
};

struct MenuBarEntry {
  const char* label;
  int id;                           // a direct item's command; 0 for a drop-down
  std::span<const MenuItem> items;  // the drop-down's items
  bool at_right;
};

std::span<const MenuBarEntry> menu_bar();
