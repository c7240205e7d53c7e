#include "app/record_fields.h"

#include <cstdio>
#include <type_traits>

#include "app/main_window.h"

namespace rovanel::app {

std::string Real(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.9g", v);
  return text;
}

namespace {

class Lines {
 public:
  template <typename Int>
    requires std::is_integral_v<Int>
  Lines& operator()(const char* name, Int v) {
    if constexpr (std::is_same_v<Int, bool>) return Add(name, v ? "1" : "0");
    return Add(name, std::to_string(static_cast<std::int64_t>(v)));
  }
  Lines& operator()(const char* name, const std::string& v) { return Add(name, v); }
  Lines& Add(std::string name, std::string value) {
    lines.emplace_back(std::move(name), std::move(value));
    return *this;
  }
  RecordLines lines;
};

}  // namespace

std::optional<RecordLines> RecordFields(const TFp& fp, std::string_view record) {
  Lines l;
  if (record == "ProfParams") {
    const ProfParamsRec& p = fp.Prof();
    l("NbPoints", p.NbPoints)("Step", p.Step)("fftValid", p.fftValid)("UnitX", p.UnitX)(
        "UnitY", p.UnitY)("FftStep", p.FftStep)("MaxCurves", p.MaxCurves)(
        "calibration", p.calibration)("filtrage", p.filtrage)("invert", p.invert)(
        "superposition", p.superposition)("Averaged", p.Averaged)("realgris", p.realgris)(
        "Grid", p.Grid)("FilterOrder", p.FilterOrder)("AvgCount", p.AvgCount)(
        "FileName", p.FileName)("Level", p.Level)("opto", p.opto)("int", p.int_)("spectro",
                                                                                 p.spectro);
  } else if (record == "OptoParams") {
    const OptoParamsRec& o = fp.Opto();
    l("lutnor", o.lutnor)("lutln", o.lutln)("lutexp", o.lutexp)("CoefLn", o.CoefLn)(
        "CoefExp", o.CoefExp)("gauss", o.gauss)("cumul", o.cumul);
  } else if (record == "SpectroParams") {
    const SpectroParamsRec& s = fp.Spectro();
    l("spColor", s.spColor)("spColor2", s.spColor2);
    for (std::size_t k = 0; k < s.CalPoints.size(); ++k)
      l.Add("CalPoints[" + std::to_string(k) + "]",
            std::to_string(s.CalPoints[k].pixel) + "," + Real(s.CalPoints[k].lambda));
    std::string levels;
    for (std::uint8_t v : s.RefSpectrum) levels += (levels.empty() ? "" : " ") + std::to_string(v);
    l("RefFile", s.RefFile)("RefSpectrum", levels)("spCalY", s.spCalY)("Interpolation",
                                                                        s.Interpolation);
  } else if (record == "MiParams") {
    const MiParamsRec& m = fp.Mi();
    l("NbPoints", m.NbPoints)("Level", m.Level)("DurationCode", m.DurationCode)(
        "Duration", m.Duration)("Step", m.Step)("fftValid", m.fftValid)("FftSize", m.FftSize)(
        "FftStep", m.FftStep)("calibration", m.calibration)("filtrage", m.filtrage)(
        "invert", m.invert)("FilterOrder", m.FilterOrder)("FileName", m.FileName);
  } else if (record == "PrintNotes") {
    const PrintNotesRec& n = fp.Notes();
    l("NomText", n.NomText)("ManipText", n.ManipText)("RemarkText", n.RemarkText);
  } else {
    return std::nullopt;
  }
  return l.lines;
}

}  // namespace rovanel::app
