#include "plan/check.h"

#include <string>
#include <utility>

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

std::vector<MissingItem> FindMissingItems(const Plan& plan) {
  if (plan.route.size() < 2) return {};
  LegResult own;
  LegResult carry;
  ClearLeg(own);
  ClearLeg(carry);
  ParseRow(plan.route[1], own, carry);
  const std::pair<int32_t, MissingItem> values[] = {{own.tc, MissingItem::TrueCourse},
                                                    {own.winddir, MissingItem::WindDirection},
                                                    {own.windvel, MissingItem::WindSpeed},
                                                    {own.var, MissingItem::MagneticVariation},
                                                    {own.tas, MissingItem::TrueAirspeed}};
  std::vector<MissingItem> missing;
  for (const auto& [value, item] : values) {
    if (value == NOT_ENTERED) missing.push_back(item);
  }
  return missing;
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
    case MissingItem::TrueAirspeed:
      return "True Airspeed";
    case MissingItem::None:
      break;
  }
  return "";
}

bool IsNotANumber(const std::string& text) {
  std::size_t at = text.find_first_not_of(" \t\r\n\v\f");
  if (text.empty()) return false;
  if (at == std::string::npos) return true;
  if (text[at] == '+' || text[at] == '-') ++at;
  const auto digit = [&text](std::size_t i) {
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
  };
  return !digit(at) && !(at < text.size() && text[at] == '.' && digit(at + 1));
}

NotANumber FindNotANumber(const Plan& plan) {
  for (std::size_t row = 0; row < plan.route.size(); ++row) {
    for (int cell = kCellDist; cell <= kCellMagVar; ++cell) {
      if (IsNotANumber(plan.route[row].SubItem(cell))) return {static_cast<int>(row), cell};
    }
  }
  return {};
}

std::string NotANumberText(const Plan& plan, const NotANumber& found) {
  static const char* const kNames[] = {"distance",       "true course", "altitude",
                                       "wind direction", "wind speed",  "temperature",
                                       "true airspeed",  "variation"};
  if (found.row < 0 || found.row >= static_cast<int>(plan.route.size()) || found.cell < 0 ||
      found.cell > kCellMagVar)
    return std::string();
  const Checkpoint& row = plan.route[static_cast<std::size_t>(found.row)];
  return "Checkpoint \"" + row.caption + "\": the " + kNames[found.cell] + " \"" +
         row.SubItem(found.cell) + "\" is not a number and counts as 0.";
}
