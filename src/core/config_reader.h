// The shared configuration reader: the line tokenizer, the section scan that every parser uses,
// and the common error boxes.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/tokens.h"

struct System;

constexpr int kMaxTokens = 75;
constexpr int kTokenSize = 250;  // a word holds at most 249 bytes and its NUL

struct TokenLine {
  std::array<std::array<char, kTokenSize>, kMaxTokens> tok;
  int count = 0;
  const char* operator[](int i) const { return tok[i].data(); }
};

// config.txt held in memory as Windows-1252 bytes (a UTF-8 or UTF-16 file is converted first),
// read in text mode (CR LF and a lone CR end a line; the last line always ends).
class ConfigText {
 public:
  // False when the file cannot be opened.
  bool load(const std::string& path);
  void load_bytes(std::string_view bytes);
  int get();  // next byte 0..255, or -1 at the end
  void unget() {
    if (pos_ > 0) --pos_;
  }
  // False when the bytes are in no text encoding the reader knows.
  bool readable() const { return readable_; }
  // Reads the next word when it begins with `first`; otherwise reads nothing.
  bool skip_word_beginning_with(char first);
  // The scanf-like word reads of the section scan: "%s%*[^\n]\n" and " %s".
  bool first_word_of_line(std::string& word);
  bool next_word(std::string& word);

 private:
  std::string bytes_;
  size_t pos_ = 0;
  bool readable_ = true;
};

// Reads one line of tokens. 0 at the end of the file or for a line whose only token begins
// with ']'; 1 otherwise, also when the line was cut at 75 tokens or a 250-character word.
int read_config_line(ConfigText& file, TokenLine& line, bool minus_switch);

// The texts of a section's common boxes; null where the section does not use that box.
struct SectionTexts {
  const char* header;
  const char* open_failure;
  const char* too_complex;
  const char* box2;
  const char* box3_prefix;
  const char* description_prefix;
  const char* box3_title = "ZIR - Erreur";
  const char* other_header = nullptr;  // a second name the section may be found by
};

extern const SectionTexts kGeneralTexts;
extern const SectionTexts kAigTexts;
extern const SectionTexts kAigautoTexts;
extern const SectionTexts kBalautoTexts;
extern const SectionTexts kDeplTexts;
extern const SectionTexts kGarageTexts;
extern const SectionTexts kHoroTexts;
extern const SectionTexts kItiTexts;
extern const SectionTexts kTrainTexts;
extern const SectionTexts kVibTexts;

enum class MinusMode { Current, Off };

// One pass over a section of config.txt:
//   ConfigSection sec(sys, kAigTexts);
//   TokenLine line;
//   while (sec.next_line(line)) { ... sec.description_error(line) on a bad line ... }
// A missing file shows the open-failure box and throws FatalConfigError; a missing header
// gives no lines. Comments (from a token beginning with '@') are cut and empty lines skipped.
class ConfigSection {
 public:
  ConfigSection(System& sys, const SectionTexts& texts, MinusMode minus = MinusMode::Current);
  ~ConfigSection();
  ConfigSection(const ConfigSection&) = delete;
  ConfigSection& operator=(const ConfigSection&) = delete;

  bool found() const { return found_; }
  bool next_line(TokenLine& line);
  // Shows "prefix  tok1  tok2 ..." with the title "ZIR - Erreur" and throws FatalConfigError.
  [[noreturn]] void description_error(const TokenLine& line) const;

 private:
  System& sys_;
  const SectionTexts& texts_;
  ConfigText text_;
  bool found_ = false;
  bool saved_minus_;
  bool restore_minus_;
};

// Shows a box with the error icon and throws FatalConfigError; `text` is UTF-8.
[[noreturn]] void fatal_config_box(System& sys, const std::string& title, const std::string& text);
// "prefix  tok1  tok2 ..." as UTF-8, the tokens converted from Windows-1252.
std::string tokens_text(const char* prefix, const TokenLine& line);
// Finds the section header (the first line that begins with either name) and positions `text` after
// the word that follows it (the '['). False when the header is absent. For the sections that read
// lines their own way.
bool seek_section(ConfigText& text, const char* header, const char* other_header = nullptr);

// config_tco.txt is there. Until the panel file is read, memorisation_train and
// memorisation_aig take the trains and turnout positions from config.txt when it is not.
bool panel_file_present(const System& sys);

// Before anything else: config.txt must exist.
void check_config_present(System& sys);
