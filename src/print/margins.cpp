#include "print/margins.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "plan/cnumbers.h"

namespace {

// The horizontal unit the form is built of, in inches: "Speed" at 12 points
// needs 0.48 in and gets 0.58 of a unit.
constexpr double kMinUnitX = 0.82;
// The vertical unit: a quarter of it, less its inset, holds the glyphs of a
// 12 point line.
constexpr double kMinUnitY = 0.75;
// The pilot's name starts a label's width from the form's left edge and ends
// where the aircraft cell starts, six columns from the sheet's edge.
constexpr double kMinPilotCell = 1.0;
constexpr double kLabelCell = 0.92;
constexpr double kPilotCells = 6 * 0.58;

// A margin as the print job takes it: from nothing to the whole sheet.
double Clamped(double margin, double extent) {
  if (std::isnan(margin)) return 0.0;
  return std::clamp(margin, 0.0, extent);
}

std::string Inches(double value) {
  char text[64];
  CNumbers c_numbers;
  std::snprintf(text, sizeof text, "%.2f in", std::max(0.0, std::floor(value * 100.0) / 100.0));
  return text;
}

}  // namespace

PaperSheet SheetOf(PaperSize paper) {
  switch (paper) {
    case PaperSize::A4:
      return {297.0 / 25.4, 210.0 / 25.4, "A4 paper"};
    case PaperSize::Legal:
      return {14.0, 8.5, "legal paper"};
    case PaperSize::A5:
      return {210.0 / 25.4, 148.0 / 25.4, "A5 paper"};
    case PaperSize::HalfLetter:
      return {8.5, 5.5, "half letter paper"};
    case PaperSize::Letter:
      break;
  }
  return {11.0, 8.5, "letter paper"};
}

PaperSheet LetterOrA4() {
  return {11.0, 210.0 / 25.4, "letter or A4 paper"};
}

MarginCheck CheckMargins(const PrintSettings& margins, const PaperSheet& sheet) {
  const double w = sheet.width;
  const double h = sheet.height;
  const double left = Clamped(margins.leftmargin, w);
  const double right = Clamped(margins.rightmargin, w);
  const double top = Clamped(margins.topmargin, h);
  const double bottom = Clamped(margins.bottommargin, h);

  // The print job's units, in inches rather than device pixels.
  const double unitx = w / 10.87 - (left + right) / w;
  const double unity = (h - top - bottom) / h;
  const double pilotcell = (kPilotCells - kLabelCell) * unitx - left;

  MarginCheck check;
  std::vector<std::string> limits;
  if (unitx < kMinUnitX) {
    limits.push_back("the left and right margins may add up to " +
                     Inches(w * (w / 10.87 - kMinUnitX)) + " at most");
    check.across = true;
  }
  if (pilotcell < kMinPilotCell && unitx >= kMinUnitX) {
    const double k = kPilotCells - kLabelCell;
    const double most = (k * (w / 10.87 - right / w) - kMinPilotCell) / (1.0 + k / w);
    limits.push_back("with a right margin of " + Inches(right) + " the left margin may be " +
                     Inches(most) + " at most, or the pilot's name has no room");
    check.across = true;
  }
  if (unity < kMinUnitY) {
    limits.push_back("the top and bottom margins may add up to " + Inches(h * (1.0 - kMinUnitY)) +
                     " at most");
  }
  if (limits.empty()) return check;
  check.refusal = "These margins leave too little of " + sheet.name +
                  " for the navigation log: its labels and values would run into each other. ";
  for (std::size_t i = 0; i < limits.size(); ++i) {
    std::string limit = limits[i];
    if (i == 0) limit[0] = static_cast<char>(limit[0] - 'a' + 'A');
    check.refusal += limit + (i + 1 < limits.size() ? "; " : ".");
  }
  check.refusal += " Margins are in inches.";
  return check;
}
