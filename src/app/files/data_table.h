// The data on screen as a table with named columns, and its text forms: the
// CSV file in two styles and the tab-separated text of the clipboard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rovanel::app {

// How numbers and fields are written. "point and comma" is what English
// spreadsheets read; "comma and semicolon" what French and German ones do.
enum class CsvStyle : std::uint8_t { Unset = 0, PointComma = 1, CommaSemicolon = 2 };

// The style a language starts with (1 French, 2 English, 3 German).
CsvStyle DefaultCsvStyle(int language);
// `kept` when set, else the language's default.
CsvStyle EffectiveCsvStyle(CsvStyle kept, int language);

struct DataColumn {
  std::string name;  // with its unit: "position (µm)"
  std::vector<double> values;
  // Values held in single precision (the wavelengths): written with the
  // fewest digits that give the same float back.
  bool single = false;
};

// Columns of equal length; the first is the abscissa.
struct DataTable {
  std::vector<DataColumn> columns;
  std::size_t Rows() const { return columns.empty() ? 0 : columns.front().values.size(); }
};

// A number in fixed notation with `decimal` as its separator, whatever the
// process locale: integers without decimals, others with at most 6 decimals
// (or the shortest exact form of a single-precision value), no trailing zeros.
std::string TableNumber(double v, bool single, char decimal);

// UTF-8, the header line then one line per row, lines ended by CR LF, fields
// quoted only when they hold the separator, a quote or a line break.
std::string CsvText(const DataTable& table, CsvStyle style);
// The same table with tabs between the fields and lines ended by LF, for
// the clipboard.
std::string TabText(const DataTable& table, CsvStyle style);

}  // namespace rovanel::app
