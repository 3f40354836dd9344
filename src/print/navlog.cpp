#include "print/navlog.h"

#include <algorithm>
#include <memory>

int PrintFilledLogOn(Canvas& canvas, const Plan& plan, PrintContext& ctx) {
  const int legcount = std::min<int>(plan.legcount, kMaxLegs);
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
  for (int i = 0; i < count; ++i) PrintPage(ctx, plan, pages[i], i + 1, count);
  EndPrintJob(ctx);
  return count;
}

int PrintBlankFormOn(Canvas& canvas, const Plan& plan, PrintContext& ctx) {
  if (!StartPrintJob(ctx, canvas, plan.print)) return 0;
  // The form is drawn from a copy with eleven cleared legs, so the plan's own
  // leg table still shows the last computation afterwards.
  auto form = std::make_unique<Plan>(plan);
  form->legcount = 11;
  for (int i = 0; i < 11; ++i) ClearLeg(form->legs[i]);
  ctx.blankform = true;
  PrintPage(ctx, *form, PlanBlankPage(ctx), 1, 1);
  EndPrintJob(ctx);
  return 1;
}
