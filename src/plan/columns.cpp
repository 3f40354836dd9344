#include "plan/columns.h"

#include <algorithm>
#include <cstdio>

#include "plan/cnumbers.h"

namespace {

using K = LogKind;
using C = LogColumn;

// clang-format off
const std::array<LogColumnInfo, kLogColumnCount> kColumns = {{
    // column      key         caption      table       kind        digits carried summed vor
    {C::Name,     "toname",   "Checkpoint", "Checkpoint", K::Text,    0, false, false, false},
    {C::Tc,       "tc",       "TC",        "TC",        K::Whole,   3, true,  false, false},
    {C::Alt,      "alt",      "Alt",       "Alt",       K::Whole,   0, true,  false, false},
    {C::WindDir,  "winddir",  "Wind Dir",  "Wind",      K::Whole,   0, true,  false, false},
    {C::WindVel,  "windvel",  "Wind Vel",  "Vel",       K::Whole,   0, true,  false, false},
    {C::Temp,     "temp",     "Temp",      "Temp",      K::Whole,   0, true,  false, false},
    {C::Tas,      "tas",      "TAS",       "TAS",       K::Whole,   0, true,  false, false},
    {C::Wca,      "wca",      "WCA",       "WCA",       K::Whole,   0, true,  false, false},
    {C::Th,       "th",       "TH",        "TH",        K::Whole,   3, true,  false, false},
    {C::Var,      "var",      "Var",       "Var",       K::Whole,   0, true,  false, false},
    {C::Mh,       "mh",       "MH",        "MH",        K::Whole,   3, true,  false, false},
    {C::Dev,      "dev",      "Dev",       nullptr,     K::Whole,   0, true,  false, false},
    {C::Ch,       "ch",       "CH",        "CH",        K::Whole,   3, true,  false, false},
    {C::Dist,     "dist",     "Dist",      "Dist",      K::Whole,   0, false, true,  false},
    {C::Rem,      "distrem",  "Rem",       "Rem",       K::Whole,   0, false, false, false},
    {C::Gs,       "gs",       "GS",        "GS",        K::Whole,   0, true,  false, false},
    {C::Ete,      "ete",      "ETE",       "ETE",       K::Whole,   0, false, true,  false},
    {C::FuelUsed, "fuelused", "Fuel Used", "Fuel",      K::Fuel,    0, false, true,  false},
    {C::FuelRem,  "fuelrem",  "Fuel Rem",  "Fuel rem",  K::Fuel,    0, false, false, false},
    {C::VorFreq,  "vorfreq",  "VOR Freq",  nullptr,     K::Text,    0, false, false, true},
    {C::VorBrng,  "vorbrng",  "Brng",      nullptr,     K::Bearing, 3, false, false, true},
    {C::VorIdent, "vorident", "Ident",     nullptr,     K::Text,    0, false, false, true},
    {C::VorToFr,  "vortofr",  "To/Fr",     nullptr,     K::Text,    0, false, false, true},
}};
// clang-format on

int32_t WholeValue(const LegResult& l, LogColumn column) {
  switch (column) {
    case C::Tc:
      return l.tc;
    case C::Alt:
      return l.alt;
    case C::WindDir:
      return l.winddir;
    case C::WindVel:
      return l.windvel;
    case C::Temp:
      return l.temp;
    case C::Tas:
      return l.tas;
    case C::Wca:
      return l.wca;
    case C::Th:
      return l.th;
    case C::Var:
      return l.var;
    case C::Mh:
      return l.mh;
    case C::Dev:
      return l.dev;
    case C::Ch:
      return l.ch;
    case C::Dist:
      return l.dist;
    case C::Rem:
      return l.distrem;
    case C::Gs:
      return l.gs;
    case C::Ete:
      return l.ete;
    default:
      return NOT_ENTERED;
  }
}

const char* TextValue(const LegResult& l, LogColumn column) {
  switch (column) {
    case C::Name:
      return l.toname;
    case C::VorFreq:
      return l.vorfreq;
    case C::VorBrng:
      return l.vorbrng;
    case C::VorIdent:
      return l.vorident;
    case C::VorToFr:
      return l.vortofr;
    default:
      return "";
  }
}

std::string FuelText(double value, LogForm form) {
  if (form == LogForm::Shown) return FormatReal(value, false);
  return FormatDecimals(value, form == LogForm::Csv ? 2 : 1);
}

// The remaining fuel wherever the leg's fuel was computed, however far below
// zero: a blank would read as "same as above".
std::string RemainingFuel(const LegResult& leg) {
  if (leg.fuelused == NOT_ENTERED_FUEL) return {};
  CNumbers c_numbers;
  char text[400];  // any double "%1.1f" can produce
  std::snprintf(text, sizeof text, "%1.1f", leg.fuelrem);
  return text;
}

}  // namespace

const std::array<LogColumnInfo, kLogColumnCount>& LogColumns() {
  return kColumns;
}

const LogColumnInfo& ColumnInfo(LogColumn column) {
  return kColumns[static_cast<std::size_t>(column)];
}

std::string LogCellText(const LegResult& leg, LogColumn column, LogForm form) {
  const LogColumnInfo& info = ColumnInfo(column);
  switch (info.kind) {
    case LogKind::Text:
      return TextValue(leg, column);
    case LogKind::Bearing:
      return form == LogForm::Shown ? VorBearingText(TextValue(leg, column))
                                    : TextValue(leg, column);
    case LogKind::Whole:
      return FormatInt(WholeValue(leg, column), form == LogForm::Shown ? info.digits : 0, false);
    case LogKind::Fuel:
      if (column == C::FuelRem && form == LogForm::Shown) return RemainingFuel(leg);
      return FuelText(column == C::FuelUsed ? leg.fuelused : leg.fuelrem, form);
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
