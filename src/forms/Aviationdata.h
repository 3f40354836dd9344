// The aviation data the desktop program looks airports, navaids and fixes up
// in: a folder chosen once and kept in the user's settings, opened (and
// indexed the first time, with progress shown) when a command first needs it.
#pragma once

#include <QString>
#include <optional>

#include "data/aviation_data.h"
#include "plan/plan.h"
#include "routes/route_legs.h"
#include "session/planning_session.h"

class QWidget;

// The settings entry, else $HALVIX_AVIATION_DATA, else the simulator's folder
// when it exists; else empty.
QString AviationFolder();
// Keeps `folder` in the settings; the data of another folder is closed.
void SetAviationFolder(const QString& folder);

// File > Aviation Data Folder: asks for the folder and opens it, telling what
// it holds. True when a folder was chosen and could be read.
bool ChooseAviationFolder(QWidget* parent);

// The open data; null after telling the user why there is none (or when the
// pilot cancelled its first index).
const AviationData* UseAviationData(QWidget* parent);

// The desktop's planning session, its folder the one of the settings.
PlanningSession& DesktopSession();

// An airport by ident or code, else by a part of its name; the user picks one
// when there are several. Empty (after saying so) when there is none.
// The choice lists airports before other fields, each nearest `route` first.
std::optional<Airport> LookUpAirport(QWidget* parent, const QString& text,
                                     const std::vector<GeoPosition>& route = {});

// A checkpoint by ident (the one nearest `near` when several places have it)
// or by "LAT,LON". Without `near` the pilot chooses, airports before other
// fields and each nearest `route` first. Empty (after saying so) when there
// is none.
std::optional<Place> LookUpPlace(QWidget* parent, const QString& text,
                                 const std::optional<GeoPosition>& near,
                                 const std::vector<GeoPosition>& route = {});

// The leg from `from` to `to` as route import measures it: distance, true
// course and today's variation at its midpoint (empty when the magnetic model
// is missing).
struct LegTexts {
  QString distance;
  QString course;
  QString variation;
};
LegTexts MeasureLegTexts(const GeoPosition& from, const GeoPosition& to);

// The shipped magnetic model today, for legs measured from positions; no
// model (the variation cells left alone) when it cannot be read.
VariationSource DesktopVariation();

// The VOR text for a checkpoint at `position` when a data folder is chosen
// and a VOR is in range; else empty.
QString VorTextFor(QWidget* parent, const GeoPosition& position);

// Checkpoints > Fill VOR Cross-Checks: fills every en-route row that has a
// position and no VOR text, and says how many. How many rows changed.
int FillVorCrossChecksCommand(QWidget* parent, Plan& plan);
