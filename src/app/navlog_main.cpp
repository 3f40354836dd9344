// halvix-navlog: the computed navigation log of a plan file, outside the window.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "plan/check.h"
#include "plan/legs.h"
#include "plan/planfile.h"
#include "plan/report.h"

namespace {

const char kUsage[] =
    "Usage: halvix-navlog [--csv] PLAN.flt\n"
    "Prints the computed navigation log of a Halvix plan file.\n"
    "\n"
    "  --csv        comma-separated values, one line per leg and a Total line\n"
    "  --help       this text\n"
    "  --version    the program's version\n";

int UsageError(const std::string& message) {
  std::cerr << "halvix-navlog: " << message << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool csv = false;
  std::string plan_path;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--version") {
      std::cout << "halvix-navlog 1.3\n";
      return 0;
    }
    if (arg == "--csv") {
      csv = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option " + arg);
    } else if (plan_path.empty()) {
      plan_path = arg;
    } else {
      return UsageError("only one plan file, please");
    }
  }
  if (plan_path.empty()) return UsageError("no plan file given");

  // Unlike the window, a typo must not print the empty default plan.
  if (!PathExists(plan_path)) {
    std::cerr << "halvix-navlog: " << plan_path << ": " << std::strerror(ENOENT) << "\n";
    return 1;
  }

  Plan plan;
  LoadPlan(plan, plan_path);
  if (plan.route.size() < 2) {
    std::cerr << "halvix-navlog: " << kTooFewCheckpoints << "\n";
    return 1;
  }
  MissingItem missing = FindMissingItem(plan);
  if (missing != MissingItem::None) {
    // As "Proceed without computing Wind effects" would: legs that cannot be
    // solved print without headings, time and fuel.
    std::cerr << "halvix-navlog: warning: Missing Information: " << MissingItemName(missing)
              << "\n";
  }
  ComputeLegs(plan);
  std::cout << (csv ? FormatLogCsv(plan) : FormatLogTable(plan));
  return std::cout.good() ? 0 : 1;
}
