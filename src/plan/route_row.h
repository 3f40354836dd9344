// The route as numbers. A row keeps the text the pilot typed; this reads it
// as the log does (each row's own values, and what each leg flies once empty
// cells have carried the values above them) and writes numbers back into a
// row by name, leaving every other cell as typed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plan/plan.h"

// One row's values. A cell left empty, or holding the not-entered marker,
// has none; text that starts without a number reads as 0, as it always has.
struct RowValues {
  std::optional<int32_t> distance_nm;
  std::optional<int32_t> true_course_deg;
  std::optional<int32_t> altitude_ft;
  std::optional<int32_t> wind_from_deg;  // true
  std::optional<int32_t> wind_speed_kt;
  std::optional<int32_t> temperature_c;
  std::optional<int32_t> true_airspeed_kt;
  std::optional<int32_t> variation_deg;  // west positive: it is added to a true heading
  // The VOR text as stored (cut to its field). It does not carry: the
  // carried values leave it empty.
  std::string vor;
};

// Names one of the eight numbers, for code that picks one: a column of the
// log, an item of the pre-print check.
using RowNumber = std::optional<int32_t> RowValues::*;

// The eight numbers in the order of the route's columns.
extern const std::array<RowNumber, 8> kRowNumbers;

// The row's own values.
RowValues ReadRow(const Checkpoint& row);

// The text the pilot typed for `number`; empty when none.
const std::string& TypedText(const Checkpoint& row, RowNumber number);
// The VOR text as typed, not cut to its field.
const std::string& TypedVor(const Checkpoint& row);

// Every row's own values and what each row carries, worked out in one pass.
// Row 0 is the departure: nothing is carried into it and its cells take no
// part in the legs, so its carried values are all empty.
struct RouteValues {
  std::vector<RowValues> own;
  std::vector<RowValues> carried;
};
RouteValues ReadRoute(const Plan& plan);

// Builds a route row, or changes numbers of an existing one. Each number is
// written in plain decimal, none (or NOT_ENTERED) as an empty cell; cells not
// set keep their text as typed.
//
//   AddRow(plan, RowBuilder("Lake").distance_nm(12).true_course_deg(90));
//   row = RowBuilder(row).wind_from_deg(270).wind_speed_kt(15).Build();
class RowBuilder {
 public:
  // A new row named `name`, every cell empty.
  explicit RowBuilder(const std::string& name);
  // An existing row, to change some of its cells.
  explicit RowBuilder(Checkpoint row) : row_(std::move(row)) {}

  RowBuilder& distance_nm(std::optional<int32_t> value) {
    return Set(&RowValues::distance_nm, value);
  }
  RowBuilder& true_course_deg(std::optional<int32_t> value) {
    return Set(&RowValues::true_course_deg, value);
  }
  RowBuilder& altitude_ft(std::optional<int32_t> value) {
    return Set(&RowValues::altitude_ft, value);
  }
  RowBuilder& wind_from_deg(std::optional<int32_t> value) {
    return Set(&RowValues::wind_from_deg, value);
  }
  RowBuilder& wind_speed_kt(std::optional<int32_t> value) {
    return Set(&RowValues::wind_speed_kt, value);
  }
  RowBuilder& temperature_c(std::optional<int32_t> value) {
    return Set(&RowValues::temperature_c, value);
  }
  RowBuilder& true_airspeed_kt(std::optional<int32_t> value) {
    return Set(&RowValues::true_airspeed_kt, value);
  }
  RowBuilder& variation_deg(std::optional<int32_t> value) {
    return Set(&RowValues::variation_deg, value);
  }
  RowBuilder& vor(const std::string& text);
  RowBuilder& position(std::optional<GeoPosition> where);

  // Any one of the eight numbers, named by `number`.
  RowBuilder& Set(RowNumber number, std::optional<int32_t> value);
  // All eight numbers and the VOR text of `values`.
  RowBuilder& Values(const RowValues& values);

  const Checkpoint& Build() const& { return row_; }
  Checkpoint Build() && { return std::move(row_); }

 private:
  Checkpoint row_;
};

// Appends the row to the route. Returns false (and changes nothing) when the
// route already holds kMaxRoute rows.
bool AddRow(Plan& plan, RowBuilder row);
