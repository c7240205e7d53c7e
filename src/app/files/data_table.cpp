// The table of the data on screen as CSV and tab-separated text.
#include "app/files/data_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace rovanel::app {

namespace {

constexpr int kDecimals = 6;

std::string Field(const std::string& text, char sep) {
  if (text.find_first_of(std::string{sep, '"', '\r', '\n'}) == std::string::npos) return text;
  std::string quoted = "\"";
  for (char ch : text) {
    if (ch == '"') quoted += '"';
    quoted += ch;
  }
  return quoted + '"';
}

std::string Text(const DataTable& table, char sep, char decimal, const char* eol) {
  std::string out;
  for (std::size_t c = 0; c < table.columns.size(); ++c) {
    if (c > 0) out += sep;
    out += Field(table.columns[c].name, sep);
  }
  out += eol;
  const std::size_t rows = table.Rows();
  for (std::size_t r = 0; r < rows; ++r) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      if (c > 0) out += sep;
      const DataColumn& col = table.columns[c];
      if (r < col.values.size()) out += TableNumber(col.values[r], col.single, decimal);
    }
    out += eol;
  }
  return out;
}

}  // namespace

CsvStyle DefaultCsvStyle(int language) {
  return language == 2 ? CsvStyle::PointComma : CsvStyle::CommaSemicolon;
}

CsvStyle EffectiveCsvStyle(CsvStyle kept, int language) {
  return kept == CsvStyle::PointComma || kept == CsvStyle::CommaSemicolon ? kept
                                                                          : DefaultCsvStyle(language);
}

std::string TableNumber(double v, bool single, char decimal) {
  if (!std::isfinite(v)) return {};  // an empty cell rather than a word a sheet reads as text
  char buf[400];
  char* end = nullptr;
  if (single) {
    end = std::to_chars(buf, buf + sizeof buf, static_cast<float>(v), std::chars_format::fixed).ptr;
  } else {
    end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, kDecimals).ptr;
    std::string_view s(buf, static_cast<std::size_t>(end - buf));
    if (s.find('.') != std::string_view::npos) {
      while (*(end - 1) == '0') --end;
      if (*(end - 1) == '.') --end;
    }
  }
  std::string s(buf, end);
  if (s == "-0") s = "0";
  std::replace(s.begin(), s.end(), '.', decimal);
  return s;
}

std::string CsvText(const DataTable& table, CsvStyle style) {
  return style == CsvStyle::PointComma ? Text(table, ',', '.', "\r\n") : Text(table, ';', ',', "\r\n");
}

std::string TabText(const DataTable& table, CsvStyle style) {
  // Line feeds: the platform's clipboard turns them into its own line ends.
  return Text(table, '\t', style == CsvStyle::PointComma ? '.' : ',', "\n");
}

}  // namespace rovanel::app
