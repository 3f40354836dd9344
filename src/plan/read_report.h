// What reading one outside file found: the one answer every reader gives
// (plan files, route files, aviation data, forecasts). A reader sniffs the
// content, hands what it reads to a sink and returns this report; its
// errors and warnings say the file and the line, so the pilot can find them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct Finding {
  enum class Severity { Warning, Error };
  Severity severity = Severity::Warning;
  std::string file;      // as the pilot named it; empty for standard input or text in memory
  std::size_t line = 0;  // 1-based; 0 when the finding is about the whole file
  std::string text;      // in the pilot's words, without the place

  // "FILE:LINE: TEXT", leaving out what is not known.
  std::string Describe() const;
};

class ReadReport {
 public:
  ReadReport() = default;
  explicit ReadReport(std::string file) : file_(std::move(file)) {}

  const std::string& file() const { return file_; }
  void set_file(std::string file) { file_ = std::move(file); }

  void Error(std::string text, std::size_t line = 0);
  void Warning(std::string text, std::size_t line = 0);
  // Takes over another report's findings (a file read inside this one).
  void Append(const ReadReport& other);

  // True when nothing went wrong that stops the file from being used.
  bool ok() const { return errors_ == 0; }
  std::size_t errors() const { return errors_; }
  std::size_t warnings() const { return findings_.size() - errors_; }
  const std::vector<Finding>& findings() const { return findings_; }

  // The first error, described; empty when ok().
  std::string FirstError() const;
  // Every warning, described, in the order found.
  std::vector<std::string> WarningTexts() const;

 private:
  std::string file_;
  std::vector<Finding> findings_;
  std::size_t errors_ = 0;
};
