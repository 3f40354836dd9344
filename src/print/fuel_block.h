// The fuel plan and the weight and balance on paper: two ruled tables on the
// page that follows the log, with a mark where the plan asks more than the
// aircraft has.
#pragma once

#include "plan/fuel_plan.h"
#include "print/primitives.h"

// Draws the fuel plan (when `fuel`) and the weight and balance (when `wb`)
// side by side between `top` and `bottom`, across the table's width.
void DrawFuelAndLoading(PrintContext& ctx, int top, int bottom, const FuelPlan* fuel,
                        const WeightBalance* wb);
