#include "clock/exe_config.h"

#include <algorithm>
#include <string>

#include "core/config_reader.h"
#include "core/system.h"
#include "core/text.h"

namespace {

constexpr const char* kOpenFailure =
    "ZIR - Impossible d'ouvrir le fichier de configuration du #exe 'config.txt'";
constexpr const char* kDescriptionPrefix =
    "Fichier 'config.txt',  Section #exe\n\nOn attend une ligne de type =  exeXX:  \"commande\" "
    "\n(Ne pas oublier un espace entre 'exeXX:' et \"commande\")\n\n\nErreur de description sur "
    "la ligne :\n\n";
constexpr size_t kWordRoom = 259;        // the longest word the reader takes
constexpr size_t kTextAfterQuote = 196;  // characters of a command after its opening quote

[[noreturn]] void description_error(System& sys, const std::string& word) {
  fatal_config_box(sys, "ZIR - Erreur", kDescriptionPrefix + cp1252_to_utf8(word));
}

void skip_rest_of_line(ConfigText& text) {
  for (int c = text.get(); c != -1 && c != '\n'; c = text.get()) {
  }
}

// Reads up to `wanted` on the current line. False at the end of the line (the line feed is
// consumed) or of the file.
bool read_up_to(ConfigText& text, char wanted) {
  for (int c = text.get(); c != -1; c = text.get()) {
    if (c == wanted) return true;
    if (c == '\n') return false;
  }
  return false;
}

// The action number right after "exe": digits only, 0..99; what follows them is not read.
bool action_number(const std::string& word, int32_t& n) {
  const size_t end = word.find_first_not_of("0123456789", 3);
  const std::string digits = word.substr(3, end == std::string::npos ? end : end - 3);
  return parse_digits(digits, n, 0, kExternalActions - 1);
}

// From the opening quote to the end of its line.
std::string rest_of_line(ConfigText& text) {
  std::string line = "\"";
  for (int c = text.get(); c != -1 && c != '\n'; c = text.get()) line += static_cast<char>(c);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// exeN: "command" ...
void read_entry(System& sys, ConfigText& text, const std::string& word) {
  int32_t n;
  if (word.size() < 4 || !action_number(word, n)) description_error(sys, word);
  if (word.back() != ':' && !read_up_to(text, ':')) description_error(sys, word);
  if (!read_up_to(text, '"')) return;  // no command on this line
  const std::string command = rest_of_line(text);
  const auto quotes = std::count(command.begin(), command.end(), '"');
  if (command.size() > kTextAfterQuote + 1 || quotes % 2 != 0) description_error(sys, word);
  std::string& stored = sys.exe.text[static_cast<size_t>(n)];
  if (stored.empty()) ++sys.exe.count;
  stored = command;
}

}  // namespace

void read_exe_section(System& sys) {
  sys.exe = ExeState{};
  ConfigText text;
  if (!text.load(work_file(sys, "config.txt").string()))
    fatal_config_box(sys, "Erreur", kOpenFailure);
  if (!seek_section(text, "#exe")) return;
  std::string word;
  while (text.next_word(word)) {
    if (word.size() > kWordRoom) description_error(sys, word.substr(0, kWordRoom));
    if (word[0] == '@') {
      skip_rest_of_line(text);
    } else if (word[0] == ']') {
      return;
    } else if (word.starts_with("exe")) {
      read_entry(sys, text, word);
    }
  }
}
