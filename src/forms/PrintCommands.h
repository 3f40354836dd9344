// Print, Print Blank Form and Print Preview on the plan document. All three
// go through one print dialog on one printer, kept for the whole run so the
// chosen printer, paper and copies hold from one print to the next.
#pragma once

#include <QString>
#include <memory>

#include "forms/Faskc.h"

class PlanDocument;
class QPrinter;
class QWidget;
struct PrintContext;

class PlanPrinting {
 public:
  PlanPrinting(PlanDocument& document, CheckDialogs dialogs);
  ~PlanPrinting();
  PlanPrinting(const PlanPrinting&) = delete;
  PlanPrinting& operator=(const PlanPrinting&) = delete;

  // Made on first use: start-up does not pay for the printer.
  QPrinter& Printer();

  // `owner` is the window the dialogs are shown over.
  void Print(QWidget* owner);
  void PrintBlank(QWidget* owner);
  // The preview's own Print button goes on to the print dialog, as Print does.
  void Preview(QWidget* owner);

 private:
  // The margins, the pre-print check and the leg computation; false when
  // printing stops.
  bool CheckAndCompute(QWidget* owner);
  // The print dialog on Printer(), with the plan's own PDF proposed for
  // printing to a file; false when cancelled or the file is refused.
  bool RunPrintDialog(QWidget* owner);

  PlanDocument& document_;
  CheckDialogs dialogs_;
  std::unique_ptr<PrintContext> context_;
  std::unique_ptr<QPrinter> printer_;
};

// The file a print to PDF proposes for the plan saved as `planfile`: its
// own name with ".pdf", beside it.
QString PrintFileProposal(const QString& planfile);
