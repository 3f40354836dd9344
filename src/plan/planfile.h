// Reading and writing ".flt" plan files.
#pragma once

#include <string>

#include "plan/plan.h"
#include "plan/read_report.h"

enum class SaveStatus {
  Saved,          // written; plan.modified cleared
  NothingToSave,  // the route has no rows; nothing written
  Failed,         // the file could not be written; the old one is intact
};

struct SaveResult {
  SaveStatus status = SaveStatus::Failed;
  std::string error;  // why it failed, for the user
};

extern const char* const kNoDataMessage;  // "There is no data entered into the plan!"

// Writes the whole plan to `path`, keeping whatever else the file holds.
// The file is replaced in one step, so it is either the old or the new plan.
SaveResult SavePlan(Plan& plan, const std::string& path);

struct LoadResult {
  // The route rows the file says it holds; more than kMaxRoute means rows
  // were left out of the plan (see RowsDroppedWarning).
  int32_t rows_in_file = 0;
  bool ok = true;
  std::string error;         // why the file could not be read, for the user
  bool no_sections = false;  // nothing in it is a plan file's: no "[section]" line at all
  ReadReport report;         // the error and the dropped rows, as every reader reports them
};

// Replaces the whole plan with what `path` holds; anything missing (or the
// whole file) reads as the defaults. A missing file is no error; one that
// cannot be read (a directory, a device, too large, no permission) also gives
// the defaults, and the result says why. Numbers are held to the ranges a
// plan can mean. Clears plan.modified.
LoadResult LoadPlan(Plan& plan, const std::string& path);

// As LoadPlan, from the bytes of a plan file (standard input, say).
LoadResult LoadPlanText(Plan& plan, const std::string& bytes);

// What to tell the user when a file holds more route rows than a plan can;
// empty when it does not.
std::string RowsDroppedWarning(const LoadResult& result);

// True when a file or directory exists at `path`.
bool PathExists(const std::string& path);

// Makes `dir` ready for a file name to be appended, in place, and returns it.
std::string& AppendDirSeparator(std::string& dir);
