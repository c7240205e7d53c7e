// rovanel-cli as a lab script sees it: a failed action says so on one line,
// stops the script, writes nothing and exits 1; Quit ends it from any loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/shell.h"

namespace rovanel::cli {
namespace {

namespace fs = std::filesystem;

struct ExitCodes : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("rovanel-exit-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  // Runs rovanel-cli in the test's folder; standard output only unless
  // `withErrors`. A script that hangs is killed after 20 s (status 124).
  std::string Cli(const std::string& args, int& status, bool withErrors = false) {
    const std::string command = "cd '" + dir.string() + "' && ROVANEL_HOME='" + dir.string() +
                                "' timeout 20 '" ROVANEL_BIN_DIR "/rovanel-cli' --lang 2 " + args +
                                (withErrors ? " 2>&1" : " 2>stderr.txt");
    return support::Shell(command, status);
  }
  // The lines of the runner's errors (the status bar's lines go there too).
  int ErrorLines() {
    int status = 0;
    const std::string text =
        support::Shell("grep '^rovanel:' '" + (dir / "stderr.txt").string() + "'", status);
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  }
};

TEST_F(ExitCodes, AFailedFileActionStopsTheScriptWithStatusOneAndWritesNothing) {
  struct Row {
    const char* args;
    const char* mustNotExist;
  };
  const Row rows[] = {
      {"--box sim click:acquisition save:/nonexistent/x.CCD dump:NbCurves", nullptr},
      {"--box none open:/etc/passwd export:regressi=out.RW3", "out.RW3"},
      {"--box none open:/nonexistent.CCD export:text=out.TXT", "out.TXT"},
      {"--box none export:text=/nonexistent/x.TXT save:after.CCD", "after.CCD"},
      {"--box none save:x.foo save:after.CCD", "after.CCD"},
      {"--box none export:bitmap=x.png save:after.CCD", "after.CCD"},
      {"--box none gauge:cancel click:acquisition", nullptr},
      {"--box none set:AvgCount=99 save:after.CCD", "after.CCD"},
      {"--box sim --port-box --parport none click:mi click:startmi dump:NbPoints", nullptr},
  };
  for (const Row& row : rows) {
    int status = 0;
    const std::string out = Cli(row.args, status);
    EXPECT_EQ(status, 1) << row.args;
    EXPECT_EQ(out, "") << row.args;  // nothing after the failure ran
    EXPECT_EQ(ErrorLines(), 1) << row.args;
    if (row.mustNotExist) {
      EXPECT_FALSE(fs::exists(dir / row.mustNotExist)) << row.args;
    }
  }
}

TEST_F(ExitCodes, KeepGoingRunsTheRestAndStillExitsOne) {
  int status = 0;
  const std::string out =
      Cli("--box none --keep-going open:/nonexistent.CCD dump:NbCurves save:after.CCD", status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(out, "1\n");
  EXPECT_TRUE(fs::exists(dir / "after.CCD"));
}

TEST_F(ExitCodes, QuitEndsTheScriptFromTheLiveView) {
  int status = 0;
  const std::string out = Cli("--box sim click:rt click:Quitter1 dump:NbCurves", status);
  EXPECT_EQ(status, 0);  // not killed by the time-out
  EXPECT_EQ(out, "");
}

// An unknown option is a usage error (2) that points at the help; a value
// the program refuses fails as an action does (1). One line each.
TEST_F(ExitCodes, AnOptionErrorIsOneLine) {
  int status = 0;
  std::string out = Cli("--colour=red", status, true);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
  EXPECT_NE(out.find("--help"), std::string::npos) << out;
  out = Cli("--box usb --usb-ids -1:-1 box:id", status, true);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
}

}  // namespace
}  // namespace rovanel::cli
