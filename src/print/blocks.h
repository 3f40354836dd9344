// The blocks around the table: the pilot and aircraft row, the hatched bands,
// the airfield block and the ruled notes areas.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "plan/plan.h"
#include "print/primitives.h"

void DrawHeaderRow(PrintContext& ctx, const AircraftInfo& aircraft, int top);
void DrawBand(PrintContext& ctx, int top);

using FieldTexts = std::array<std::string, kAirfieldColumns>;
void DrawFieldRow(PrintContext& ctx, int top, const FieldTexts& texts);

void DrawNotesArea(PrintContext& ctx, int x0, int top, int x1, int bottom);

// The airfield block with its header labels and one row per airfield, and
// the two notes areas down to `notesbottom`. Without `header` (no room for
// even the header row) only the notes are drawn, across the whole width.
// `daylight` lines (one per airfield whose sunrise and sunset are known)
// print under the rows, above the notes beside them.
void DrawAirfieldBlock(PrintContext& ctx, const std::vector<AirfieldInfo>& fields, int fieldtop,
                       bool header, int notesbottom, const std::vector<std::string>& daylight = {});

// The daylight lines of `fields` (airfields of `plan`): none without a
// departure date, nor for an airfield the route does not place.
std::vector<std::string> AirfieldDaylightLines(const Plan& plan,
                                               const std::vector<AirfieldInfo>& fields);
