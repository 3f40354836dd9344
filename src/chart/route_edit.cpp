#include "chart/route_edit.h"

#include <cmath>
#include <cstdio>

#include "data/aviation_fill.h"

namespace {

void SetCell(Checkpoint& row, int cell, int32_t value) {
  if (row.subitems.size() < static_cast<std::size_t>(kRouteCells)) row.subitems.resize(kRouteCells);
  row.subitems[static_cast<std::size_t>(cell)] =
      value == NOT_ENTERED ? std::string() : std::to_string(value);
}

bool HasText(const std::string& cell) {
  return cell.find_first_not_of(" \t") != std::string::npos;
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
  AddAirfieldOf(plan, *point.airport, notes);
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
  // The row now at `row` ran from the row above it before the new one came between.
  const LegEnds before = EndsOfLeg(plan, row);
  const std::optional<int32_t> carried = row < size ? CarriedVariation(plan, row) : std::nullopt;
  const std::optional<int32_t> carried_after = CarriedVariation(plan, row + 1);
  plan.route.insert(plan.route.begin() + row, RowFor(point));
  FollowPositions(plan, row, {}, var);
  if (row < size) {
    KeepCarriedVariation(plan, row + 1, carried);
    FollowPositions(plan, row + 1, before, var);
    KeepCarriedVariation(plan, row + 2, carried_after);
  }
  AddAirfield(plan, point);
  return true;
}

bool AppendRoutePoint(Plan& plan, const RoutePoint& point, const VariationSource& var) {
  return InsertRoutePoint(plan, static_cast<int>(plan.route.size()), point, var);
}

bool MoveRoutePoint(Plan& plan, int row, const RoutePoint& point, const VariationSource& var) {
  const int size = static_cast<int>(plan.route.size());
  if (row < 0 || row >= size) return false;
  const Plan before = plan;
  Checkpoint& moved = plan.route[static_cast<std::size_t>(row)];
  moved.caption = CutUtf8(point.name, kShortTextMax);
  moved.position = point.position;
  FollowMovedCheckpoint(plan, before, row, var);
  AddAirfield(plan, point);
  return true;
}

bool RemoveRoutePoint(Plan& plan, int row, const VariationSource& var) {
  const int size = static_cast<int>(plan.route.size());
  if (row < 0 || row >= size) return false;
  if (row > 0) return RemoveCheckpoint(plan, row, var);
  const int32_t after = CarriedVariation(plan, 1).value_or(NOT_ENTERED);
  plan.route.erase(plan.route.begin());
  if (!plan.route.empty()) {
    // The new departure has no leg to it.
    Checkpoint& first = plan.route.front();
    for (int cell : {kCellDist, kCellCourse}) SetCell(first, cell, NOT_ENTERED);
    if (!HasText(first.SubItem(kCellMagVar))) SetCell(first, kCellMagVar, after);
  }
  return true;
}
