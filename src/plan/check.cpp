#include "plan/check.h"

#include <string>
#include <utility>

#include "plan/route_row.h"

const char* const kTooFewCheckpoints =
    "You must have at least two checkpoints before computing the route";

MissingItem FindMissingItem(const Plan& plan) {
  if (plan.route.size() < 2) return MissingItem::None;
  // Only the first en-route row's own cells count: a value carried from the
  // departure row (possible only through a plan file) does not.
  const RowValues own = ReadRow(plan.route[1]);
  if (!own.true_course_deg) return MissingItem::TrueCourse;
  if (!own.wind_from_deg) return MissingItem::WindDirection;
  if (!own.wind_speed_kt) return MissingItem::WindSpeed;
  if (!own.variation_deg) return MissingItem::MagneticVariation;
  return MissingItem::None;
}

std::vector<MissingItem> FindMissingItems(const Plan& plan) {
  if (plan.route.size() < 2) return {};
  const RowValues own = ReadRow(plan.route[1]);
  const std::pair<RowNumber, MissingItem> values[] = {
      {&RowValues::true_course_deg, MissingItem::TrueCourse},
      {&RowValues::wind_from_deg, MissingItem::WindDirection},
      {&RowValues::wind_speed_kt, MissingItem::WindSpeed},
      {&RowValues::variation_deg, MissingItem::MagneticVariation},
      {&RowValues::true_airspeed_kt, MissingItem::TrueAirspeed}};
  std::vector<MissingItem> missing;
  for (const auto& [number, item] : values) {
    if (!(own.*number)) missing.push_back(item);
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
    for (std::size_t k = 0; k < kRowNumbers.size(); ++k) {
      if (IsNotANumber(TypedText(plan.route[row], kRowNumbers[k])))
        return {static_cast<int>(row), static_cast<int>(k)};
    }
  }
  return {};
}

std::string NotANumberText(const Plan& plan, const NotANumber& found) {
  static const char* const kNames[] = {"distance",       "true course", "altitude",
                                       "wind direction", "wind speed",  "temperature",
                                       "true airspeed",  "variation"};
  if (found.row < 0 || found.row >= static_cast<int>(plan.route.size()) || found.cell < 0 ||
      found.cell >= static_cast<int>(kRowNumbers.size()))
    return std::string();
  const Checkpoint& row = plan.route[static_cast<std::size_t>(found.row)];
  const std::size_t k = static_cast<std::size_t>(found.cell);
  return "Checkpoint \"" + row.caption + "\": the " + kNames[k] + " \"" +
         TypedText(row, kRowNumbers[k]) + "\" is not a number and counts as 0.";
}
