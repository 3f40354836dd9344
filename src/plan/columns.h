// The columns of the computed log, once: the CSV, the text table, the
// Navigation Log window, the pre-print check and the printed table all take
// their captions, keys, cells and places from here, so screen and paper
// cannot tell different stories and a new column is one entry.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "plan/check.h"
#include "plan/format.h"
#include "plan/legs.h"
#include "plan/plan.h"
#include "plan/route_row.h"

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
  Count  // not a column: how many there are
};
constexpr std::size_t kLogColumnCount = static_cast<std::size_t>(LogColumn::Count);

// How a value is read and written.
enum class LogKind : uint8_t {
  Text,      // a text field of the leg, as typed
  Whole,     // a whole number, empty when NOT_ENTERED
  Fuel,      // gallons with decimals, empty for the -1000.0 marker
  FuelLeft,  // as Fuel, but on screen and paper wherever the leg burnt fuel, however far below 0
  Bearing,   // text as typed; on screen and paper the number it holds
};

// Where in a leg's value is kept: the field that matches the kind.
struct LogValue {
  LogKind kind;
  int32_t LegResult::*whole;
  double LegResult::*fuel;
  char (LegResult::*text)[kTextField];
};
constexpr LogValue WholeField(int32_t LegResult::*field) {
  return {LogKind::Whole, field, nullptr, nullptr};
}
constexpr LogValue FuelField(double LegResult::*field, LogKind kind = LogKind::Fuel) {
  return {kind, nullptr, field, nullptr};
}
constexpr LogValue TextField(char (LegResult::*field)[kTextField], LogKind kind = LogKind::Text) {
  return {kind, nullptr, nullptr, field};
}

// Who writes the log: the figures differ only in form.
enum class LogForm : uint8_t {
  Csv,    // for scripts: plain numbers, two decimals, texts as typed
  Text,   // the terminal table: plain numbers, one decimal
  Shown,  // the window and the paper: courses zero-padded, one decimal
};

// How the Navigation Log window shows a column.
struct WindowSlot {
  int width;  // pixels at first; 0: the window leaves the column out
  bool left;  // aligned left, as names are; figures align right
};

// The printed table has a left half of planning columns (each `colwidth`
// wide), the checkpoint column between, and a right half of en-route columns
// (each `rcolwidth`); every cell of a leg row has an upper and a lower line.
enum class PaperPlace : uint8_t { None, Left, Checkpoint, Right };
enum class PaperLine : uint8_t { Upper, Lower, Middle };
enum class PaperStyle : uint8_t {
  Plain,
  Parenthesised,  // the lesser figure of a cell, such as what remains
  Morse,          // the identifier's letters beside its Morse bars
};

// A heading of the printed table's two-line header. An 8-point heading on
// the upper or lower line is two words set one above the other in that half.
struct PaperHeading {
  const char* text;
  PaperLine line;
  int size;  // points
  int span;  // cells it is centred over
};

struct PaperSlot {
  PaperPlace place;  // None: the paper has no cell for the column
  int cell;          // the cell of its half, counted from 0
  PaperLine line;
  int size;  // points
  PaperStyle style;
  // Printed in parentheses on a continuation page's first row where the leg
  // has no value of its own, so the pilot need not turn back a page.
  bool carried_over;
  PaperHeading heading;
};

struct LogColumnInfo {
  LogColumn column;
  const char* key;      // CSV heading of halvix-navlog --csv, which scripts read
  const char* caption;  // the heading pilots see in the window
  // The terminal table's heading; nullptr where it has no column of its own
  // (the deviation is never entered; the VOR parts read as one "VOR").
  const char* table_caption;
  LogValue value;
  int digits;  // zero-padded width on screen and paper: 3 for courses and headings
  // Left blank on a leg where it is unchanged: the earlier leg's value holds.
  bool carried;
  bool summed;  // the Total row shows its sum
  // The sum leaves out legs that could not be solved, and says so.
  bool solved_only;
  bool vor;  // part of the VOR text
  // The number of the route row the pilot types the leg's own figure as;
  // nullptr for a computed column or a text.
  RowNumber input;
  // What the pre-print check calls this value when the first leg lacks it.
  MissingItem check;
  WindowSlot window;
  PaperSlot paper;
};

const std::array<LogColumnInfo, kLogColumnCount>& LogColumns();
const LogColumnInfo& ColumnInfo(LogColumn column);
// The column the pre-print check's `item` is a value of; nullptr for None.
const LogColumnInfo* ColumnChecking(MissingItem item);

// Where `number` stands among kRowNumbers, which is also the order of the
// route's number cells; -1 for none.
int RowNumberIndex(RowNumber number);

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
