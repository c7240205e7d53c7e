// The help pages: which file each language and topic opens, what stands in
// for a missing one, and the theory reminder of each mode.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/help.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;

// A shipped folder holding stub pages: help/<lang>/<file> for each one named.
struct StubPages {
  explicit StubPages(const std::vector<const char*>& pages) {
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

const std::vector<const char*> kAllPages = {
    "fr/index.html", "fr/michelson.html", "fr/interference.html", "fr/grating.html",
    "en/index.html", "en/michelson.html", "en/interference.html", "en/grating.html",
    "de/index.html", "de/michelson.html", "de/interference.html", "de/grating.html"};

TEST(HelpPage, EachLanguageAndTopicOpensItsOwnFile) {
  const StubPages shipped(kAllPages);
  const std::pair<int, const char*> folders[] = {{1, "fr/"}, {2, "en/"}, {3, "de/"}};
  for (const auto& [language, folder] : folders) {
    for (HelpTopic topic : {HelpTopic::Contents, HelpTopic::Michelson, HelpTopic::Interference,
                            HelpTopic::Spectrometry}) {
      const std::string page = folder + std::string(HelpFile(topic));
      const HelpPageRef ref = HelpPage(language, topic, shipped.Dir());
      EXPECT_EQ(ref.path, shipped.Dir() + "help/" + page) << page;
      EXPECT_EQ(ref.note, "") << page;
    }
  }
}

TEST(HelpPage, AMissingPageFallsBackToEnglishOnlyFromGerman) {
  // Each case: the pages shipped, the language, then the page opened ("":
  // none) and its note.
  struct Case {
    std::vector<const char*> shipped;
    int language;
    const char* opened;
    std::string_view note;
  };
  const Case cases[] = {
      {{"en/michelson.html"}, 3, "en/michelson.html", kHelpInEnglishKey},
      {{"de/index.html"}, 3, "", kHelpMissingKey},
      {{"en/michelson.html"}, 1, "", kHelpMissingKey},
      {{"fr/michelson.html", "de/michelson.html"}, 2, "", kHelpMissingKey},
  };
  const char* const wanted[] = {"", "fr/", "en/", "de/"};
  for (const Case& c : cases) {
    const StubPages shipped(c.shipped);
    const HelpPageRef ref = HelpPage(c.language, HelpTopic::Michelson, shipped.Dir());
    const std::string opened = *c.opened ? shipped.Dir() + "help/" + c.opened : "";
    EXPECT_EQ(ref.path, opened) << c.language;
    EXPECT_EQ(ref.note, c.note) << c.language;
    EXPECT_EQ(ref.wanted, shipped.Dir() + "help/" + wanted[c.language] + "michelson.html");
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
  fs::remove(shipped.root / "help" / "de" / "index.html");
  fp.Click("Sommaire1");
  ASSERT_EQ(port.helpPages.size(), 3u);
  EXPECT_EQ(port.helpPages[0], shipped.Dir() + "help/en/index.html");
  EXPECT_EQ(port.helpNotes[0], "");
  EXPECT_EQ(port.helpPages[1], shipped.Dir() + "help/de/index.html");
  EXPECT_EQ(port.helpNotes[1], "");
  EXPECT_EQ(port.helpPages[2], shipped.Dir() + "help/en/index.html");
  EXPECT_NE(port.helpNotes[2], "");

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
