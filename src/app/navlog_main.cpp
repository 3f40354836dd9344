// halvix-navlog: the computed navigation log of a plan file, outside the window.
#include <unistd.h>

#include <QGuiApplication>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/navlog_args.h"
#include "app/navlog_data.h"
#include "app/navlog_winds.h"
#include "chart/chart_export.h"
#include "data/aviation_data.h"
#include "data/export_places.h"
#include "geo/daylight.h"
#include "plan/check.h"
#include "plan/fileio.h"
#include "plan/fuel.h"
#include "plan/fuel_plan.h"
#include "plan/legs.h"
#include "plan/planfile.h"
#include "plan/report.h"
#include "print/export.h"
#include "print/margins.h"
#include "routes/route_export.h"
#include "routes/route_import.h"
#include "routes/route_legs.h"
#include "session/planning_session.h"

namespace {

// A leg between two checkpoints with positions whose typed distance, course
// or variation is not what the positions give: the pilot's value is used,
// and said, so that a leg left behind by an edit is not flown unnoticed.
void WarnOfTypedOverPositions(const Plan& plan, const CivilDate& date, const NavLog& log) {
  const auto placed = [](const Checkpoint& row) { return row.position.has_value(); };
  if (std::count_if(plan.route.begin(), plan.route.end(), placed) < 2) return;
  std::string error;
  NavLog marked = log;
  MarkTypedOverPositions(plan, {PlanningSession::Magnetic(error), DecimalYear(date)}, marked);
  for (std::size_t k = 0; k < marked.legs.size(); ++k) {
    for (RowNumber number :
         {&RowValues::distance_nm, &RowValues::true_course_deg, &RowValues::variation_deg}) {
      const std::string text = TypedOverText(marked.legs[k].positions_give, number);
      if (!text.empty())
        std::cerr << "halvix-navlog: warning: leg " << k + 1 << " (" << marked.legs[k].toname
                  << "): " << text << "\n";
    }
  }
}

int UsageError(const std::string& message) {
  std::cerr << "halvix-navlog: " << message << "\n" << NavlogUsage();
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
  // Values of the performance and loading the file holds that were refused.
  for (const Finding& finding : loaded.report.findings()) {
    if (finding.severity == Finding::Severity::Warning && finding.text != dropped)
      std::cerr << "halvix-navlog: warning: " << finding.Describe() << "\n";
  }
}

// A plan file (- for standard input), or a route file imported as the
// window's Import Route does, its airfields filled from the data when
// `fill` asks for the data.
bool ReadPlanOrRoute(const std::string& path, const CivilDate& date, PlanningSession& session,
                     bool fill, Plan& plan) {
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
  DataProvider provide;
  if (fill) {
    // Data that cannot be opened is reported when the rest of the data's work is done.
    provide = [&]() {
      std::string ignored;
      return NavlogData(session, date, ignored);
    };
  }
  const RouteImport imported = ImportRouteAndFill(path, &bytes, date, provide, plan);
  if (!imported.ok) {
    Failure(path + ": " + imported.error);
    return false;
  }
  for (const std::string& warning : imported.warnings)
    std::cerr << "halvix-navlog: warning: " << warning << "\n";
  for (const std::string& note : imported.notes)
    std::cerr << "halvix-navlog: warning: " << note << "\n";
  return true;
}

bool SaveCopy(Plan& plan, const std::string& path) {
  SaveResult saved = SavePlan(plan, path);
  if (saved.status == SaveStatus::Saved) return true;
  Failure(path + ": " + (saved.status == SaveStatus::NothingToSave ? kNoDataMessage : saved.error));
  return false;
}

// The chart's aviation layers come from the data folder when there is one;
// without it the chart still shows the route on the base map.
int WriteCharts(const Plan& plan, const NavlogRequest& navlog, PlanningSession* session) {
  const std::string refusal = ChartRefusal(plan);
  if (!refusal.empty()) return Failure(refusal);
  const AviationData* layers = nullptr;
  if (session != nullptr && !session->DataFolder().empty()) {
    std::string error;
    layers = NavlogData(*session, navlog.date, error);
    if (layers == nullptr)
      std::cerr << "halvix-navlog: warning: the chart has no aviation layers: " << error << "\n";
  }
  if (!navlog.chart_path.empty()) {
    ChartRequest request;
    request.width = navlog.chart_width;
    request.height = navlog.chart_height;
    request.scale = navlog.chart_scale;
    const ChartFileResult result = ExportChartGeoTiff(plan, layers, request, navlog.chart_path);
    if (!result.ok) return Failure(result.error);
  }
  if (!navlog.chart_pdf_path.empty()) {
    const ChartFileResult result =
        ExportChartPdf(plan, layers, navlog.print.paper, navlog.chart_scale, navlog.chart_pdf_path);
    if (!result.ok) return Failure(result.error);
  }
  return 0;
}

// Writes the requested files; the exit status.
int WriteOutputs(const Plan& plan, const NavLog& log, const NavlogRequest& navlog,
                 PlanningSession* session = nullptr) {
  const ExportRequest& request = navlog.print;
  const std::string& pdf = navlog.pdf_path;
  const std::string& png = navlog.png_prefix;
  // The kneeboard keeps its own room whatever the margins.
  const MarginCheck margins = CheckMargins(plan.print, SheetOf(request.paper));
  if (navlog.Printed() && !IsKneeboard(request.paper) && !margins.refusal.empty())
    return Failure(margins.refusal);
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
    ExportResult result = RenderPdf(plan, log, request, bytes);
    if (!result.ok) return Failure(result.error);
    if (Emit(bytes) != 0) return 1;
  } else if (!pdf.empty()) {
    ExportResult result = ExportPdf(plan, log, request, pdf);
    if (!result.ok) return Failure(pdf + ": " + result.error);
  }
  if (!png.empty()) {
    ExportResult result = ExportPng(plan, log, request, png);
    if (!result.ok) return Failure(result.error);
  }
  if (navlog.Charted()) return WriteCharts(plan, navlog, session);
  return 0;
}

// The aviation data when there is a folder of it; none is no error here.
const AviationData* OptionalData(PlanningSession& session, const NavlogRequest& request) {
  if (session.DataFolder().empty()) return nullptr;
  std::string error;
  const AviationData* data = NavlogData(session, request.date, error);
  if (!data) std::cerr << "halvix-navlog: warning: " << error << "\n";
  return data;
}

// The route to a GPS: every checkpoint or none, so that a flight plan
// never silently skips a turn point.
int ExportRoutes(const Plan& plan, const NavlogRequest& request, PlanningSession& session) {
  std::vector<std::string> unpositioned;
  ExportRoute route = RouteForExport(plan, unpositioned);
  if (!unpositioned.empty()) {
    std::string names;
    for (const std::string& name : unpositioned) names += (names.empty() ? "" : ", ") + name;
    return Failure("no position for " + names +
                   "; only checkpoints from a route file or --route can be exported");
  }
  if (route.points.size() < 2) return Failure("a route needs at least two checkpoints");
  // The types avionics want come from the aviation data when there is some;
  // without it every point goes as a user waypoint, which flies the same.
  if (const AviationData* data = OptionalData(session, request)) ClassifyExportPoints(*data, route);
  for (const auto& [path, format] :
       {std::make_pair(request.export_gpx, ExportFormat::Gpx),
        std::make_pair(request.export_fpl, ExportFormat::FlightPlan)}) {
    if (path.empty()) continue;
    std::string error;
    if (!ExportRouteFile(route, format, path, error)) return Failure(path + ": " + error);
  }
  return 0;
}

// The day of the flight: --date, else the plan's departure, else today.
CivilDate FlightDate(const Plan& plan, const NavlogRequest& request) {
  if (request.date_given) return request.date;
  if (const std::optional<Departure> saved = ParseDeparture(plan.departure)) return saved->date;
  return request.date;
}

// The departure when a time is known: --depart, else the plan's.
std::optional<Departure> FlightDeparture(const Plan& plan, const NavlogRequest& request) {
  const std::optional<Departure> saved = ParseDeparture(plan.departure);
  if (!request.depart && !saved) return std::nullopt;
  return Departure{FlightDate(plan, request), request.depart ? *request.depart : saved->minutes};
}

std::optional<GeoPosition> Destination(const Plan& plan, const AviationData* data) {
  for (auto row = plan.route.rbegin(); row != plan.route.rend(); ++row) {
    if (row->position) return row->position;
  }
  if (plan.airfields.empty()) return std::nullopt;
  return AirfieldPosition(data, plan, plan.airfields.back());
}

// Warns of a landing after sunset; a night landing takes the night reserve.
void WarnOfArrival(Plan& plan, const NavlogRequest& request, const AviationData* data) {
  const std::optional<Departure> departure = FlightDeparture(plan, request);
  if (!departure) return;
  // A reserve given on the command line is the pilot's word.
  const int32_t reserve = plan.reserve;
  const ArrivalCheck check = CheckArrival(plan, *departure, Destination(plan, data));
  if (check.night && request.reserve >= 0) plan.reserve = reserve;
  if (check.warning.empty()) return;
  std::cerr << "halvix-navlog: warning: " << plan.route.back().caption << " (ETA "
            << FormatUtcMinutes(*check.eta) << "): " << check.warning
            << (check.night ? "; reserve " + std::to_string(plan.reserve) + " minutes" : "")
            << "\n";
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

int DaylightCsv(Plan& plan, const NavlogRequest& request, PlanningSession& session) {
  const AviationData* data = OptionalData(session, request);
  const CivilDate date = FlightDate(plan, request);
  std::string csv = "ident,date,civil_dawn,sunrise,sunset,civil_dusk\n";
  std::string unplaced;
  for (const AirfieldInfo& field : plan.airfields) {
    const std::optional<GeoPosition> position = AirfieldPosition(data, plan, field);
    const std::size_t start = field.name.find_first_not_of(' ');
    const std::string ident = start == std::string::npos
                                  ? ""
                                  : field.name.substr(start, field.name.find(' ', start) - start);
    if (!position) {
      unplaced += (unplaced.empty() ? "" : ", ") + (field.name.empty() ? "(no name)" : field.name);
      continue;
    }
    csv += CsvField(ident) + "," + FormatCivilDate(date);
    for (const std::string& text : DaylightTexts(ComputeDaylight(*position, date)))
      csv += "," + text;
    csv += "\n";
  }
  if (csv.find('\n') == csv.size() - 1) {
    return Failure(plan.airfields.empty()
                       ? "the plan has no airfields"
                       : "no airfield has a position (" + unplaced +
                             "); import a route or give the aviation data with --data");
  }
  if (!unplaced.empty())
    std::cerr << "halvix-navlog: warning: no position for " << unplaced << "\n";
  if (plan.route.size() >= 2) WarnOfArrival(plan, request, data);
  return Emit(csv);
}

}  // namespace

namespace {

// The tool's work once the command line is read; the exit status.
int Run(const NavlogRequest& request) {
  Plan plan;
  PlanningSession session(request.data.folder);
  if (!request.plan_path.empty() &&
      !ReadPlanOrRoute(request.plan_path, request.date, session, request.data.wanted(), plan)) {
    return 1;
  }
  if (request.data.wanted() && !ApplyAviationData(session, request.data, request.date, plan))
    return 1;
  if (!request.winds_path.empty() &&
      !FillWindsFromForecast(request.winds_path, request.depart, session, request.date, plan))
    return 1;
  if (!request.save_path.empty() && !SaveCopy(plan, request.save_path)) return 1;
  if (request.Exports()) {
    if (const int status = ExportRoutes(plan, request, session)) return status;
    // The export is what was asked for unless a log was too.
    if (!request.csv && !request.Printed() && !request.Charted()) return 0;
  }
  if (request.daylight) return DaylightCsv(plan, request, session);
  if (request.print.blank) return WriteOutputs(plan, NavLog(), request);
  if (plan.route.size() < 2) {
    std::cerr << "halvix-navlog: " << kTooFewCheckpoints << "\n";
    return 1;
  }
  if (request.reserve >= 0) plan.reserve = request.reserve;
  if (FlightDeparture(plan, request)) WarnOfArrival(plan, request, OptionalData(session, request));
  const NavLog log = ComputeLog(plan);
  if (const MissingItem missing = log.missing; missing != MissingItem::None) {
    // As "Proceed without computing Wind effects" would: legs that cannot be
    // solved print without headings, time and fuel.
    std::cerr << "halvix-navlog: warning: Missing Information: " << MissingItemName(missing)
              << "\n";
  }
  // Warnings only: the log is still worth having, and scripts read the exit code.
  for (const std::string& warning : log.warnings)
    std::cerr << "halvix-navlog: warning: " << warning << "\n";
  for (int32_t k = 0; k < log.LegCount(); ++k) {
    const LogRow& leg = log.legs[static_cast<std::size_t>(k)];
    if (!leg.fuel_warning.empty()) {
      std::cerr << "halvix-navlog: warning: leg " << k + 1 << " (" << leg.toname
                << "): " << leg.fuel_warning << "\n";
    }
  }
  WarnOfTypedOverPositions(plan, request.date, log);
  if (request.fuel_plan || request.loading) {
    std::string text;
    if (request.fuel_plan) {
      for (const std::string& warning : log.fuel_plan.warnings)
        std::cerr << "halvix-navlog: warning: " << warning << "\n";
      text += FuelPlanCsv(log.fuel_plan);
    }
    if (request.loading) {
      // Without an empty weight there is nothing to weigh, and no envelope to
      // be inside of: saying "inside" would be a lie.
      if (!plan.loading.empty_lb || plan.loading.envelope.empty())
        return Failure(
            "the plan has no loading: give the empty weight, the stations and the envelope in "
            "its [loading] section (the desktop's Checkpoints > Aircraft Performance & Loading)");
      const WeightBalance wb = PlanWeightBalance(plan, log.fuel_plan);
      for (const std::string& warning : wb.warnings)
        std::cerr << "halvix-navlog: warning: " << warning << "\n";
      text += LoadingCsv(wb);
    }
    return Emit(text);
  }
  if (request.Printed() || request.Charted()) {
    const int status = WriteOutputs(plan, log, request, &session);
    // Asked for a chart alone, the log is still printed as text.
    if (status != 0 || request.Printed() || !request.Charted()) return status;
  }
  return Emit(request.csv ? FormatLogCsv(log) : FormatLogTable(plan, log));
}

}  // namespace

int main(int argc, char** argv) {
  const NavlogRequest request =
      ParseNavlogArguments(std::vector<std::string>(argv + 1, argv + argc), Today());
  switch (request.action) {
    case NavlogRequest::Help:
      return Emit(NavlogUsage());
    case NavlogRequest::Version:
      return Emit(NavlogVersion());
    case NavlogRequest::Error:
      return UsageError(request.error);
    case NavlogRequest::Run:
      break;
  }
  if (request.plan_path.empty() && request.data.route.empty()) {
    // The blank form on its own takes the margins a plan file without them has.
    Plan plan;
    LoadPlan(plan, "");
    return WriteOutputs(plan, NavLog(), request);
  }

  try {
    return Run(request);
  } catch (const AviationDataError& e) {
    return Failure(e.what());
  }
}
