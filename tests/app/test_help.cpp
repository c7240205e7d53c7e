// The help pages: which file each language and topic opens, and the
// theory reminder of each mode.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/help.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;

// A shipped folder holding stub pages: help/<lang>/<file> for each one named.
struct StubPages {
  explicit StubPages(std::initializer_list<const char*> pages) {
    root = fs::temp_directory_path() / ("rovanel-help-" + std::to_string(::getpid()) + "-" +
                                        std::to_string(counter++));
    fs::remove_all(root);
    for (const char* page : pages) {
      const fs::path file = root / "help" / page;
      fs::create_directories(file.parent_path());
      std::ofstream(file) << "<html><body>" << page << "</body></html>\n";
    }
  }
  ~StubPages() { fs::remove_all(root); }
  std::string Dir() const { return root.string() + "/"; }
  fs::path root;
  static inline int counter = 0;
};

const std::initializer_list<const char*> kAllPages = {
    "fr/index.html", "fr/michelson.html", "fr/interference.html", "fr/grating.html",
    "en/index.html", "en/michelson.html", "en/interference.html", "en/grating.html"};

TEST(HelpPage, EachLanguageAndTopicOpensItsFileGermanTheEnglishOneWithANote) {
  const StubPages shipped(kAllPages);
  struct Case {
    int language;
    HelpTopic topic;
    const char* page;
    std::string_view note;
  };
  const Case cases[] = {
      {1, HelpTopic::Contents, "fr/index.html", ""},
      {1, HelpTopic::Michelson, "fr/michelson.html", ""},
      {1, HelpTopic::Interference, "fr/interference.html", ""},
      {1, HelpTopic::Spectrometry, "fr/grating.html", ""},
      {2, HelpTopic::Contents, "en/index.html", ""},
      {2, HelpTopic::Michelson, "en/michelson.html", ""},
      {2, HelpTopic::Interference, "en/interference.html", ""},
      {2, HelpTopic::Spectrometry, "en/grating.html", ""},
      {3, HelpTopic::Contents, "en/index.html", "ID_MES_INF_aide en anglais"},
      {3, HelpTopic::Spectrometry, "en/grating.html", "ID_MES_INF_aide en anglais"},
  };
  for (const Case& c : cases) {
    const HelpPageRef ref = HelpPage(c.language, c.topic, shipped.Dir());
    EXPECT_EQ(ref.path, shipped.Dir() + "help/" + c.page) << c.page;
    EXPECT_EQ(ref.note, c.note) << c.page << " in " << c.language;
  }
}

TEST(HelpPage, AMissingPageGivesNoPathAndSaysWhereItWasLookedFor) {
  const StubPages shipped({"en/index.html"});
  for (int language : {1, 2, 3}) {
    const HelpPageRef ref = HelpPage(language, HelpTopic::Michelson, shipped.Dir());
    EXPECT_EQ(ref.path, "");
    EXPECT_EQ(ref.note, "ID_MES_ERR_aide absente");
    EXPECT_EQ(ref.wanted,
              shipped.Dir() + (language == 1 ? "help/fr/" : "help/en/") + "michelson.html");
  }
}

struct Help : ::testing::Test, support::NoBoxRig {
  StubPages shipped{kAllPages};
  // The Language menu keeps its choice in the configuration: in the test's folder.
  Help() {
    fp.SetShippedDir(shipped.Dir());
    fp.SetUserDir(shipped.Dir());
  }
};

TEST_F(Help, TheReminderOfEachModeAndNoneInAnalysisOrWithNoMode) {
  struct Case {
    const char* mode;  // "": no mode
    const char* page;  // "": nothing opens
  };
  const Case cases[] = {{"mi", "michelson.html"},
                        {"int", "interference.html"},
                        {"spectro", "grating.html"},
                        {"opto", ""},
                        {"", ""}};
  for (const Case& c : cases) {
    for (const char* mode : {"mi", "int", "opto", "spectro"})  // every mode up
      if (fp.Controls().Find(mode)->down) fp.Click(mode);
    if (*c.mode != '\0') fp.Click(c.mode);
    port.helpPages.clear();
    // The button, then the handler itself even where the button is disabled.
    fp.Click("rappels");
    fp.rappelsClick();
    if (*c.page == '\0') {
      EXPECT_TRUE(port.helpPages.empty()) << c.mode;
    } else {
      const std::string page = shipped.Dir() + "help/en/" + c.page;
      EXPECT_EQ(port.helpPages, (std::vector<std::string>{page, page})) << c.mode;
    }
  }
}

TEST_F(Help, ContentsOpensTheIndexOfTheLanguageAndAMissingPageComesWithANote) {
  fp.Click("Sommaire1");
  fp.LanguageChosen(3);
  fp.Click("Sommaire1");
  ASSERT_EQ(port.helpPages.size(), 2u);
  EXPECT_EQ(port.helpPages[0], shipped.Dir() + "help/en/index.html");
  EXPECT_EQ(port.helpNotes[0], "");
  EXPECT_EQ(port.helpPages[1], shipped.Dir() + "help/en/index.html");
  EXPECT_NE(port.helpNotes[1], "");

  fs::remove(shipped.root / "help" / "en" / "index.html");
  fp.LanguageChosen(2);
  fp.Click("Sommaire1");
  EXPECT_EQ(port.helpPages.back(), "");
  EXPECT_NE(port.helpNotes.back(), "");
}

TEST_F(Help, TheDialogsHelpButtonsOpenTheContents) {
  struct Case {
    const char* mode;
    const char* answer;
    const char* click;
  };
  const Case cases[] = {{"opto", "Tfeature click=hlpfeat cancel", "FiltrageMoyennage1"},
                        {"int", "Tparaint click=BitBtn1 cancel", "Simulation1"}};
  for (const Case& c : cases) {
    fp.Click(c.mode);
    std::string error;
    fp.Answers().Queue(*ParseDialogAnswer(c.answer, error));
    port.helpPages.clear();
    fp.Click(c.click);
    EXPECT_EQ(port.helpPages, (std::vector<std::string>{shipped.Dir() + "help/en/index.html"}))
        << c.answer;
  }
}

}  // namespace
}  // namespace rovanel::app
