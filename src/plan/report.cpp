#include "plan/report.h"

#include <utf8proc.h>

#include <algorithm>
#include <vector>

#include "plan/columns.h"

namespace {

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += CsvField(fields[i]);
  }
  return line + "\n";
}

namespace {

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

// The leg number, then every column in the order of the table.
std::vector<std::string> LegValues(int32_t k, const LegResult& l, LogForm form) {
  std::vector<std::string> values = {std::to_string(k + 1)};
  for (const LogColumnInfo& c : LogColumns()) values.push_back(LogCellText(l, c.column, form));
  return values;
}

// The Total line under the leg lines: the sums where a column has one.
std::vector<std::string> TotalValues(const NavLog& log, LogForm form) {
  std::vector<std::string> values = {"Total"};
  for (const LogColumnInfo& c : LogColumns())
    values.push_back(c.summed ? LogCellText(log.totals, c.column, form) : std::string());
  return values;
}

}  // namespace

std::string FormatLogCsv(const NavLog& log) {
  std::vector<std::string> keys = {"leg"};
  for (const LogColumnInfo& c : LogColumns()) keys.push_back(c.key);
  std::string out = CsvLine(keys);
  for (int32_t k = 0; k < log.LegCount(); ++k)
    out += CsvLine(LegValues(k, log.legs[static_cast<std::size_t>(k)], LogForm::Csv));
  return out + CsvLine(TotalValues(log, LogForm::Csv));
}

std::string FormatLogTable(const Plan& plan, const NavLog& log) {
  // Columns without a heading of their own are left out, except the VOR
  // parts, which read best as one column.
  auto table_row = [](std::vector<std::string> values, bool has_vor) {
    std::vector<std::string> row = {std::move(values[0])};
    std::string vor;
    for (std::size_t i = 0; i < kLogColumnCount; ++i) {
      const LogColumnInfo& c = LogColumns()[i];
      if (c.table_caption != nullptr) row.push_back(std::move(values[i + 1]));
      if (c.vor && has_vor) vor += (vor.empty() ? "" : " ") + values[i + 1];
    }
    row.push_back(vor);
    return row;
  };
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> captions = {"Leg"};
  for (const LogColumnInfo& c : LogColumns())
    captions.push_back(c.table_caption != nullptr ? c.table_caption : "");
  rows.push_back(table_row(captions, false));
  rows.back().back() = "VOR";
  for (int32_t k = 0; k < log.LegCount(); ++k) {
    const LegResult& l = log.legs[static_cast<std::size_t>(k)];
    // Leg fuel as on screen and paper, adding up to the Total line.
    rows.push_back(table_row(LegValues(k, ShownLeg(log, k), LogForm::Text), l.vortext[0] != '\0'));
  }
  // The word sits under the checkpoints, not the leg numbers.
  std::vector<std::string> total = table_row(TotalValues(log, LogForm::Text), false);
  total[1] = total[0];
  total[0].clear();
  rows.push_back(total);

  std::vector<std::size_t> widths(rows[0].size(), 0);
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c)
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  }

  std::string out = plan.title + "\n";
  out += "Pilot: " + plan.aircraft.pilotname + "   Aircraft: " + plan.aircraft.acnumber + " " +
         plan.aircraft.actype + "   Fuel: " + FormatDecimals(plan.aircraft.acfullfuel, 1) +
         " gal, " + FormatDecimals(plan.aircraft.acgph, 1) + " gph\n\n";
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
