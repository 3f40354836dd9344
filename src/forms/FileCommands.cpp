#include "forms/FileCommands.h"

#include <QFileInfo>
#include <QString>
#include <QStringList>

#include "forms/Desktop.h"
#include "forms/Importroute.h"
#include "forms/PlanDocument.h"
#include "plan/planfile.h"

const char* const kPlanFilter = "Halvix Flight Plans (*.flt)";

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

bool AskToSaveChanges(QWidget* owner, PlanDocument& document) {
  const Plan& plan = document.plan();
  if (!document.IsModified()) return true;
  int answer = desktop().MessageBox(
      owner, QString("Do you wish to save changes to %1 ? ").arg(Q(plan.filename)), "Confirm",
      MessageButtons::YesNoCancel);
  if (answer == mrCancel) return false;
  // A plan that could not be written is kept open rather than dropped.
  if (answer == mrYes) return SavePlanTo(owner, document, plan.filename);
  return true;
}

bool SavePlanTo(QWidget* owner, PlanDocument& document, const std::string& path) {
  SaveResult result = SavePlan(document.plan(), path);
  switch (result.status) {
    case SaveStatus::Saved:
      document.MarkSaved();
      return true;
    case SaveStatus::NothingToSave:
      desktop().MessageBox(owner, kNoDataMessage, "Error", MessageButtons::Ok);
      return true;
    case SaveStatus::Failed:
      break;
  }
  document.MarkUnsaved();
  desktop().MessageBox(owner, QString("Unable to save %1\n%2").arg(Q(path), Q(result.error)),
                       "Error", MessageButtons::Ok);
  return false;
}

bool LoadPlanFile(QWidget* owner, PlanDocument& document, const std::string& path) {
  // Read into a plan of its own: a file that cannot be read leaves the plan
  // that is open as it was, rather than putting defaults under its name.
  Plan loaded;
  const LoadResult result = LoadPlan(loaded, path);
  if (!result.ok) {
    desktop().MessageBox(owner, QString("Unable to open %1\n%2").arg(Q(path), Q(result.error)),
                         "Error", MessageButtons::Ok);
    return false;
  }
  loaded.filename = path;
  document.Replace(std::move(loaded));
  const std::string dropped = RowsDroppedWarning(result);
  if (!dropped.empty()) desktop().MessageBox(owner, Q(dropped), "Warning", MessageButtons::Ok);
  // Performance and loading values the file holds that make no sense: the
  // plan is computed without them, and the file keeps them as they are.
  QStringList refused;
  for (const Finding& finding : result.report.findings()) {
    if (finding.severity == Finding::Severity::Warning && finding.text != dropped)
      refused << Q(finding.text);
  }
  if (!refused.isEmpty()) {
    desktop().MessageBox(owner, refused.join('\n'), "Warning", MessageButtons::Ok);
  }
  return true;
}

void NewPlan(QWidget* owner, PlanDocument& document) {
  if (!AskToSaveChanges(owner, document)) return;
  // The aircraft and the print settings stay as they were.
  Plan next = document.plan();
  next.title.clear();
  next.route.clear();
  next.airfields.clear();
  next.filename = "newplan.flt";
  // An undoable step, so a plan dropped by mistake comes back; whether there
  // is something to save stays as it was.
  const bool saved = !document.IsModified();
  document.ReplaceAsChange(QStringLiteral("New Plan"), std::move(next));
  if (saved) document.MarkSaved();
}

void OpenPlan(QWidget* owner, PlanDocument& document) {
  if (!AskToSaveChanges(owner, document)) return;
  QString path = Q(document.plan().filename);
  if (!desktop().OpenFileName(owner, path, kPlanFilter)) return;
  std::string chosen = path.toStdString();
  if (!PathExists(chosen)) {
    std::string candidate = chosen + ".flt";
    if (PathExists(candidate)) chosen = candidate;
  }
  LoadPlanFile(owner, document, chosen);
}

std::string WithPlanExtension(const std::string& path) {
  if (QFileInfo(Q(path)).fileName().contains('.')) return path;
  return path + ".flt";
}

void SavePlanAs(QWidget* owner, PlanDocument& document) {
  QString path = Q(document.plan().filename);
  if (!desktop().SaveFileName(owner, path, kPlanFilter)) return;
  document.SetFileName(WithPlanExtension(path.toStdString()));
  SavePlanTo(owner, document, document.plan().filename);
}

void ImportRouteIntoPlan(QWidget* owner, PlanDocument& document) {
  if (!AskToSaveChanges(owner, document)) return;
  // Imported into a copy, so a file that cannot be imported leaves the plan whole.
  Plan next = document.plan();
  if (ImportRouteFile(owner, next, Today()))
    document.ReplaceAsChange(QStringLiteral("Import Route"), std::move(next));
}
