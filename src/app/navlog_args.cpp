#include "app/navlog_args.h"

#include <cstdlib>

#include "halvix_version.h"
#include "plan/plan.h"
#include "winds/winds.h"

namespace {

const char kUsage[] =
    "Usage: halvix-navlog [--csv] [--date YYYY-MM-DD] [--save OUT.flt] [--reserve MIN] PLAN.flt\n"
    "       halvix-navlog [--pdf OUT.pdf] [--png PREFIX [--dpi N]] [--page SIZE] [--reserve MIN] "
    "PLAN.flt\n"
    "       halvix-navlog --route \"IDENT ... LAT,LON ...\" [--data DIR] [--nearest-vor] ...\n"
    "       halvix-navlog --winds FILE [--depart HHMM] [--data DIR] ... PLAN.flt\n"
    "       halvix-navlog --export-gpx FILE | --export-fpl FILE [--data DIR] PLAN.flt\n"
    "       halvix-navlog --daylight [--date YYYY-MM-DD] [--depart HHMM] PLAN.flt\n"
    "       halvix-navlog --blank [--pdf OUT.pdf] [--png PREFIX [--dpi N]] [--page SIZE] "
    "[PLAN.flt]\n"
    "Prints the computed navigation log of a Halvix plan file. A route file (GPX or\n"
    "flight-plan XML) can stand wherever a plan file does: its legs get distance,\n"
    "true course and magnetic variation from the waypoints' coordinates.\n"
    "A PLAN.flt of - reads the plan from standard input.\n"
    "\n"
    "  --csv        comma-separated values, one line per leg and a Total line\n"
    "  --pdf FILE   the printed log as a landscape PDF (- for standard output)\n"
    "  --png PREFIX the printed log as images PREFIX-1.png, PREFIX-2.png, ...\n"
    "  --dpi N      resolution of the images, 50 to 600 (default 150)\n"
    "  --page SIZE  letter, a4 or legal (default letter); a5 or halfletter print\n"
    "               the portrait kneeboard log, its airfields on a page of their own\n"
    "  --date DAY   the day of the flight (YYYY-MM-DD) for the magnetic variation\n"
    "               of an imported route (default today)\n"
    "  --save FILE  also write the plan read or imported to FILE (.flt)\n"
    "  --reserve MIN\n"
    "               fuel reserve in minutes, 0 to 600 (default: the plan's, else 30);\n"
    "               a warning on standard error for each checkpoint reached below it\n"
    "               or with the fuel exhausted, marked on a printed log as well\n"
    "  --data DIR   the aviation data folder (OurAirports CSV files, or apt.dat,\n"
    "               nav.dat, fix.dat); default $HALVIX_AVIATION_DATA, else\n"
    "               /usr/share/games/flightgear; airfields of a plan or route\n"
    "               file that have only a name are filled in from it\n"
    "  --route TEXT builds the plan from airport, navaid and fix idents and\n"
    "               LAT,LON points in decimal degrees, instead of a plan file;\n"
    "               the route's airports become its airfields\n"
    "  --nearest-vor\n"
    "               fills each checkpoint's empty VOR text from the nearest VOR\n"
    "               within 40 NM\n"
    "  --winds FILE winds and temperatures aloft for every leg with coordinates,\n"
    "               from a winds aloft bulletin (FB), its stations placed with\n"
    "               the aviation data, or a GRIB2 forecast\n"
    "  --depart HHMM\n"
    "               departure time, UTC, for choosing the forecast time (default:\n"
    "               the first bulletin's period start, the GRIB file's first time)\n"
    "  --export-gpx FILE\n"
    "               the route's checkpoints as a GPX 1.1 route, for a GPS or an EFB\n"
    "  --export-fpl FILE\n"
    "               the same as a Garmin flight plan (.fpl); the aviation data tells\n"
    "               airports, VORs, NDBs and intersections from user waypoints\n"
    "  --daylight   civil dawn, sunrise, sunset and civil dusk (UTC) at each airfield\n"
    "               with a position on the --date, as CSV; with --depart, arrivals\n"
    "               after sunset are warned of\n"
    "  --blank      the blank form instead of the plan's log; a plan, if given,\n"
    "               supplies only its margins and shading\n"
    "  --help       this text\n"
    "  --version    the program's version\n";

// A whole decimal number and nothing else, within [low, high].
bool ParseWhole(const std::string& text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && value >= low && value <= high;
}

// Applies an option to the request; the usage mistake, or empty.
using Apply = std::string (*)(NavlogRequest&, const std::string& value);

struct Option {
  const char* name;
  bool takes_value;
  Apply apply;
};

// A new option is one row here, a field of NavlogRequest and a line of kUsage.
const Option kOptions[] = {
    {"--csv", false,
     [](NavlogRequest& r, const std::string&) {
       r.csv = true;
       return std::string();
     }},
    {"--blank", false,
     [](NavlogRequest& r, const std::string&) {
       r.print.blank = true;
       return std::string();
     }},
    {"--pdf", true,
     [](NavlogRequest& r, const std::string& v) {
       r.pdf_path = v;
       return std::string(v.empty() ? "--pdf needs a file name" : "");
     }},
    {"--png", true,
     [](NavlogRequest& r, const std::string& v) {
       r.png_prefix = v;
       if (v.empty()) return std::string("--png needs a file name prefix");
       return std::string(v == "-" ? "--png writes one file per page, not to -" : "");
     }},
    {"--dpi", true,
     [](NavlogRequest& r, const std::string& v) {
       long dpi = 0;
       if (!ParseWhole(v, kMinDpi, kMaxDpi, dpi)) {
         return "--dpi takes a whole number from " + std::to_string(kMinDpi) + " to " +
                std::to_string(kMaxDpi);
       }
       r.print.dpi = static_cast<int>(dpi);
       return std::string();
     }},
    {"--reserve", true,
     [](NavlogRequest& r, const std::string& v) {
       long minutes = 0;
       if (!ParseWhole(v, 0, kMaxReserve, minutes)) {
         return "--reserve takes whole minutes from 0 to " + std::to_string(kMaxReserve);
       }
       r.reserve = static_cast<int32_t>(minutes);
       return std::string();
     }},
    {"--page", true,
     [](NavlogRequest& r, const std::string& v) {
       return std::string(ParsePaperSize(v, r.print.paper)
                              ? ""
                              : "--page takes letter, a4, legal, a5 or halfletter");
     }},
    {"--date", true,
     [](NavlogRequest& r, const std::string& v) {
       r.date_given = true;
       return std::string(ParseCivilDate(v, r.date) ? "" : "--date takes a day as YYYY-MM-DD");
     }},
    {"--save", true,
     [](NavlogRequest& r, const std::string& v) {
       r.save_path = v;
       return std::string(v.empty() ? "--save needs a file name" : "");
     }},
    {"--data", true,
     [](NavlogRequest& r, const std::string& v) {
       r.data.folder = v;
       return std::string(v.empty() ? "--data needs a folder" : "");
     }},
    {"--route", true,
     [](NavlogRequest& r, const std::string& v) {
       r.data.route = v;
       return std::string(v.empty() ? "--route needs idents or coordinates" : "");
     }},
    {"--nearest-vor", false,
     [](NavlogRequest& r, const std::string&) {
       r.data.nearest_vor = true;
       return std::string();
     }},
    {"--winds", true,
     [](NavlogRequest& r, const std::string& v) {
       r.winds_path = v;
       return std::string(v.empty() ? "--winds needs a file name" : "");
     }},
    {"--export-gpx", true,
     [](NavlogRequest& r, const std::string& v) {
       r.export_gpx = v;
       return std::string(v.empty() ? "--export-gpx needs a file name" : "");
     }},
    {"--export-fpl", true,
     [](NavlogRequest& r, const std::string& v) {
       r.export_fpl = v;
       return std::string(v.empty() ? "--export-fpl needs a file name" : "");
     }},
    {"--daylight", false,
     [](NavlogRequest& r, const std::string&) {
       r.daylight = true;
       return std::string();
     }},
    {"--depart", true,
     [](NavlogRequest& r, const std::string& v) {
       r.depart = ParseDepartTime(v);
       return std::string(r.depart ? "" : "--depart takes a time of day as HHMM, UTC");
     }},
};

NavlogRequest Answer(NavlogRequest::Action action, const std::string& error = "") {
  NavlogRequest request;
  request.action = action;
  request.error = error;
  return request;
}

NavlogRequest Mistake(const std::string& error) {
  return Answer(NavlogRequest::Error, error);
}

// Options that do not go together, once all are read.
std::string Conflict(const NavlogRequest& r) {
  if (r.print.blank && !r.Printed()) return "--blank needs --pdf or --png";
  if (r.csv && r.Printed()) return "--csv writes text; it does not go with --pdf or --png";
  if (!r.data.route.empty() && !r.plan_path.empty()) {
    return "--route stands instead of a plan file, not beside one";
  }
  if (!r.print.blank && r.plan_path.empty() && r.data.route.empty()) return "no plan file given";
  if (r.depart && r.winds_path.empty() && !r.daylight) {
    return "--depart goes with --winds";
  }
  if (r.daylight && (r.csv || r.Printed())) return "--daylight writes its own CSV; it goes alone";
  if (r.print.blank && r.Exports()) return "--blank has no route to export";
  return "";
}

}  // namespace

NavlogRequest ParseNavlogArguments(const std::vector<std::string>& args, const CivilDate& today) {
  NavlogRequest request;
  request.date = today;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return Answer(NavlogRequest::Help);
    if (arg == "--version") return Answer(NavlogRequest::Version);
    const Option* option = nullptr;
    for (const Option& o : kOptions) {
      if (arg == o.name) option = &o;
    }
    if (option != nullptr) {
      if (option->takes_value && i + 1 >= args.size()) return Mistake(arg + " needs a value");
      const std::string error =
          option->apply(request, option->takes_value ? args[++i] : std::string());
      if (!error.empty()) return Mistake(error);
    } else if (arg.size() > 1 && arg[0] == '-') {
      // A lone "-" is standard input, not an option.
      return Mistake("unknown option " + arg);
    } else if (request.plan_path.empty()) {
      request.plan_path = arg;
    } else {
      return Mistake("only one plan file, please");
    }
  }
  const std::string conflict = Conflict(request);
  return conflict.empty() ? request : Mistake(conflict);
}

const char* NavlogUsage() {
  return kUsage;
}

std::string NavlogVersion() {
  return std::string("halvix-navlog ") + HALVIX_VERSION + "\n";
}
