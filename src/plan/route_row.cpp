#include "plan/route_row.h"

#include <cstddef>

const std::array<RowNumber, 8> kRowNumbers = {
    &RowValues::distance_nm,      &RowValues::true_course_deg, &RowValues::altitude_ft,
    &RowValues::wind_from_deg,    &RowValues::wind_speed_kt,   &RowValues::temperature_c,
    &RowValues::true_airspeed_kt, &RowValues::variation_deg};

namespace {

// The cell that holds `number`; the numbers sit in the row in the order above.
int CellOf(RowNumber number) {
  for (std::size_t k = 0; k < kRowNumbers.size(); ++k) {
    if (kRowNumbers[k] == number) return kCellDist + static_cast<int>(k);
  }
  return -1;
}

std::optional<int32_t> Known(int32_t value) {
  if (value == NOT_ENTERED) return std::nullopt;
  return value;
}

// The numbers of a parsed row; the log's own parse stays the one reading.
void TakeNumbers(const LegResult& leg, RowValues& values) {
  const int32_t parsed[] = {leg.dist,    leg.tc,   leg.alt, leg.winddir,
                            leg.windvel, leg.temp, leg.tas, leg.var};
  for (std::size_t k = 0; k < kRowNumbers.size(); ++k) values.*kRowNumbers[k] = Known(parsed[k]);
}

}  // namespace

RowValues ReadRow(const Checkpoint& row) {
  LegResult own;
  LegResult carry;
  ClearLeg(own);
  ClearLeg(carry);
  ParseRow(row, own, carry);
  RowValues values;
  TakeNumbers(own, values);
  values.vor = own.vortext;
  return values;
}

const std::string& TypedText(const Checkpoint& row, RowNumber number) {
  return row.SubItem(CellOf(number));
}

RouteValues ReadRoute(const Plan& plan) {
  RouteValues route;
  route.own.reserve(plan.route.size());
  route.carried.reserve(plan.route.size());
  LegResult carry;
  ClearLeg(carry);
  for (std::size_t i = 0; i < plan.route.size(); ++i) {
    LegResult own;
    ClearLeg(own);
    // The departure's cells are read for what they say but carry nothing.
    LegResult departure_carry{};
    ParseRow(plan.route[i], own, i == 0 ? departure_carry : carry);
    RowValues values;
    TakeNumbers(own, values);
    values.vor = own.vortext;
    route.own.push_back(std::move(values));
    RowValues carried;
    if (i > 0) TakeNumbers(carry, carried);
    route.carried.push_back(std::move(carried));
  }
  return route;
}

RowBuilder::RowBuilder(const std::string& name) {
  row_.caption = name;
  row_.subitems.assign(kRouteCells, std::string());
}

RowBuilder& RowBuilder::Set(RowNumber number, std::optional<int32_t> value) {
  const int cell = CellOf(number);
  if (cell < 0) return *this;
  if (row_.subitems.size() < static_cast<std::size_t>(kRouteCells))
    row_.subitems.resize(kRouteCells);
  row_.subitems[static_cast<std::size_t>(cell)] =
      !value || *value == NOT_ENTERED ? std::string() : std::to_string(*value);
  return *this;
}

RowBuilder& RowBuilder::vor(const std::string& text) {
  if (row_.subitems.size() < static_cast<std::size_t>(kRouteCells))
    row_.subitems.resize(kRouteCells);
  row_.subitems[kCellVor] = text;
  return *this;
}

RowBuilder& RowBuilder::position(std::optional<GeoPosition> where) {
  row_.position = where;
  return *this;
}

RowBuilder& RowBuilder::Values(const RowValues& values) {
  for (RowNumber number : kRowNumbers) Set(number, values.*number);
  return vor(values.vor);
}

bool AddRow(Plan& plan, RowBuilder row) {
  if (plan.route.size() >= static_cast<std::size_t>(kMaxRoute)) return false;
  plan.route.push_back(std::move(row).Build());
  return true;
}
