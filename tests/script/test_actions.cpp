#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/script/action_runner.h"
#include "app/script/command_line.h"
#include "display/image_io.h"
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

// The window model on the simulated box, driven by actions.
struct Actions : ::testing::Test {
  device::ManualClock clock;
  std::unique_ptr<app::Box> box;
  support::RecordingPort port;
  std::unique_ptr<app::TFp> fp;
  std::ostringstream out, err;
  std::unique_ptr<ActionRunner> runner;

  void SetUp() override {
    app::BoxOptions options;
    options.kind = app::BoxKind::Sim;
    box = std::make_unique<app::Box>(options, clock);
    fp = std::make_unique<app::TFp>(*box, port);
    fp->FormCreate();
    fp->FormShow();
    runner = std::make_unique<ActionRunner>(*fp, out, err);
  }
  bool Run(std::vector<std::string> actions) { return runner->RunAll(actions); }
};

TEST_F(Actions, AcquisitionThenDumpPrintsTheDiffractionProfile) {
  ASSERT_TRUE(Run({"click:acquisition", "dump:CurveBuf"})) << err.str();
  const auto levels = Lines(out.str());
  ASSERT_EQ(levels.size(), 2048u);
  const int centre = *std::max_element(levels.begin() + 1000, levels.begin() + 1048);
  EXPECT_GT(centre, 150);
  EXPECT_LT(levels[100], 40);
  EXPECT_TRUE(err.str().empty());
}

TEST_F(Actions, SetAndDumpTheCurveSet) {
  ASSERT_TRUE(Run({"set:AvgCount=2", "set:NivPotar=7", "click:superposition", "click:acquisition",
                   "dump:NbCurves", "dump:CurveColours"}))
      << err.str();
  EXPECT_EQ(out.str(), "2\n255 0 0\n0 0 0\n0 0 128\n0 0 0\n");
  EXPECT_EQ(fp->Prof().AvgCount, 2);
  EXPECT_EQ(fp->Prof().Level, 7);
  out.str("");
  ASSERT_TRUE(Run({"dump:tools"}));
  EXPECT_NE(out.str().find(
                "superposition down=1 enabled=1 visible=1 caption=\"Superposer\""),
            std::string::npos);
  EXPECT_NE(out.str().find("Pics1 down=1"), std::string::npos);
}

TEST_F(Actions, BoxCommandsTalkToTheProtocol) {
  ASSERT_TRUE(Run({"box:id"}));
  EXPECT_EQ(out.str(), "status 0\nid 8264\n");
  out.str("");
  ASSERT_TRUE(Run({"box:series=5"}));
  const std::string text = out.str();
  EXPECT_EQ(text.rfind("status 0\n", 0), 0u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
  out.str("");
  ASSERT_TRUE(Run({"box:frame"}));
  const std::string frame = out.str();
  EXPECT_EQ(frame.rfind("status 0\n", 0), 0u);
  EXPECT_EQ(std::count(frame.begin(), frame.end(), '\n'), 2049);
}

TEST_F(Actions, ScenesChangeWhatTheSimulatedBoxSees) {
  ASSERT_TRUE(Run({"scene:dark", "click:acquisition", "dump:RawBuf"}));
  for (int v : Lines(out.str())) ASSERT_LT(v, 30);
  EXPECT_FALSE(Run({"scene:moon"}));
}

TEST_F(Actions, ErrorsSayWhatIsWrongInOneLine) {
  const std::vector<std::string> bad = {
      "click:nothing", "frobnicate",   "set:AvgCount=0", "set:AvgCount=x", "set:NivPotar=16",
      "set:Other=1",   "dump:nothing", "box:series=-1",  "box:reset",      "dump:ecran=",
      "set:InterAcc=", "set:InterAcc=-5", "set:InterAcc=2.5", "set:spLbd=\xff\xfe"};
  for (const std::string& action : bad) {
    err.str("");
    EXPECT_FALSE(runner->Run(action)) << action;
    const std::string e = err.str();
    EXPECT_EQ(std::count(e.begin(), e.end(), '\n'), 1) << e;
  }
  // A failing action stops the sequence.
  out.str("");
  EXPECT_FALSE(Run({"click:nothing", "dump:NbCurves"}));
  EXPECT_TRUE(out.str().empty());
}

TEST_F(Actions, DialogButtonsTabsAndFieldsAfterClosing) {
  // λ = 2V/F: 316.4 µm/s at 1000 Hz is 632.80 nm, ± 2·316400·1/1000² +
  // 2·100/1000 = 0.83 nm.
  ASSERT_TRUE(Run({"click:mi", "dialog:TMiCalc page=0 frra=1000 frrain=1 vira=316.4 virain=0.1 "
                               "click=racalcul ok",
                   "click:calc", "dump:lora", "dump:lorain"}))
      << err.str();
  EXPECT_EQ(out.str(), "632.80\n0.83\n");
  out.str("");
  // The simulation's page, a bar moved and read back; a bar out of range.
  ASSERT_TRUE(Run({"click:int", "dialog:Tparaint page=2 renbt=5 ok", "click:paramint",
                   "click:gosimu", "set:bar=-300", "dump:bar", "dump:renbt"}))
      << err.str();
  EXPECT_EQ(out.str(), "-300\n5\n");
  EXPECT_EQ(fp->Paraint().Sim.SlitCount, 5.0);
  EXPECT_FALSE(runner->Run("set:intensbar=0"));
  // A lamp line chosen for the wavelength entry; one the library lacks.
  ASSERT_TRUE(Run({"click:spectro", "set:spLine=546.074", "dump:spLbd"}));
  EXPECT_EQ(out.str(), "-300\n5\n546.074\n");
  EXPECT_FALSE(runner->Run("set:spLine=500"));
}

TEST_F(Actions, PictureIsWrittenAsPngOrBmp) {
  const auto dir = std::filesystem::temp_directory_path() / "rovanel-actions";
  std::filesystem::create_directories(dir);
  const std::string png = (dir / "e.png").string(), bmp = (dir / "e.BMP").string();
  ASSERT_TRUE(Run({"click:acquisition", "dump:ecran=" + png, "dump:ecran=" + bmp}));
  const QImage expected = display::ToQImage(fp->Picture());
  for (const std::string& file : {png, bmp}) {
    QImage image(QString::fromStdString(file));
    ASSERT_EQ(image.size(), QSize(512, 256)) << file;
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), expected) << file;
  }
  EXPECT_FALSE(runner->Run("dump:ecran=" + (dir / "no-such-folder" / "e.png").string()));
  std::filesystem::remove_all(dir);
}

TEST(CommandLine, OptionsThenActions) {
  std::string error;
  auto line = ParseCommandLine({"--box", "none", "--scene=lamp", "click:acquisition",
                                "--screenshot", "s.png", "dump:CurveBuf"},
                               error);
  ASSERT_TRUE(line) << error;
  EXPECT_EQ(line->box, "none");
  EXPECT_EQ(line->scene, "lamp");
  EXPECT_EQ(line->screenshot, "s.png");
  EXPECT_EQ(line->actions, (std::vector<std::string>{"click:acquisition", "dump:CurveBuf"}));
  EXPECT_FALSE(ParseCommandLine({"--box"}, error));
  EXPECT_FALSE(ParseCommandLine({"--colour=red"}, error));
}

// A word that is not "verb:..." and names a curve file (or any file) is the
// file to open at start; anything else stays an action, refused if unknown.
TEST(CommandLine, AFileToOpenIsToldFromTheActions) {
  const std::string existing = std::string(ROVANEL_SOURCE_DIR) + "/README.md";
  struct Case {
    std::string word;
    bool file;
  };
  for (const Case& c : std::vector<Case>{{"/tmp/no-such-dir/young.CCD", true},
                                         {"COURBES/fringes.cct", true},
                                         {"plain.Ccd", true},
                                         {existing, true},
                                         {"C:/TP/young.CCD", true},
                                         {"open:young.CCD", false},
                                         {"dump:RawBuf", false},
                                         {"nonsense", false},
                                         {"young.TXT", false}})
    EXPECT_EQ(IsFileArgument(c.word), c.file) << c.word;

  std::string error;
  auto line = ParseCommandLine({"--version", "--box", "none", "a.CCD", "dump:NbCurves"}, error);
  ASSERT_TRUE(line) << error;
  EXPECT_TRUE(line->version);
  EXPECT_EQ(line->openFile, "a.CCD");
  EXPECT_EQ(line->actions, (std::vector<std::string>{"dump:NbCurves"}));
  EXPECT_FALSE(ParseCommandLine({"a.CCD", "b.CCT"}, error));
  EXPECT_NE(error.find("b.CCT"), std::string::npos) << error;
}

TEST(CommandLine, TheBoxComesFromTheOptionThenTheEnvironmentThenAuto) {
  std::string error;
  CommandLine line;
  EXPECT_EQ(MakeBoxOptions(line, nullptr, error)->kind, app::BoxKind::Auto);
  EXPECT_EQ(MakeBoxOptions(line, "usb", error)->kind, app::BoxKind::Usb);
  EXPECT_EQ(MakeBoxOptions(line, "", error)->kind, app::BoxKind::Auto);
  EXPECT_EQ(MakeBoxOptions(line, "sim", error)->kind, app::BoxKind::Sim);
  line.box = "none";
  EXPECT_EQ(MakeBoxOptions(line, "usb", error)->kind, app::BoxKind::None);
  line.box = "serial";
  EXPECT_FALSE(MakeBoxOptions(line, nullptr, error));
  EXPECT_NE(error.find("serial"), std::string::npos);
  line.box.reset();
  EXPECT_FALSE(MakeBoxOptions(line, "parallel", error));
  line.scene = "slits";
  EXPECT_EQ(MakeBoxOptions(line, nullptr, error)->scene, device::sim::Scene::TwoSlits);
  line.scene = "moon";
  EXPECT_FALSE(MakeBoxOptions(line, nullptr, error));
  line.scene.reset();
  EXPECT_EQ(MakeBoxOptions(line, nullptr, error)->ids.product, 0x6001);
  line.usbIds = "0403:6014";
  const auto ids = MakeBoxOptions(line, nullptr, error)->ids;
  EXPECT_EQ(ids.vendor, 0x0403);
  EXPECT_EQ(ids.product, 0x6014);
  for (const char* bad : {"0403", "0403:", "x:6001", "0403:6001:1", "0403:60014", "-1:-1", "+403:6001"}) {
    line.usbIds = bad;
    EXPECT_FALSE(MakeBoxOptions(line, nullptr, error)) << bad;
  }
}

}  // namespace
}  // namespace rovanel::script

namespace rovanel::script {
namespace {

std::string WriteFile(const std::string& name, const std::string& text) {
  const auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream(path) << text;
  return path.string();
}

std::string Levels(int n, int v) {
  std::string text;
  for (int i = 0; i < n; ++i) text += std::to_string(v) + "\n";
  return text;
}

TEST_F(Actions, FillLoadsLevelsAndRefusesABadLineWithItsNumber) {
  const std::string good = WriteFile("rovanel-fill-good.txt", Levels(2048, 77));
  ASSERT_TRUE(Run({"click:filtrage", "fill:RawBuf=" + good, "dump:CurveBuf=1"})) << err.str();
  EXPECT_EQ(Lines(out.str()), std::vector<int>(2048, 77));

  std::string text = Levels(2048, 5);
  text.replace(text.find("5\n", 6), 1, "300");  // line 4
  const std::string bad = WriteFile("rovanel-fill-bad.txt", text);
  EXPECT_FALSE(Run({"fill:RawBuf=" + bad}));
  EXPECT_NE(err.str().find(":4: not a level"), std::string::npos) << err.str();
  EXPECT_EQ(fp->Curves().Raw(1)[0], 77);  // nothing changed

  const std::string series = WriteFile("rovanel-fill-series.txt", Levels(5000, 9));
  err.str("");
  EXPECT_TRUE(Run({"fill:MiSerieRaw=" + series})) << err.str();
  EXPECT_EQ(fp->Mi().NbPoints, 5000);
  EXPECT_FALSE(Run({"fill:RawBuf=" + series}));  // a profile has 2048 levels
}

TEST_F(Actions, DialogAnswersAreQueuedAndMustBeUsed) {
  ASSERT_TRUE(Run({"dialog:Tfeature ordre=5 \"nbmoy=1 2\" ok", "click:FiltrageMoyennage1"}))
      << err.str();
  EXPECT_EQ(fp->Prof().FilterOrder, 5);
  EXPECT_EQ(fp->Prof().AvgCount, 2);  // "1 2" typed: the space empties, then 2; 2 is kept
  EXPECT_FALSE(Run({"dialog:Tfeature ordre=5 ok"}));
  EXPECT_NE(err.str().find("never used"), std::string::npos);
  EXPECT_FALSE(Run({"dialog:Tfeature colour=red ok", "click:FiltrageMoyennage1"}));
  EXPECT_FALSE(Run({"dialog:Tfeature ordre=5"}));  // no ok or cancel
  EXPECT_FALSE(Run({"dialog:Tfeature \"ordre=5 ok"}));
}

TEST_F(Actions, DumpsOfStoresAndLabels) {
  ASSERT_TRUE(
      Run({"click:acquisition", "click:pics", "dump:picx", "dump:PeakMarks", "dump:RawBuf=2"}))
      << err.str();
  const std::string text = out.str();
  EXPECT_EQ(text.rfind("Xp =", 0), 0u) << text;
  EXPECT_FALSE(Run({"dump:RawBuf=5"}));
  EXPECT_FALSE(Run({"dump:CurveBuf=x"}));
}

}  // namespace
}  // namespace rovanel::script
