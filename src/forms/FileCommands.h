// The File menu's plan commands, on the plan document. `owner` is the window
// the questions and file dialogs are shown over.
#pragma once

#include <string>

class PlanDocument;
class QWidget;

// The filter of the plan file dialogs.
extern const char* const kPlanFilter;  // "Halvix Flight Plans (*.flt)"

// The save-changes prompt: true when the caller may go on and drop the plan.
bool AskToSaveChanges(QWidget* owner, PlanDocument& document);

// Saves to `path` and reports a refusal or failure; false when the plan
// could not be written and must not be dropped.
bool SavePlanTo(QWidget* owner, PlanDocument& document, const std::string& path);

// Replaces the plan with the file at `path`; tells the user when the file
// holds more rows than a plan keeps. On a read error it says why and keeps
// the plan (false).
bool LoadPlanFile(QWidget* owner, PlanDocument& document, const std::string& path);

// File > New, Open, Save As and Import Route.
void NewPlan(QWidget* owner, PlanDocument& document);
void OpenPlan(QWidget* owner, PlanDocument& document);
void SavePlanAs(QWidget* owner, PlanDocument& document);
void ImportRouteIntoPlan(QWidget* owner, PlanDocument& document);

// `path` with ".flt" appended when its file name has no point; the folders
// above it do not count.
std::string WithPlanExtension(const std::string& path);
