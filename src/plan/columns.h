// The columns of the computed log, once: the CSV, the text table, the
// Navigation Log window and the printed row all take their captions, keys and
// cell texts from here, so screen and paper cannot tell different stories.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "plan/format.h"
#include "plan/legs.h"
#include "plan/plan.h"

// In the order of the CSV.
enum class LogColumn : uint8_t {
  Name,
  Tc,
  Alt,
  WindDir,
  WindVel,
  Temp,
  Tas,
  Wca,
  Th,
  Var,
  Mh,
  Dev,
  Ch,
  Dist,
  Rem,
  Gs,
  Ete,
  FuelUsed,
  FuelRem,
  VorFreq,
  VorBrng,
  VorIdent,
  VorToFr,
};
constexpr std::size_t kLogColumnCount = 23;

// How a value is read and written.
enum class LogKind : uint8_t {
  Text,     // a text field of the leg, as typed
  Whole,    // a whole number, empty when NOT_ENTERED
  Fuel,     // gallons with decimals, empty for the -1000.0 marker
  Bearing,  // text as typed; on screen and paper the number it holds
};

// Who writes the log: the figures differ only in form.
enum class LogForm : uint8_t {
  Csv,    // for scripts: plain numbers, two decimals, texts as typed
  Text,   // the terminal table: plain numbers, one decimal
  Shown,  // the window and the paper: courses zero-padded, one decimal
};

struct LogColumnInfo {
  LogColumn column;
  const char* key;      // CSV heading of halvix-navlog --csv, which scripts read
  const char* caption;  // the heading pilots see in the window
  // The terminal table's heading; nullptr where it has no column of its own
  // (the deviation is never entered; the VOR parts read as one "VOR").
  const char* table_caption;
  LogKind kind;
  int digits;  // zero-padded width on screen and paper: 3 for courses and headings
  // Left blank on a leg where it is unchanged: the earlier leg's value holds.
  bool carried;
  bool summed;  // the Total row shows its sum
  bool vor;     // part of the VOR text
};

const std::array<LogColumnInfo, kLogColumnCount>& LogColumns();
const LogColumnInfo& ColumnInfo(LogColumn column);

// The cell of `column` for `leg` (a leg of the log, or its totals for a
// summed column).
std::string LogCellText(const LegResult& leg, LogColumn column, LogForm form);

// A cell of the Total row as the window and the paper show it; empty for a
// column without a sum.
std::string ShownTotalText(const NavLog& log, LogColumn column);

// The bearing of a VOR text: the number it holds (R270, R-270 and QDM 270 are
// all 270), three digits wide; without a number the text as typed, which never
// reads as a radial.
std::string VorBearingText(const char* vorbrng);
