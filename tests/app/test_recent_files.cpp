// The measurement's file as the window shows it: its name in the title, the
// question before quitting with a measurement never saved, the recent files.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "support/served_window.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;

struct MeasurementFile : ::testing::Test, support::ServedRig {
  MeasurementFile() {
    dir = fs::temp_directory_path() / ("rovanel-recent-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    server.PushFlat(60);
  }
  ~MeasurementFile() override { fs::remove_all(dir); }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  void Save(const std::string& file) {
    fp.Answers().Queue(DialogAnswer{"Save", {{"FileName", file}}, true});
    fp.Click("Sauver");
  }
  fs::path dir;
};

TEST_F(MeasurementFile, TheTitleNamesTheFileAndMarksAMeasurementNeverSaved) {
  const std::string start = fp.WindowTitle();
  EXPECT_EQ(start.find('*'), std::string::npos);
  EXPECT_TRUE(fp.CanClose());  // nothing measured: no question
  fp.Click("acquisition");
  EXPECT_TRUE(fp.Unsaved());
  EXPECT_EQ(fp.WindowTitle(), "*new measurement — " + start);
  Save(Path("slit.CCD"));
  EXPECT_FALSE(fp.Unsaved());
  EXPECT_EQ(fp.WindowTitle(), "slit.CCD — " + start);
  fp.Click("acquisition");
  EXPECT_EQ(fp.WindowTitle(), "*slit.CCD — " + start);
  EXPECT_TRUE(fp.OpenFile(Path("slit.CCD")));
  EXPECT_EQ(fp.WindowTitle(), "slit.CCD — " + start);
  EXPECT_TRUE(port.quitQuestions.empty());
}

TEST_F(MeasurementFile, QuittingWithAMeasurementNeverSavedAsksFirst) {
  const struct {
    QuitChoice answer;
    std::string saveAs;  // the name given to the save dialog ("": cancelled)
    bool closes;
  } rows[] = {
      {QuitChoice::Cancel, "", false},
      {QuitChoice::Discard, "", true},
      {QuitChoice::Save, "", false},  // the save dialog cancelled: stay
      {QuitChoice::Save, "kept.CCD", true},
  };
  for (const auto& row : rows) {
    fp.Click("acquisition");
    port.quitQuestions.clear();
    port.quitAnswer = row.answer;
    if (row.answer == QuitChoice::Save)
      fp.Answers().Queue(DialogAnswer{"Save", {{"FileName", Path(row.saveAs)}}, !row.saveAs.empty()});
    EXPECT_EQ(fp.CanClose(), row.closes) << row.saveAs;
    EXPECT_EQ(port.quitQuestions.size(), 1u);
    EXPECT_EQ(fs::exists(Path("kept.CCD")), !row.saveAs.empty());
  }
  EXPECT_TRUE(fp.CanClose());  // saved: no question
}

TEST_F(MeasurementFile, RecentFilesKeepEightLatestFirstAndDropOnesGone) {
  fp.Click("acquisition");
  for (int i = 0; i < 10; ++i) Save(Path("c" + std::to_string(i) + ".CCD"));
  Save(Path("c5.CCD"));
  ASSERT_EQ(fp.RecentFiles().size(), TFp::kMaxRecentFiles);
  EXPECT_EQ(fp.RecentFiles()[0], Path("c5.CCD"));
  EXPECT_EQ(fp.RecentFiles()[1], Path("c9.CCD"));
  EXPECT_EQ(fp.RecentFiles()[7], Path("c2.CCD"));

  fs::remove(Path("c9.CCD"));
  port.messages.clear();
  fp.OpenRecent(1);
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_NE(port.messages[0].find("c9.CCD\" no longer exists"), std::string::npos) << port.messages[0];
  EXPECT_EQ(fp.RecentFiles().size(), TFp::kMaxRecentFiles - 1);
  EXPECT_EQ(fp.RecentFiles()[1], Path("c8.CCD"));

  fp.OpenRecent(1);  // there: opened
  EXPECT_EQ(fp.RecentFiles()[0], Path("c8.CCD"));
  EXPECT_EQ(fp.FileTitle(), "c8.CCD");

  fp.SetRecentFiles({"a", "", "a", "b"});
  EXPECT_EQ(fp.RecentFiles(), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace rovanel::app
