#include "plan/check.h"

const char* const kTooFewCheckpoints =
    "You must have at least two checkpoints before computing the route";

MissingItem FindMissingItem(const Plan& plan) {
  if (plan.route.size() < 2) return MissingItem::None;
  // Only the first en-route row's own cells count: a value carried from the
  // departure row (possible only through a plan file) does not.
  LegResult own;
  LegResult carry;
  ClearLeg(own);
  ClearLeg(carry);
  ParseRow(plan.route[1], own, carry);
  if (own.tc == NOT_ENTERED) return MissingItem::TrueCourse;
  if (own.winddir == NOT_ENTERED) return MissingItem::WindDirection;
  if (own.windvel == NOT_ENTERED) return MissingItem::WindSpeed;
  if (own.var == NOT_ENTERED) return MissingItem::MagneticVariation;
  return MissingItem::None;
}

const char* MissingItemName(MissingItem item) {
  switch (item) {
    case MissingItem::TrueCourse:
      return "True Course";
    case MissingItem::WindDirection:
      return "Predicted Wind Direction";
    case MissingItem::WindSpeed:
      return "Predicted Wind Speed";
    case MissingItem::MagneticVariation:
      return "Magnetic Variation";
    case MissingItem::None:
      break;
  }
  return "";
}
