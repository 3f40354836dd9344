#include "plan/read_report.h"

std::string Finding::Describe() const {
  std::string out;
  if (!file.empty()) out = file + ":";
  if (line > 0) out += std::to_string(line) + ":";
  if (!out.empty()) out += " ";
  return out + text;
}

void ReadReport::Error(std::string text, std::size_t line) {
  findings_.push_back({Finding::Severity::Error, file_, line, std::move(text)});
  ++errors_;
}

void ReadReport::Warning(std::string text, std::size_t line) {
  findings_.push_back({Finding::Severity::Warning, file_, line, std::move(text)});
}

void ReadReport::Append(const ReadReport& other) {
  findings_.insert(findings_.end(), other.findings_.begin(), other.findings_.end());
  errors_ += other.errors_;
}

std::string ReadReport::FirstError() const {
  for (const Finding& f : findings_)
    if (f.severity == Finding::Severity::Error) return f.Describe();
  return {};
}

std::vector<std::string> ReadReport::WarningTexts() const {
  std::vector<std::string> out;
  for (const Finding& f : findings_)
    if (f.severity == Finding::Severity::Warning) out.push_back(f.Describe());
  return out;
}
