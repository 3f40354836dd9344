#include "chart/route_edit.h"

#include <cmath>
#include <cstdio>

#include "data/aviation_fill.h"
#include "plan/route_row.h"

namespace {

void Set(Checkpoint& row, RowNumber number, std::optional<int32_t> value) {
  row = RowBuilder(std::move(row)).Set(number, value).Build();
}

bool HasOwnVariation(const Checkpoint& row) {
  return ReadRow(row).variation_deg.has_value();
}

Checkpoint RowFor(const RoutePoint& point) {
  return RowBuilder(CutUtf8(point.name, kShortTextMax)).position(point.position).Build();
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
