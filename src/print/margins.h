// Margins that leave the form room to be read. The form's sizes follow the
// margins while its texts keep their point sizes, so past some point labels
// run into each other, rows overprint and the pilot's name disappears; such
// margins are refused rather than printed.
#pragma once

#include <string>

#include "plan/plan.h"
#include "print/export.h"

// A sheet in landscape, inches, with the name a message gives it.
struct PaperSheet {
  double width = 0.0;
  double height = 0.0;
  std::string name;
};

PaperSheet SheetOf(PaperSize paper);
// The narrower of letter and the lower of A4: margins fine here are fine on both.
PaperSheet LetterOrA4();

struct MarginCheck {
  std::string refusal;  // empty when the margins leave room enough
  bool across = false;  // the left and right margins are at fault, else the top and bottom
};

// Whether `margins` leave room for the form on `sheet`, and if not, why and
// how far they may go.
MarginCheck CheckMargins(const PrintSettings& margins, const PaperSheet& sheet);
