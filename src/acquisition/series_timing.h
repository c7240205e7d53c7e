// Time-series controls: sensitivity level, series duration and point count.
// Pure rules only; the window copies the returned values into its controls
// and talks to the box.
#pragma once

#include <cstdint>
#include <string>

namespace rovanel::acquisition {

inline constexpr int kMinLevel = 0;
inline constexpr int kMaxLevel = 15;
inline constexpr int kEnterKey = 13;
inline constexpr int kBlockSamples = 512;  // one USB series block
inline constexpr int kMaxPortRate = 63;    // the port box's rate divider minus one, 6 bits

// Integration time (ms) of sensitivity level s: 10 + 2.5 s; also the
// sampling period of a series.
double IntegrationTimeMs(int level);

// The code the parallel-port box takes for a level: its 4-bit bit reversal.
int SensiCode(int level);

// Level after the + / - buttons, held within 0..15.
int SensiPlus(int level);
int SensiMoins(int level);

// The level panel's caption, "%2d".
std::string LevelCaption(int level);

enum class BoxKind { kUsb, kParallelPort };

// Duration quantum and longest duration, in seconds.
struct DurationGrid {
  int step = 0;
  int max = 0;
};

// USB box: a step is one 512-sample block, the maximum 255 blocks.
DurationGrid UsbGrid(int level);
// Parallel-port box: a step is `points` samples at one per integration
// period, the maximum 64 steps.
DurationGrid PortGrid(int level, int points);

// A requested duration moved onto the box's grid. Below one step it becomes
// one step (a zero duration would make an empty series / a negative rate).
int NormaliseUsbDuration(int duration, int level);
// The port box's result is also held to 64 steps: the box has 6 bits of rate.
int NormalisePortDuration(int duration, int level, int points);

// Parses the duration edit's text: decimal digits, blanks around ignored.
// Returns -1 when the text holds no number.
int ParseDuration(const std::string& text);

// The series controls' state as the window shows it.
struct SeriesControls {
  BoxKind box = BoxKind::kUsb;
  int level = 0;
  int durRequested = 20;  // last duration typed or stepped
  int durStep = 3;
  int durMax = 2622;
  bool durValid = false;  // the text was normalised since it was last edited
  std::string durationText = "20";
  std::string nbPtsCaption = "4096";  // points of the parallel-port box
};

// Normalises the duration: from `durRequested` when keepRequest, else from
// the edit's text (which then becomes the request; an unreadable text keeps
// the previous request). Updates the grid, the text and durValid; returns D.
int UpdateDuration(SeriesControls& c, bool keepRequest);

// After a level change: sets the level and recomputes the duration from the
// request. Returns the integration time (ms) to send to the box.
double SensiChanged(SeriesControls& c, int level);
double SensiPlusClick(SeriesControls& c);
double SensiMoinsClick(SeriesControls& c);

// Next / previous allowed duration; returns the new D.
int DureePlusClick(SeriesControls& c);
int DureeMoinsClick(SeriesControls& c);

// A key in the duration edit. Returns true for Enter, after which the focus
// goes to the start button and the duration has been normalised.
bool InterAccKeyPress(SeriesControls& c, int key);

// Toggles the point count of the port box between 4096 and 8192 and
// recomputes the duration from the request.
void NbPtsClick(SeriesControls& c);

// Points of the port box as the button's caption says (4096 unless "8192").
int PortPoints(const std::string& caption);

// Rate divider minus one of a series of `duration` seconds: D div step - 1
// (0 for a step of 0, which no grid produces).
int DurationCode(int duration, int durStep);

// What one series asks of the box, read from the controls (normalising the
// duration first when the edit was changed).
struct SeriesPlan {
  int duration = 0;  // s
  int level = 0;
  int sensiCode = 0;
  int points = 0;        // samples of the series
  int durationCode = 0;  // rate divider minus one
  int blocks = 0;        // points div 512
};
SeriesPlan PlanUsbSeries(SeriesControls& c);
SeriesPlan PlanPortSeries(SeriesControls& c);

// Time (s) of sample i of a series; durationCode is the rate divider minus one.
double SampleSeconds(std::int64_t i, int level, int durationCode);
// Frequency (Hz) of bin i of a spectrum of fftSize points of such a series;
// 0 for an empty spectrum.
double SpectrumHertz(std::int64_t i, int fftSize, int level, int durationCode);

// The gauge's second line, "%d %s": the point count and the word for points.
std::string PointsLine(int points, const std::string& word);

}  // namespace rovanel::acquisition
