// The first display's configuration steps: stale files, the first start
// with its language dialog and calibration, reading a short file, and the
// parallel-port box chosen by the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>

#include <sys/stat.h>

#include "acquisition/series_timing.h"
#include "app/config.h"
#include "device/timing.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;

struct StartupConfig : ::testing::Test {
  StartupConfig() {
    dir = fs::temp_directory_path() / ("rovanel-cfg-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    root = dir;
  }
  ~StartupConfig() override { fs::remove_all(root); }

  // A file of these bytes as the configuration.
  void Plant(std::vector<std::uint8_t> bytes) {
    std::ofstream(dir / "rovanel.cfg", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  // Virtual time that also runs with the delay loop's work, 1 µs per
  // iteration, so that the first start's calibration can measure it.
  struct WorkClock : device::Clock {
    std::int64_t now = 0;
    TFp* fp = nullptr;
    std::int64_t NowUs() override {
      return now + (fp && fp->HasDelayLoop() ? std::int64_t(fp->DelayLoopCalibration().DelayIterations) : 0);
    }
    void SleepUntilUs(std::int64_t t) override { now += std::max<std::int64_t>(0, t - NowUs()); }
    void Spin() override { now += 1000; }
  };
  // One start of the window; `firstStart` as the window allows it.
  struct Started {
    WorkClock clock;
    Box box;
    support::RecordingPort port;
    TFp fp;
    explicit Started(const BoxOptions& options) : box(options, clock), fp(box, port) {
      clock.fp = &fp;
    }
  };
  std::unique_ptr<Started> Start(bool firstStart, BoxOptions options = support::NoBoxOptions(),
                                 std::optional<DialogAnswer> answer = {}) {
    auto s = std::make_unique<Started>(options);
    s->fp.SetUserDir(dir.string() + "/");
    s->fp.AllowFirstStart(firstStart);
    if (answer) s->fp.Answers().Queue(*answer);
    s->fp.FormCreate();
    s->fp.FormShow();
    return s;
  }
  static DialogAnswer English() { return DialogAnswer{"TSelLge", {{"anglais", "1"}}, true}; }
  fs::path dir, root;
};

TEST_F(StartupConfig, StaleSizesAreDeletedAndTheFirstStartRunsOnce) {
  for (std::size_t size : {43u, 299u}) {
    Plant(std::vector<std::uint8_t>(size, 0x55));
    auto first = Start(true, support::NoBoxOptions(), English());
    EXPECT_TRUE(first->fp.Answers().Unused().empty()) << "the language dialog was not shown";
    EXPECT_EQ(first->fp.Lang(), 2);
    EXPECT_EQ(first->fp.Controls().superposition.caption, "Overlay");
    ASSERT_EQ(fs::file_size(dir / "rovanel.cfg"), 312u);
    ConfigRec rec;
    ASSERT_TRUE(ReadConfig(dir.string() + "/", rec));
    EXPECT_EQ(rec.CfgLanguage, 2);
    EXPECT_EQ(rec.CfgPortBox, 0);
    EXPECT_EQ(rec.CfgSlope, first->fp.DelayLoopCalibration().Slope);
    // The next start reads the file: no dialog.
    auto next = Start(true, support::NoBoxOptions(), English());
    EXPECT_EQ(next->fp.Answers().Unused().size(), 1u);
    EXPECT_EQ(next->fp.Lang(), 2);
    fs::remove(dir / "rovanel.cfg");
  }
}

TEST_F(StartupConfig, AShortFileIsReadWithoutComplaint) {
  // 40 bytes: the two doubles and reserved bytes, no port box nor language.
  std::array<std::uint8_t, 312> full = EncodeConfig({12.5, -3.25, 1, 2});
  Plant(std::vector<std::uint8_t>(full.begin(), full.begin() + 40));
  auto s = Start(true);
  EXPECT_TRUE(s->port.messages.empty());
  EXPECT_EQ(s->fp.Configuration().CfgSlope, 12.5);
  EXPECT_EQ(s->fp.Configuration().CfgOffset, -3.25);
  EXPECT_EQ(s->fp.Configuration().CfgPortBox, 0);
  EXPECT_EQ(s->fp.Configuration().CfgLanguage, 0);
  EXPECT_EQ(s->fp.Lang(), 1);  // language 0 reads French
  EXPECT_FALSE(s->fp.SeriesFromPortBox());
  EXPECT_EQ(s->fp.DelayLoopCalibration().Slope, 12.5);
  // The delay set for 0.02 ms: 0.02 * 12.5 - 3.25 = -3.
  EXPECT_EQ(s->fp.DelayLoopCalibration().LoopCount, -3);
  EXPECT_EQ(fs::file_size(dir / "rovanel.cfg"), 40u);  // never rewritten
}

// Hostile files in the configuration's place: a corrupt calibration is timed
// again; a FIFO or a folder reads as no file, without blocking.
TEST_F(StartupConfig, ACorruptCalibrationIsTimedAgainAndSpecialFilesAreNotRead) {
  for (const double slope : {1e12, std::numeric_limits<double>::infinity()}) {
    const auto full = EncodeConfig({slope, 0, 0, 2});
    Plant(std::vector<std::uint8_t>(full.begin(), full.end()));
    auto s = Start(true);
    EXPECT_TRUE(device::PlausibleCalibration(s->fp.DelayLoopCalibration().Slope, s->fp.DelayLoopCalibration().Offset));
    EXPECT_LE(s->fp.DelayLoopCalibration().LoopCount, device::kMaxLoopCount);
    ConfigRec rec;
    ASSERT_TRUE(ReadConfig(dir.string() + "/", rec));
    EXPECT_EQ(rec.CfgSlope, s->fp.DelayLoopCalibration().Slope);  // kept for the next start
    EXPECT_EQ(rec.CfgLanguage, 2);
    EXPECT_EQ(s->fp.Lang(), 2);
  }
  fs::remove(dir / "rovanel.cfg");
  ASSERT_EQ(::mkfifo((dir / "rovanel.cfg").c_str(), 0600), 0);
  ConfigRec rec;
  EXPECT_FALSE(ReadConfig(dir.string() + "/", rec));
  fs::remove(dir / "rovanel.cfg");
  fs::create_directory(dir / "rovanel.cfg");
  EXPECT_FALSE(ReadConfig(dir.string() + "/", rec));
}

TEST_F(StartupConfig, PortBoxFromTheFileTakesTheSeriesFromTheParallelPort) {
  const std::array<std::uint8_t, 312> bytes = EncodeConfig({0, 0, 1, 1});
  Plant(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  BoxOptions options;
  options.kind = BoxKind::Sim;
  options.timeScale = 0;
  options.parport = device::PortKind::kSim;
  auto s = Start(false, options);
  EXPECT_TRUE(s->fp.SeriesFromPortBox());
  s->fp.Click("mi");
  // The port box's duration rules from the start, not from the first
  // change of sensitivity: multiples of 41 s for 4096 points, of 82 s for
  // 8192 (at 10 ms).
  const auto typed = [&](const char* text) {
    s->fp.TypeText("InterAcc", text);
    s->fp.InterAccEnter();
    return s->fp.Controls().InterAcc.caption;
  };
  EXPECT_EQ(typed("20"), "41");
  EXPECT_EQ(typed("100"), "123");
  s->fp.Click("NbPts");
  EXPECT_EQ(typed("100"), "164");
  s->fp.Click("NbPts");
  EXPECT_EQ(typed("20"), "41");
  s->fp.Click("startmi");
  // The parallel-port box's plan: its points and duration steps.
  acquisition::SeriesControls controls = s->fp.Series();
  const acquisition::SeriesPlan port = acquisition::PlanPortSeries(controls);
  EXPECT_EQ(s->fp.Mi().NbPoints, port.points);
  EXPECT_EQ(s->fp.Mi().DurationCode, port.durationCode);
}

TEST_F(StartupConfig, WithoutFirstStartNothingIsAskedNorWritten) {
  auto s = Start(false, support::NoBoxOptions(), English());
  EXPECT_EQ(s->fp.Answers().Unused().size(), 1u);
  EXPECT_EQ(s->fp.Lang(), 1);
  EXPECT_FALSE(fs::exists(dir / "rovanel.cfg"));
}

TEST_F(StartupConfig, AConfigurationThatCannotBeWrittenIsSaidAndTheProgramGoesOn) {
  // A folder that is a file: no user can write in it, root included.
  std::ofstream(dir / "plain") << "x";
  dir /= "plain";
  auto s = Start(true, support::NoBoxOptions(), English());
  ASSERT_EQ(s->port.messages.size(), 2u);  // the help notice, then the failure
  EXPECT_NE(s->port.messages[1].find("plain/rovanel.cfg"), std::string::npos) << s->port.messages[1];
  EXPECT_NE(s->port.messages[1].find("cannot be written ("), std::string::npos);
  EXPECT_EQ(s->fp.Lang(), 2);
  EXPECT_TRUE(s->fp.Click("acquisition"));
}

}  // namespace
}  // namespace rovanel::app
