// The main window's message handling, free of any toolkit: keys, menu commands, mouse, paint,
// resize, and the two drawing steps of the tick. The GTK window and zir-sim both forward their
// events here.
#pragma once

#include <cstdint>
#include <string>

struct System;

constexpr int32_t kKeyEscape = 27;
constexpr int32_t kKeyEnter = 13;

// Largest drawing area; the client area beyond it is not drawn.
constexpr int kMaxClientWidth = 1280;
constexpr int kMaxClientHeight = 1000;

enum class MouseButton { Left, Right };

// A typed character (a Unicode code point; the French digit row gives à & é " ' ( - è _ ç ) =
// and ², all below 256 and equal to their Windows-1252 byte).
void window_key(System& sys, int32_t ch);
// A menu command by id (902..974; 999 carries a remote-control code in `param`).
void window_menu(System& sys, int id, int32_t param = 0);
void window_mouse_move(System& sys, int x, int y);
void window_button_press(System& sys, MouseButton button, int x, int y);
void window_button_release(System& sys, MouseButton button, int x, int y);
// The paint message: a table screen is drawn whole and copied to the window; panels are drawn
// by the tick.
void window_paint(System& sys);
// The client area's new size; the drawing area follows min(size, limit) + 1.
void window_resize(System& sys, int width, int height);

// Tick step: on even ticks, the panel in view is drawn and copied to the window.
void panel_tick_paint(System& sys);
// Tick step: on even ticks, the table screen in view redraws its changing parts, and the
// screen's rectangles are copied to the window.
void table_screen_tick_redraw(System& sys);

// The box texts of the Help, About and variable-list commands.
const char* help_text();
const char* about_text();
std::string variable_list_text();
