// Plan rows filled from aviation data: airfields from airports, route rows
// from idents and coordinates, and VOR cross-checks from the nearest VOR.
#pragma once

#include <string>
#include <vector>

#include "data/aviation_data.h"
#include "geo/magnetic.h"
#include "plan/plan.h"

// A VOR farther than this is no help for a cross-check.
constexpr double kVorRangeNm = 40.0;
// A checkpoint this close to a VOR is the VOR itself.
constexpr double kAtVorNm = 1.0;

// MHz with every digit of the channel ("121.805", "113.9", "119.0"); NDBs
// (below 2 MHz) in kHz ("362").
std::string FormatFrequency(int64_t khz);

// Adds `airport` to the plan's airfields, filled from the data, unless one
// of its name is there already. False when it was.
bool AddAirfieldOf(Plan& plan, const Airport& airport, std::vector<std::string>& notes);

// "KSQL San Carlos Airport": the ICAO code, else the GPS code, else the ident.
std::string AirportLabel(const Airport& airport);

// Airports in the order a pilot picks from: airports before heliports,
// seaplane bases and closed fields, each kind nearest the route first (the
// data's order when the route has no position).
void OrderForChoice(std::vector<Airport>& airports, const std::vector<GeoPosition>& route);

// "heliport", "seaplane base", "closed"; empty for an airport.
const char* AirportKindName(AirportKind kind);

// An airfield row for `airport`. Frequencies outside the COM band and the
// pattern altitude (a default: no source has it) are told in `notes`.
AirfieldInfo AirfieldFromAirport(const Airport& airport, std::vector<std::string>& notes);

// The VOR text for a checkpoint at `position`: "FREQ/ RADIAL/ IDENT/ From"
// from the nearest VOR within kVorRangeNm, the radial aligned to the VOR's
// own slaved variation; "FREQ/ / IDENT/ " at the VOR itself. A VOR whose
// record has no slaved variation takes the station's magnetic variation of
// the same record, else `model`'s at the station for the data's date, and
// says so in `notes`. Empty when no VOR with a variation is in range.
std::string VorCrossCheck(const AviationData& data, const GeoPosition& position,
                          const MagneticModel* model = nullptr,
                          std::vector<std::string>* notes = nullptr);

// Fills the VOR text of every en-route row that has a position and no VOR
// text yet; a typed text is kept. How many rows were filled.
int FillVorCrossChecks(const AviationData& data, Plan& plan, const MagneticModel* model = nullptr,
                       std::vector<std::string>* notes = nullptr);

// Whether `text` is the VOR text the data fills for a checkpoint at `at`;
// a text the pilot typed, a "To" among them, is not.
bool IsFilledVorText(const AviationData& data, const std::string& text, const GeoPosition& at,
                     const MagneticModel* model = nullptr);

// Route row `row` moved from `was`: its VOR text, when the data filled it
// there, is filled again for where the row lies now (empty when no VOR is in
// range); a text the pilot typed stays. True when the text changed.
bool FollowVorCrossCheck(const AviationData& data, Plan& plan, int row,
                         const std::optional<GeoPosition>& was,
                         const MagneticModel* model = nullptr);

// The en-route rows whose VOR text looks filled by the data (a VOR of the
// data in range, "From" or no To/From) but is not what the fill gives for
// where the row lies now: filled before a move, or from other data.
std::vector<int> StaleVorCrossChecks(const AviationData& data, const Plan& plan,
                                     const MagneticModel* model = nullptr);

// Fills every airfield that has a name and nothing else but perhaps an
// elevation (as route import leaves them) from the airport its name's first word names by ident or
// code, the one nearest the route row of that name when several do. How many.
int FillNamedAirfields(const AviationData& data, Plan& plan, std::vector<std::string>& notes);

// "37.25,-121.95": decimal degrees, north and east positive.
bool ParseCoordinates(const std::string& token, GeoPosition& position);

// Replaces the plan's title, rows and airfields with a route given as idents
// and coordinates, as a route file's waypoints would be: an ident naming
// several places takes the one nearest the previous checkpoint; every airport
// of the route becomes an airfield. False with the plan untouched and the
// reason (naming an ident found nowhere).
bool BuildPlanFromIdents(const AviationData& data, const std::vector<std::string>& tokens,
                         const MagneticModel& model, double year, Plan& plan,
                         std::vector<std::string>& notes, std::string& error);

// "OSI VORTAC Woodside (37.393, -122.281)": a place among others of its ident.
std::string PlaceLabel(const Place& place);

// Splits a route text at blanks into its tokens.
std::vector<std::string> RouteTokens(const std::string& text);

// The distance and true course from the destination to the plan's alternate,
// when the alternate is named and they were not typed: the alternate by ident
// near the destination, else by name. False with a warning naming the key and
// value when the alternate or the destination is found nowhere.
bool ResolveAlternate(const AviationData& data, Plan& plan, std::string& warning);
