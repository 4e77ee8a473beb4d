#include "tools/sim/sim_runner.h"

#include <charconv>
#include <iostream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/fatal.h"
#include "core/recording_host.h"
#include "core/startup.h"
#include "core/system.h"
#include "core/tick.h"
#include "core/var_bus.h"
#include "tools/sim/sim_cards.h"
#include "tools/sim/sim_fields.h"

namespace {

struct SimContext {
  System& sys;
  RecordingHost& host;
  std::ostream& out;
  CardBank* bank = nullptr;  // the emulated cards (--cards)
  int line_number = 0;
  bool failed = false;
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

bool parse_int(const std::string& text, int& value) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  const auto [stop, error] = std::from_chars(begin, end, value);
  return error == std::errc() && stop == end;
}

int int_argument(const std::string& text) {
  int value = 0;
  if (!parse_int(text, value)) throw ScriptError{"'" + text + "' is not a number"};
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
  if (resolve_field(ctx.sys, name, t.field)) {
    t.is_field = true;
    return t;
  }
  if (name.find('.') != std::string::npos) throw ScriptError{"unknown field '" + name + "'"};
  if (!parse_int(name, t.bus)) t.bus = var_from_label(ctx.sys, name.c_str());
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
  for (int i = 0; i < count; ++i) tick(ctx.sys);
}

void cmd_set(SimContext& ctx, const Words& words) {
  need_arguments(words, 2, "set NAME VALUE");
  const Target t = resolve_target(ctx, words[1]);
  if (!t.is_field) {
    var_write(ctx.sys, t.bus, int_argument(words[2]));
  } else if (t.field.read_only || (t.field.is_text && t.field.text_cell == nullptr)) {
    throw ScriptError{"'" + words[1] + "' is read-only"};
  } else if (t.field.text_cell != nullptr) {
    *t.field.text_cell = join_from(words, 2);
  } else {
    *t.field.value = int_argument(words[2]);
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

CardBank& emulated_card(SimContext& ctx, const std::string& word) {
  int card = -1;
  if (ctx.bank == nullptr) throw ScriptError{"no emulated cards (--cards)"};
  if (!parse_int(word, card) || !ctx.bank->present(card))
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

struct Command {
  const char* name;
  void (*run)(SimContext&, const Words&);
};

const Command kCommands[] = {
    {"tick", cmd_tick},     {"set", cmd_set},   {"get", cmd_get},     {"expect", cmd_expect},
    {"answer", cmd_answer}, {"card", cmd_card}, {"frame", cmd_frame},
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
  const std::shared_ptr<CardBank> bank = install_sim_ports(host, options);
  System sys(host, options.dir);
  SimContext ctx{sys, host, out};
  ctx.bank = bank.get();
  try {
    startup_before_window(sys);
    startup_window_create(sys);
    std::string line;
    while (std::getline(script, line)) {
      ++ctx.line_number;
      const Words words = split_words(line);
      if (!words.empty()) run_command(ctx, words);
    }
    shutdown(sys);
  } catch (const FatalConfigError&) {
    return 1;
  } catch (const ScriptError& e) {
    out.flush();
    std::cerr << "zir-sim: line " << ctx.line_number << ": " << e.message << '\n';
    return 2;
  }
  return ctx.failed ? 1 : 0;
}
