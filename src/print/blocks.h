// The blocks around the table: the pilot and aircraft row, the hatched bands,
// the airfield block and the ruled notes areas.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "plan/plan.h"
#include "print/printjob.h"

void DrawHeaderRow(PrintContext& ctx, const AircraftInfo& aircraft, int top);
void DrawBand(PrintContext& ctx, int top);

using FieldTexts = std::array<std::string, kAirfieldColumns>;
void DrawFieldRow(PrintContext& ctx, int top, const FieldTexts& texts);

void DrawNotesArea(PrintContext& ctx, int x0, int top, int x1, int bottom);

// The airfield block with its header labels, one row per airfield (four
// empty ones on the blank form) and the two notes areas down to the margin.
void DrawAirfieldBlock(PrintContext& ctx, const std::vector<AirfieldInfo>& fields, int fieldtop);
