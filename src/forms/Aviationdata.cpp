#include "forms/Aviationdata.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>

#include "data/aviation_fill.h"
#include "forms/Desktop.h"
#include "forms/Fpick.h"
#include "geo/geodesy.h"
#include "geo/position_text.h"
#include "plan/route_row.h"

namespace {

const char* const kFolderKey = "aviation/folder";
// A name search stops here: a longer list is no help to pick from.
constexpr std::size_t kMostNames = 200;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QSettings Settings() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("halvix"),
                   QStringLiteral("halvix"));
}

// The desktop's one planning session; the folder setting is read anew at
// every use, so another program instance's choice is seen.
PlanningSession& Session() {
  static PlanningSession session;
  return session;
}

QString Summary(const DataSetInfo& info) {
  QString text = QStringLiteral("%1 data in %2: %3 airports, %4 navaids and fixes")
                     .arg(Q(info.format), Q(info.folder))
                     .arg(info.airports)
                     .arg(info.navaids);
  if (!info.cycle.empty()) text += QStringLiteral(", %1").arg(Q(info.cycle));
  if (info.date) text += QStringLiteral(" (%1)").arg(Q(FormatCivilDate(*info.date)));
  text += QStringLiteral(".");
  for (const std::string& warning : info.warnings) text += QStringLiteral("\n") + Q(warning);
  return text;
}

// Opens `folder` into the session, showing progress while a new index is
// built; the pilot may cancel the build. Null after telling why. What the
// opening met (an index damaged or kept in memory) is told unless the caller
// tells it itself.
const AviationData* Open(QWidget* parent, const QString& folder, bool tell_notices = true) {
  QProgressDialog progress(QStringLiteral("Indexing the aviation data in %1 ...").arg(folder),
                           QStringLiteral("Cancel"), 0, 1000, parent);
  progress.setWindowTitle(QStringLiteral("Aviation Data"));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(300);
  std::atomic<bool> cancel{false};
  QElapsedTimer since_update;
  since_update.start();
  IndexWatch watch;
  watch.cancel = &cancel;
  watch.progress = [&](double fraction) {
    if (since_update.elapsed() < 50 && fraction < 1.0) return;
    since_update.restart();
    progress.setValue(static_cast<int>(fraction * 1000));
    QApplication::processEvents();
    if (progress.wasCanceled()) cancel = true;
  };
  std::string error;
  const AviationData* data = Session().OpenFolder(folder.toStdString(), error, watch);
  progress.close();
  if (!data) {
    if (cancel) return nullptr;  // the pilot's own choice needs no message
    desktop().MessageBox(parent,
                         QStringLiteral("Unable to use the aviation data.\n%1").arg(Q(error)),
                         QStringLiteral("Error"), MessageButtons::Ok);
    return nullptr;
  }
  if (tell_notices && !data->notices().empty()) {
    QStringList notices;
    for (const std::string& notice : data->notices()) notices << Q(notice);
    desktop().MessageBox(parent, notices.join('\n'), QStringLiteral("Warning"), MessageButtons::Ok);
  }
  if (data->IsOutdated(Today())) {
    const DataSetInfo& info = data->info();
    desktop().MessageBox(parent,
                         QStringLiteral("The aviation data in %1 dates from %2 (%3), more than a "
                                        "year ago: useful, but out of date for real navigation.")
                             .arg(folder, Q(FormatCivilDate(*info.date)), Q(info.cycle)),
                         QStringLiteral("Warning"), MessageButtons::Ok);
  }
  return data;
}

// Each note on a line of its own after the message.
QString Notes(const std::vector<std::string>& notes) {
  QStringList lines;
  for (const std::string& note : notes)
    if (!lines.contains(Q(note))) lines << Q(note);
  return lines.isEmpty() ? QString() : QStringLiteral("\n") + lines.join('\n');
}

// An index that failed in use and could not be built again: said, and the
// command ends as if the pilot had cancelled it.
void TellIndexFailure(QWidget* parent, const AviationDataError& e) {
  desktop().MessageBox(parent,
                       QStringLiteral("Unable to use the aviation data.\n%1").arg(Q(e.what())),
                       QStringLiteral("Error"), MessageButtons::Ok);
}

}  // namespace

QString AviationFolder() {
  return Q(ResolveDataFolder(Settings().value(kFolderKey).toString().toStdString()));
}

void SetAviationFolder(const QString& folder) {
  Settings().setValue(kFolderKey, folder);
  Session().ChooseFolder(folder.toStdString());
}

bool ChooseAviationFolder(QWidget* parent) {
  QString folder = AviationFolder();
  if (folder.isEmpty()) folder = QDir::homePath();
  if (!desktop().ChooseFolder(parent, folder)) return false;
  const AviationData* data = Open(parent, folder, false);
  if (!data) return false;
  SetAviationFolder(folder);
  desktop().MessageBox(parent, Summary(data->info()), QStringLiteral("Aviation Data"),
                       MessageButtons::Ok);
  return true;
}

PlanningSession& DesktopSession() {
  Session().ChooseFolder(Settings().value(kFolderKey).toString().toStdString());
  return Session();
}

const AviationData* UseAviationData(QWidget* parent) {
  PlanningSession& session = DesktopSession();
  if (const AviationData* open = session.OpenedData()) return open;
  const QString folder = Q(session.DataFolder());
  if (folder.isEmpty()) {
    desktop().MessageBox(parent,
                         QStringLiteral("No aviation data folder has been chosen. Choose one with "
                                        "File > Aviation Data Folder."),
                         QStringLiteral("Error"), MessageButtons::Ok);
    return nullptr;
  }
  return Open(parent, folder);
}

std::optional<Airport> LookUpAirport(QWidget* parent, const QString& text,
                                     const std::vector<GeoPosition>& route) {
  const QString query = text.trimmed();
  if (query.isEmpty()) {
    desktop().MessageBox(parent,
                         QStringLiteral("Type an ident, a code or a part of the name first."),
                         QStringLiteral("error"), MessageButtons::Ok);
    return std::nullopt;
  }
  const AviationData* data = UseAviationData(parent);
  if (!data) return std::nullopt;
  // "KSQL" or "KSQL San Carlos" (a name the Look Up filled in before).
  std::vector<Airport> found;
  try {
    found = data->FindAirports(query.section(' ', 0, 0).toStdString());
    if (found.empty()) found = data->FindAirportsByName(query.toStdString(), kMostNames);
  } catch (const AviationDataError& e) {
    TellIndexFailure(parent, e);
    return std::nullopt;
  }
  if (found.empty()) {
    desktop().MessageBox(parent, QStringLiteral("No airport matches \"%1\".").arg(query),
                         QStringLiteral("error"), MessageButtons::Ok);
    return std::nullopt;
  }
  int chosen = 0;
  if (found.size() > 1) {
    OrderForChoice(found, route);
    QStringList rows;
    for (const Airport& airport : found) {
      QString row = QStringLiteral("%1  (%2, %3)")
                        .arg(Q(AirportLabel(airport)))
                        .arg(airport.position.lat, 0, 'f', 3)
                        .arg(airport.position.lon, 0, 'f', 3);
      if (airport.kind != AirportKind::Airport)
        row += QStringLiteral("  %1").arg(AirportKindName(airport.kind));
      if (!route.empty())
        row += QStringLiteral("  %1 NM from the route")
                   .arg(std::lround(DistanceToRouteNm(airport.position, route)));
      rows << row;
    }
    chosen = PickPlace(parent, QStringLiteral("Choose an Airport"), rows);
    if (chosen < 0) return std::nullopt;
  }
  return std::move(found[static_cast<std::size_t>(chosen)]);
}

std::optional<Place> LookUpPlace(QWidget* parent, const QString& text,
                                 const std::optional<GeoPosition>& near,
                                 const std::vector<GeoPosition>& route) {
  const std::string token = text.trimmed().toStdString();
  GeoPosition position;
  std::string why;
  switch (ParsePositionText(token, position, why)) {
    case PositionText::Position: {
      Place place;
      place.kind = Place::Kind::Fix;
      place.ident = place.name = token;
      place.position = position;
      return place;
    }
    case PositionText::OutOfRange:
      desktop().MessageBox(parent,
                           QStringLiteral("\"%1\" is no position: %2.").arg(Q(token), Q(why)),
                           QStringLiteral("error"), MessageButtons::Ok);
      return std::nullopt;
    case PositionText::NotAPosition:
      break;
  }
  if (token.empty()) {
    desktop().MessageBox(parent, QStringLiteral("Type an ident or LAT,LON first."),
                         QStringLiteral("error"), MessageButtons::Ok);
    return std::nullopt;
  }
  const AviationData* data = UseAviationData(parent);
  if (!data) return std::nullopt;
  std::vector<Place> places;
  try {
    places = data->FindPlaces(token);
  } catch (const AviationDataError& e) {
    TellIndexFailure(parent, e);
    return std::nullopt;
  }
  if (places.empty()) {
    desktop().MessageBox(
        parent, QStringLiteral("No airport, navaid or fix is called \"%1\".").arg(Q(token)),
        QStringLiteral("error"), MessageButtons::Ok);
    return std::nullopt;
  }
  if (places.size() == 1) return std::move(places.front());
  if (near) {
    // The one nearest the checkpoint before, as a route of idents is placed.
    const auto distance = [&](const Place& p) {
      return BearingBetween(*near, p.position).distance_nm;
    };
    return *std::min_element(places.begin(), places.end(), [&](const Place& a, const Place& b) {
      return distance(a) < distance(b);
    });
  }
  // Nothing before this checkpoint tells which of several places is meant:
  // fields that are no airport last, the rest nearest the route first.
  const auto rank = [](const Place& p) {
    return p.airport ? static_cast<int>(p.airport->kind) : 0;
  };
  const auto away = [&](const Place& p) {
    return route.empty() ? 0.0 : DistanceToRouteNm(p.position, route);
  };
  std::stable_sort(places.begin(), places.end(), [&](const Place& a, const Place& b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    return away(a) < away(b);
  });
  QStringList rows;
  for (const Place& place : places) {
    QString row = Q(PlaceLabel(place));
    if (place.airport && place.airport->kind != AirportKind::Airport)
      row += QStringLiteral("  %1").arg(AirportKindName(place.airport->kind));
    rows << row;
  }
  const int chosen = PickPlace(parent, QStringLiteral("Choose a Place"), rows);
  if (chosen < 0) return std::nullopt;
  return std::move(places[static_cast<std::size_t>(chosen)]);
}

VariationSource DesktopVariation() {
  // Without a model the routes keep the variation typed; no message.
  std::string ignored;
  return {PlanningSession::Magnetic(ignored), DecimalYear(Today())};
}

LegTexts MeasureLegTexts(const GeoPosition& from, const GeoPosition& to) {
  const MeasuredLeg leg = MeasureRouteLeg(from, to, DesktopVariation());
  LegTexts texts;
  texts.distance = QString::number(leg.distance_nm);
  if (leg.true_course_deg) texts.course = QString::number(*leg.true_course_deg);
  if (leg.variation_deg) texts.variation = QString::number(*leg.variation_deg);
  return texts;
}

QString VorTextFor(QWidget* parent, const GeoPosition& position) {
  // Coordinates need no data: without a folder there is simply no cross-check.
  if (AviationFolder().isEmpty()) return QString();
  const AviationData* data = UseAviationData(parent);
  if (!data) return QString();
  try {
    return Q(VorCrossCheck(*data, position, DesktopVariation().model));
  } catch (const AviationDataError& e) {
    TellIndexFailure(parent, e);
    return QString();
  }
}

int FillVorCrossChecksCommand(QWidget* parent, Plan& plan) {
  const AviationData* data = UseAviationData(parent);
  if (!data) return 0;
  const MagneticModel* model = DesktopVariation().model;
  int filled = 0;
  int refreshed = 0;
  std::vector<std::string> notes;
  try {
    // Into a copy: an index failing half-way leaves the plan as it was.
    Plan filled_plan = plan;
    filled = FillVorCrossChecks(*data, filled_plan, model, &notes);
    // Texts the data filled before the checkpoint moved, or from other data.
    const std::vector<int> stale = StaleVorCrossChecks(*data, filled_plan, model);
    if (!stale.empty()) {
      QStringList names;
      for (int row : stale) names << Q(filled_plan.route[static_cast<std::size_t>(row)].caption);
      const QString question =
          QStringLiteral(
              "%1 %2 a VOR cross-check from the data that no longer matches where %3: %4.\n"
              "Fill %5 again?")
              .arg(stale.size())
              .arg(stale.size() == 1 ? QStringLiteral("checkpoint has")
                                     : QStringLiteral("checkpoints have"))
              .arg(stale.size() == 1 ? QStringLiteral("it lies") : QStringLiteral("they lie"))
              .arg(names.join(QStringLiteral(", ")))
              .arg(stale.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"));
      if (desktop().MessageBox(parent, question, QStringLiteral("VOR Cross-Checks"),
                               MessageButtons::YesNo) == mrYes) {
        for (int row : stale) {
          Checkpoint& checkpoint = filled_plan.route[static_cast<std::size_t>(row)];
          const std::string text = VorCrossCheck(*data, *checkpoint.position, model, &notes);
          checkpoint = RowBuilder(std::move(checkpoint)).vor(text).Build();
          ++refreshed;
        }
      }
    }
    plan = std::move(filled_plan);
  } catch (const AviationDataError& e) {
    TellIndexFailure(parent, e);
    return 0;
  }
  QString told;
  if (filled == 0 && refreshed == 0) {
    told = QStringLiteral(
        "No checkpoint was filled: only en-route checkpoints with a position (looked up or "
        "imported) and an empty VOR text get one, from a VOR within 40 NM.");
  } else {
    told = QStringLiteral("VOR cross-checks filled for %1 checkpoints.").arg(filled);
    if (refreshed > 0) told += QStringLiteral(" %1 filled again.").arg(refreshed);
    told += Notes(notes);
  }
  desktop().MessageBox(parent, told, QStringLiteral("VOR Cross-Checks"), MessageButtons::Ok);
  return filled + refreshed;
}
