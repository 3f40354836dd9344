#include "print/navlog.h"

#include <algorithm>
#include <memory>

int PrintFilledLogOn(Canvas& canvas, const Plan& plan, PrintContext& ctx) {
  const int legcount = std::min<int>(plan.legcount, kMaxLegs);
  if (legcount <= 0) return 0;
  ctx.blankform = false;
  if (!StartPrintJob(ctx, canvas, plan.print)) return 0;
  int pages = 0;
  for (int firstleg = 0; firstleg < legcount; ++pages) firstleg = PrintPage(ctx, plan, firstleg);
  EndPrintJob(ctx);
  return pages;
}

int PrintBlankFormOn(Canvas& canvas, const Plan& plan, PrintContext& ctx) {
  if (!StartPrintJob(ctx, canvas, plan.print)) return 0;
  // The form is drawn from a copy with eleven cleared legs, so the plan's own
  // leg table still shows the last computation afterwards.
  auto form = std::make_unique<Plan>(plan);
  form->legcount = 11;
  for (int i = 0; i < 11; ++i) ClearLeg(form->legs[i]);
  ctx.blankform = true;
  PrintPage(ctx, *form, 0);
  EndPrintJob(ctx);
  return 1;
}
