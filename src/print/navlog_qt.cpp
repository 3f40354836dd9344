#include "print/navlog_qt.h"

#include <QPageLayout>
#include <QPrinter>

#include "print/navlog.h"
#include "print/printjob.h"
#include "print/qpainter_canvas.h"

void PrintFilledLog(QPrinter& printer, const Plan& plan, const NavLog& log, PrintContext& ctx) {
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainterCanvas canvas(printer);
  PrintFilledLogOn(canvas, plan, log, ctx);
}

void PrintBlankForm(QPrinter& printer, const Plan& plan, PrintContext& ctx) {
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainterCanvas canvas(printer);
  PrintBlankFormOn(canvas, plan, ctx);
}
