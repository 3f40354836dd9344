#include "print/navlog.h"

#include <algorithm>

int PrintFilledLogOn(Canvas& canvas, const Plan& plan, const NavLog& log, PrintContext& ctx) {
  const int legcount = std::min<int>(log.LegCount(), kMaxLegs);
  if (legcount <= 0) return 0;
  ctx.blankform = false;
  if (!StartPrintJob(ctx, canvas, plan.print)) return 0;
  const std::vector<PageLayout> pages =
      PlanPages(ctx, legcount, static_cast<int>(plan.airfields.size()));
  const int count = static_cast<int>(pages.size());
  for (int i = 0; i < count; ++i) PrintPage(ctx, plan, log, pages[i], i + 1, count);
  EndPrintJob(ctx);
  return count;
}

int PrintBlankFormOn(Canvas& canvas, const Plan& plan, PrintContext& ctx) {
  if (!StartPrintJob(ctx, canvas, plan.print)) return 0;
  static const NavLog kBlank = BlankLog(11);
  ctx.blankform = true;
  PrintPage(ctx, plan, kBlank, PlanBlankPage(ctx), 1, 1);
  EndPrintJob(ctx);
  return 1;
}
