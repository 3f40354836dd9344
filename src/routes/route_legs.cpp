#include "routes/route_legs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "geo/geodesy.h"
#include "plan/route_row.h"

namespace {

// A variation within a degree of the model's is the model's: a plan
// imported in another year rounds the same leg a degree apart.
constexpr int32_t kVariationSlack = 1;

std::optional<int32_t> Own(const Checkpoint& row, RowNumber number) {
  return ReadRow(row).*number;
}

void Write(Checkpoint& row, RowNumber number, std::optional<int32_t> value) {
  row = RowBuilder(std::move(row)).Set(number, value).Build();
}

bool NearVariation(std::optional<int32_t> a, std::optional<int32_t> b) {
  return a && b && std::abs(*a - *b) <= kVariationSlack;
}

bool ValidRow(const Plan& plan, int row) {
  return row >= 0 && row < static_cast<int>(plan.route.size());
}

}  // namespace

MeasuredLeg MeasureRouteLeg(const GeoPosition& from, const GeoPosition& to,
                            const VariationSource& source) {
  const LegMeasure leg = MeasureLeg(from, to);
  MeasuredLeg measured;
  measured.distance_nm = ClampCell(static_cast<int32_t>(std::lround(leg.distance_nm)));
  // Two checkpoints on the same spot have no course between them.
  if (leg.distance_nm > 1e-6) measured.true_course_deg = WholeDegrees(leg.course);
  if (source.model != nullptr) {
    const MagneticModel::Field field =
        source.model->FieldAt(leg.midpoint.lat, leg.midpoint.lon, 0.0, source.year);
    // Westerly variation counts positive: it is added to a true heading.
    measured.variation_deg = static_cast<int32_t>(-std::lround(field.declination));
    measured.unreliable = field.unreliable;
  }
  return measured;
}

std::optional<int32_t> CarriedVariation(const Plan& plan, int row) {
  // The departure's cells take no part in the legs.
  for (int r = std::min(row, static_cast<int>(plan.route.size()) - 1); r >= 1; --r) {
    if (const auto var = Own(plan.route[static_cast<std::size_t>(r)], &RowValues::variation_deg))
      return var;
  }
  return std::nullopt;
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
  const auto follow = [&](RowNumber number, std::optional<int32_t> measured,
                          std::optional<int32_t> measured_before) {
    const std::optional<int32_t> value = Own(to, number);
    if (!value || (old && value == measured_before)) Write(to, number, measured);
  };
  follow(&RowValues::distance_nm, leg.distance_nm,
         old ? std::optional<int32_t>(old->distance_nm) : std::nullopt);
  follow(&RowValues::true_course_deg, leg.true_course_deg,
         old ? old->true_course_deg : std::nullopt);

  if (source.model == nullptr) return;
  // The variation the leg flew with, its own or carried, was the model's
  // when it is within a degree of what the old ends give. An empty cell on
  // a leg that had no ends before carries nothing meant for this leg.
  const std::optional<int32_t> own = Own(to, &RowValues::variation_deg);
  const std::optional<int32_t> applied = CarriedVariation(plan, row);
  const bool measured_before = old && NearVariation(applied, old->variation_deg);
  if (own ? !measured_before : applied && old && !measured_before) return;
  // Written only where it changes, as an imported route has it.
  const std::optional<int32_t> above = CarriedVariation(plan, row - 1);
  Write(to, &RowValues::variation_deg,
        leg.variation_deg == above ? std::nullopt : leg.variation_deg);
}

void KeepCarriedVariation(Plan& plan, int row, std::optional<int32_t> carried) {
  if (row <= 0 || !ValidRow(plan, row)) return;
  Checkpoint& next = plan.route[static_cast<std::size_t>(row)];
  if (!Own(next, &RowValues::variation_deg) && CarriedVariation(plan, row) != carried)
    Write(next, &RowValues::variation_deg, carried);
}

bool RemoveCheckpoint(Plan& plan, int row, const VariationSource& source) {
  if (row <= 0 || !ValidRow(plan, row)) return false;
  const std::size_t at = static_cast<std::size_t>(row);
  // The leg that will end at `row` ran from the removed row before.
  const LegEnds before{plan.route[at].position,
                       at + 1 < plan.route.size() ? plan.route[at + 1].position : std::nullopt};
  const std::optional<int32_t> carried_next = CarriedVariation(plan, row + 1);
  const std::optional<int32_t> carried_after = CarriedVariation(plan, row + 2);
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
    const RowValues typed = ReadRow(plan.route[static_cast<std::size_t>(row)]);
    const MeasuredLeg measured = MeasureRouteLeg(*ends.from, *ends.to, source);
    PositionsGive& give = leg.positions_give;
    if (typed.distance_nm && typed.distance_nm != measured.distance_nm)
      give.dist = measured.distance_nm;
    if (typed.true_course_deg && measured.true_course_deg &&
        NormDegrees(*typed.true_course_deg) != *measured.true_course_deg)
      give.tc = *measured.true_course_deg;
    if (typed.variation_deg && measured.variation_deg &&
        !NearVariation(typed.variation_deg, measured.variation_deg))
      give.var = *measured.variation_deg;
  }
}
