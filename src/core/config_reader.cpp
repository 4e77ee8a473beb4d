#include "core/config_reader.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/fatal.h"
#include "core/system.h"
#include "core/text.h"

const SectionTexts kGeneralTexts = {
    "#general",
    "Impossible d'ouvrir le fichier de configuration général 'Config.txt'",
    "Le fichier 'config.txt' comporte une ligne trop complexe dans la section '#general'",
    "Section '#general' (ligne>75 blocs) commençant par (taper sur Entrée) : ",
    "Section #general Erreur ligne :",
    nullptr};
const SectionTexts kAigTexts = {
    "#aig",
    "Impossible d'ouvrir le fichier de configuration des aiguillages 'Config.txt'",
    "Le fichier config.txt comporte une ligne trop complexe dans la section '#aig'",
    "Section '#aig' (ligne>75 blocs) commençant par (taper sur entrée) : ",
    "Section #aig Erreur ligne :",
    "Fichier 'config.txt',\n\nSection #aig Erreur ligne :"};
const SectionTexts kAigautoTexts = {
    "#aigauto",
    "Impossible d'ouvrir le fichier de configuration du #aigauto",
    "Le fichier config.txt comporte une ligne trop complexe dans la section '#aigauto'",
    "Section '#aigauto' (ligne>75 blocs) commençant par (taper sur Entrée) : ",
    "Section #aigauto Erreur ligne :",
    "Fichier 'config.txt',\n\nSection #aigauto,\n\nErreur de description sur la ligne :"};
const SectionTexts kBalautoTexts = {
    "#balauto",
    "Impossible d'ouvrir le fichier de configuration du #balauto",
    "Le fichier 'config.txt' comporte une ligne trop complexe dans la section '#balauto'",
    "Section '#balauto' (ligne>75 blocs) commençant par (taper sur Entrée) : ",
    "Section #balauto Erreur ligne :",
    "Fichier 'config.txt',\n\nSection #balauto,\n\nErreur de description sur la ligne :"};
const SectionTexts kDeplTexts = {
    "#depl",
    "Impossible d'ouvrir le fichier de configuration des déplacements 'Config.txt'",
    "Le fichier 'config.txt' comporte une ligne trop complexe dans la section '#depl'",
    "Section '#depl' (ligne>75 blocs) commençant par (taper sur Entrée) : ",
    "Section #depl Erreur ligne :",
    "Fichier 'config.txt',\n\nSection #Déplacement,\n\nErreur de description sur la ligne :"};
const SectionTexts kGarageTexts = {
    "#garage",
    "Impossible d'ouvrir le fichier de configuration des garages 'Config.txt'",
    "Le fichier config.txt comporte une ligne trop complexe dans la section '#garage'",
    "Section '#garage' (ligne>75 blocs) commençant par (taper sur entrée) : ",
    "Section #garage Erreur ligne :",
    "Fichier 'config.txt',\n\nSection #Garage,\n\nErreur de description sur la ligne :"};
const SectionTexts kHoroTexts = {
    "#horo",
    "Impossible d'ouvrir le fichier de configuration de l'horodateur 'Config.txt'",
    "Le fichier config.txt comporte une ligne trop complexe dans la section '#horo",
    "Section '#horo' (ligne>75 blocs) commençant par (taper sur entrée) : ",
    "Section #horo Erreur ligne :",
    "Fichier 'config.txt',\n\nSection #horo,\n\nErreur de description sur la ligne :"};
const SectionTexts kItiTexts = {
    "#iti",
    "Impossible d'ouvrir le fichier de configuration des itinéraires 'Config.txt'",
    "Le fichier config.txt comporte une ligne trop complexe dans la section '#iti",
    "Section '#iti' (ligne>75 blocs) commençant par (taper sur entrée) : ",
    "Section #iti Erreur ligne :",
    "Fichier 'config.txt',\n\nSection #Itineraire,\n\nErreur de description sur la ligne :"};
// #train has its own wording for a missing file; its reader shows that box itself.
const SectionTexts kTrainTexts = {
    "#train",
    nullptr,
    "Le fichier config.txt comporte une ligne trop complexe dans la section '#train'",
    "Section '#train' (ligne>75 blocs) commençant par (taper sur entrée) : ",
    "Section #train Erreur ligne :",
    "Fichier 'config.txt',\n\nSection #train,\n\nErreur de description sur la ligne :"};
const SectionTexts kVibTexts = {
    "#vib",
    "Impossible d'ouvrir le fichier de configuration du vibreur 'config.txt'",
    "Le fichier config.txt comporte une ligne trop complexe dans la section '#vib'",
    "Section '#vib' (ligne>75 blocs) commençant par (taper sur entrée) : ",
    "Section #vib Erreur ligne :",
    "Fichier 'config.txt',\n\nSection #Vib,\n\nErreur de description sur la ligne : ",
    "ZIr - Erreur",
    "#vibrator"};

namespace {

bool is_word_byte(int c, bool minus_switch) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '[' || c == ']' || (c >= 0xE0 && c <= 0xF9) || (minus_switch && c == '-');
}

// The white space of scanf's %s.
bool is_scanf_space(int c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

const char* kConfigFile = "config.txt";

}  // namespace

bool ConfigText::load(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  load_bytes(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
  return true;
}

void ConfigText::load_bytes(std::string_view bytes) {
  // The byte-order mark some editors put before UTF-8 text is not part of the text.
  std::string_view body = bytes;
  if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
  std::string text;
  if (!utf16_to_cp1252(bytes, text) && !utf8_to_cp1252(body, text)) text.assign(bytes);
  // Zero bytes left after that mean no text encoding we know (a binary file, UTF-32...).
  readable_ = text.find('\0') == std::string::npos;
  // Text mode: a CR before a LF is dropped, a CR alone (old Mac files) ends a line, and the last
  // line ends even when the editor wrote no line feed after it.
  bytes_.clear();
  bytes_.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      bytes_ += text[i];
    } else if (i + 1 == text.size() || text[i + 1] != '\n') {
      bytes_ += '\n';
    }
  }
  if (!bytes_.empty() && bytes_.back() != '\n') bytes_ += '\n';
  pos_ = 0;
}

bool ConfigText::skip_word_beginning_with(char first) {
  const size_t start = pos_;
  std::string word;
  if (next_word(word) && word[0] == first) return true;
  pos_ = start;
  return false;
}

int ConfigText::get() {
  if (pos_ >= bytes_.size()) return -1;
  return static_cast<unsigned char>(bytes_[pos_++]);
}

bool ConfigText::next_word(std::string& word) {
  word.clear();
  int c = get();
  while (c != -1 && is_scanf_space(c)) c = get();
  while (c != -1 && !is_scanf_space(c)) {
    word += static_cast<char>(c);
    c = get();
  }
  if (c != -1) unget();
  return !word.empty();
}

bool ConfigText::first_word_of_line(std::string& word) {
  if (!next_word(word)) return false;
  int c = get();
  while (c != -1 && c != '\n') c = get();
  while (c != -1 && is_scanf_space(c)) c = get();
  if (c != -1) unget();
  return true;
}

int read_config_line(ConfigText& file, TokenLine& line, bool minus_switch) {
  for (auto& slot : line.tok) slot.fill('\0');
  line.count = 0;
  int length = 0;
  for (;;) {
    const int c = file.get();
    if (c == -1) {  // the end of the text (the loader ends its last line)
      line.count = 0;
      return 0;
    }
    if (is_word_byte(c, minus_switch)) {
      if (length == kTokenSize - 1) {  // the word reached 250 characters: it is dropped
        line.tok[static_cast<size_t>(line.count)].fill('\0');
        return 1;
      }
      line.tok[static_cast<size_t>(line.count)][static_cast<size_t>(length++)] =
          static_cast<char>(c);
      continue;
    }
    if (length > 0) {
      length = 0;
      if (++line.count == kMaxTokens) return 1;
    }
    if (c != ' ' && c != '\t' && c != '\n') {
      line.tok[static_cast<size_t>(line.count)][0] = static_cast<char>(c);
      if (++line.count == kMaxTokens) return 1;
    }
    if (c == '\n' || c == ';') return (line.count == 1 && line.tok[0][0] == ']') ? 0 : 1;
  }
}

std::string tokens_text(const char* prefix, const TokenLine& line) {
  std::string text = prefix;
  for (int i = 0; i < line.count; ++i) {
    text += "  ";
    text += cp1252_to_utf8(line[i]);
  }
  return text;
}

void fatal_config_box(System& sys, const std::string& title, const std::string& text) {
  sys.host.message_box(title, text, BoxIcon::Error);
  throw FatalConfigError(text);
}

bool seek_section(ConfigText& text, const char* header, const char* other_header) {
  std::string word;
  while (text.first_word_of_line(word)) {
    if (word == header || (other_header != nullptr && word == other_header)) {
      // The opening '[' on the next line; a file that lacks it loses no word of its first line.
      text.skip_word_beginning_with('[');
      return true;
    }
  }
  return false;
}

ConfigSection::ConfigSection(System& sys, const SectionTexts& texts, MinusMode minus)
    : sys_(sys),
      texts_(texts),
      saved_minus_(sys.minus_switch),
      restore_minus_(minus == MinusMode::Off) {
  if (!text_.load(work_file(sys, kConfigFile).string())) {
    fatal_config_box(sys, "Erreur",
                     texts.open_failure != nullptr ? texts.open_failure
                                                   : "Impossible d'ouvrir le fichier 'config.txt'");
  }
  if (restore_minus_) sys.minus_switch = false;
  found_ = seek_section(text_, texts.header, texts.other_header);
}

ConfigSection::~ConfigSection() {
  if (restore_minus_) sys_.minus_switch = saved_minus_;
}

bool ConfigSection::next_line(TokenLine& line) {
  while (found_) {
    if (read_config_line(text_, line, sys_.minus_switch) == 0) break;
    if (line.count >= kMaxTokens) {
      sys_.host.message_box("Erreur", texts_.too_complex, BoxIcon::Error);
      sys_.host.message_box("Erreur", texts_.box2, BoxIcon::Error);
      fatal_config_box(sys_, texts_.box3_title, tokens_text(texts_.box3_prefix, line));
    }
    if (line.count > 0 && line[0][0] == ']') break;
    for (int i = 0; i < line.count; ++i) {
      if (line[i][0] == '@') {
        line.count = i;
        break;
      }
    }
    if (line.count > 0) return true;
  }
  found_ = false;
  return false;
}

void ConfigSection::description_error(const TokenLine& line) const {
  fatal_config_box(sys_, "ZIR - Erreur", tokens_text(texts_.description_prefix, line));
}

bool panel_file_present(const System& sys) {
  std::error_code error;
  return std::filesystem::exists(work_file(sys, "config_tco.txt"), error);
}

void check_config_present(System& sys) {
  ConfigText text;
  if (text.load(work_file(sys, kConfigFile).string())) {
    if (text.readable()) return;
    fatal_config_box(sys, "Erreur",
                     "Le fichier de configuration   'config.txt'   n'est pas un fichier texte "
                     "lisible\n\nIl contient des octets nuls : enregistrez-le en UTF-8, en "
                     "Windows-1252 ou en UTF-16 (\"Unicode\").\n\nFin de ZIR");
  }
  fatal_config_box(sys, "Erreur",
                   "Le fichier de configuration   'config.txt'   est introuvable \n\nZIR a besoin "
                   "du fichier de configuration  'config.txt'  dans le même répertoire que "
                   "l'exécutable\n\n(si vous voulez juste déboguer la carte alors créez un fichier "
                   "vide)\n\nFin de ZIR");
}
