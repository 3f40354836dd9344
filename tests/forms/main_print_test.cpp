// The main window's print commands, the pre-print prompt reached through
// Print, and the help and web-link commands.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include "MainWindowFixture.h"
#include "forms/Faskc.h"
#include "forms/Fprint.h"
#include "forms/PrintCommands.h"
#include "halvix_version.h"
#include "plan/planfile.h"
#include "print/margins.h"

namespace {

// Pages of a PDF file written by Qt; -1 when it is no PDF.
int PdfPages(const std::string& bytes) {
  if (bytes.rfind("%PDF", 0) != 0) return -1;
  static const QRegularExpression page("/Type\\s*/Page(?!s)");
  return static_cast<int>(
      QString::fromLatin1(bytes.data(), static_cast<int>(bytes.size())).count(page));
}

void Click(QWidget* widget) {
  const QPointF at(2, 2);
  QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}

}  // namespace

class MainPrintTest : public MainWindowTest {
 protected:
  void LoadRoute(int rows, int fields) {
    WriteFile(Path("trip.flt"), PlanText("Lakes", rows, fields));
    ShowPlan([this](Plan& plan) { LoadPlan(plan, Path("trip.flt")); });
  }

  // Plays the missing-information prompt by pressing `button`.
  void AnswerPrompt(QPushButton* TFormAskContinue::*button, QString* label = nullptr) {
    desk.dialog_answers.push_back([button, label](QDialog* d) {
      auto* form = static_cast<TFormAskContinue*>(d);
      if (label) *label = form->LabelParam->text();
      (form->*button)->click();
      return d->result();
    });
  }

  std::string pdf_ = Path("log.pdf");
};

TEST_F(MainPrintTest, PrintWritesTheFilledLogToTheChosenPrinter) {
  LoadRoute(14, 0);  // 13 legs: 12 on the first page, 1 on the second
  desk.print_to_pdf = QString::fromStdString(pdf_);
  desk.print_answers = {true};
  Form1->ButtonPrintClick();
  EXPECT_EQ(desk.print_dialogs, 1);
  EXPECT_EQ(PdfPages(ReadFile(pdf_)), 2);
  EXPECT_EQ(Form1->Document().Log().LegCount(), 13);
  EXPECT_FALSE(Form1->Document().IsModified());

  // The menu item does the same; a cancelled dialog prints nothing.
  QFile::remove(QString::fromStdString(pdf_));
  desk.print_answers = {false};
  Form1->Print1Click();
  EXPECT_EQ(desk.print_dialogs, 2);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf_)));
}

TEST_F(MainPrintTest, HalfSheetsFromThePrintDialogTakeThePortraitKneeboardLog) {
  LoadRoute(14, 2);
  desk.print_to_pdf = QString::fromStdString(pdf_);
  desk.print_answers = {true};
  desk.print_paper = QPageSize::A5;
  Form1->ButtonPrintClick();
  const std::string pdf = ReadFile(pdf_);
  // One page of legs, one of airfields, both A5 upright.
  EXPECT_EQ(PdfPages(pdf), 2);
  EXPECT_NE(pdf.find("/MediaBox [0 0 420.000000 595.000000]"), std::string::npos);
}

TEST_F(MainPrintTest, PrintToAFileThatMustNotBeReplacedIsRefused) {
  LoadRoute(3, 0);
  WriteFile(pdf_, "old");
  QFile::setPermissions(QString::fromStdString(pdf_), QFileDevice::ReadOwner);
  desk.print_to_pdf = QString::fromStdString(pdf_);
  desk.print_answers = {true};
  desk.message_answers = {mrOk};
  Form1->ButtonPrintClick();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_TRUE(desk.messages[0].text.contains("read-only")) << desk.messages[0].text.toStdString();
  EXPECT_EQ(ReadFile(pdf_), "old");
}

TEST_F(MainPrintTest, BlankFormIsOnePageWithoutTheCheck) {
  // Even an empty route: the blank form asks nothing first.
  desk.print_to_pdf = QString::fromStdString(pdf_);
  desk.print_answers = {true};
  Form1->PrintBlankForm1Click();
  EXPECT_TRUE(desk.messages.empty());
  EXPECT_EQ(PdfPages(ReadFile(pdf_)), 1);

  QFile::remove(QString::fromStdString(pdf_));
  desk.print_answers = {false};
  Form1->PrintBlankForm1Click();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf_)));
}

TEST_F(MainPrintTest, BlankFormDoesNotChangeALaterFilledLog) {
  LoadRoute(4, 1);
  const std::string alone = Path("alone.pdf");
  desk.print_to_pdf = QString::fromStdString(alone);
  desk.print_answers = {true};
  Form1->ButtonPrintClick();
  const LegResult first = Form1->Document().Log().legs[0];

  desk.print_to_pdf = QString::fromStdString(pdf_);
  desk.print_answers = {true, true};
  Form1->PrintBlankForm1Click();
  Form1->ButtonPrintClick();
  EXPECT_EQ(Form1->Document().Log().LegCount(), 3);
  EXPECT_EQ(Form1->Document().Log().legs[0].gs, first.gs);
  EXPECT_EQ(Form1->Document().Log().legs[0].ete, first.ete);
  EXPECT_EQ(PdfPages(ReadFile(pdf_)), PdfPages(ReadFile(alone)));
}

TEST_F(MainPrintTest, MarginsFromAFileThatLeaveTheFormTooSmallAreRefused) {
  std::string text = PlanText("Wide", 3, 0);
  text.insert(text.find("\r\n") + 2, "leftmargin=3\r\nrightmargin=3\r\n");
  WriteFile(Path("trip.flt"), text);
  ShowPlan([this](Plan& plan) { LoadPlan(plan, Path("trip.flt")); });
  desk.print_to_pdf = QString::fromStdString(pdf_);
  desk.message_answers = {mrOk, mrOk, mrOk};
  Form1->ButtonPrintClick();
  Form1->PrintPreview1Click();
  Form1->PrintBlankForm1Click();
  EXPECT_EQ(desk.print_dialogs, 0);
  EXPECT_EQ(desk.previews, 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf_)));
  ASSERT_EQ(desk.messages.size(), 3u);
  // The print settings dialog's own words.
  EXPECT_EQ(desk.messages[0].text.toStdString(),
            CheckMargins(Form1->plan.print, LetterOrA4()).refusal);
  EXPECT_EQ(desk.messages[0].caption, "error");

  ShowPlan([](Plan& plan) { plan.print.leftmargin = plan.print.rightmargin = 0.5; });
  desk.print_answers = {true};
  Form1->ButtonPrintClick();
  EXPECT_EQ(PdfPages(ReadFile(pdf_)), 1);
}

TEST_F(MainPrintTest, PreviewDrawsTheFilledLogAfterTheSameCheck) {
  LoadRoute(3, 2);
  desk.print_to_pdf = QString::fromStdString(pdf_);
  Form1->PrintPreview1Click();
  EXPECT_EQ(desk.previews, 1);
  EXPECT_EQ(desk.print_dialogs, 0);
  EXPECT_EQ(PdfPages(ReadFile(pdf_)), 1);
  EXPECT_EQ(Form1->Document().Log().LegCount(), 2);

  // Too short a route stops before the preview.
  DestroyForms();
  CreateForms();
  Form1->TimerAutoLoad->stop();
  desk.message_answers = {mrOk};
  Form1->PrintPreview1Click();
  EXPECT_EQ(desk.previews, 1);
}

TEST_F(MainPrintTest, PrintingFromThePreviewGoesThroughThePrintDialog) {
  LoadRoute(3, 0);
  Form1->Document().SetFileName(Path("trip.flt"));
  desk.print_to_pdf = QString::fromStdString(pdf_);
  desk.preview_answers = {true};
  desk.print_answers = {true};
  Form1->PrintPreview1Click();
  EXPECT_EQ(desk.print_dialogs, 1);
  ASSERT_EQ(desk.print_file_offers.size(), 1u);
  EXPECT_EQ(desk.print_file_offers[0], QPath("trip.pdf"));
  EXPECT_EQ(PdfPages(ReadFile(pdf_)), 1);

  // A target that cannot be printed to is refused here as well.
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.pdf"));
  desk.print_to_pdf = QPath("folder.pdf");
  desk.preview_answers = {true};
  desk.print_answers = {true};
  desk.message_answers = {mrOk};
  Form1->PrintPreview1Click();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_TRUE(desk.messages[0].text.startsWith("Unable to print to"))
      << desk.messages[0].text.toStdString();
}

TEST_F(MainPrintTest, OnePrinterKeepsItsSettingsForTheWholeRun) {
  LoadRoute(3, 0);
  desk.print_answers = {true, true, false};
  desk.print_to_pdf = QString::fromStdString(pdf_);
  Form1->ButtonPrintClick();
  ASSERT_EQ(desk.printers_used.size(), 1u);
  // What the user chose in the dialog: two copies on legal paper.
  desk.printers_used[0]->setCopyCount(2);
  desk.printers_used[0]->setPageSize(QPageSize(QPageSize::Legal));

  Form1->PrintBlankForm1Click();
  Form1->PrintPreview1Click();
  Form1->Print1Click();
  ASSERT_EQ(desk.printers_used.size(), 4u);
  for (QPrinter* printer : desk.printers_used) {
    EXPECT_EQ(printer, desk.printers_used[0]);
    EXPECT_EQ(printer->copyCount(), 2);
    EXPECT_EQ(printer->pageLayout().pageSize().id(), QPageSize::Legal);
    EXPECT_EQ(printer->pageLayout().orientation(), QPageLayout::Landscape);
  }
}

TEST_F(MainPrintTest, PrintToFileOffersThePlansOwnNameBesideIt) {
  LoadRoute(3, 0);
  Form1->Document().SetFileName(Path("trip.flt"));
  desk.print_answers = {false, true};
  Form1->ButtonPrintClick();
  ASSERT_EQ(desk.print_file_offers.size(), 1u);
  EXPECT_EQ(desk.print_file_offers[0], QPath("trip.pdf"));

  // After printing elsewhere, a plan saved under a new name offers that one.
  desk.print_to_pdf = QString::fromStdString(pdf_);
  Form1->PrintBlankForm1Click();
  Form1->Document().SetFileName(Path("sub/renamed.plan.flt"));
  desk.print_answers = {false};
  Form1->ButtonPrintClick();
  ASSERT_EQ(desk.print_file_offers.size(), 3u);
  EXPECT_EQ(desk.print_file_offers[2], QPath("sub/renamed.plan.pdf"));

  EXPECT_EQ(PrintFileProposal("newplan.flt"), QDir::current().filePath("newplan.pdf"));
  EXPECT_EQ(PrintFileProposal(""), QDir::current().filePath("newplan.pdf"));
}

TEST_F(MainPrintTest, PrintNeedsTwoRows) {
  AddRoute(0);
  desk.message_answers = {mrOk};
  Form1->ButtonPrintClick();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].text,
            "You must have at least two checkpoints before computing the route");
  EXPECT_EQ(desk.messages[0].caption, "error");
  EXPECT_EQ(desk.print_dialogs, 0);
}

TEST_F(MainPrintTest, MissingInformationPromptDecidesWhetherToPrint) {
  LoadRoute(3, 0);
  ShowPlan([](Plan& plan) {
    plan.route[1].subitems[kCellCourse].clear();
    plan.route[1].subitems[kCellWindDir].clear();
  });
  desk.print_to_pdf = QString::fromStdString(pdf_);

  // Cancel: nothing printed.
  QString label;
  AnswerPrompt(&TFormAskContinue::Button3, &label);
  Form1->ButtonPrintClick();
  EXPECT_EQ(desk.shown_dialogs.back(), Form1->FormAskContinue());
  EXPECT_EQ(label, "Missing Information: True Course and Predicted Wind Direction");
  EXPECT_EQ(desk.print_dialogs, 0);

  // Proceed: printed without the first leg's wind effects.
  AnswerPrompt(&TFormAskContinue::Button1);
  desk.print_answers = {true};
  Form1->ButtonPrintClick();
  EXPECT_EQ(desk.print_dialogs, 1);
  EXPECT_EQ(PdfPages(ReadFile(pdf_)), 1);

  // Closed by its frame: goes on as Proceed.
  desk.dialog_answers.push_back([](QDialog* d) {
    d->reject();
    return d->result();
  });
  desk.print_answers = {false};
  Form1->ButtonPrintClick();
  EXPECT_EQ(desk.print_dialogs, 2);

  // Enter it now: the checkpoint dialog opens on row 1 at the missing value;
  // the list shows what was typed and nothing prints yet.
  AnswerPrompt(&TFormAskContinue::Button2);
  desk.dialog_answers.push_back([](QDialog* d) {
    EXPECT_EQ(d, Form1->FormAdd());
    EXPECT_EQ(Form1->FormAdd()->EditCheckpointName->text(), "Point 1");
    EXPECT_EQ(d->focusWidget(), Form1->FormAdd()->EditTrueCourse);
    Form1->FormAdd()->EditTrueCourse->setText("095");
    Form1->FormAdd()->ButtonOkClick();
    return d->result();
  });
  Form1->ButtonPrintClick();
  EXPECT_EQ(desk.print_dialogs, 2);
  EXPECT_EQ(Form1->RouteModel()->index(1, 2).data().toString(), "095");
  EXPECT_TRUE(Form1->Document().IsModified());

  // The next Print asks for what is still missing.
  AnswerPrompt(&TFormAskContinue::Button3, &label);
  Form1->ButtonPrintClick();
  EXPECT_EQ(label, "Missing Information: Predicted Wind Direction");
}

TEST_F(MainPrintTest, ANumberCellWithoutANumberIsConfirmedBeforePrinting) {
  LoadRoute(3, 0);
  ShowPlan([](Plan& plan) { plan.route[2].subitems[kCellDist] = "abc"; });
  desk.print_to_pdf = QString::fromStdString(pdf_);
  desk.message_answers = {mrNo, mrYes};
  desk.print_answers = {true};
  Form1->ButtonPrintClick();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].text,
            "Checkpoint \"Point 2\": the distance \"abc\" is not a number and counts as "
            "0.\nPrint anyway?");
  EXPECT_EQ(desk.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(desk.print_dialogs, 0);

  Form1->ButtonPrintClick();
  EXPECT_EQ(desk.print_dialogs, 1);
  EXPECT_EQ(PdfPages(ReadFile(pdf_)), 1);
  EXPECT_EQ(Form1->Document().Log().legs[1].dist, 0);  // read as the C library reads it
}

TEST_F(MainPrintTest, PrintingKeepsTheSelectedRow) {
  LoadRoute(4, 0);
  Select(2);
  desk.print_answers = {false, false};
  Form1->ButtonPrintClick();
  EXPECT_EQ(Form1->SelectedRow(), 2);
  Form1->PrintBlankForm1Click();
  EXPECT_EQ(Form1->SelectedRow(), 2);

  // Also when the prompt had row 1 edited: the list shows the new value and
  // the selection stays where the user left it.
  Form1->Document().Change("Clear",
                           [](Plan& plan) { plan.route[1].subitems[kCellCourse].clear(); });
  AnswerPrompt(&TFormAskContinue::Button2);
  desk.dialog_answers.push_back([](QDialog* d) {
    Form1->FormAdd()->EditTrueCourse->setText("095");
    Form1->FormAdd()->ButtonOkClick();
    return d->result();
  });
  Form1->ButtonPrintClick();
  EXPECT_EQ(Form1->RouteModel()->index(1, 2).data().toString(), "095");
  EXPECT_EQ(Form1->SelectedRow(), 2);
}

TEST_F(MainPrintTest, HelpOpensTheManualFromTheStartUpDirectory) {
  WriteFile(Path("halvix.html"), "<html></html>");
  Form1->ButtonHelpClick();
  Form1->UsersManual1Click();
  ASSERT_EQ(desk.opened_urls.size(), 2u);
  EXPECT_EQ(QUrl(desk.opened_urls[0]).toLocalFile(), QPath("halvix.html"));
  EXPECT_EQ(desk.opened_urls[1], desk.opened_urls[0]);
}

TEST_F(MainPrintTest, VersionLabelAndAdvertisementOpenTheirPages) {
  EXPECT_EQ(Form1->LabelVersion->text(), "Halvix Version " HALVIX_VERSION);
  EXPECT_FALSE(Form1->LabelCopyright->text().isEmpty());
  Click(Form1->LabelVersion);
  Click(Form1->Panel2);
  Click(Form1->Label3);
  ASSERT_EQ(desk.opened_urls.size(), 3u);
  EXPECT_EQ(desk.opened_urls[0], QString(kHomePageUrl));
  EXPECT_EQ(desk.opened_urls[1], QString(kSiblingPageUrl));
  EXPECT_EQ(desk.opened_urls[2], QString(kSiblingPageUrl));
  EXPECT_TRUE(QUrl(desk.opened_urls[0]).host().endsWith("halvix.example"));
}

TEST_F(MainPrintTest, WhatTheDesktopCannotOpenIsNamedForOpeningByHand) {
  WriteFile(Path("halvix.html"), "<html></html>");
  desk.open_url_succeeds = false;
  desk.message_answers = {mrOk, mrOk};
  Form1->ButtonHelpClick();
  Click(Form1->LabelVersion);
  ASSERT_EQ(desk.messages.size(), 2u);
  EXPECT_TRUE(desk.messages[0].text.startsWith("Unable to open " + QPath("halvix.html") + "\n"))
      << desk.messages[0].text.toStdString();
  EXPECT_TRUE(desk.messages[1].text.startsWith(QString("Unable to open ") + kHomePageUrl + "\n"));
  EXPECT_EQ(desk.messages[1].caption, "error");
  EXPECT_EQ(desk.messages[1].buttons, MessageButtons::Ok);

  // The checkpoint dialog's Help tells it as well, and quiet callers stay quiet.
  WriteFile(Path("addcheck.html"), "<html></html>");
  desk.message_answers = {mrOk};
  Form1->FormAdd()->ButtonHelpClick();
  ASSERT_EQ(desk.messages.size(), 3u);
  EXPECT_TRUE(desk.messages[2].text.contains(QPath("addcheck.html")));
  EXPECT_FALSE(ViewDocument("halvix", StartDirectory, true));
  EXPECT_EQ(desk.messages.size(), 3u);
}

namespace {

// The next run of the program: the windows made again over the same settings.
void Restart() {
  DestroyForms();
  CreateForms();
  Form1->TimerAutoLoad->stop();
}

}  // namespace

TEST_F(MainPrintTest, PaperAndMarginsCarryOverToTheNextRun) {
  EXPECT_DOUBLE_EQ(Form1->plan.print.leftmargin, 0.1);  // a plan file's own default
  LoadRoute(3, 0);
  desk.print_answers = {true, true};
  desk.print_to_pdf = QString::fromStdString(pdf_);
  Form1->ButtonPrintClick();
  ASSERT_EQ(desk.printers_used.size(), 1u);
  EXPECT_EQ(desk.printers_used[0]->pageLayout().pageSize().id(), QPageSize::Letter);
  desk.printers_used[0]->setPageSize(QPageSize(QPageSize::A4));  // chosen in the dialog
  Form1->ButtonPrintClick();
  desk.dialog_answers.push_back([](QDialog* d) {
    Form1->FormPrintSettings()->EditLeft->setText("0.4");
    Form1->FormPrintSettings()->ButtonOkClick();
    return d->result();
  });
  Form1->PrintSettings1Click();

  Restart();
  EXPECT_DOUBLE_EQ(Form1->plan.print.leftmargin, 0.4);
  EXPECT_EQ(Form1->Printer().pageLayout().pageSize().id(), QPageSize::A4);
}

TEST_F(MainPrintTest, PreviewOpensWithTheWholePageInView) {
  LoadRoute(3, 0);
  SetDesktop(nullptr);  // the desktop's own preview window
  QPrintPreviewWidget::ZoomMode mode = QPrintPreviewWidget::CustomZoom;
  QTimer::singleShot(0, [&mode] {
    auto* preview = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(preview, nullptr);
    mode = preview->findChild<QPrintPreviewWidget*>()->zoomMode();
    preview->reject();
  });
  Form1->PrintPreview1Click();
  SetDesktop(&desk);
  EXPECT_EQ(mode, QPrintPreviewWidget::FitInView);
}
