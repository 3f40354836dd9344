#include "chart/route_edit.h"

#include <cmath>
#include <cstdio>

#include "data/aviation_fill.h"
#include "geo/geodesy.h"

namespace {

void SetCell(Checkpoint& row, int cell, int32_t value) {
  if (row.subitems.size() < static_cast<std::size_t>(kRouteCells)) row.subitems.resize(kRouteCells);
  row.subitems[static_cast<std::size_t>(cell)] =
      value == NOT_ENTERED ? std::string() : std::to_string(value);
}

bool HasText(const std::string& cell) {
  return cell.find_first_not_of(" \t") != std::string::npos;
}

// The variation the log applies on row `row`: its own, else the last one above it.
int32_t CarriedVariation(const Plan& plan, int row) {
  for (int r = row; r >= 0; --r) {
    const std::string& cell = plan.route[static_cast<std::size_t>(r)].SubItem(kCellMagVar);
    if (HasText(cell)) return ClampCell(ParseLong(cell.c_str()));
  }
  return NOT_ENTERED;
}

// The leg ending at `row` measured again from the positions at both ends.
void Remeasure(Plan& plan, int row, const VariationSource& source) {
  if (row <= 0 || row >= static_cast<int>(plan.route.size())) return;
  Checkpoint& to = plan.route[static_cast<std::size_t>(row)];
  const Checkpoint& from = plan.route[static_cast<std::size_t>(row - 1)];
  if (!to.position || !from.position) return;
  const LegMeasure leg = MeasureLeg(*from.position, *to.position);
  SetCell(to, kCellDist, static_cast<int32_t>(std::lround(leg.distance_nm)));
  // Two checkpoints on the same spot have no course between them.
  SetCell(to, kCellCourse, leg.distance_nm > 1e-6 ? WholeDegrees(leg.course) : NOT_ENTERED);
  if (source.model == nullptr) return;
  // Westerly variation counts positive: it is added to a true heading.
  const int32_t var = static_cast<int32_t>(-std::lround(
      source.model->Declination(leg.midpoint.lat, leg.midpoint.lon, 0.0, source.year)));
  // Written only where it changes, as an imported route has it.
  SetCell(to, kCellMagVar, var == CarriedVariation(plan, row - 1) ? NOT_ENTERED : var);
}

// Remeasures the legs ending at rows first..last, keeping the variation the
// rows after them carried before the change.
void RemeasureRange(Plan& plan, int first, int last, const VariationSource& source,
                    int32_t carried_after) {
  for (int r = first; r <= last; ++r) Remeasure(plan, r, source);
  const int next = last + 1;
  if (next < static_cast<int>(plan.route.size())) {
    Checkpoint& row = plan.route[static_cast<std::size_t>(next)];
    if (!HasText(row.SubItem(kCellMagVar)) && CarriedVariation(plan, last) != carried_after)
      SetCell(row, kCellMagVar, carried_after);
  }
}

Checkpoint RowFor(const RoutePoint& point) {
  Checkpoint row;
  row.caption = CutUtf8(point.name, kShortTextMax);
  row.subitems.assign(kRouteCells, std::string());
  row.position = point.position;
  return row;
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
  const int32_t carried = row < size ? CarriedVariation(plan, row) : NOT_ENTERED;
  plan.route.insert(plan.route.begin() + row, RowFor(point));
  if (row < size) {
    // The old row's own variation cell, if empty, keeps its old value below.
    Checkpoint& old = plan.route[static_cast<std::size_t>(row + 1)];
    if (!HasText(old.SubItem(kCellMagVar))) SetCell(old, kCellMagVar, carried);
  }
  RemeasureRange(plan, row, std::min(row + 1, size), var,
                 row + 1 < size ? CarriedVariation(plan, row + 1) : NOT_ENTERED);
  AddAirfield(plan, point);
  return true;
}

bool AppendRoutePoint(Plan& plan, const RoutePoint& point, const VariationSource& var) {
  return InsertRoutePoint(plan, static_cast<int>(plan.route.size()), point, var);
}

bool MoveRoutePoint(Plan& plan, int row, const RoutePoint& point, const VariationSource& var) {
  const int size = static_cast<int>(plan.route.size());
  if (row < 0 || row >= size) return false;
  const int32_t after = row + 1 < size ? CarriedVariation(plan, row + 1) : NOT_ENTERED;
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
  const int32_t after = row + 1 < size ? CarriedVariation(plan, row + 1) : NOT_ENTERED;
  plan.route.erase(plan.route.begin() + row);
  if (row == 0 && !plan.route.empty()) {
    // The new departure has no leg to it.
    Checkpoint& first = plan.route.front();
    for (int cell : {kCellDist, kCellCourse}) SetCell(first, cell, NOT_ENTERED);
    if (!HasText(first.SubItem(kCellMagVar))) SetCell(first, kCellMagVar, after);
    return true;
  }
  if (row < static_cast<int>(plan.route.size())) {
    Checkpoint& next = plan.route[static_cast<std::size_t>(row)];
    if (!HasText(next.SubItem(kCellMagVar))) SetCell(next, kCellMagVar, after);
    RemeasureRange(plan, row, row, var,
                   row + 1 < static_cast<int>(plan.route.size()) ? CarriedVariation(plan, row + 1)
                                                                 : NOT_ENTERED);
  }
  return true;
}
