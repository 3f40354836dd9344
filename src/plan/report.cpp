#include "plan/report.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "plan/cnumbers.h"

namespace {

std::string Int(int32_t value) {
  return value == NOT_ENTERED ? std::string() : std::to_string(value);
}

std::string Real(double value, const char* format) {
  if (value == NOT_ENTERED_FUEL) return std::string();
  CNumbers c_numbers;
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string Join(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += CsvField(fields[i]);
  }
  return line + "\n";
}

// Terminal columns, not bytes or characters: a CJK name takes two columns a
// character and a combining accent none, and the columns must still line up.
std::size_t DisplayWidth(const std::string& text) {
  std::size_t width = 0;
  const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  utf8proc_ssize_t left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t cp = 0;
    utf8proc_ssize_t n = utf8proc_iterate(p, left, &cp);
    if (n <= 0) {  // a stray byte shows as one replacement character
      n = 1;
      width += 1;
    } else {
      width += static_cast<std::size_t>(utf8proc_charwidth(cp));
    }
    p += n;
    left -= n;
  }
  return width;
}

// Every value of a leg, in the order of the CSV columns.
std::vector<std::string> LegValues(int32_t k, const LegResult& l, const char* real_format) {
  return {std::to_string(k + 1),
          l.toname,
          Int(l.tc),
          Int(l.alt),
          Int(l.winddir),
          Int(l.windvel),
          Int(l.temp),
          Int(l.tas),
          Int(l.wca),
          Int(l.th),
          Int(l.var),
          Int(l.mh),
          Int(l.dev),
          Int(l.ch),
          Int(l.dist),
          Int(l.distrem),
          Int(l.gs),
          Int(l.ete),
          Real(l.fuelused, real_format),
          Real(l.fuelrem, real_format),
          l.vorfreq,
          l.vorbrng,
          l.vorident,
          l.vortofr};
}

constexpr std::size_t kDevColumn = 12;
constexpr std::size_t kVorColumns = 4;  // the last four: frequency, bearing, ident, To/From

}  // namespace

std::string FormatInt(int32_t value, int digits, bool parenthesised) {
  if (value == NOT_ENTERED) return {};
  char buf[48];
  std::snprintf(buf, sizeof buf, parenthesised ? "(%0*d)" : "%0*d", digits,
                static_cast<int>(value));
  return buf;
}

std::string FormatReal(double value, bool parenthesised) {
  if (!(value > -999.9)) return {};
  // Wide enough for any double "%1.1f" can produce (DBL_MAX has 309 digits).
  char buf[400];
  CNumbers c_numbers;  // a decimal point on the log whatever the desktop's locale
  std::snprintf(buf, sizeof buf, parenthesised ? "(%1.1f)" : "%1.1f", value);
  return buf;
}

int32_t VorBearing(const LegResult& leg) {
  return leg.vorbrng[0] == '\0' ? NOT_ENTERED : ParseLong(leg.vorbrng);
}

std::string FormatLogCsv(const Plan& plan) {
  std::string out =
      "leg,toname,tc,alt,winddir,windvel,temp,tas,wca,th,var,mh,dev,ch,dist,distrem,gs,ete,"
      "fuelused,fuelrem,vorfreq,vorbrng,vorident,vortofr\n";
  for (int32_t k = 0; k < plan.legcount && k < kMaxLegs; ++k) {
    out += Join(LegValues(k, plan.legs[static_cast<std::size_t>(k)], "%.2f"));
  }
  std::vector<std::string> total(24);
  total[0] = "Total";
  total[14] = Int(plan.totals.dist);
  total[17] = Int(plan.totals.ete);
  total[18] = Real(plan.totals.fuelused, "%.2f");
  out += Join(total);
  return out;
}

std::string FormatLogTable(const Plan& plan) {
  std::vector<std::vector<std::string>> rows;
  rows.push_back({"Leg", "Checkpoint", "TC",  "Alt",  "Wind",     "Vel", "Temp",
                  "TAS", "WCA",        "TH",  "Var",  "MH",       "CH",  "Dist",
                  "Rem", "GS",         "ETE", "Fuel", "Fuel rem", "VOR"});
  for (int32_t k = 0; k < plan.legcount && k < kMaxLegs; ++k) {
    const LegResult& l = plan.legs[static_cast<std::size_t>(k)];
    // The deviation is never entered, and the VOR reads best as one column.
    std::vector<std::string> row = LegValues(k, l, "%.1f");
    row.erase(row.begin() + static_cast<std::ptrdiff_t>(kDevColumn));
    std::string vor;
    if (l.vortext[0] != '\0') {
      for (std::size_t i = row.size() - kVorColumns; i < row.size(); ++i) {
        vor += (vor.empty() ? "" : " ") + row[i];
      }
    }
    row.resize(row.size() - kVorColumns);
    row.push_back(vor);
    rows.push_back(std::move(row));
  }
  std::vector<std::string> total(rows[0].size());
  total[1] = "Total";
  total[13] = Int(plan.totals.dist);
  total[16] = Int(plan.totals.ete);
  total[17] = Real(plan.totals.fuelused, "%.1f");
  rows.push_back(total);

  std::vector<std::size_t> widths(rows[0].size(), 0);
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c)
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  }

  std::string out = plan.title + "\n";
  out += "Pilot: " + plan.aircraft.pilotname + "   Aircraft: " + plan.aircraft.acnumber + " " +
         plan.aircraft.actype + "   Fuel: " + Real(plan.aircraft.acfullfuel, "%.1f") + " gal, " +
         Real(plan.aircraft.acgph, "%.1f") + " gph\n\n";
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      std::string pad(widths[c] - DisplayWidth(row[c]), ' ');
      bool left = c == 1 || c == row.size() - 1;  // names and VOR read left to right
      line += left ? row[c] + pad : pad + row[c];
      if (c + 1 < row.size()) line += "  ";
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
  }
  return out;
}
