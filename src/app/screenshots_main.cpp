// Writes a PNG of every window, filled from a plan file, for checking the
// layouts by eye: halvix-screenshots PLAN.flt OUTPUT_DIR [ROUTE.gpx]. A route
// file adds the main window as File > Import Route leaves it.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>
#include <QTimer>
#include <QTreeView>
#include <cstdio>

#include "forms/Fadd.h"
#include "forms/Fadd1.h"
#include "forms/Faddfld.h"
#include "forms/Fair.h"
#include "forms/Faskc.h"
#include "forms/Ffield.h"
#include "forms/Fhalvix.h"
#include "forms/Fnavlog.h"
#include "forms/Fprint.h"
#include "forms/Fwb.h"
#include "forms/Viewdoc.h"
#include "plan/fuel_plan.h"
#include "plan/planfile.h"
#include "routes/route_import.h"

namespace {

bool Shoot(QWidget* window, const QDir& out, const QString& name) {
  window->show();
  QApplication::processEvents();
  const QString path = out.filePath(name + ".png");
  const bool ok = window->grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toLocal8Bit().constData());
  window->hide();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  StartDirectory = QDir::currentPath();
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s PLAN.flt OUTPUT_DIR [ROUTE.gpx]\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  UseFormFont();
  TForm1 form;
  TForm1* Form1 = &form;
  Form1->TimerAutoLoad->stop();

  const std::string plan_path = argv[1];
  if (!PathExists(plan_path)) {
    std::fprintf(stderr, "no plan at %s\n", argv[1]);
    return 1;
  }
  QDir out(QString::fromLocal8Bit(argv[2]));
  if (!out.mkpath(".")) {
    std::fprintf(stderr, "cannot create %s\n", argv[2]);
    return 1;
  }

  PlanDocument& document = Form1->Document();
  Plan loaded;
  LoadPlan(loaded, plan_path);
  document.Replace(std::move(loaded));
  const Plan& plan = document.plan();
  if (plan.route.size() < 2 || plan.airfields.empty()) {
    std::fprintf(stderr, "the plan needs two route rows and an airfield\n");
    return 1;
  }
  Form1->ListViewPlan->setCurrentIndex(Form1->RouteModel()->index(1, 0));

  // Every dialog as its command makes it.
  TFormAdd* FormAdd = Form1->FormAdd();
  TFormAddFirst* FormAddFirst = Form1->FormAddFirst();
  TFormAircraft* FormAircraft = Form1->FormAircraft();
  TFormPrintSettings* FormPrintSettings = Form1->FormPrintSettings();
  TFormAskContinue* FormAskContinue = Form1->FormAskContinue();
  TFormFields* FormFields = Form1->FormFields();
  TFormAddField* FormAddField = FormFields->FormAddField();
  CheckpointDialogTexts texts;
  RowToDialog(plan.route[1], texts);
  FormAdd->SetTexts(texts);
  FormAddFirst->EditDeparture->setText(QString::fromStdString(plan.route[0].caption));
  FormAircraft->LoadAircraft(plan.aircraft);
  FormPrintSettings->LoadSettings(plan.print);
  FormAskContinue->LabelParam->setText("Missing Information: Predicted Wind Direction");
  FormFields->ListViewFields->setCurrentIndex(FormFields->Model()->index(0, 0));
  FormAddField->FieldRowToDialog(plan.airfields[0]);

  bool ok = Shoot(Form1, out, "main");
  ok = Shoot(FormAdd, out, "checkpoint") && ok;
  ok = Shoot(FormAircraft, out, "aircraft") && ok;
  ok = Shoot(FormAddFirst, out, "departure") && ok;
  ok = Shoot(FormPrintSettings, out, "print-options") && ok;
  ok = Shoot(FormAskContinue, out, "missing-information") && ok;
  ok = Shoot(FormFields, out, "fields") && ok;
  ok = Shoot(FormAddField, out, "airfield") && ok;
  {
    TFormPerformance performance(Form1);
    performance.LoadPerformance(plan.performance, plan.loading);
    ok = Shoot(&performance, out, "performance") && ok;
    performance.Pages->setCurrentIndex(1);
    ok = Shoot(&performance, out, "loading") && ok;
    TFormWeightBalance balance(Form1);
    balance.Show(plan.loading, plan.aircraft.acfullfuel - plan.performance.taxigal.value_or(0.0),
                 document.Log().fuel_plan.trip);
    ok = Shoot(&balance, out, "weight-and-balance") && ok;
  }
  // The log of the sample plan as it stands, then with a four-hour reserve
  // that the last checkpoints do not keep.
  QPointer<TFormNavLog> navlog;
  TFormNavLog* FormNavLog = ShowNavigationLog(navlog, Form1, document);
  ok = Shoot(FormNavLog, out, "navigation-log") && ok;
  FormNavLog->SpinReserve->setValue(240);
  ok = Shoot(FormNavLog, out, "navigation-log-reserve") && ok;
  if (argc == 4) {
    // A fixed day, so the variation in the picture does not drift.
    Plan next = plan;
    ImportResult imported = ImportRoute(argv[3], CivilDate{2026, 6, 1}, next);
    if (!imported.ok) std::fprintf(stderr, "%s: %s\n", argv[3], imported.error.c_str());
    document.ReplaceAsChange("Import Route", std::move(next));
    ok = imported.ok && Shoot(Form1, out, "import-route") && ok;
  }
  return ok ? 0 : 1;
}
