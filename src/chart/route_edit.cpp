#include "chart/route_edit.h"

#include <cmath>
#include <cstdio>

#include "data/aviation_fill.h"
#include "geo/geodesy.h"
#include "plan/route_row.h"

namespace {

void Set(Checkpoint& row, RowNumber number, std::optional<int32_t> value) {
  row = RowBuilder(std::move(row)).Set(number, value).Build();
}

bool HasOwnVariation(const Checkpoint& row) {
  return ReadRow(row).variation_deg.has_value();
}

// The variation the log applies on row `row`: its own, else the last one above
// it; none on the departure, whose cells take no part in the legs.
std::optional<int32_t> CarriedVariation(const Plan& plan, int row) {
  if (row < 0 || row >= static_cast<int>(plan.route.size())) return std::nullopt;
  return ReadRoute(plan).carried[static_cast<std::size_t>(row)].variation_deg;
}

// The leg ending at `row` measured again from the positions at both ends.
void Remeasure(Plan& plan, int row, const VariationSource& source) {
  if (row <= 0 || row >= static_cast<int>(plan.route.size())) return;
  Checkpoint& to = plan.route[static_cast<std::size_t>(row)];
  const Checkpoint& from = plan.route[static_cast<std::size_t>(row - 1)];
  if (!to.position || !from.position) return;
  const LegMeasure leg = MeasureLeg(*from.position, *to.position);
  Set(to, &RowValues::distance_nm, static_cast<int32_t>(std::lround(leg.distance_nm)));
  // Two checkpoints on the same spot have no course between them.
  Set(to, &RowValues::true_course_deg,
      leg.distance_nm > 1e-6 ? std::optional<int32_t>(WholeDegrees(leg.course)) : std::nullopt);
  if (source.model == nullptr) return;
  // Westerly variation counts positive: it is added to a true heading.
  const int32_t var = static_cast<int32_t>(-std::lround(
      source.model->Declination(leg.midpoint.lat, leg.midpoint.lon, 0.0, source.year)));
  // Written only where it changes, as an imported route has it.
  Set(to, &RowValues::variation_deg,
      var == CarriedVariation(plan, row - 1) ? std::nullopt : std::optional<int32_t>(var));
}

// Remeasures the legs ending at rows first..last, keeping the variation the
// rows after them carried before the change.
void RemeasureRange(Plan& plan, int first, int last, const VariationSource& source,
                    std::optional<int32_t> carried_after) {
  for (int r = first; r <= last; ++r) Remeasure(plan, r, source);
  const int next = last + 1;
  if (next < static_cast<int>(plan.route.size())) {
    Checkpoint& row = plan.route[static_cast<std::size_t>(next)];
    if (!HasOwnVariation(row) && CarriedVariation(plan, last) != carried_after)
      Set(row, &RowValues::variation_deg, carried_after);
  }
}

Checkpoint RowFor(const RoutePoint& point) {
  return RowBuilder(CutUtf8(point.name, kShortTextMax)).position(point.position).Build();
}

void AddAirfield(Plan& plan, const RoutePoint& point) {
  if (!point.airport) return;
  std::vector<std::string> notes;
  AirfieldInfo field = AirfieldFromAirport(*point.airport, notes);
  for (const AirfieldInfo& known : plan.airfields)
    if (known.name == field.name) return;
  plan.airfields.push_back(std::move(field));
}

}  // namespace

std::string CoordinateName(const GeoPosition& position) {
  // Whole numbers only: the desktop's locale must not turn the point into a comma.
  auto part = [](double degrees) {
    const long long tenths = std::llround(std::fabs(degrees) * 10000.0);
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%04lld", degrees < 0 && tenths != 0 ? "-" : "",
                  tenths / 10000, tenths % 10000);
    return std::string(text);
  };
  return part(position.lat) + "," + part(position.lon);
}

bool InsertRoutePoint(Plan& plan, int row, const RoutePoint& point, const VariationSource& var) {
  const int size = static_cast<int>(plan.route.size());
  if (row < 0 || row > size || size >= kMaxRoute) return false;
  // What the row now at `row` carries, before the new one comes above it.
  const std::optional<int32_t> carried = CarriedVariation(plan, row);
  plan.route.insert(plan.route.begin() + row, RowFor(point));
  if (row < size) {
    // The old row's own variation cell, if empty, keeps its old value below.
    Checkpoint& old = plan.route[static_cast<std::size_t>(row + 1)];
    if (!HasOwnVariation(old)) Set(old, &RowValues::variation_deg, carried);
  }
  RemeasureRange(plan, row, std::min(row + 1, size), var, CarriedVariation(plan, row + 1));
  AddAirfield(plan, point);
  return true;
}

bool AppendRoutePoint(Plan& plan, const RoutePoint& point, const VariationSource& var) {
  return InsertRoutePoint(plan, static_cast<int>(plan.route.size()), point, var);
}

bool MoveRoutePoint(Plan& plan, int row, const RoutePoint& point, const VariationSource& var) {
  const int size = static_cast<int>(plan.route.size());
  if (row < 0 || row >= size) return false;
  const std::optional<int32_t> after = CarriedVariation(plan, row + 1);
  Checkpoint& moved = plan.route[static_cast<std::size_t>(row)];
  moved.caption = CutUtf8(point.name, kShortTextMax);
  moved.position = point.position;
  RemeasureRange(plan, row, std::min(row + 1, size - 1), var, after);
  AddAirfield(plan, point);
  return true;
}

bool RemoveRoutePoint(Plan& plan, int row, const VariationSource& var) {
  const int size = static_cast<int>(plan.route.size());
  if (row < 0 || row >= size) return false;
  const std::optional<int32_t> after = CarriedVariation(plan, row + 1);
  if (row == 0) {
    // The new departure has no leg to it, and carries nothing: the first leg
    // keeps the variation it flew with on its own row.
    const std::optional<int32_t> first_leg = CarriedVariation(plan, 2);
    plan.route.erase(plan.route.begin());
    if (plan.route.empty()) return true;
    plan.route.front() = RowBuilder(std::move(plan.route.front()))
                             .distance_nm(std::nullopt)
                             .true_course_deg(std::nullopt)
                             .Build();
    if (plan.route.size() > 1 && !HasOwnVariation(plan.route[1]))
      Set(plan.route[1], &RowValues::variation_deg, first_leg);
    return true;
  }
  plan.route.erase(plan.route.begin() + row);
  if (row < static_cast<int>(plan.route.size())) {
    Checkpoint& next = plan.route[static_cast<std::size_t>(row)];
    if (!HasOwnVariation(next)) Set(next, &RowValues::variation_deg, after);
    RemeasureRange(plan, row, row, var, CarriedVariation(plan, row + 1));
  }
  return true;
}
