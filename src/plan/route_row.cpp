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

// Reads the row's numbers cell by cell as the log does, carrying into `carried`.
void ReadNumbers(const Checkpoint& row, RowValues& own, RowValues& carried) {
  for (std::size_t k = 0; k < kRowNumbers.size(); ++k) {
    // Left alone by an empty cell: no cell reads as a number this far out.
    constexpr int32_t kUntouched = -kMaxCellValue - 1;
    int32_t value = NOT_ENTERED;
    int32_t carry = kUntouched;
    ParseIntCell(row, kCellDist + static_cast<int>(k), value, carry);
    own.*kRowNumbers[k] = Known(value);
    // A typed marker ends what was carried; an empty cell leaves it.
    if (carry != kUntouched) carried.*kRowNumbers[k] = Known(carry);
  }
}

// The VOR text as the log and the plan file hold it.
std::string StoredVor(const Checkpoint& row) {
  char field[kTextField];
  CopyField(field, row.SubItem(kCellVor));
  return field;
}

}  // namespace

RowValues ReadRow(const Checkpoint& row) {
  RowValues values;
  RowValues ignored;
  ReadNumbers(row, values, ignored);
  values.vor = StoredVor(row);
  return values;
}

const std::string& TypedText(const Checkpoint& row, RowNumber number) {
  return row.SubItem(CellOf(number));
}

const std::string& TypedVor(const Checkpoint& row) {
  return row.SubItem(kCellVor);
}

RouteValues ReadRoute(const Plan& plan) {
  RouteValues route;
  route.own.reserve(plan.route.size());
  route.carried.reserve(plan.route.size());
  RowValues carried;
  for (std::size_t i = 0; i < plan.route.size(); ++i) {
    RowValues own;
    // The departure's cells are read for what they say but carry nothing.
    RowValues departure;
    ReadNumbers(plan.route[i], own, i == 0 ? departure : carried);
    own.vor = StoredVor(plan.route[i]);
    route.own.push_back(std::move(own));
    route.carried.push_back(carried);
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
