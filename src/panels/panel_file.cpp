#include "panels/panel_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "core/config_reader.h"
#include "core/system.h"
#include "core/tokens.h"
#include "panels/panel_interaction.h"
#include "trains/train_config.h"
#include "turnouts/aig_config.h"

namespace {

constexpr const char* kTrainsHeader = "[SAUVEGARDE_POSITION_DES_TRAINS]";
constexpr const char* kTurnoutsHeader = "[SAUVEGARDE_POSITION_DES_AIGUILLAGES]";
constexpr int kStoredTrainColours = 16;
constexpr int kSavedCantons = 6;  // tokens 13..18 of a train line

// ---- Reading ----------------------------------------------------------------------------

using Tokens = std::vector<std::string>;

// One rendu value: its allowed range. Track colours 0..25 (24 train, 25 canton), flags 0/1,
// block and lamp colours 0..23.
bool rendu_value_ok(int index, int32_t value) {
  if (index < 28) {
    const int column = index % 4;
    if (index == 27) return value == 0;
    if (column < 2) return value >= 0 && value <= 25;
    return value == 0 || value == 1;
  }
  return value >= 0 && value <= 23;
}

bool is_blank(int c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

Tokens line_tokens(const TokenLine& line) {
  Tokens tokens;
  for (int i = 0; i < line.count; ++i) tokens.emplace_back(line[i]);
  return tokens;
}

// Reads the file positionally, checking every record; the first fault stops the reading.
class PanelReader {
 public:
  explicit PanelReader(System& sys) : sys_(sys) {}

  ConfigText& text() { return text_; }
  // The line (from 1) where the reading stands.
  int line() const {
    const std::string_view read = text_.bytes().substr(0, text_.offset());
    return 1 + static_cast<int>(std::count(read.begin(), read.end(), '\n'));
  }

  bool read_panels() {
    for (int p = 0; p < kTcoPanels; ++p) {
      if (!skip_to_line([](const std::string& w) { return w.starts_with("tco="); })) return false;
      for (int x = 0; x < kTcoColumns; ++x) {
        for (int y = 0; y < kTcoRows; ++y) {
          TcoCell cell;
          if (!read_cell(cell)) return false;
          sys_.panels.cell(p, x, y) = cell;
        }
      }
    }
    return true;
  }

  // The rendu block: 44 values, 64 canton colours, 16 train colours. Applied only when whole.
  bool read_rendu() {
    if (!skip_to_word("rendu") || !skip_to_word("data:")) return false;
    std::array<int32_t, kRenduSize + kCantonColours + kStoredTrainColours> v{};
    for (int32_t& value : v)
      if (!read_int(value)) return false;
    PanelState& ps = sys_.panels;
    for (int i = 0; i < kRenduSize; ++i)
      ps.rendu[i] = rendu_value_ok(i, v[i]) ? v[i] : kRenduDefaults[i];
    for (int i = 0; i < kCantonColours; ++i) {
      const int32_t c = v[kRenduSize + i];
      ps.cant_color[i] = c >= 0 && c <= 23 ? c : i % 16 + 1;
    }
    // A colour that config.txt gave a train wins.
    for (int n = 0; n < kStoredTrainColours; ++n) {
      const int32_t c = v[kRenduSize + kCantonColours + n];
      if (sys_.trains.color[n] == -1) sys_.trains.color[n] = c >= -1 && c <= 23 ? c : n;
    }
    rendu_read_ = true;
    return true;
  }
  bool rendu_read() const { return rendu_read_; }

  // A position block: its header, then tokenized lines up to "[FIN]".
  bool read_block(const char* header, std::vector<Tokens>& lines) {
    if (!skip_to_word(header)) return false;
    TokenLine line;
    while (read_config_line(text_, line, true) != 0) {
      if (line.count == 1 && std::strcmp(line[0], "[FIN]") == 0) return true;
      if (line.count > 0) lines.push_back(line_tokens(line));
    }
    return false;
  }

 private:
  template <typename Match>
  bool skip_to_line(Match match) {
    std::string word;
    while (text_.first_word_of_line(word))
      if (match(word)) return true;
    return false;
  }
  bool skip_to_word(const char* wanted) {
    return skip_to_line([wanted](const std::string& w) { return w == wanted; });
  }
  bool read_int(int32_t& value) {
    std::string word;
    return text_.next_word(word) && parse_whole(word, value);
  }
  bool read_mark(char mark) {
    int c = text_.get();
    while (c != -1 && is_blank(c)) c = text_.get();
    return c == mark;
  }
  // "x=XX y=YY data:", 15 whole numbers, "string=", then 20 characters between double quotes.
  bool read_cell(TcoCell& cell) {
    std::string word;
    for (int i = 0; i < 3; ++i)
      if (!text_.next_word(word)) return false;
    for (int32_t& value : cell.f)
      if (!read_int(value)) return false;
    if (!text_.next_word(word) || word != "string=" || !read_mark('"')) return false;
    for (int i = 0; i < kCellText; ++i) {
      const int c = text_.get();
      if (c == '\n') text_.unget();  // the fault is on the line the text began
      if (c == -1 || c == '\n') return false;
      cell.txt[static_cast<size_t>(i)] = static_cast<char>(c);
    }
    return read_mark('"');
  }

  System& sys_;
  ConfigText text_;
  bool rendu_read_ = false;
};

// A name of exactly 8 characters, '_' standing for a blank.
void restore_name(System& sys, int n, const std::string& token) {
  if (token.size() != kNameLength) return;
  std::string name = token;
  std::replace(name.begin(), name.end(), '_', ' ');
  sys.trains.name[n] = name;
}

void restore_command(System& sys, int n, const std::string& kind, const std::string& number) {
  int32_t v = 0;
  if (kind == "clav" && parse_whole(number, v, 0, kClavConfs - 1)) {
    sys.trains.cmd[n] = kClavCmdBase + v;
  } else if (kind == "pot" && parse_whole(number, v, 0, 304) && v % 100 < 5) {
    sys.trains.cmd[n] = v;
  } else if (kind == "sans") {
    sys.trains.cmd[n] = -1;
  }
}

int32_t number_or(const std::string& token, int32_t lo, int32_t hi, int32_t fallback) {
  int32_t v = 0;
  return parse_whole(token, v, lo, hi) ? v : fallback;
}

// One saved train line: "trainNN NAME colorCC pot|clav|sans NNN ok_auto invers vmin vmax acc
// dec frein MODE" then "gNN" or up to six "cNNN".
void restore_train(System& sys, const Tokens& t) {
  int32_t n = -1;
  if (t.size() < 13 || t.size() > 74) return;
  if (!t[0].starts_with("train") || !parse_whole(std::string_view(t[0]).substr(5), n, 0, 31))
    return;
  TrainTable& tr = sys.trains;
  restore_name(sys, n, t[1]);
  int32_t colour = 0;
  if (t[2].starts_with("color") && parse_whole(std::string_view(t[2]).substr(5), colour, 0, 23))
    tr.color[n] = colour;
  restore_command(sys, n, t[3], t[4]);
  if (t[5] == "ok_auto") tr.en_auto[n] = 1;
  if (t[6] == "invers") tr.inv[n] = 1;
  int32_t vmin_token = 0;
  const bool vmin_read = parse_whole(t[7], vmin_token);
  tr.vmin[n] = number_or(t[7], 0, 49, 1);
  tr.vmax[n] = number_or(t[8], 1, 63, 64);
  int32_t vmax_token = 0;
  if (vmin_read && parse_whole(t[8], vmax_token) && vmax_token <= vmin_token) tr.vmax[n] = 64;
  tr.acc[n] = number_or(t[9], 1, 27, -1);
  tr.dec[n] = number_or(t[10], 1, 27, -1);
  tr.frein[n] = number_or(t[11], 1, 27, -1);
  tr.mode[n] = "SEL";
  tr.en[n] = 1;
  if (t.size() == 13) return;
  int32_t g = 0;
  if (t[13].starts_with("g") && parse_whole(std::string_view(t[13]).substr(1), g, 0, 31)) {
    park_train_in_siding(sys, n, g);
    return;
  }
  for (size_t i = 13; i < t.size() && i < 13 + kSavedCantons; ++i) {
    int32_t canton = 0;
    if (t[i].starts_with("c") && parse_whole(std::string_view(t[i]).substr(1), canton, 0, 315) &&
        canton % 100 < 16) {
      place_train_on_canton(sys, n, canton);
    }
  }
}

// One line of saved turnouts: groups "aNN" "." "V".
void restore_turnouts(System& sys, const Tokens& t) {
  if (t.size() < 2 || t.size() > 74 || !t[0].starts_with("a")) return;
  for (size_t i = 0; i + 2 < t.size(); i += 3) {
    int32_t n = 0;
    int32_t v = 0;
    if (t[i].starts_with("a") && t[i + 1].starts_with(".") &&
        parse_whole(std::string_view(t[i]).substr(1), n, 0, kTurnouts - 1) &&
        parse_whole(t[i + 2], v)) {
      aig_restore_saved_position(sys, n, v);
    }
  }
}

void missing_file_defaults(System& sys) {
  PanelState& ps = sys.panels;
  ps.rendu = kRenduDefaults;
  for (int i = 0; i < kCantonColours; ++i) ps.cant_color[i] = i % 16 + 1;
  // A colour that config.txt gave a train stays.
  for (int n = 0; n < kStoredTrainColours; ++n)
    if (sys.trains.color[n] == -1) sys.trains.color[n] = n;
}

// The whole file as Windows-1252 bytes; false when it exists but cannot be read.
enum class FileRead { Ok, Missing, Unreadable };
FileRead read_whole_file(const std::filesystem::path& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Unreadable;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(fd);
      return FileRead::Unreadable;
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return FileRead::Ok;
}

// Renames a damaged file to NAME.bad, NAME.bad2 ... without ever replacing one; returns the
// name used, or an empty string with `reason` set.
std::string set_aside(const std::filesystem::path& path, std::string& reason) {
  for (int k = 1; k < 1000; ++k) {
    std::filesystem::path target = path;
    target += k == 1 ? ".bad" : ".bad" + std::to_string(k);
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
      return target.filename().string();
    if (errno == EEXIST) continue;
    if (errno == EINVAL || errno == ENOSYS) {  // a file system without RENAME_NOREPLACE
      if (std::filesystem::exists(target)) continue;
      if (std::rename(path.c_str(), target.c_str()) == 0) return target.filename().string();
    }
    reason = std::strerror(errno);
    return "";
  }
  reason = "trop de fichiers mis de côté";
  return "";
}

void report_damage(System& sys, const std::filesystem::path& path, int line) {
  std::string reason;
  const std::string kept = set_aside(path, reason);
  char text[512];
  if (kept.empty()) {
    // The damaged file stays where it is: this run must not write over it.
    sys.panels.loaded = false;
    std::snprintf(text, sizeof text,
                  "Le fichier '%s' est endommagé (ligne %d).\n\nIl n'a pas pu être mis de côté "
                  "(%s) : les TCO ne seront pas enregistrés.",
                  path.filename().c_str(), line, reason.c_str());
  } else {
    std::snprintf(text, sizeof text,
                  "Le fichier '%s' est endommagé (ligne %d).\n\nIl a été mis de côté sous le nom "
                  "'%s' ; les TCO lus avant l'erreur sont gardés.",
                  path.filename().c_str(), line, kept.c_str());
  }
  sys.host.message_box("ZIR - Erreur", text, BoxIcon::Error);
}

// ---- Writing ----------------------------------------------------------------------------

void appendf(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void appendf(std::string& out, const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n > 0)
    out.append(buffer, static_cast<size_t>(std::min(n, static_cast<int>(sizeof buffer) - 1)));
}

void append_cells(const System& sys, std::string& out) {
  for (int p = 0; p < kTcoPanels; ++p) {
    appendf(out, "\n\ntco=%d", p);
    for (int x = 0; x < kTcoColumns; ++x) {
      for (int y = 0; y < kTcoRows; ++y) {
        const TcoCell& c = sys.panels.cell(p, x, y);
        appendf(out, "\nx=%02d y=%02d data:", x, y);
        for (int32_t v : c.f) appendf(out, " %4d", v);
        appendf(out, " string= \"%20s\"", c.txt.data());
      }
    }
  }
}

void append_rendu(const System& sys, std::string& out) {
  out += "\n\nrendu\ndata:";
  for (int32_t v : sys.panels.rendu) appendf(out, "\n%4d", v);
  for (int32_t v : sys.panels.cant_color) appendf(out, "\n%4d", v);
  for (int n = 0; n < kStoredTrainColours; ++n) appendf(out, "\n%4d", sys.trains.color[n]);
}

bool holds(const System& sys, int slot, int n) {
  return sys.cantons.num_train[slot] == n;
}

void append_location(const System& sys, int n, std::string& out) {
  const TrainTable& t = sys.trains;
  const CantonTable& c = sys.cantons;
  if (t.train_garage[n] != -1) {
    appendf(out, " g%02d", t.train_garage[n]);
    return;
  }
  if (t.mode[n] == "SEL") {
    for (int s = 0; s < kCantons; ++s)
      if (holds(sys, s, n) && c.ResvMANU[s]) appendf(out, " c%d", canton_number(s));
    return;
  }
  bool any_detected = false;
  for (int s = 0; s < kCantons; ++s) {
    if (holds(sys, s, n) && c.ResvAUTO[s] && sys.io.det[s] == 1) {
      appendf(out, " c%d", canton_number(s));
      any_detected = true;
    }
  }
  if (any_detected) return;
  for (int s = 0; s < kCantons; ++s)
    if (holds(sys, s, n) && c.ResvAUTO[s]) appendf(out, " c%d", canton_number(s));
}

void append_train(const System& sys, int n, std::string& out) {
  const TrainTable& t = sys.trains;
  appendf(out, "train%02d", n);
  if (t.en[n] == 1) {
    std::string name = t.name[n];
    for (size_t i = 0; i < name.size() && i < kNameLength; ++i)
      if (name[i] == ' ') name[i] = '_';
    appendf(out, " %s color%02d", name.c_str(), t.color[n]);
    if (t.cmd[n] == -1) {
      out += " sans cmd";
    } else if (t.cmd[n] < kClavCmdBase) {
      appendf(out, " pot  %03d", t.cmd[n]);
    } else {
      appendf(out, " clav %03d", t.cmd[n] - kClavCmdBase);
    }
    out += t.en_auto[n] ? " ok_auto" : " pasauto";
    out += t.inv[n] ? " invers" : " pasinv";
    appendf(out, " %02d %02d %02d %02d %02d %s", t.vmin[n], t.vmax[n], t.acc[n], t.dec[n],
            t.frein[n], t.mode[n].c_str());
    append_location(sys, n, out);
  }
  out += '\n';
}

void append_positions(const System& sys, std::string& out) {
  out += "\n\n";
  out += kTrainsHeader;
  out += '\n';
  for (int n = 0; n < kTrainEntries; ++n) append_train(sys, n, out);
  out += "[FIN]\n\n";
  out += kTurnoutsHeader;
  out += '\n';
  for (int n = 0; n < kTurnouts; ++n) {
    appendf(out, "a%02d.%1d ", n, sys.aig.aig_cmd[n]);
    if (n % 10 == 9) out += '\n';
  }
  out += "\n[FIN]\n";
}

bool write_all(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Temporary file in the same folder, flushed to disk, renamed over the old file, then the
// folder flushed so that the rename itself survives a crash. On failure the temporary is
// removed, the old file is untouched and `reason` says why.
bool write_atomically(const std::filesystem::path& path, const std::string& content,
                      std::string& reason) {
  std::string temp = path.string() + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0 && write_all(fd, content) && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    reason = std::strerror(error);
    return false;
  }
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace

void load_panels(System& sys, const char* name) {
  PanelState& ps = sys.panels;
  for (TcoCell& c : ps.cells) c.clear();
  ps.rendu.fill(0);
  ps.cant_color.fill(0);
  for (int n = kStoredTrainColours; n < kTrainEntries; ++n) sys.trains.color[n] = 20;
  clear_panel_action(sys);
  ps.loaded = true;
  sys.minus_switch = true;

  const std::filesystem::path path = work_file(sys, name);
  std::string bytes;
  const FileRead got = read_whole_file(path, bytes);
  if (got == FileRead::Missing) {
    missing_file_defaults(sys);
    return;
  }
  PanelReader reader(sys);
  bool whole = got == FileRead::Ok;
  if (whole) {
    reader.text().load_bytes(bytes);
    std::string word;
    bool found = false;
    // A file of no text encoding we know (zero bytes in it) is not read at all.
    while (reader.text().readable() && !found && reader.text().first_word_of_line(word))
      found = word == "[TCO_data]";
    whole = found && reader.read_panels() && reader.read_rendu();
  }
  std::vector<Tokens> trains;
  std::vector<Tokens> turnouts;
  if (whole) {
    whole =
        reader.read_block(kTrainsHeader, trains) && reader.read_block(kTurnoutsHeader, turnouts);
  }
  if (!whole) {
    if (!reader.rendu_read()) missing_file_defaults(sys);
    report_damage(sys, path, got == FileRead::Ok ? reader.line() : 1);
    return;
  }
  if (sys.general.memorisation_train)
    for (const Tokens& t : trains) restore_train(sys, t);
  if (sys.general.memorisation_aig)
    for (const Tokens& t : turnouts) restore_turnouts(sys, t);
}

std::string panels_file_text(const System& sys) {
  std::string out;
  out.reserve(8 * 800 * 128 + 8192);
  out += "[TCO_data]";
  append_cells(sys, out);
  append_rendu(sys, out);
  append_positions(sys, out);
  return out;
}

bool save_panels(System& sys, const char* name) {
  if (!sys.panels.loaded) return true;
  std::string reason;
  if (write_atomically(work_file(sys, name), panels_file_text(sys), reason)) return true;
  char text[512];
  std::snprintf(text, sizeof text,
                "Impossible d'enregistrer '%s' : %s\n\nLe fichier précédent est conservé.", name,
                reason.c_str());
  sys.host.message_box("ZIR - Erreur", text, BoxIcon::Error);
  return false;
}

bool save_panels_before_quit(System& sys) {
  if (save_panels(sys, kPanelFile)) return true;
  return sys.host.ask_yes_no("ZIR - Erreur",
                             "Quitter quand même ? Les modifications des TCO seront perdues.",
                             BoxIcon::Question);
}
