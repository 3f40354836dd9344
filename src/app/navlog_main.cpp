// halvix-navlog: the computed navigation log of a plan file, outside the window.
#include <unistd.h>

#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "plan/check.h"
#include "plan/fileio.h"
#include "plan/fuel.h"
#include "plan/legs.h"
#include "plan/planfile.h"
#include "plan/report.h"
#include "plan/route_import.h"
#include "print/export.h"

namespace {

const char kUsage[] =
    "Usage: halvix-navlog [--csv] [--date YYYY-MM-DD] [--save OUT.flt] [--reserve MIN] PLAN.flt\n"
    "       halvix-navlog [--pdf OUT.pdf] [--png PREFIX [--dpi N]] [--page SIZE] [--reserve MIN] "
    "PLAN.flt\n"
    "       halvix-navlog --blank [--pdf OUT.pdf] [--png PREFIX [--dpi N]] [--page SIZE] "
    "[PLAN.flt]\n"
    "Prints the computed navigation log of a Halvix plan file. A route file (GPX or\n"
    "flight-plan XML) can stand wherever a plan file does: its legs get distance,\n"
    "true course and magnetic variation from the waypoints' coordinates.\n"
    "A PLAN.flt of - reads the plan from standard input.\n"
    "\n"
    "  --csv        comma-separated values, one line per leg and a Total line\n"
    "  --pdf FILE   the printed log as a landscape PDF (- for standard output)\n"
    "  --png PREFIX the printed log as images PREFIX-1.png, PREFIX-2.png, ...\n"
    "  --dpi N      resolution of the images, 50 to 600 (default 150)\n"
    "  --page SIZE  letter, a4 or legal (default letter)\n"
    "  --date DAY   the day of the flight (YYYY-MM-DD) for the magnetic variation\n"
    "               of an imported route (default today)\n"
    "  --save FILE  also write the plan read or imported to FILE (.flt)\n"
    "  --reserve MIN\n"
    "               fuel reserve in minutes, 0 to 600 (default: the plan's, else 30);\n"
    "               a warning on standard error for each checkpoint reached below it\n"
    "               or with the fuel exhausted; the log itself does not change\n"
    "  --blank      the blank form instead of the plan's log; a plan, if given,\n"
    "               supplies only its margins and shading\n"
    "  --help       this text\n"
    "  --version    the program's version\n";

int UsageError(const std::string& message) {
  std::cerr << "halvix-navlog: " << message << "\n" << kUsage;
  return 2;
}

int Failure(const std::string& message) {
  std::cerr << "halvix-navlog: " << message << "\n";
  return 1;
}

// Standard output, checked: a full disk or a closed pipe is an error, not a
// log silently lost.
int Emit(const std::string& text) {
  std::string error;
  if (!WriteAll(STDOUT_FILENO, text, error)) return Failure("standard output: " + error);
  return 0;
}

void WarnOfDroppedRows(const LoadResult& loaded) {
  const std::string dropped = RowsDroppedWarning(loaded);
  if (!dropped.empty()) std::cerr << "halvix-navlog: warning: " << dropped << "\n";
}

// A plan file (- for standard input), or a route file imported as the
// window's Import Route does.
bool ReadPlanOrRoute(const std::string& path, const CivilDate& date, Plan& plan) {
  if (path == "-") {
    std::string bytes;
    std::string error;
    if (!ReadStream(STDIN_FILENO, kMaxPlanBytes, bytes, error)) {
      Failure("standard input: " + error);
      return false;
    }
    WarnOfDroppedRows(LoadPlanText(plan, bytes));
    return true;
  }
  // One read decides everything: what the file is, and what it holds.
  std::string bytes;
  std::string error;
  switch (ReadRegularFile(path, kMaxPlanBytes, bytes, error)) {
    case ReadStatus::Ok:
      break;
    case ReadStatus::Missing:
      // Unlike the window, a typo must not print the empty default plan.
      Failure(path + ": " + std::strerror(ENOENT));
      return false;
    case ReadStatus::TooLarge:
    case ReadStatus::Failed:
      Failure("Cannot read " + path + ": " + error);
      return false;
  }
  if (!LooksLikeRouteText(bytes)) {
    LoadResult loaded = LoadPlanText(plan, bytes);
    if (loaded.no_sections && !bytes.empty()) {
      Failure(path + ": neither a route file (GPX, flight plan) nor a plan file");
      return false;
    }
    WarnOfDroppedRows(loaded);
    return true;
  }
  LoadPlan(plan, "");  // the aircraft and margins a plan file without them has
  ImportResult imported = ImportRouteText(bytes, path, date, plan);
  if (!imported.ok) {
    Failure(path + ": " + imported.error);
    return false;
  }
  std::istringstream warnings(imported.warning);
  for (std::string line; std::getline(warnings, line);)
    std::cerr << "halvix-navlog: warning: " << line << "\n";
  return true;
}

bool SaveCopy(Plan& plan, const std::string& path) {
  SaveResult saved = SavePlan(plan, path);
  if (saved.status == SaveStatus::Saved) return true;
  Failure(path + ": " + (saved.status == SaveStatus::NothingToSave ? kNoDataMessage : saved.error));
  return false;
}

// Writes the requested files; the exit status.
int WriteOutputs(const Plan& plan, const ExportRequest& request, const std::string& pdf,
                 const std::string& png) {
  // Rendering needs fonts but never a screen.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qargc = 1;
  char name[] = "halvix-navlog";
  char* qargv[] = {name, nullptr};
  // Qt's own warnings (a missing runtime directory and the like) are no
  // concern of the log; the tool reports its errors itself.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::cerr << "halvix-navlog: " << message.toStdString() << "\n";
    }
  });
  QGuiApplication app(qargc, qargv);
  if (pdf == "-") {
    std::string bytes;
    ExportResult result = RenderPdf(plan, request, bytes);
    if (!result.ok) return Failure(result.error);
    if (Emit(bytes) != 0) return 1;
  } else if (!pdf.empty()) {
    ExportResult result = ExportPdf(plan, request, pdf);
    if (!result.ok) return Failure(pdf + ": " + result.error);
  }
  if (!png.empty()) {
    ExportResult result = ExportPng(plan, request, png);
    if (!result.ok) return Failure(result.error);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool csv = false;
  int32_t reserve = -1;  // the plan's own unless given
  std::string plan_path;
  std::string pdf_path;
  std::string png_prefix;
  std::string save_path;
  CivilDate date = Today();
  ExportRequest request;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    const bool takes_value = arg == "--pdf" || arg == "--png" || arg == "--dpi" ||
                             arg == "--page" || arg == "--date" || arg == "--save" ||
                             arg == "--reserve";
    if (takes_value && i + 1 >= argc) return UsageError(arg + " needs a value");
    if (arg == "--pdf") {
      pdf_path = argv[++i];
      if (pdf_path.empty()) return UsageError("--pdf needs a file name");
      continue;
    }
    if (arg == "--png") {
      png_prefix = argv[++i];
      if (png_prefix.empty()) return UsageError("--png needs a file name prefix");
      if (png_prefix == "-") return UsageError("--png writes one file per page, not to -");
      continue;
    }
    if (arg == "--dpi") {
      const std::string value = argv[++i];
      char* end = nullptr;
      const long dpi = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || dpi < kMinDpi || dpi > kMaxDpi) {
        return UsageError("--dpi takes a whole number from " + std::to_string(kMinDpi) + " to " +
                          std::to_string(kMaxDpi));
      }
      request.dpi = static_cast<int>(dpi);
      continue;
    }
    if (arg == "--reserve") {
      const std::string value = argv[++i];
      char* end = nullptr;
      const long minutes = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || minutes < 0 || minutes > kMaxReserve) {
        return UsageError("--reserve takes whole minutes from 0 to " + std::to_string(kMaxReserve));
      }
      reserve = static_cast<int32_t>(minutes);
      continue;
    }
    if (arg == "--page") {
      if (!ParsePaperSize(argv[++i], request.paper)) {
        return UsageError("--page takes letter, a4 or legal");
      }
      continue;
    }
    if (arg == "--date") {
      if (!ParseCivilDate(argv[++i], date)) return UsageError("--date takes a day as YYYY-MM-DD");
      continue;
    }
    if (arg == "--save") {
      save_path = argv[++i];
      if (save_path.empty()) return UsageError("--save needs a file name");
      continue;
    }
    if (arg == "--blank") {
      request.blank = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") return Emit(kUsage);
    if (arg == "--version") return Emit("halvix-navlog 1.3\n");
    if (arg == "--csv") {
      csv = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option " + arg);
    } else if (plan_path.empty()) {
      plan_path = arg;
    } else {
      return UsageError("only one plan file, please");
    }
  }
  const bool printed = !pdf_path.empty() || !png_prefix.empty();
  if (request.blank && !printed) return UsageError("--blank needs --pdf or --png");
  if (csv && printed) return UsageError("--csv writes text; it does not go with --pdf or --png");
  if (request.blank && plan_path.empty()) {
    // The blank form on its own takes the margins a plan file without them has.
    Plan plan;
    LoadPlan(plan, "");
    return WriteOutputs(plan, request, pdf_path, png_prefix);
  }
  if (plan_path.empty()) return UsageError("no plan file given");

  Plan plan;
  if (!ReadPlanOrRoute(plan_path, date, plan)) return 1;
  if (!save_path.empty() && !SaveCopy(plan, save_path)) return 1;
  if (request.blank) return WriteOutputs(plan, request, pdf_path, png_prefix);
  if (plan.route.size() < 2) {
    std::cerr << "halvix-navlog: " << kTooFewCheckpoints << "\n";
    return 1;
  }
  MissingItem missing = FindMissingItem(plan);
  if (missing != MissingItem::None) {
    // As "Proceed without computing Wind effects" would: legs that cannot be
    // solved print without headings, time and fuel.
    std::cerr << "halvix-navlog: warning: Missing Information: " << MissingItemName(missing)
              << "\n";
  }
  if (reserve >= 0) plan.reserve = reserve;
  ComputeLegs(plan);
  // Warnings only: the log is still worth having, and scripts read the exit code.
  for (int32_t k = 0; k < plan.legcount; ++k) {
    const LegResult& leg = plan.legs[static_cast<std::size_t>(k)];
    const std::string warning = FuelWarning(plan, leg);
    if (!warning.empty()) {
      std::cerr << "halvix-navlog: warning: leg " << k + 1 << " (" << leg.toname << "): " << warning
                << "\n";
    }
  }
  if (printed) return WriteOutputs(plan, request, pdf_path, png_prefix);
  return Emit(csv ? FormatLogCsv(plan) : FormatLogTable(plan));
}
