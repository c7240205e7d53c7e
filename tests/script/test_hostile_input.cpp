// What a careless or hostile input must not do: a refused file, value or
// special file changes nothing of the model's state and never blocks.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/script/action_runner.h"
#include "support/model_snapshot.h"
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

  std::string Snapshot() {
    std::string shot = support::ModelSnapshot(*fp);
    EXPECT_EQ(shot.find("dump failed"), std::string::npos) << shot;
    return shot;
  }
  static std::string FirstDifference(const std::string& a, const std::string& b) {
    return support::FirstDifference(a, b);
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
    std::vector<std::string> refused;
  } rows[] = {
      {{"click:acquisition", "click:superposition"}, {"open:/nonexistent.CCD"}},
      {{"click:acquisition", "click:superposition"}, {"open:" + Path("junk.CCD")}},
      {{"click:spectro", "click:acquisition"}, {"open:" + Path("junk.CCD")}},
      {{"click:mi"}, {"open:" + Path("junk.CCD")}},
      {{"click:acquisition", "click:pics"}, {"open:" + Path("f.CCD")}},
      {{"click:acquisition"}, {"open:" + Path("folder.CCD")}},
      {{"click:acquisition"}, {"fill:RawBuf=" + Path("levels.txt")}},
      {{"click:acquisition"}, {"fill:RawBuf=" + Path("short.txt")}},
      {{"click:acquisition"}, {"fill:MiSerieRaw=/dev/zero"}},
      // A reference spectrum that cannot be read keeps the file label too.
      {{"click:spectro", "click:acquisition"},
       {"dialog:open FileName=" + Path("junk.CCD") + " ok", "click:spOpnCal"}},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(runner->RunAll(row.setup)) << err.str();
    const std::string before = Snapshot();
    EXPECT_FALSE(runner->RunAll(row.refused)) << row.refused.back();
    EXPECT_EQ(FirstDifference(before, Snapshot()), "") << row.refused.back();
    ASSERT_TRUE(runner->RunAll({"click:int"}));  // back to a plain mode
  }
}

// A failure is one line, whatever the file's name, and speaks of an old
// file only when there was one.
TEST_F(Hostile, AFailedSaveIsSaidOnOneLineAndOnlyAnOldFileIsSaidKept) {
  const struct {
    std::string file;
    bool old;
  } rows[] = {{"/nonexistent/a\nb.CCD", false}, {Path("ro.CCD"), true}};
  std::ofstream(Path("ro.CCD")) << "x";
  fs::permissions(Path("ro.CCD"), fs::perms::owner_read);
  for (const auto& row : rows) {
    err.str("");
    EXPECT_FALSE(runner->RunAll({"save:" + row.file}));
    const std::string said = err.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(said.find("ancien fichier") != std::string::npos, row.old) << said;
  }
  EXPECT_NE(err.str().find("lecture seule"), std::string::npos) << err.str();
  err.str("");
  EXPECT_FALSE(runner->RunAll({"dump:ecran=/nonexistent/x.png"}));
  EXPECT_NE(err.str().find("'/nonexistent/x.png'"), std::string::npos) << err.str();
}

// Every reference line that can be entered can be saved and opened again.
TEST_F(Hostile, AReferenceLineThatCouldNotBeSavedIsRefusedAtEntry) {
  const std::string nines(46, '9');
  ASSERT_TRUE(runner->RunAll({"click:spectro", "click:cursv"})) << err.str();
  const struct {
    std::vector<std::string> actions;
    const char* said;
  } refused[] = {
      {{"dialog:Tfeature spNumPix=5000 spLbd1=500 ok", "click:EditLambda1"}, "2047"},
      {{"dialog:Tfeature spNumPix=12.5 spLbd1=500 ok", "click:EditLambda1"}, "2047"},
      {{"dialog:Tfeature spNumPix=300 spLbd1=" + nines + " ok", "click:EditLambda1"}, "3000"},
      {{"set:spLbd=" + nines, "click:spLbd"}, "3000"},
      {{"set:spLbd=-4", "click:RefPlus"}, "3000"},
  };
  for (const auto& row : refused) {
    const std::string before = Snapshot();
    const std::string typed = fp->Controls().spLbd.caption;
    err.str("");
    EXPECT_FALSE(runner->RunAll(row.actions)) << row.actions.front();
    EXPECT_NE(err.str().find(row.said), std::string::npos) << err.str();
    ASSERT_TRUE(runner->RunAll({"set:spLbd=" + typed}));  // what the user typed, taken back
    EXPECT_EQ(FirstDifference(before, Snapshot()), "") << row.actions.front();
  }
  // A line at the ends of the ranges is kept, saved and read back.
  ASSERT_TRUE(runner->RunAll({"dialog:Tfeature spNumPix=2047 spLbd1=3000 ok",
                              "click:EditLambda1", "save:" + Path("edge.CCD"),
                              "open:" + Path("edge.CCD")}))
      << err.str();
}

}  // namespace
}  // namespace rovanel::script
