#include "plan/columns.h"

#include <algorithm>
#include <cstdio>

#include "plan/cnumbers.h"

namespace {

using C = LogColumn;
using L = LegResult;
using R = RowValues;
using M = MissingItem;
using P = PaperPlace;
using Line = PaperLine;
using S = PaperStyle;

constexpr WindowSlot kLeft(int width) {
  return {width, true};
}
constexpr WindowSlot kRight(int width) {
  return {width, false};
}

// clang-format off
const std::array<LogColumnInfo, kLogColumnCount> kColumns = {{
    // column, CSV key, window caption, terminal caption, value, digits,
    //   carried, summed, solved only, vor, input, check item,
    //   window, paper {place, cell, line, size, style, carried over, heading}
    {C::Name, "toname", "Checkpoint", "Checkpoint", TextField(&L::toname), 0,
     false, false, false, false, nullptr, M::None,
     kLeft(130), {P::Checkpoint, 0, Line::Lower, 12, S::Plain, false, {"Checkpoints", Line::Upper, 12, 1}}},
    {C::Tc, "tc", "TC", "TC", WholeField(&L::tc), 3,
     true, false, false, false, &R::true_course_deg, M::TrueCourse,
     kRight(38), {P::Left, 0, Line::Lower, 12, S::Plain, false, {"TC", Line::Lower, 12, 1}}},
    {C::Alt, "alt", "Alt", "Alt", WholeField(&L::alt), 0,
     true, false, false, false, &R::altitude_ft, M::None,
     kRight(46), {P::Left, 1, Line::Lower, 12, S::Plain, false, {"Alt", Line::Lower, 12, 1}}},
    {C::WindDir, "winddir", "Wind Dir", "Wind", WholeField(&L::winddir), 0,
     true, false, false, false, &R::wind_from_deg, M::WindDirection,
     kRight(58), {P::Left, 2, Line::Lower, 12, S::Plain, false, {"Dir", Line::Lower, 12, 1}}},
    {C::WindVel, "windvel", "Wind Vel", "Vel", WholeField(&L::windvel), 0,
     true, false, false, false, &R::wind_speed_kt, M::WindSpeed,
     kRight(58), {P::Left, 3, Line::Lower, 12, S::Plain, false, {"Speed", Line::Lower, 12, 1}}},
    {C::Temp, "temp", "Temp", "Temp", WholeField(&L::temp), 0,
     true, false, false, false, &R::temperature_c, M::None,
     kRight(40), {P::Left, 4, Line::Lower, 12, S::Plain, false, {"Temp", Line::Middle, 12, 1}}},
    {C::Tas, "tas", "TAS", "TAS", WholeField(&L::tas), 0,
     true, false, false, false, &R::true_airspeed_kt, M::TrueAirspeed,
     kRight(40), {P::Left, 5, Line::Lower, 12, S::Plain, false, {"TAS", Line::Middle, 12, 1}}},
    {C::Wca, "wca", "WCA", "WCA", WholeField(&L::wca), 0,
     true, false, false, false, nullptr, M::None,
     kRight(40), {P::Left, 6, Line::Lower, 12, S::Plain, false, {"WCA", Line::Middle, 12, 1}}},
    {C::Th, "th", "TH", "TH", WholeField(&L::th), 3,
     true, false, false, false, nullptr, M::None,
     kRight(38), {P::Left, 7, Line::Upper, 12, S::Plain, false, {"TH", Line::Upper, 12, 1}}},
    {C::Var, "var", "Var", "Var", WholeField(&L::var), 0,
     true, false, false, false, &R::variation_deg, M::MagneticVariation,
     kRight(38), {P::Left, 7, Line::Lower, 12, S::Plain, false, {"Var", Line::Lower, 12, 1}}},
    {C::Mh, "mh", "MH", "MH", WholeField(&L::mh), 3,
     true, false, false, false, nullptr, M::None,
     kRight(38), {P::Left, 8, Line::Upper, 12, S::Plain, true, {"MH", Line::Upper, 12, 1}}},
    {C::Dev, "dev", "Dev", nullptr, WholeField(&L::dev), 0,
     true, false, false, false, nullptr, M::None,
     kRight(0), {P::Left, 8, Line::Lower, 12, S::Plain, false, {"Dev", Line::Lower, 12, 1}}},
    {C::Ch, "ch", "CH", "CH", WholeField(&L::ch), 3,
     true, false, false, false, nullptr, M::None,
     kRight(38), {P::Right, 0, Line::Lower, 12, S::Plain, true, {"CH", Line::Middle, 12, 1}}},
    {C::Dist, "dist", "Dist", "Dist", WholeField(&L::dist), 0,
     false, true, false, false, &R::distance_nm, M::None,
     kRight(40), {P::Right, 1, Line::Upper, 12, S::Plain, false, {"Dist", Line::Upper, 10, 1}}},
    {C::Rem, "distrem", "Rem", "Rem", WholeField(&L::distrem), 0,
     false, false, false, false, nullptr, M::None,
     kRight(40), {P::Right, 1, Line::Lower, 8, S::Parenthesised, false, {"Rem", Line::Lower, 10, 1}}},
    {C::Gs, "gs", "GS", "GS", WholeField(&L::gs), 0,
     true, false, false, false, nullptr, M::None,
     kRight(40), {P::Right, 2, Line::Upper, 12, S::Plain, true, {"GS", Line::Upper, 10, 1}}},
    {C::Ete, "ete", "ETE", "ETE", WholeField(&L::ete), 0,
     false, true, true, false, nullptr, M::None,
     kRight(40), {P::Right, 3, Line::Upper, 12, S::Plain, false, {"ETE", Line::Upper, 10, 1}}},
    {C::FuelUsed, "fuelused", "Fuel Used", "Fuel", FuelField(&L::fuelused), 0,
     false, true, true, false, nullptr, M::None,
     kRight(62), {P::Right, 5, Line::Upper, 12, S::Plain, false, {"fuel used", Line::Upper, 8, 1}}},
    {C::FuelRem, "fuelrem", "Fuel Rem", "Fuel rem", FuelField(&L::fuelrem, LogKind::FuelLeft), 0,
     false, false, false, false, nullptr, M::None,
     kRight(62), {P::Right, 5, Line::Lower, 8, S::Parenthesised, false, {"fuel rem", Line::Lower, 8, 1}}},
    {C::VorFreq, "vorfreq", "VOR Freq", nullptr, TextField(&L::vorfreq), 0,
     false, false, false, true, nullptr, M::None,
     kRight(62), {P::Right, 6, Line::Upper, 8, S::Plain, false, {"vor freq", Line::Upper, 8, 1}}},
    {C::VorBrng, "vorbrng", "Brng", nullptr, TextField(&L::vorbrng, LogKind::Bearing), 3,
     false, false, false, true, nullptr, M::None,
     kRight(40), {P::Right, 7, Line::Upper, 8, S::Plain, false, {"vor brng", Line::Upper, 8, 1}}},
    {C::VorIdent, "vorident", "Ident", nullptr, TextField(&L::vorident), 0,
     false, false, false, true, nullptr, M::None,
     kLeft(46), {P::Right, 6, Line::Lower, 12, S::Morse, false, {"vor ident", Line::Lower, 8, 1}}},
    {C::VorToFr, "vortofr", "To/Fr", nullptr, TextField(&L::vortofr), 0,
     false, false, false, true, nullptr, M::None,
     kRight(44), {P::Right, 7, Line::Lower, 8, S::Plain, false, {"vor to/fr", Line::Lower, 8, 1}}},
}};
// clang-format on

std::string FuelText(double value, LogForm form) {
  if (form == LogForm::Shown) return FormatReal(value, false);
  return FormatDecimals(value, form == LogForm::Csv ? 2 : 1);
}

// The remaining fuel wherever the leg's fuel was computed, however far below
// zero: a blank would read as "same as above".
std::string RemainingFuel(const LegResult& leg, double left) {
  if (leg.fuelused == NOT_ENTERED_FUEL) return {};
  CNumbers c_numbers;
  char text[400];  // any double "%1.1f" can produce
  std::snprintf(text, sizeof text, "%1.1f", left);
  return text;
}

}  // namespace

const std::array<LogColumnInfo, kLogColumnCount>& LogColumns() {
  return kColumns;
}

const LogColumnInfo& ColumnInfo(LogColumn column) {
  return kColumns[static_cast<std::size_t>(column)];
}

const LogColumnInfo* ColumnChecking(MissingItem item) {
  if (item == MissingItem::None) return nullptr;
  for (const LogColumnInfo& info : kColumns) {
    if (info.check == item) return &info;
  }
  return nullptr;
}

int RowNumberIndex(RowNumber number) {
  for (std::size_t k = 0; k < kRowNumbers.size(); ++k) {
    if (number != nullptr && kRowNumbers[k] == number) return static_cast<int>(k);
  }
  return -1;
}

std::string LogCellText(const LegResult& leg, LogColumn column, LogForm form) {
  const LogColumnInfo& info = ColumnInfo(column);
  const LogValue& value = info.value;
  switch (value.kind) {
    case LogKind::Text:
      return leg.*value.text;
    case LogKind::Bearing:
      return form == LogForm::Shown ? VorBearingText(leg.*value.text) : leg.*value.text;
    case LogKind::Whole:
      return FormatInt(leg.*value.whole, form == LogForm::Shown ? info.digits : 0, false);
    case LogKind::FuelLeft:
      if (form == LogForm::Shown) return RemainingFuel(leg, leg.*value.fuel);
      return FuelText(leg.*value.fuel, form);
    case LogKind::Fuel:
      return FuelText(leg.*value.fuel, form);
  }
  return {};
}

std::string ShownTotalText(const NavLog& log, LogColumn column) {
  if (!ColumnInfo(column).summed) return {};
  return LogCellText(log.totals, column, LogForm::Shown);
}

std::string VorBearingText(const char* vorbrng) {
  const char* digits = vorbrng;
  while (*digits != '\0' && (*digits < '0' || *digits > '9')) ++digits;
  if (*digits == '\0') return vorbrng;
  return FormatInt(ParseLong(digits), 3, false);
}
