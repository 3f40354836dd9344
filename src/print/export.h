// The navigation log written to files: one PDF, or one PNG image per page.
// The paper is the whole page; the plan's own margins are the only ones.
#pragma once

#include <QPageSize>
#include <string>

#include "plan/legs.h"
#include "plan/plan.h"

enum class PaperSize { Letter, A4, Legal, A5, HalfLetter };

// "letter", "a4", "legal", "a5" or "halfletter" (any case); false for
// anything else.
bool ParsePaperSize(const std::string& name, PaperSize& paper);

// Qt's name for the paper (half letter is its "Statement", 5.5 by 8.5 inches).
QPageSize::PageSizeId PageSizeIdOf(PaperSize paper);

// The half sheets take the portrait kneeboard log instead of the full one.
bool IsKneeboard(PaperSize paper);

struct ExportRequest {
  bool blank = false;  // the blank form instead of the filled log
  PaperSize paper = PaperSize::Letter;
  int dpi = 150;  // PNG only
};

struct ExportResult {
  bool ok = false;
  int pages = 0;
  std::string error;  // why nothing was written
};

constexpr int kMinDpi = 50;
constexpr int kMaxDpi = 600;

// The PDF of `plan` with its computed `log` (unused for the blank form), as
// bytes, for standard output.
ExportResult RenderPdf(const Plan& plan, const NavLog& log, const ExportRequest& request,
                       std::string& pdf);

// Writes the log of `plan` to `path`. The file appears complete or not at
// all, and only where a regular file may be replaced (ReplaceFile).
ExportResult ExportPdf(const Plan& plan, const NavLog& log, const ExportRequest& request,
                       const std::string& path);

// Writes PREFIX-1.png, PREFIX-2.png, ... at request.dpi, by the same rules;
// every page is written before any replaces an old one, so a failure
// leaves the old pages as they were (ReplaceFiles).
ExportResult ExportPng(const Plan& plan, const NavLog& log, const ExportRequest& request,
                       const std::string& prefix);
