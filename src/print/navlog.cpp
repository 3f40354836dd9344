#include "print/navlog.h"

#include <algorithm>

int PrintFilledLogOn(Canvas& canvas, const Plan& plan, const NavLog& log, PrintContext& ctx) {
  // Tops of climb and descent may take the log past the route's legs.
  const int legcount = log.LegCount();
  if (legcount <= 0) return 0;
  ctx.blankform = false;
  if (!StartPrintJob(ctx, canvas, plan.print)) return 0;
  std::vector<PageLayout> pages = PlanPages(ctx, legcount, static_cast<int>(plan.airfields.size()));
  // The fuel plan and the loading follow on a page of their own, so the
  // pages of the log stay as they are.
  if (plan.performance.IsSet() || plan.loading.IsSet()) {
    PageLayout extra;
    extra.table = false;
    extra.fieldheader = false;
    extra.firstleg = legcount;
    extra.fuel_and_loading = true;
    pages.push_back(extra);
  }
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
