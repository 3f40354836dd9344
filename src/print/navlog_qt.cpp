#include "print/navlog_qt.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include "print/kneeboard.h"
#include "print/navlog.h"
#include "print/printjob.h"
#include "print/qpainter_canvas.h"

bool KneeboardPaper(const QPrinter& printer) {
  const QPageSize::PageSizeId id = printer.pageLayout().pageSize().id();
  return id == QPageSize::A5 || id == QPageSize::Statement;
}

namespace {

// A half sheet chosen in the print dialog takes the kneeboard log.
bool PrintedOnKneeboard(QPrinter& printer, const Plan& plan, const NavLog& log, bool blank) {
  if (!KneeboardPaper(printer)) return false;
  printer.setPageOrientation(QPageLayout::Portrait);
  QPainterCanvas canvas(printer);
  PrintKneeboardOn(canvas, plan, log, blank);
  return true;
}

}  // namespace

void PrintFilledLog(QPrinter& printer, const Plan& plan, const NavLog& log, PrintContext& ctx) {
  if (PrintedOnKneeboard(printer, plan, log, false)) return;
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainterCanvas canvas(printer);
  PrintFilledLogOn(canvas, plan, log, ctx);
}

void PrintBlankForm(QPrinter& printer, const Plan& plan, PrintContext& ctx) {
  if (PrintedOnKneeboard(printer, plan, ComputeLog(plan), true)) return;
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainterCanvas canvas(printer);
  PrintBlankFormOn(canvas, plan, ctx);
}
