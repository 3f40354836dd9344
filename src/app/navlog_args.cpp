#include "app/navlog_args.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstdlib>
#include <map>

#include "halvix_version.h"
#include "plan/plan.h"
#include "winds/winds.h"

namespace {

const char kSynopsis[] =
    "Usage: halvix-navlog [--csv] [--date YYYY-MM-DD] [--save OUT.flt] [--reserve MIN] PLAN.flt\n"
    "       halvix-navlog [--pdf OUT.pdf] [--png PREFIX [--dpi N]] [--page SIZE] [--reserve MIN] "
    "PLAN.flt\n"
    "       halvix-navlog --route \"IDENT ... LAT,LON ...\" [--data DIR] [--nearest-vor] ...\n"
    "       halvix-navlog --winds FILE [--depart HHMM] [--data DIR] ... PLAN.flt\n"
    "       halvix-navlog --chart FILE.tif [--chart-size WxH] [--chart-scale N] "
    "[--chart-pdf FILE.pdf] PLAN.flt\n"
    "       halvix-navlog --blank [--pdf OUT.pdf] [--png PREFIX [--dpi N]] [--page SIZE] "
    "[PLAN.flt]\n"
    "Prints the computed navigation log of a Halvix plan file. A route file (GPX or\n"
    "flight-plan XML) can stand wherever a plan file does: its legs get distance,\n"
    "true course and magnetic variation from the waypoints' coordinates.\n"
    "A PLAN.flt of - reads the plan from standard input.\n"
    "\n";

// A whole decimal number and nothing else, within [low, high].
bool ParseWhole(const std::string& text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && value >= low && value <= high;
}

// Applies an option to the request; the usage mistake, or empty.
using Apply = std::string (*)(NavlogRequest&, const std::string& value);

struct Option {
  const char* name;        // without its dashes
  const char* value_name;  // null for an option without a value
  const char* help;        // lines of the usage text, without their indent
  Apply apply;             // null for --help and --version, which answer at once
};

// A new option is one row here and a field of NavlogRequest; the usage text
// and the parser's options are made from these rows.
const Option kOptions[] = {
    {"csv", nullptr, "comma-separated values, one line per leg and a Total line",
     [](NavlogRequest& r, const std::string&) {
       r.csv = true;
       return std::string();
     }},
    {"pdf", "FILE", "the printed log as a landscape PDF (- for standard output)",
     [](NavlogRequest& r, const std::string& v) {
       r.pdf_path = v;
       return std::string(v.empty() ? "--pdf needs a file name" : "");
     }},
    {"png", "PREFIX", "the printed log as images PREFIX-1.png, PREFIX-2.png, ...",
     [](NavlogRequest& r, const std::string& v) {
       r.png_prefix = v;
       if (v.empty()) return std::string("--png needs a file name prefix");
       return std::string(v == "-" ? "--png writes one file per page, not to -" : "");
     }},
    {"dpi", "N", "resolution of the images, 50 to 600 (default 150)",
     [](NavlogRequest& r, const std::string& v) {
       long dpi = 0;
       if (!ParseWhole(v, kMinDpi, kMaxDpi, dpi)) {
         return "--dpi takes a whole number from " + std::to_string(kMinDpi) + " to " +
                std::to_string(kMaxDpi);
       }
       r.print.dpi = static_cast<int>(dpi);
       return std::string();
     }},
    {"page", "SIZE", "letter, a4 or legal (default letter)",
     [](NavlogRequest& r, const std::string& v) {
       return std::string(ParsePaperSize(v, r.print.paper) ? ""
                                                           : "--page takes letter, a4 or legal");
     }},
    {"date", "DAY",
     "the day of the flight (YYYY-MM-DD) for the magnetic variation\n"
     "of an imported route (default today)",
     [](NavlogRequest& r, const std::string& v) {
       return std::string(ParseCivilDate(v, r.date) ? "" : "--date takes a day as YYYY-MM-DD");
     }},
    {"save", "FILE", "also write the plan read or imported to FILE (.flt)",
     [](NavlogRequest& r, const std::string& v) {
       r.save_path = v;
       return std::string(v.empty() ? "--save needs a file name" : "");
     }},
    {"reserve", "MIN",
     "fuel reserve in minutes, 0 to 600 (default: the plan's, else 30);\n"
     "a warning on standard error for each checkpoint reached below it\n"
     "or with the fuel exhausted, marked on a printed log as well",
     [](NavlogRequest& r, const std::string& v) {
       long minutes = 0;
       if (!ParseWhole(v, 0, kMaxReserve, minutes)) {
         return "--reserve takes whole minutes from 0 to " + std::to_string(kMaxReserve);
       }
       r.reserve = static_cast<int32_t>(minutes);
       return std::string();
     }},
    {"data", "DIR",
     "the aviation data folder (OurAirports CSV files, or apt.dat,\n"
     "nav.dat, fix.dat); default $HALVIX_AVIATION_DATA, else\n"
     "/usr/share/games/flightgear; airfields of a plan or route\n"
     "file that have only a name are filled in from it",
     [](NavlogRequest& r, const std::string& v) {
       r.data.folder = v;
       return std::string(v.empty() ? "--data needs a folder" : "");
     }},
    {"route", "TEXT",
     "builds the plan from airport, navaid and fix idents and\n"
     "LAT,LON points in decimal degrees, instead of a plan file;\n"
     "the route's airports become its airfields",
     [](NavlogRequest& r, const std::string& v) {
       r.data.route = v;
       return std::string(v.empty() ? "--route needs idents or coordinates" : "");
     }},
    {"nearest-vor", nullptr,
     "fills each checkpoint's empty VOR text from the nearest VOR\n"
     "within 40 NM",
     [](NavlogRequest& r, const std::string&) {
       r.data.nearest_vor = true;
       return std::string();
     }},
    {"winds", "FILE",
     "winds and temperatures aloft for every leg with coordinates,\n"
     "from a winds aloft bulletin (FB), its stations placed with\n"
     "the aviation data, or a GRIB2 forecast",
     [](NavlogRequest& r, const std::string& v) {
       r.winds_path = v;
       return std::string(v.empty() ? "--winds needs a file name" : "");
     }},
    {"depart", "HHMM",
     "departure time, UTC, for choosing the forecast time (default:\n"
     "the first bulletin's period start, the GRIB file's first time)",
     [](NavlogRequest& r, const std::string& v) {
       r.depart = ParseDepartTime(v);
       return std::string(r.depart ? "" : "--depart takes a time of day as HHMM, UTC");
     }},
    {"chart", "FILE",
     "the route on a chart, as a GeoTIFF image (Lambert conformal\n"
     "conic, WGS84) that moving-map and GIS programs place",
     [](NavlogRequest& r, const std::string& v) {
       r.chart_path = v;
       return std::string(v.empty() ? "--chart needs a file name" : "");
     }},
    {"chart-size", "WIDTHxHEIGHT", "the chart image in pixels (default 1600x1200)",
     [](NavlogRequest& r, const std::string& v) {
       const std::size_t x = v.find_first_of("xX");
       long width = 0, height = 0;
       if (x == std::string::npos || !ParseWhole(v.substr(0, x), 1, kMaxChartPixelsSide, width) ||
           !ParseWhole(v.substr(x + 1), 1, kMaxChartPixelsSide, height) ||
           width * height > kMaxChartPixels) {
         return "--chart-size takes WIDTHxHEIGHT in pixels, each 1 to " +
                std::to_string(kMaxChartPixelsSide) + " and at most " +
                std::to_string(kMaxChartPixels / 1000000) + " million pixels in all";
       }
       r.chart_width = static_cast<int>(width);
       r.chart_height = static_cast<int>(height);
       r.chart_size_given = true;
       return std::string();
     }},
    {"chart-scale", "N",
     "the chart at 1:N (default: the route fits with a tenth of\n"
     "each side to spare)",
     [](NavlogRequest& r, const std::string& v) {
       long scale = 0;
       if (!ParseWhole(v, static_cast<long>(kMinChartScale), static_cast<long>(kMaxChartScale),
                       scale)) {
         return std::string(
             "--chart-scale takes N of the scale 1:N, a whole number from 1000 to 50000000");
       }
       r.chart_scale = static_cast<double>(scale);
       return std::string();
     }},
    {"chart-pdf", "FILE", "the chart on one page of the --page paper, with scale bar and legend",
     [](NavlogRequest& r, const std::string& v) {
       r.chart_pdf_path = v;
       return std::string(v.empty() ? "--chart-pdf needs a file name" : "");
     }},
    {"blank", nullptr,
     "the blank form instead of the plan's log; a plan, if given,\n"
     "supplies only its margins and shading",
     [](NavlogRequest& r, const std::string&) {
       r.print.blank = true;
       return std::string();
     }},
    {"help", nullptr, "this text", nullptr},
    {"version", nullptr, "the program's version", nullptr},
};

std::string UsageText() {
  std::string text = kSynopsis;
  const std::string indent(15, ' ');
  for (const Option& o : kOptions) {
    std::string head = std::string("  --") + o.name;
    if (o.value_name != nullptr) head += std::string(" ") + o.value_name;
    text += head;
    if (head.size() < indent.size()) {
      text += std::string(indent.size() - head.size(), ' ');
    } else {
      text += "\n" + indent;
    }
    for (const char* c = o.help; *c != '\0'; ++c) {
      text += *c;
      if (*c == '\n') text += indent;
    }
    text += "\n";
  }
  return text;
}

const Option* Find(const QString& name) {
  if (name == QLatin1String("h")) return Find(QStringLiteral("help"));
  for (const Option& o : kOptions) {
    if (name == QLatin1String(o.name)) return &o;
  }
  return nullptr;
}

void AddOptions(QCommandLineParser& parser) {
  // "-h" and "--help" alike; a single dash before a word is that word's option,
  // so "-csv" is a mistake named as typed rather than five unknown letters.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const Option& o : kOptions) {
    QStringList names{QLatin1String(o.name)};
    if (std::string(o.name) == "help") names.prepend(QStringLiteral("h"));
    QCommandLineOption option(names, QString::fromUtf8(o.help));
    if (o.value_name != nullptr) option.setValueName(QLatin1String(o.value_name));
    parser.addOption(option);
  }
}

QStringList Arguments(const std::vector<std::string>& args, std::size_t count) {
  QStringList list{QStringLiteral("halvix-navlog")};
  for (std::size_t i = 0; i < count && i < args.size(); ++i)
    list << QString::fromStdString(args[i]);
  return list;
}

NavlogRequest Answer(NavlogRequest::Action action, const std::string& error = "") {
  NavlogRequest request;
  request.action = action;
  request.error = error;
  return request;
}

NavlogRequest Mistake(const std::string& error) {
  return Answer(NavlogRequest::Error, error);
}

// --help or --version among the first `count` arguments, as they were read.
std::optional<NavlogRequest::Action> AnswerAmong(const std::vector<std::string>& args,
                                                 std::size_t count) {
  QCommandLineParser parser;
  AddOptions(parser);
  parser.parse(Arguments(args, count));
  for (const QString& name : parser.optionNames()) {
    const Option* option = Find(name);
    if (option == nullptr || option->apply != nullptr) continue;
    return std::string(option->name) == "help" ? NavlogRequest::Help : NavlogRequest::Version;
  }
  return std::nullopt;
}

// The first unknown option as it was typed, and whether --help or --version
// came before it: a mistake that comes first is reported.
NavlogRequest UnknownOption(const std::vector<std::string>& args) {
  std::size_t count = 1;
  for (; count <= args.size(); ++count) {
    QCommandLineParser parser;
    AddOptions(parser);
    parser.parse(Arguments(args, count));
    if (!parser.unknownOptionNames().isEmpty()) break;
  }
  if (const auto answer = AnswerAmong(args, count - 1)) return Answer(*answer);
  const std::string typed = count <= args.size() ? args[count - 1] : std::string();
  return Mistake("unknown option " + typed.substr(0, typed.find('=')));
}

// Options that do not go together, once all are read.
std::string Conflict(const NavlogRequest& r) {
  if (r.print.blank && !r.Printed()) return "--blank needs --pdf or --png";
  if (r.csv && r.Printed()) return "--csv writes text; it does not go with --pdf or --png";
  if (!r.data.route.empty() && !r.plan_path.empty()) {
    return "--route stands instead of a plan file, not beside one";
  }
  if (!r.print.blank && r.plan_path.empty() && r.data.route.empty()) return "no plan file given";
  if (r.depart && r.winds_path.empty()) return "--depart goes with --winds";
  if (r.chart_size_given && r.chart_path.empty()) return "--chart-size goes with --chart";
  if (r.chart_scale && !r.Charted()) return "--chart-scale goes with --chart or --chart-pdf";
  if (r.print.blank && r.Charted()) return "--blank prints the empty form; it has no chart";
  return "";
}

}  // namespace

NavlogRequest ParseNavlogArguments(const std::vector<std::string>& args, const CivilDate& today) {
  QCommandLineParser parser;
  AddOptions(parser);
  const bool parsed = parser.parse(Arguments(args, args.size()));
  if (!parser.unknownOptionNames().isEmpty()) return UnknownOption(args);

  NavlogRequest request;
  request.date = today;
  // In the order given, so the first mistake is the one reported; an option
  // given twice takes its values in turn.
  std::map<QString, int> taken;
  for (const QString& name : parser.optionNames()) {
    const Option& option = *Find(name);
    if (option.apply == nullptr) {
      return Answer(std::string(option.name) == "help" ? NavlogRequest::Help
                                                       : NavlogRequest::Version);
    }
    std::string value;
    if (option.value_name != nullptr) {
      const QStringList values = parser.values(name);
      const int index = taken[name]++;
      if (index >= values.size())
        return Mistake(std::string("--") + option.name + " needs a value");
      value = values[index].toStdString();
    }
    const std::string error = option.apply(request, value);
    if (!error.empty()) return Mistake(error);
  }
  if (!parsed) return Mistake(parser.errorText().toStdString());
  const QStringList positional = parser.positionalArguments();
  if (positional.size() > 1) return Mistake("only one plan file, please");
  if (!positional.isEmpty()) request.plan_path = positional[0].toStdString();
  const std::string conflict = Conflict(request);
  return conflict.empty() ? request : Mistake(conflict);
}

const char* NavlogUsage() {
  static const std::string usage = UsageText();
  return usage.c_str();
}

std::vector<std::string> NavlogOptionNames() {
  std::vector<std::string> names;
  for (const Option& o : kOptions) names.push_back(std::string("--") + o.name);
  return names;
}

std::string NavlogVersion() {
  return std::string("halvix-navlog ") + HALVIX_VERSION + "\n";
}
