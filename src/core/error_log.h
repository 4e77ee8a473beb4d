// Train_ZIR_log.txt, the run-time error log. The first error of a run replaces the previous
// run's log. The file stays open for the run and is flushed after each line, so it can be read
// while the program runs. A line that repeats the one before it is not written again: its count
// is written once another line comes or the log closes. Past kErrorLogCap bytes the log says it
// is cut and takes nothing more, so an error repeated every tick cannot fill the disk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

constexpr int64_t kErrorLogCap = 1 << 20;

class ErrorLog {
 public:
  ErrorLog() = default;
  ErrorLog(const ErrorLog&) = delete;
  ErrorLog& operator=(const ErrorLog&) = delete;
  ~ErrorLog() { close(); }

  void write(const std::filesystem::path& file, const std::string& line);
  // Writes the count of a pending repeat and closes the file; the next error of the run is
  // appended.
  void close();

 private:
  bool open(const std::filesystem::path& file);
  void put(const std::string& text);
  void flush_repeats();

  std::FILE* file_ = nullptr;
  bool first_of_run_ = true;
  bool cut_ = false;
  int64_t size_ = 0;
  std::string last_;
  int64_t repeats_ = 0;
};
