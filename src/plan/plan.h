// The plan: route rows as the pilot typed them, airfields, aircraft and print
// settings. The log computed from it lives apart (plan/legs.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plan/performance.h"

// A value the pilot did not enter. Empty numeric cells parse to it, it is
// stored in plan files as -1000 and prints as an empty cell.
constexpr int32_t NOT_ENTERED = -1000;
constexpr double NOT_ENTERED_FUEL = -1000.0;

constexpr int kMaxLegs = 32;               // legs of the computed log
constexpr int kMaxRoute = kMaxLegs + 1;    // departure plus one row per leg
constexpr std::size_t kTextField = 80;     // bytes of a LegResult text, NUL included
constexpr std::size_t kShortTextMax = 79;  // checkpoint names and VOR texts
constexpr std::size_t kLongTextMax = 255;  // aircraft texts, file name, airfield values
constexpr int kRouteCells = 9;             // sub-items of a route row

// The largest number a plan can mean: 99,999 nautical miles, feet, knots,
// degrees, gallons, gallons per hour or inches. Larger ones, typed or read
// from a file, are held to it, so that no sum over 32 legs overflows and no
// log shows an infinite or a saturated number.
constexpr int32_t kMaxCellValue = 99999;
constexpr double kMaxQuantity = 99999.0;

// Fuel the pilot wants left at every checkpoint, in minutes of flight: 30 is
// the day VFR minimum, 45 the night one.
constexpr int32_t kDefaultReserve = 30;
constexpr int32_t kMaxReserve = 600;

// Sub-item indexes of a route row.
enum RouteCell {
  kCellDist = 0,
  kCellCourse = 1,
  kCellAltitude = 2,
  kCellWindDir = 3,
  kCellWindVel = 4,
  kCellTemp = 5,
  kCellTas = 6,
  kCellMagVar = 7,
  kCellVor = 8,
};

// One leg: the parse of a row, the carry record, a computed leg or the totals.
struct LegResult {
  int32_t tc;
  int32_t alt;
  int32_t winddir;
  int32_t windvel;
  int32_t temp;
  int32_t tas;
  int32_t wca;
  int32_t th;
  int32_t var;
  int32_t mh;
  int32_t dev;
  int32_t ch;
  int32_t dist;
  int32_t distrem;
  int32_t gs;
  int32_t ete;
  double fuelused;
  double fuelrem;
  char toname[kTextField];
  char vortext[kTextField];
  char vorident[kTextField];
  char vorfreq[kTextField];
  char vorbrng[kTextField];
  char vortofr[kTextField];
};

struct AircraftInfo {
  std::string pilotname = "Pat Example";
  std::string acnumber = "12345";
  std::string actype = "C172/U";
  double acgph = 9.0;
  double acfullfuel = 38.0;
};

struct PrintSettings {
  int32_t enableshade = 0;  // anything but 0 is on
  double topmargin = 0.0;
  double leftmargin = 0.0;
  double rightmargin = 0.0;
  double bottommargin = 0.0;
};

// One airfield row; nobody parses these texts, they are kept and printed verbatim.
struct AirfieldInfo {
  std::string name;
  std::string elevation;
  std::string tpa;
  std::string runways;
  std::string atc;
  std::string traffic;
  std::string atis;
  std::string ground;
  std::string unicom;
};

constexpr int kAirfieldColumns = 9;  // name, then the eight cells

// Column k of an airfield row: 0 is the name, 1..8 are elevation..unicom.
std::string& AirfieldColumn(AirfieldInfo& field, int column);
const std::string& AirfieldColumn(const AirfieldInfo& field, int column);

// Decimal degrees on WGS84, north and east positive.
struct GeoPosition {
  double lat = 0.0;
  double lon = 0.0;
};

// One route row: the caption (checkpoint name) and its sub-items, exactly as
// typed. Rows normally carry nine sub-items; a missing one reads as empty.
struct Checkpoint {
  std::string caption;
  std::vector<std::string> subitems;
  // Where the checkpoint lies, for rows made from a route file. Editing the
  // row's cells leaves it alone: renaming a waypoint does not move it.
  std::optional<GeoPosition> position;

  const std::string& SubItem(int index) const;
};

struct Plan {
  std::string title;
  std::vector<Checkpoint> route;
  std::vector<AirfieldInfo> airfields;
  AircraftInfo aircraft;
  PrintSettings print;
  int32_t reserve = kDefaultReserve;  // minutes, 0..kMaxReserve
  // When the flight leaves, "YYYY-MM-DDTHH:MMZ"; empty when not planned.
  // It dates the daylight at the airfields and times the arrival.
  std::string departure;
  // The handbook's figures and the loading; both empty unless the pilot set them.
  Performance performance;
  Loading loading;
  std::string filename;
};

// The texts of the checkpoint dialog's twelve edits and its To/From choice;
// the dialog copies its controls into this and back.
struct CheckpointDialogTexts {
  std::string EditCheckpointName;
  std::string EditDistance;
  std::string EditTrueCourse;
  std::string EditAltitude;
  std::string EditWindDir;
  std::string EditWindSpeed;
  std::string EditTemperature;
  std::string EditAirspeed;
  std::string EditMagVar;
  std::string EditFreq;
  std::string EditBear;
  std::string EditIdent;
  bool RadioButtonTo = false;  // RadioButtonFrom is the opposite
  // Neither To nor From: a checkpoint at the VOR itself has no radial to fly.
  bool NoToFrom = false;
};

// --- Text helpers -----------------------------------------------------------

// The longest prefix of text that has at most max_bytes bytes and does not end
// inside a UTF-8 sequence.
std::string CutUtf8(const std::string& text, std::size_t max_bytes);

// Copies text into a fixed LegResult field, cut to 79 bytes at a character boundary.
void CopyField(char (&field)[kTextField], const std::string& text);

// atol as the plan reads cells: leading white space, optional sign, digits up
// to the first non-digit; no digits give 0. Saturates at the int32 range.
int32_t ParseLong(const char* text);

// A cell's number held to +-kMaxCellValue.
int32_t ClampCell(int32_t value);

// A fuel value or margin held to +-kMaxQuantity; not a number gives 0.
double ClampQuantity(double value);

// --- Row operations ----------------------------------------------------------

// Every integer NOT_ENTERED, both doubles -1000.0, every text empty.
void ClearLeg(LegResult& leg);

// Own field from sub-item `subitem` (ParseLong, then ClampCell); the carried
// field too when the cell is not empty.
void ParseIntCell(const Checkpoint& row, int subitem, int32_t& own, int32_t& carried);

// The row's own values into `own` (eight numbers, name and VOR texts), and its
// non-empty numeric cells into `carry`. Touches nothing else.
void ParseRow(const Checkpoint& row, LegResult& own, LegResult& carry);

// Splits a VOR text at "/": each call gives the next field, trimmed of white
// space; once the text is used up every call gives an empty text.
class VorTokenizer {
 public:
  explicit VorTokenizer(std::string text) : text_(std::move(text)) {}
  std::string NextToken();

 private:
  std::string text_;
  std::size_t pos_ = 0;
  bool done_ = false;
};

// "%s/ %s/ %s/ %s" of frequency, bearing, ident and To/From (none for
// NoToFrom); empty when the three edits are all empty.
std::string ComposeVorCell(const CheckpointDialogTexts& dialog);

// A variation as pilots write it, "13E" or "13W", as the number the plan file
// holds: west positive, "-13" for 13E. Any other text is returned as typed.
std::string VariationCellText(const std::string& typed);

// Replaces the row's caption and all its sub-items with the dialog's texts;
// a variation typed with its side becomes the number the file holds.
void DialogToRow(const CheckpointDialogTexts& dialog, Checkpoint& row);

// Loads the row into the dialog texts; "To" when the fourth VOR field is "to"
// in any case, neither when it and the bearing are empty (the checkpoint is
// the VOR), else "From".
void RowToDialog(const Checkpoint& row, CheckpointDialogTexts& dialog);
