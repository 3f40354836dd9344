#include "plan/plan.h"

#include <cctype>
#include <cstring>
#include <limits>

#include "plan/text_fields.h"

namespace {

const std::string kEmpty;

// A text cut to its field must not end in a blank: a plan file reader trims
// it, and a save and load would change the text.
std::string CutField(const std::string& text) {
  std::string cut = CutUtf8(text, kShortTextMax);
  if (cut.size() < text.size()) {
    while (!cut.empty() && IsBlank(cut.back())) cut.pop_back();
  }
  return cut;
}

bool EqualsIgnoreCase(const std::string& a, const char* b) {
  std::size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

std::string& AirfieldColumn(AirfieldInfo& field, int column) {
  switch (column) {
    case 0:
      return field.name;
    case 1:
      return field.elevation;
    case 2:
      return field.tpa;
    case 3:
      return field.runways;
    case 4:
      return field.atc;
    case 5:
      return field.traffic;
    case 6:
      return field.atis;
    case 7:
      return field.ground;
    default:
      return field.unicom;
  }
}

const std::string& AirfieldColumn(const AirfieldInfo& field, int column) {
  return AirfieldColumn(const_cast<AirfieldInfo&>(field), column);
}

const std::string& Checkpoint::SubItem(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= subitems.size()) return kEmpty;
  return subitems[static_cast<std::size_t>(index)];
}

std::string CutUtf8(const std::string& text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  // Whole characters only: the cut lands before the first that does not fit.
  std::size_t cut = 0;
  for (std::size_t next = 0; next <= max_bytes; next += Utf8CharLength(text, next)) cut = next;
  return text.substr(0, cut);
}

void CopyField(char (&field)[kTextField], const std::string& text) {
  const std::string cut = CutField(text);
  std::memcpy(field, cut.data(), cut.size());
  field[cut.size()] = '\0';
}

int32_t ParseLong(const char* text) {
  const char* p = text;
  while (*p != '\0' && IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  int64_t value = 0;
  const int64_t limit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
  while (*p >= '0' && *p <= '9') {
    if (value < limit) value = value * 10 + (*p - '0');
    ++p;
  }
  if (value > limit) value = limit;
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

int32_t ClampCell(int32_t value) {
  return value > kMaxCellValue ? kMaxCellValue : value < -kMaxCellValue ? -kMaxCellValue : value;
}

double ClampQuantity(double value) {
  if (!(value == value)) return 0.0;
  return value > kMaxQuantity ? kMaxQuantity : value < -kMaxQuantity ? -kMaxQuantity : value;
}

void ClearLeg(LegResult& leg) {
  leg = LegResult{};
  for (int32_t* field :
       {&leg.tc, &leg.alt, &leg.winddir, &leg.windvel, &leg.temp, &leg.tas, &leg.wca, &leg.th,
        &leg.var, &leg.mh, &leg.dev, &leg.ch, &leg.dist, &leg.distrem, &leg.gs, &leg.ete}) {
    *field = NOT_ENTERED;
  }
  leg.fuelused = NOT_ENTERED_FUEL;
  leg.fuelrem = NOT_ENTERED_FUEL;
}

void ParseIntCell(const Checkpoint& row, int subitem, int32_t& own, int32_t& carried) {
  const std::string& text = row.SubItem(subitem);
  if (text.empty()) {
    own = NOT_ENTERED;
    return;
  }
  own = ClampCell(ParseLong(text.c_str()));
  carried = own;
}

std::string VorTokenizer::NextToken() {
  if (done_) return std::string();
  std::size_t slash = text_.find('/', pos_);
  std::string field;
  if (slash == std::string::npos) {
    field = text_.substr(pos_);
    done_ = true;
  } else {
    field = text_.substr(pos_, slash - pos_);
    pos_ = slash + 1;
  }
  return std::string(Trim(field));
}

void ParseRow(const Checkpoint& row, LegResult& own, LegResult& carry) {
  CopyField(own.toname, row.caption);
  ParseIntCell(row, kCellDist, own.dist, carry.dist);
  ParseIntCell(row, kCellCourse, own.tc, carry.tc);
  ParseIntCell(row, kCellAltitude, own.alt, carry.alt);
  ParseIntCell(row, kCellWindDir, own.winddir, carry.winddir);
  ParseIntCell(row, kCellWindVel, own.windvel, carry.windvel);
  ParseIntCell(row, kCellTemp, own.temp, carry.temp);
  ParseIntCell(row, kCellTas, own.tas, carry.tas);
  ParseIntCell(row, kCellMagVar, own.var, carry.var);

  // Split the field as it is stored, so the parts agree with vortext.
  const std::string vor = CutField(row.SubItem(kCellVor));
  CopyField(own.vortext, vor);
  VorTokenizer tokens(vor);
  CopyField(own.vorfreq, tokens.NextToken());
  CopyField(own.vorbrng, tokens.NextToken());
  CopyField(own.vorident, tokens.NextToken());
  CopyField(own.vortofr, tokens.NextToken());
}

std::string ComposeVorCell(const CheckpointDialogTexts& dialog) {
  if (dialog.EditFreq.empty() && dialog.EditIdent.empty() && dialog.EditBear.empty()) {
    return std::string();
  }
  const char* to_from = dialog.NoToFrom ? "" : dialog.RadioButtonTo ? "To" : "From";
  return dialog.EditFreq + "/ " + dialog.EditBear + "/ " + dialog.EditIdent + "/ " + to_from;
}

std::string VariationCellText(const std::string& typed) {
  // "13E" or "13 w": digits, then the side. Anything else stays as typed.
  std::size_t i = 0;
  while (i < typed.size() && (typed[i] == ' ' || typed[i] == '\t')) ++i;
  const std::size_t digits = i;
  while (i < typed.size() && std::isdigit(static_cast<unsigned char>(typed[i]))) ++i;
  if (i == digits || i - digits > 5) return typed;
  const std::string number = typed.substr(digits, i - digits);
  while (i < typed.size() && typed[i] == ' ') ++i;
  if (i + 1 != typed.size()) {
    std::size_t end = i + 1;
    while (end < typed.size() && (typed[end] == ' ' || typed[end] == '\t')) ++end;
    if (end != typed.size()) return typed;
  }
  if (i >= typed.size()) return typed;
  const char side = static_cast<char>(std::toupper(static_cast<unsigned char>(typed[i])));
  // The plan adds the variation to a true heading: west counts positive.
  if (side == 'W') return std::to_string(ParseLong(number.c_str()));
  if (side == 'E') return std::to_string(-ParseLong(number.c_str()));
  return typed;
}

void DialogToRow(const CheckpointDialogTexts& dialog, Checkpoint& row) {
  row.caption = CutUtf8(dialog.EditCheckpointName, kShortTextMax);
  row.subitems = {dialog.EditDistance,
                  dialog.EditTrueCourse,
                  dialog.EditAltitude,
                  dialog.EditWindDir,
                  dialog.EditWindSpeed,
                  dialog.EditTemperature,
                  dialog.EditAirspeed,
                  VariationCellText(dialog.EditMagVar),
                  CutUtf8(ComposeVorCell(dialog), kShortTextMax)};
}

void RowToDialog(const Checkpoint& row, CheckpointDialogTexts& dialog) {
  dialog.EditCheckpointName = row.caption;
  dialog.EditDistance = row.SubItem(kCellDist);
  dialog.EditTrueCourse = row.SubItem(kCellCourse);
  dialog.EditAltitude = row.SubItem(kCellAltitude);
  dialog.EditWindDir = row.SubItem(kCellWindDir);
  dialog.EditWindSpeed = row.SubItem(kCellWindVel);
  dialog.EditTemperature = row.SubItem(kCellTemp);
  dialog.EditAirspeed = row.SubItem(kCellTas);
  dialog.EditMagVar = row.SubItem(kCellMagVar);
  VorTokenizer tokens(row.SubItem(kCellVor));
  dialog.EditFreq = tokens.NextToken();
  dialog.EditBear = tokens.NextToken();
  dialog.EditIdent = tokens.NextToken();
  const std::string to_from = tokens.NextToken();
  dialog.RadioButtonTo = EqualsIgnoreCase(to_from, "to");
  dialog.NoToFrom = to_from.empty() && dialog.EditBear.empty() && !dialog.EditIdent.empty();
}
