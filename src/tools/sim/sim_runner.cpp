#include "tools/sim/sim_runner.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/fatal.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"
#include "core/tokens.h"
#include "core/var_bus.h"
#include "panels/panel_editor.h"
#include "runtime/startup.h"
#include "runtime/tick.h"
#include "runtime/window_events.h"
#include "tools/sim/recording_host.h"
#include "tools/sim/sim_cards.h"
#include "tools/sim/sim_exec.h"
#include "tools/sim/sim_fields.h"
#include "tools/sim/sim_layout_fields.h"

namespace {

struct SimContext {
  System& sys;
  RecordingHost& host;
  std::ostream& out;
  CardBank* bank = nullptr;         // the emulated cards (--cards)
  VirtualLayout* layout = nullptr;  // the virtual layout behind them (--layout)
  int line_number = 0;
  std::string line = {};  // the script line being run, blanks kept
  bool failed = false;
  int repaints_done = 0;  // repaint requests already turned into paints
};

using Words = std::vector<std::string>;

// A script error (unknown command, bad argument): reported with its line, the run exits 2.
struct ScriptError {
  std::string message;
};

Words split_words(const std::string& line) {
  Words words;
  std::istringstream stream(line);
  std::string word;
  while (stream >> word) {
    if (word[0] == '#') break;
    words.push_back(word);
  }
  return words;
}

int int_argument(const std::string& text) {
  int32_t value = 0;
  if (!parse_whole(text, value)) throw ScriptError{"'" + text + "' is not a number"};
  return value;
}

// A name: a field path (or bare field name), a bus number or a bus label.
struct Target {
  SimField field;
  int bus = -1;
  bool is_field = false;
};

Target resolve_target(SimContext& ctx, const std::string& name) {
  Target t;
  if (ctx.layout != nullptr && layout_field(*ctx.layout, name, t.field)) {
    t.is_field = true;
    return t;
  }
  if (resolve_field(ctx.sys, name, t.field)) {
    t.is_field = true;
    return t;
  }
  if (name.find('.') != std::string::npos) throw ScriptError{"unknown field '" + name + "'"};
  if (!parse_whole(name, t.bus)) t.bus = var_from_label(ctx.sys, name.c_str());
  if (t.bus < 0) throw ScriptError{"unknown variable '" + name + "'"};
  return t;
}

std::string read_target(SimContext& ctx, const Target& t) {
  if (!t.is_field) return std::to_string(var_read(ctx.sys, t.bus));
  if (t.field.text_cell != nullptr) return *t.field.text_cell;
  if (t.field.is_text) return t.field.text;
  return std::to_string(*t.field.value);
}

std::string join_from(const Words& words, size_t first) {
  std::string text;
  for (size_t i = first; i < words.size(); ++i) text += (i > first ? " " : "") + words[i];
  return text;
}

void need_arguments(const Words& words, size_t count, const char* usage) {
  if (words.size() < count + 1) throw ScriptError{std::string("usage: ") + usage};
}

void cmd_tick(SimContext& ctx, const Words& words) {
  const int count = words.size() > 1 ? int_argument(words[1]) : 1;
  for (int i = 0; i < count; ++i) {
    tick(ctx.sys);
    // The trains run on between two frames for one tick's time.
    if (ctx.layout != nullptr) {
      ctx.layout->advance(kTickMs);
      ctx.layout->write_inputs(*ctx.bank);
    }
  }
}

// What follows the name and one blank on a script line, blanks kept (a panel text).
std::string raw_value(const std::string& line, const std::string& name) {
  const size_t at = line.find(name);
  std::string rest = line.substr(at + name.size() + 1);
  if (!rest.empty() && rest.back() == '\r') rest.pop_back();
  return rest;
}

void cmd_set(SimContext& ctx, const Words& words) {
  need_arguments(words, 2, "set NAME VALUE");
  const Target t = resolve_target(ctx, words[1]);
  if (!t.is_field) {
    var_write(ctx.sys, t.bus, int_argument(words[2]));
  } else if (t.field.set_text) {
    t.field.set_text(raw_value(ctx.line, words[1]));
  } else if (t.field.read_only || (t.field.is_text && t.field.text_cell == nullptr)) {
    throw ScriptError{"'" + words[1] + "' is read-only"};
  } else if (t.field.text_cell != nullptr) {
    *t.field.text_cell = join_from(words, 2);
  } else {
    const int value = int_argument(words[2]);
    if (value < t.field.low || value > t.field.high)
      throw ScriptError{"'" + words[1] + "' takes " + std::to_string(t.field.low) + ".." +
                        std::to_string(t.field.high)};
    *t.field.value = value;
  }
}

void cmd_get(SimContext& ctx, const Words& words) {
  need_arguments(words, 1, "get NAME");
  ctx.out << words[1] << " = " << read_target(ctx, resolve_target(ctx, words[1])) << '\n';
}

void cmd_expect(SimContext& ctx, const Words& words) {
  need_arguments(words, 2, "expect NAME VALUE");
  const std::string got = read_target(ctx, resolve_target(ctx, words[1]));
  const std::string expected = join_from(words, 2);
  if (got == expected) return;
  ctx.failed = true;
  ctx.out << "FAIL line " << ctx.line_number << ": " << words[1] << " = " << got << " (expected "
          << expected << ")\n";
}

void cmd_answer(SimContext& ctx, const Words& words) {
  need_arguments(words, 1, "answer yes|no");
  if (words[1] != "yes" && words[1] != "no") throw ScriptError{"usage: answer yes|no"};
  ctx.host.answers.push_back(words[1] == "yes");
}

// The window paints after the message that asked for it: so does the runner, after each window
// command and before a render.
void paint_if_requested(SimContext& ctx) {
  if (ctx.host.repaints == ctx.repaints_done) return;
  ctx.repaints_done = ctx.host.repaints;
  window_paint(ctx.sys);
}

// A typed character: ESC, ENTER, SPACE, BACKSPACE, CTRL-Z, or one character (UTF-8 in the
// script), given to the window as its Windows-1252 byte.
int32_t key_argument(const std::string& word) {
  if (word == "ESC") return kKeyEscape;
  if (word == "ENTER") return kKeyEnter;
  if (word == "SPACE") return ' ';
  if (word == "BACKSPACE") return kKeyBackspace;
  if (word == "CTRL-Z") return kKeyCtrlZ;
  std::string byte;
  if (!utf8_to_cp1252(word, byte) || byte.size() != 1) {
    throw ScriptError{"'" + word + "' is not one character"};
  }
  return static_cast<unsigned char>(byte[0]);
}

void cmd_key(SimContext& ctx, const Words& words) {
  need_arguments(words, 1, "key C");
  window_key(ctx.sys, key_argument(words[1]));
  paint_if_requested(ctx);
}

// Mouse commands: which button, and whether it is pressed, released or both (a click).
template <MouseButton button, bool press, bool release>
void cmd_mouse(SimContext& ctx, const Words& words) {
  need_arguments(words, 2, "click|rclick|press|release|rpress|rrelease X Y");
  const int x = int_argument(words[1]);
  const int y = int_argument(words[2]);
  if (press) window_button_press(ctx.sys, button, x, y);
  if (release) window_button_release(ctx.sys, button, x, y);
  paint_if_requested(ctx);
}

void cmd_menu(SimContext& ctx, const Words& words) {
  need_arguments(words, 1, "menu ID [CODE]");
  const int id = int_argument(words[1]);
  window_menu(ctx.sys, id, words.size() > 2 ? int_argument(words[2]) : 0);
  paint_if_requested(ctx);
}

void cmd_render(SimContext& ctx, const Words& words) {
  need_arguments(words, 1, "render FILE.png");
  paint_if_requested(ctx);
  bool written;
  if (const Surface* front = ctx.host.frame.surface()) {
    written = front->write_png(words[1]);
  } else {
    Surface blank(ctx.sys.screen.client_width, ctx.sys.screen.client_height);
    blank.fill_rect(0, 0, blank.width(), blank.height(), 18);
    written = blank.write_png(words[1]);
  }
  if (!written) throw ScriptError{"cannot write '" + words[1] + "'"};
}

CardBank& emulated_card(SimContext& ctx, const std::string& word) {
  int32_t card = -1;
  if (ctx.bank == nullptr) throw ScriptError{"no emulated cards (--cards)"};
  if (!parse_digits(word, card) || !ctx.bank->present(card))
    throw ScriptError{"card " + word + " is not emulated"};
  return *ctx.bank;
}

// card C det|in|can I V, card C drop|corrupt N, card C silent|resume (and card C reg ADDR V).
void cmd_card(SimContext& ctx, const Words& words) {
  need_arguments(words, 2, "card C det|in|can|drop|corrupt|silent|resume ...");
  CardBank& bank = emulated_card(ctx, words[1]);
  Words command{words[2], words[1]};
  command.insert(command.end(), words.begin() + 3, words.end());
  const std::string error = bank.apply(command);
  if (!error.empty()) throw ScriptError{error};
}

void cmd_frame(SimContext& ctx, const Words& words) {
  need_arguments(words, 1, "frame C");
  ctx.out << emulated_card(ctx, words[1]).frame_line(int_argument(words[1])) << '\n';
}

// Every text the last drawing of the screen in view drew, in drawing order.
void cmd_texts(SimContext& ctx, const Words&) {
  paint_if_requested(ctx);
  for (const DrawnText& t : ctx.sys.screen.drawn_texts)
    ctx.out << "TEXT " << t.x << ' ' << t.y << ' ' << t.colour << '|' << t.text << '\n';
}

// Each line of a file of the layout folder, as NAME|line in UTF-8.
void cmd_file(SimContext& ctx, const Words& words) {
  need_arguments(words, 1, "file NAME");
  const std::string& name = words[1];
  if (name.find('/') != std::string::npos || name == "." || name == "..")
    throw ScriptError{"'" + name + "' is not a file of the layout folder"};
  std::ifstream file(work_file(ctx.sys, name.c_str()), std::ios::binary);
  if (!file) {
    ctx.out << name << ": absent\n";
    return;
  }
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string ignored;
    ctx.out << name << '|' << (utf8_to_cp1252(line, ignored) ? line : cp1252_to_utf8(line)) << '\n';
  }
}

// place T CANTON [CM], remove T, status: the operator's hands on the virtual layout.
void cmd_layout(SimContext& ctx, const Words& words) {
  if (ctx.layout == nullptr) throw ScriptError{"no virtual layout (--layout)"};
  std::string error;
  ctx.layout->command(words, error);
  if (!error.empty()) throw ScriptError{error};
}

struct Command {
  const char* name;
  void (*run)(SimContext&, const Words&);
};

const Command kCommands[] = {
    {"tick", cmd_tick},
    {"set", cmd_set},
    {"get", cmd_get},
    {"expect", cmd_expect},
    {"answer", cmd_answer},
    {"key", cmd_key},
    {"click", cmd_mouse<MouseButton::Left, true, true>},
    {"rclick", cmd_mouse<MouseButton::Right, true, true>},
    {"press", cmd_mouse<MouseButton::Left, true, false>},
    {"release", cmd_mouse<MouseButton::Left, false, true>},
    {"rpress", cmd_mouse<MouseButton::Right, true, false>},
    {"rrelease", cmd_mouse<MouseButton::Right, false, true>},
    {"menu", cmd_menu},
    {"render", cmd_render},
    {"card", cmd_card},
    {"frame", cmd_frame},
    {"texts", cmd_texts},
    {"file", cmd_file},
    {"place", cmd_layout},
    {"remove", cmd_layout},
    {"status", cmd_layout},
};

void run_command(SimContext& ctx, const Words& words) {
  for (const Command& c : kCommands) {
    if (words[0] == c.name) {
      c.run(ctx, words);
      return;
    }
  }
  throw ScriptError{"unknown command '" + words[0] + "'"};
}

}  // namespace

int run_sim(const SimOptions& options, std::istream& script, std::ostream& out) {
  RecordingHost host;
  host.echo = &out;
  install_sim_exec(host, out);
  std::shared_ptr<CardBank> bank;
  std::unique_ptr<VirtualLayout> layout;
  if (options.layout) {
    std::string error;
    layout = install_sim_layout(host, options, out, bank, error);
    if (!layout) {
      std::cerr << "zir-sim: " << error << '\n';
      return 1;
    }
  } else {
    bank = install_sim_ports(host, options);
  }
  System sys(host, options.dir);
  sys.screen.record_texts = true;
  SimContext ctx{sys, host, out};
  ctx.bank = bank.get();
  ctx.layout = layout.get();
  try {
    startup_before_window(sys);
    startup_window_create(sys);
  } catch (const FatalConfigError&) {
    return 1;  // nothing ran: nothing to save or switch off
  }
  int status = 0;
  try {
    std::string line;
    // Menu "Quitter" ends the script as closing the window ends the program.
    while (!host.quit_requested && std::getline(script, line)) {
      ++ctx.line_number;
      ctx.line = line;
      const Words words = split_words(line);
      if (!words.empty()) run_command(ctx, words);
    }
    status = ctx.failed ? 1 : 0;
  } catch (const FatalConfigError&) {
    status = 1;  // its boxes are out; the program still shuts down in order
  } catch (const ScriptError& e) {
    out.flush();
    std::cerr << "zir-sim: line " << ctx.line_number << ": " << e.message << '\n';
    status = 2;  // the script stops, but the cards are still switched off
  }
  shutdown(sys);
  return status;
}
