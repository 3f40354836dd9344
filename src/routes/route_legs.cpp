#include "routes/route_legs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "geo/geodesy.h"

namespace {

// A variation within a degree of the model's is the model's: a plan
// imported in another year rounds the same leg a degree apart.
constexpr int32_t kVariationSlack = 1;

bool HasText(const std::string& cell) {
  return cell.find_first_not_of(" \t") != std::string::npos;
}

int32_t CellValue(const Checkpoint& row, int cell) {
  const std::string& text = row.SubItem(cell);
  return HasText(text) ? ClampCell(ParseLong(text.c_str())) : NOT_ENTERED;
}

void SetCell(Checkpoint& row, int cell, int32_t value) {
  if (row.subitems.size() < static_cast<std::size_t>(kRouteCells)) row.subitems.resize(kRouteCells);
  row.subitems[static_cast<std::size_t>(cell)] =
      value == NOT_ENTERED ? std::string() : std::to_string(value);
}

bool NearVariation(int32_t a, int32_t b) {
  return a != NOT_ENTERED && b != NOT_ENTERED && std::abs(a - b) <= kVariationSlack;
}

bool ValidRow(const Plan& plan, int row) {
  return row >= 0 && row < static_cast<int>(plan.route.size());
}

}  // namespace

MeasuredLeg MeasureRouteLeg(const GeoPosition& from, const GeoPosition& to,
                            const VariationSource& source) {
  const LegMeasure leg = MeasureLeg(from, to);
  MeasuredLeg measured;
  measured.dist = ClampCell(static_cast<int32_t>(std::lround(leg.distance_nm)));
  // Two checkpoints on the same spot have no course between them.
  if (leg.distance_nm > 1e-6) measured.tc = WholeDegrees(leg.course);
  if (source.model != nullptr) {
    const MagneticModel::Field field =
        source.model->FieldAt(leg.midpoint.lat, leg.midpoint.lon, 0.0, source.year);
    // Westerly variation counts positive: it is added to a true heading.
    measured.var = static_cast<int32_t>(-std::lround(field.declination));
    measured.unreliable = field.unreliable;
  }
  return measured;
}

int32_t CarriedVariation(const Plan& plan, int row) {
  for (int r = std::min(row, static_cast<int>(plan.route.size()) - 1); r >= 0; --r) {
    const int32_t var = CellValue(plan.route[static_cast<std::size_t>(r)], kCellMagVar);
    if (var != NOT_ENTERED) return var;
  }
  return NOT_ENTERED;
}

LegEnds EndsOfLeg(const Plan& plan, int row) {
  if (row <= 0 || !ValidRow(plan, row)) return {};
  return {plan.route[static_cast<std::size_t>(row - 1)].position,
          plan.route[static_cast<std::size_t>(row)].position};
}

void FollowPositions(Plan& plan, int row, const LegEnds& before, const VariationSource& source) {
  if (row <= 0 || !ValidRow(plan, row)) return;
  const LegEnds now = EndsOfLeg(plan, row);
  if (!now.from || !now.to) return;
  const MeasuredLeg leg = MeasureRouteLeg(*now.from, *now.to, source);
  std::optional<MeasuredLeg> old;
  if (before.from && before.to) old = MeasureRouteLeg(*before.from, *before.to, source);

  Checkpoint& to = plan.route[static_cast<std::size_t>(row)];
  // A cell is the pilot's when it holds something the old ends did not give.
  const auto follows = [&](int cell, int32_t old_value) {
    const int32_t value = CellValue(to, cell);
    return value == NOT_ENTERED || (old && value == old_value);
  };
  if (follows(kCellDist, old ? old->dist : NOT_ENTERED)) SetCell(to, kCellDist, leg.dist);
  if (follows(kCellCourse, old ? old->tc : NOT_ENTERED)) SetCell(to, kCellCourse, leg.tc);

  if (source.model == nullptr) return;
  // The variation the leg flew with, its own or carried, was the model's
  // when it is within a degree of what the old ends give. An empty cell on
  // a leg that had no ends before carries nothing meant for this leg.
  const int32_t own = CellValue(to, kCellMagVar);
  const int32_t applied = CarriedVariation(plan, row);
  const bool measured_before = old && NearVariation(applied, old->var);
  if (own != NOT_ENTERED ? !measured_before : applied != NOT_ENTERED && old && !measured_before)
    return;
  const int32_t above = CarriedVariation(plan, row - 1);
  SetCell(to, kCellMagVar, leg.var == above ? NOT_ENTERED : leg.var);
}

void KeepCarriedVariation(Plan& plan, int row, int32_t carried) {
  if (row <= 0 || !ValidRow(plan, row)) return;
  Checkpoint& next = plan.route[static_cast<std::size_t>(row)];
  if (CellValue(next, kCellMagVar) == NOT_ENTERED && CarriedVariation(plan, row) != carried)
    SetCell(next, kCellMagVar, carried);
}

bool RemoveCheckpoint(Plan& plan, int row, const VariationSource& source) {
  if (row <= 0 || !ValidRow(plan, row)) return false;
  const std::size_t at = static_cast<std::size_t>(row);
  // The leg that will end at `row` ran from the removed row before.
  const LegEnds before{plan.route[at].position,
                       at + 1 < plan.route.size() ? plan.route[at + 1].position : std::nullopt};
  const int32_t carried_next = CarriedVariation(plan, row + 1);
  const int32_t carried_after = CarriedVariation(plan, row + 2);
  plan.route.erase(plan.route.begin() + row);
  // A leg without positions at both ends is the pilot's alone, as it was.
  const LegEnds now = EndsOfLeg(plan, row);
  if (!now.from || !now.to) return true;
  KeepCarriedVariation(plan, row, carried_next);
  FollowPositions(plan, row, before, source);
  KeepCarriedVariation(plan, row + 1, carried_after);
  return true;
}

void FollowMovedCheckpoint(Plan& plan, const Plan& before, int row, const VariationSource& source) {
  if (!ValidRow(plan, row) || !ValidRow(before, row)) return;
  const std::size_t at = static_cast<std::size_t>(row);
  const std::optional<GeoPosition>& was = before.route[at].position;
  if (row > 0) FollowPositions(plan, row, {plan.route[at - 1].position, was}, source);
  if (at + 1 < plan.route.size() && plan.route[at].position && plan.route[at + 1].position) {
    // The next leg starts from what it carried before, so that its own
    // variation is judged against the old ends, not the moved row's new one.
    KeepCarriedVariation(plan, row + 1, CarriedVariation(before, row + 1));
    FollowPositions(plan, row + 1, {was, plan.route[at + 1].position}, source);
    KeepCarriedVariation(plan, row + 2, CarriedVariation(before, row + 2));
  }
}

void MarkTypedOverPositions(const Plan& plan, const VariationSource& source, NavLog& log) {
  for (LogRow& leg : log.legs) {
    const int row = leg.route_row;
    if (row <= 0 || !ValidRow(plan, row)) continue;
    const LegEnds ends = EndsOfLeg(plan, row);
    if (!ends.from || !ends.to) continue;
    const Checkpoint& typed = plan.route[static_cast<std::size_t>(row)];
    const MeasuredLeg measured = MeasureRouteLeg(*ends.from, *ends.to, source);
    PositionsGive& give = leg.positions_give;
    const int32_t dist = CellValue(typed, kCellDist);
    if (dist != NOT_ENTERED && dist != measured.dist) give.dist = measured.dist;
    const int32_t tc = CellValue(typed, kCellCourse);
    if (tc != NOT_ENTERED && measured.tc != NOT_ENTERED && NormDegrees(tc) != measured.tc)
      give.tc = measured.tc;
    const int32_t var = CellValue(typed, kCellMagVar);
    if (var != NOT_ENTERED && measured.var != NOT_ENTERED && !NearVariation(var, measured.var))
      give.var = measured.var;
  }
}
