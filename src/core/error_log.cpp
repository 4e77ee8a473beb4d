#include "core/error_log.h"

namespace {

constexpr const char* kCutLine =
    "\n-Journal coupé : plus de 1 Mo d'erreurs, les suivantes ne sont pas écrites";

}  // namespace

bool ErrorLog::open(const std::filesystem::path& file) {
  if (file_ != nullptr) return true;
  file_ = std::fopen(file.c_str(), first_of_run_ ? "w" : "a");
  if (file_ == nullptr) return false;
  if (!first_of_run_) {
    std::fseek(file_, 0, SEEK_END);
    size_ = std::ftell(file_);
  }
  first_of_run_ = false;
  return true;
}

void ErrorLog::put(const std::string& text) {
  if (cut_) return;
  const int64_t room = kErrorLogCap - size_;
  if (static_cast<int64_t>(text.size()) > room) {
    std::fputs(kCutLine, file_);
    cut_ = true;
  } else {
    std::fputs(text.c_str(), file_);
    size_ += static_cast<int64_t>(text.size());
  }
  std::fflush(file_);
}

void ErrorLog::flush_repeats() {
  if (repeats_ == 0 || file_ == nullptr) return;
  put("\n-(ligne précédente répétée " + std::to_string(repeats_) + " fois de plus)");
  repeats_ = 0;
}

void ErrorLog::write(const std::filesystem::path& file, const std::string& line) {
  if (file_ != nullptr && line == last_) {
    ++repeats_;
    return;
  }
  flush_repeats();
  if (!open(file)) return;
  put(line);
  last_ = line;
}

void ErrorLog::close() {
  flush_repeats();
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  last_.clear();
}
