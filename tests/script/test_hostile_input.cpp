// What a careless or hostile input must not do: a refused file, value or
// special file changes nothing of the model's state and never blocks.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/script/action_runner.h"
#include "support/recording_port.h"

namespace rovanel::script {
namespace {

namespace fs = std::filesystem;

struct Hostile : ::testing::Test {
  device::ManualClock clock;
  std::unique_ptr<app::Box> box;
  support::RecordingPort port;
  std::unique_ptr<app::TFp> fp;
  std::ostringstream out, err;
  std::unique_ptr<ActionRunner> runner;
  fs::path dir;

  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("rovanel-hostile-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    app::BoxOptions options;
    options.kind = app::BoxKind::Sim;
    box = std::make_unique<app::Box>(options, clock);
    fp = std::make_unique<app::TFp>(*box, port);
    fp->FormCreate();
    fp->FormShow();
    runner = std::make_unique<ActionRunner>(*fp, out, err);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const char* name) { return (dir / name).string(); }

  // Everything a script can read of the model, as one text.
  std::string Snapshot() {
    std::ostringstream shot, none;
    ActionRunner reader(*fp, shot, none);
    for (const char* what :
         {"dump:tools", "dump:NbCurves", "dump:CurveColours", "dump:RawBuf=1", "dump:RawBuf=2",
          "dump:RawBuf=3", "dump:CurveBuf", "dump:ProfParams", "dump:OptoParams",
          "dump:SpectroParams", "dump:MiParams", "dump:PrintNotes", "dump:NbPoints",
          "dump:FileNom"})
      EXPECT_TRUE(reader.Run(what)) << what;
    return shot.str();
  }
};

TEST_F(Hostile, ARefusedInputChangesNothing) {
  ASSERT_EQ(::mkfifo(Path("f.CCD").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(Path("levels.txt").c_str(), 0600), 0);
  fs::create_directory(Path("folder.CCD"));
  std::ofstream(Path("junk.CCD")) << "not a curve";
  std::ofstream(Path("short.txt")) << "12\n13\n";
  const struct {
    std::vector<std::string> setup;  // run first (must succeed)
    std::string refused;
  } rows[] = {
      {{"click:acquisition", "click:superposition"}, "open:/nonexistent.CCD"},
      {{"click:acquisition", "click:superposition"}, "open:" + Path("junk.CCD")},
      {{"click:spectro", "click:acquisition"}, "open:" + Path("junk.CCD")},
      {{"click:mi"}, "open:" + Path("junk.CCD")},
      {{"click:acquisition", "click:pics"}, "open:" + Path("f.CCD")},
      {{"click:acquisition"}, "open:" + Path("folder.CCD")},
      {{"click:acquisition"}, "fill:RawBuf=" + Path("levels.txt")},
      {{"click:acquisition"}, "fill:RawBuf=" + Path("short.txt")},
      {{"click:acquisition"}, "fill:MiSerieRaw=/dev/zero"},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(runner->RunAll(row.setup)) << err.str();
    const std::string before = Snapshot();
    EXPECT_FALSE(runner->RunAll({row.refused})) << row.refused;
    EXPECT_EQ(Snapshot(), before) << row.refused;
    ASSERT_TRUE(runner->RunAll({"click:int"}));  // back to a plain mode
  }
}

}  // namespace
}  // namespace rovanel::script
