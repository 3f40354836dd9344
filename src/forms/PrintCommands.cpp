#include "forms/PrintCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <utility>

#include "forms/Desktop.h"
#include "forms/Faskc.h"
#include "forms/Formutil.h"
#include "forms/PlanDocument.h"
#include "plan/fileio.h"
#include "print/navlog_qt.h"
#include "print/printjob.h"

QString PrintFileProposal(const QString& planfile) {
  const QFileInfo plan(planfile.isEmpty() ? QStringLiteral("newplan.flt") : planfile);
  const QString base =
      plan.completeBaseName().isEmpty() ? QStringLiteral("newplan") : plan.completeBaseName();
  return QDir(plan.absolutePath()).filePath(base + ".pdf");
}

PlanPrinting::PlanPrinting(PlanDocument& document, CheckDialogs dialogs)
    : document_(document),
      dialogs_(std::move(dialogs)),
      context_(std::make_unique<PrintContext>()) {}

PlanPrinting::~PlanPrinting() = default;

namespace {

const char* const kPaperKey = "print/paper";

}  // namespace

QPrinter& PlanPrinting::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Letter first, as the command line prints, then the paper last chosen.
    const int last = UserSettings().value(kPaperKey, int(QPageSize::Letter)).toInt();
    const QPageSize paper(static_cast<QPageSize::PageSizeId>(last));
    printer_->setPageSize(paper.isValid() ? paper : QPageSize(QPageSize::Letter));
    printer_->setPageOrientation(QPageLayout::Landscape);
  }
  return *printer_;
}

bool PlanPrinting::CheckAndCompute(QWidget* owner) {
  // Margins read from a file have not been through the print settings.
  if (!RefuseUnreadableMargins(owner, document_.plan().print).refusal.empty()) return false;
  return CheckRoute(document_, owner, dialogs_);
}

bool PlanPrinting::RunPrintDialog(QWidget* owner) {
  QPrinter& printer = Printer();
  const QString proposal = PrintFileProposal(QString::fromStdString(document_.plan().filename));
  printer.setDocName(QFileInfo(proposal).completeBaseName());
  // The dialog offers the printer's output file when printing to a file.
  // Setting it switches the printer to PDF output, so a chosen printer is
  // selected again afterwards; the dialog clears the file when it prints to
  // a printer.
  const bool to_file = printer.outputFormat() == QPrinter::PdfFormat;
  const QString device = printer.printerName();
  printer.setOutputFileName(proposal);
  if (!to_file && !device.isEmpty()) printer.setPrinterName(device);
  const bool accepted = desktop().PrintDialog(owner, printer);
  const QPageSize paper = printer.pageLayout().pageSize();
  if (accepted && paper.id() != QPageSize::Custom)
    UserSettings().setValue(kPaperKey, int(paper.id()));
  if (!accepted && !to_file && printer.outputFormat() == QPrinter::NativeFormat) {
    printer.setOutputFileName(QString());  // never print to the proposal unasked
  }
  if (accepted && printer.outputFormat() == QPrinter::PdfFormat &&
      !printer.outputFileName().isEmpty()) {
    // The printer writes the file itself: a device, a directory or a
    // read-only file must be refused before it starts.
    const std::string path = printer.outputFileName().toStdString();
    std::string target;
    std::string error;
    if (!ResolveWriteTarget(path, target, error)) {
      desktop().MessageBox(owner,
                           QString("Unable to print to %1\n%2")
                               .arg(QString::fromStdString(path), QString::fromStdString(error)),
                           "Error", MessageButtons::Ok);
      return false;
    }
  }
  return accepted;
}

void PlanPrinting::Print(QWidget* owner) {
  if (!CheckAndCompute(owner)) return;
  if (!RunPrintDialog(owner)) return;
  PrintFilledLog(Printer(), document_.plan(), document_.Log(), *context_);
}

void PlanPrinting::PrintBlank(QWidget* owner) {
  if (!RefuseUnreadableMargins(owner, document_.plan().print).refusal.empty()) return;
  if (!RunPrintDialog(owner)) return;
  PrintBlankForm(Printer(), document_.plan(), *context_);
}

void PlanPrinting::Preview(QWidget* owner) {
  if (!CheckAndCompute(owner)) return;
  const bool print = desktop().PrintPreview(owner, Printer(), [this](QPrinter* target) {
    PrintFilledLog(*target, document_.plan(), document_.Log(), *context_);
  });
  if (!print || !RunPrintDialog(owner)) return;
  PrintFilledLog(Printer(), document_.plan(), document_.Log(), *context_);
}
