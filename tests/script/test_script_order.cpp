// A script reads what a user would see once each click is done: the average
// after an averaged acquisition, the series after its start; it acts during
// a finite loop only when it says so (gauge:cancel).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "app/script/action_runner.h"
#include "support/recording_port.h"

namespace rovanel::script {
namespace {

std::vector<int> Lines(const std::string& text) {
  std::vector<int> values;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) values.push_back(std::stoi(line));
  return values;
}

double StdOfDifference(const std::vector<int>& a, const std::vector<int>& b) {
  double sum = 0, sum2 = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const double d = a[i] - b[i];
    sum += d;
    sum2 += d * d;
  }
  const double n = static_cast<double>(a.size());
  return std::sqrt(sum2 / n - (sum / n) * (sum / n));
}

struct ScriptOrder : ::testing::Test {
  device::ManualClock clock;
  std::unique_ptr<app::Box> box;
  support::RecordingPort port;
  std::unique_ptr<app::TFp> fp;
  std::ostringstream out, err;
  std::unique_ptr<ActionRunner> runner;

  void Start(device::sim::Scene scene) {
    app::BoxOptions options;
    options.kind = app::BoxKind::Sim;
    options.scene = scene;
    box = std::make_unique<app::Box>(options, clock);
    fp = std::make_unique<app::TFp>(*box, port);
    fp->FormCreate();
    fp->FormShow();
    runner = std::make_unique<ActionRunner>(*fp, out, err);
  }
  std::string Take() { return std::exchange(out, std::ostringstream{}).str(); }
};

TEST_F(ScriptOrder, ADumpAfterAnAveragedAcquisitionReadsTheAverage) {
  Start(device::sim::Scene::Slit);
  // Two frames in a row differ by twice the noise; two averages of four by
  // about half as much.
  ASSERT_TRUE(runner->RunAll({"click:acquisition", "dump:RawBuf", "click:acquisition",
                              "dump:RawBuf"}))
      << err.str();
  const auto single = Lines(Take());
  ASSERT_TRUE(runner->RunAll({"set:AvgCount=4", "click:moyenne", "click:acquisition",
                              "dump:RawBuf", "click:acquisition", "dump:RawBuf"}))
      << err.str();
  const auto averaged = Lines(Take());
  ASSERT_EQ(single.size(), 4096u);
  ASSERT_EQ(averaged.size(), 4096u);
  const auto half = [](const std::vector<int>& v, int k) {
    return std::vector<int>(v.begin() + 2048 * k, v.begin() + 2048 * (k + 1));
  };
  const double ratio = StdOfDifference(half(averaged, 0), half(averaged, 1)) /
                       StdOfDifference(half(single, 0), half(single, 1));
  EXPECT_GT(ratio, 0.35);
  EXPECT_LT(ratio, 0.7);
}

TEST_F(ScriptOrder, ADumpAfterStartReadsTheSeriesAndACancelKeepsThePreviousOne) {
  Start(device::sim::Scene::Michelson);
  ASSERT_TRUE(runner->RunAll({"click:mi", "set:InterAcc=5", "click:startmi", "dump:NbPoints",
                              "dump:MiSerie"}))
      << err.str();
  const auto first = Lines(Take());
  ASSERT_EQ(first.size(), 513u);
  EXPECT_EQ(first[0], 512);
  EXPECT_GT(*std::max_element(first.begin() + 1, first.end()), 100);

  // Cancel once 100 samples are recorded: the series ends, the first stays.
  ASSERT_TRUE(runner->RunAll({"set:InterAcc=20", "gauge:cancel=100", "click:startmi",
                              "dump:NbPoints", "dump:MiSerie"}))
      << err.str();
  EXPECT_EQ(Lines(Take()), first);
  EXPECT_FALSE(fp->Gauge().Visible());
  EXPECT_FALSE(fp->FiniteLoopRunning());
}

TEST_F(ScriptOrder, AGaugeCancelStopsTheAverageAtItsFrame) {
  Start(device::sim::Scene::Slit);
  ASSERT_TRUE(runner->RunAll({"set:AvgCount=16", "click:moyenne", "gauge:cancel=3",
                              "click:acquisition", "dump:NbCurves"}))
      << err.str();
  EXPECT_EQ(Take(), "1\n");
  // Frames 1 and 2 were added; the third was read, then the cancel seen.
  EXPECT_EQ(fp->LastAcquisitionLink().frames, 3);
  // A cancel queued for a gauge that never comes is an error.
  EXPECT_FALSE(runner->RunAll({"gauge:cancel", "dump:NbCurves"}));
  EXPECT_NE(err.str().find("gauge:cancel was never used"), std::string::npos) << err.str();
  EXPECT_FALSE(runner->Run("gauge:stop"));
}

TEST_F(ScriptOrder, ActionsAfterTheLiveViewRunWhileItRuns) {
  Start(device::sim::Scene::Slit);
  const int pictures = port.pictures;
  ASSERT_TRUE(runner->RunAll({"click:rt", "wait:500", "dump:NbPoints", "click:rt"}))
      << err.str();
  EXPECT_EQ(Take(), "512\n");  // read during the live view
  EXPECT_TRUE(fp->LiveStopped());
  // The live view went on during the wait: frames of 10 ms for 0.5 s.
  EXPECT_GT(port.pictures - pictures, 30);
}

TEST_F(ScriptOrder, QuitEndsTheScriptFromAnyLoop) {
  Start(device::sim::Scene::Slit);
  EXPECT_TRUE(runner->RunAll({"click:rt", "click:Quitter1", "dump:NbCurves"}));
  EXPECT_EQ(Take(), "");
  EXPECT_TRUE(fp->LiveStopped());
  EXPECT_EQ(port.closeRequests, 1);
}

TEST_F(ScriptOrder, AFailedFileCommandFailsItsActionAndChangesNothing) {
  Start(device::sim::Scene::Slit);
  ASSERT_TRUE(runner->RunAll({"click:acquisition"}));
  const auto before = fp->Curves().Raw(1);
  EXPECT_FALSE(runner->RunAll({"open:/nonexistent/a.CCD", "dump:NbCurves"}));
  EXPECT_FALSE(runner->RunAll({"open:/etc/passwd"}));
  EXPECT_EQ(Take(), "");
  EXPECT_EQ(fp->Curves().Raw(1), before);
  // One line each, said by the runner (the window's port saw no error box).
  const std::string said = err.str();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
  EXPECT_TRUE(port.messages.empty());
  // Keep going: the rest runs, the result is still a failure.
  runner->KeepGoing = true;
  EXPECT_FALSE(runner->RunAll({"open:/nonexistent/a.CCD", "dump:NbCurves"}));
  EXPECT_EQ(Take(), "1\n");
}

}  // namespace
}  // namespace rovanel::script
