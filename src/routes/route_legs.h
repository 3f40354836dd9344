// Legs measured from the positions of their checkpoints: distance, true
// course and variation, the one way route import, Look Up and the chart all
// write them. When a change of the route moves the ends of a leg, the leg
// follows the positions, except for a value the pilot typed over the
// measured one: that is the pilot's, kept, and marked in the log.
#pragma once

#include <cstdint>
#include <optional>

#include "geo/magnetic.h"
#include "plan/legs.h"
#include "plan/plan.h"

// Where the variation comes from: a model at a decimal year; without one the
// variation cells are left as they are.
struct VariationSource {
  const MagneticModel* model = nullptr;
  double year = 0.0;
};

// A leg as its positions give it, in the numbers the cells hold.
struct MeasuredLeg {
  int32_t distance_nm = 0;
  std::optional<int32_t> true_course_deg;  // none between two checkpoints on one spot
  std::optional<int32_t> variation_deg;    // westerly positive; none without a model
  bool unreliable = false;                 // near a magnetic pole
};

MeasuredLeg MeasureRouteLeg(const GeoPosition& from, const GeoPosition& to,
                            const VariationSource& source);

// The variation the log applies on row `row`: its own, else the last one
// above it (the departure's takes no part in the legs).
std::optional<int32_t> CarriedVariation(const Plan& plan, int row);

// Where a leg's ends lay before a change of the route.
struct LegEnds {
  std::optional<GeoPosition> from;
  std::optional<GeoPosition> to;
};

// The ends of the leg that ends at row `row` (none for the departure).
LegEnds EndsOfLeg(const Plan& plan, int row);

// The leg ending at `row`, when both its ends have a position, measured
// again: a distance, course or variation that is empty or what the ends
// `before` gave is replaced; one the pilot typed over those is kept. The
// variation is written only where it changes, as an imported route has it.
void FollowPositions(Plan& plan, int row, const LegEnds& before, const VariationSource& source);

// Row `row`, when its variation cell is empty, is given `carried` when what
// it carries now differs: rows after a changed leg keep the variation their
// own legs had.
void KeepCarriedVariation(Plan& plan, int row, std::optional<int32_t> carried);

// Removes route row `row` (not the departure); the leg that now ends there
// follows the positions. False, with the plan untouched, for no such row.
bool RemoveCheckpoint(Plan& plan, int row, const VariationSource& source);

// Row `row` moved from where it lay in `before`, the plan before the change
// (which may have changed the row's cells too): the legs to and from it
// follow the positions, and the rows after them keep their variation.
void FollowMovedCheckpoint(Plan& plan, const Plan& before, int row, const VariationSource& source);

// Fills each log row's `positions_give` where the leg it ends runs between
// two positions and the pilot typed a distance, course or variation that
// differs from what they give.
void MarkTypedOverPositions(const Plan& plan, const VariationSource& source, NavLog& log);
