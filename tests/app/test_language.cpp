// The window's texts in the three languages: every key the program asks for
// is in the shipped dictionary, missing keys are marked and completed, the
// Language menu switches at once and keeps the choice.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include "app/config.h"
#include "app/control_table.h"
#include "app/help.h"
#include "app/lang/form_texts.h"
#include "device/sim/optical_bench.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh folder per test, removed afterwards.
struct TempDir {
  TempDir() {
    path = fs::temp_directory_path() /
           ("rovanel-lang-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempDir() { fs::remove_all(path); }
  std::string Dir() const { return path.string() + "/"; }
  fs::path path;
  static inline int counter = 0;
};

// The window over no box, its shipped files and user folder chosen.
struct Window {
  Window(const std::string& shipped, const std::string& user, std::optional<int> language)
      : box(support::NoBoxOptions(), clock), fp(box, port) {
    fp.SetShippedDir(shipped);
    fp.SetUserDir(user);
    fp.SetForcedLanguage(language);
  }
  void Start() {
    fp.FormCreate();
    fp.FormShow();
  }
  device::ManualClock clock{1000};
  Box box;
  support::RecordingPort port;
  TFp fp;
};

// Every key the source asks Text() for, as written in the code.
std::set<std::string> KeysInSource() {
  std::set<std::string> keys;
  const std::regex call(R"re((^|[^A-Za-z_])Text\(\s*"([^"]+)")re");
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(ROVANEL_SOURCE_DIR) / "src")) {
    if (entry.path().extension() != ".cpp") continue;
    const std::string text = ReadFile(entry.path());
    for (std::sregex_iterator m(text.begin(), text.end(), call), end; m != end; ++m)
      keys.insert((*m)[2]);
  }
  return keys;
}

TEST(WindowTexts, HoldsEveryKeyTheProgramAsksForInTheThreeLanguages) {
  // A copy: a missing key would append to it.
  TempDir shipped;
  const fs::path source = fs::path(ROVANEL_SOURCE_DIR) / "resources" / std::string(kDictionaryFile);
  fs::copy_file(source, shipped.path / std::string(kDictionaryFile));
  fs::copy_file(fs::path(ROVANEL_SOURCE_DIR) / "resources" / "resc0001.uo",
                shipped.path / "resc0001.uo");
  const std::string before = ReadFile(shipped.path / std::string(kDictionaryFile));

  std::set<std::string> asked = KeysInSource();
  ASSERT_GT(asked.size(), 10u);
  for (const ControlSpec& c : ControlTable())
    if (c.place == Place::Menu || c.place == Place::Check) asked.insert(std::string(c.parent));
  asked.insert("ID_MIT_SIM_Scene");
  asked.insert(std::string(kHelpInEnglishKey));
  asked.insert(std::string(kHelpMissingKey));
  for (std::string_view scene : device::sim::SceneNames())
    asked.insert("ID_MIT_SIM_" + std::string(scene));

  for (int language = 1; language <= 3; ++language) {
    TempDir user;
    Window w(shipped.Dir(), user.Dir(), language);
    w.Start();
    EXPECT_TRUE(w.port.messages.empty()) << w.port.messages.front();
    auto all = w.fp.Controls().All();
    for (DialogModel* d : std::initializer_list<DialogModel*>{&w.fp.Affichage(), &w.fp.Paraint(),
                                                             &w.fp.Feature(), &w.fp.MiCalc(),
                                                             &w.fp.Imp()})
      for (auto& control : d->Texts()) all.push_back(control);
    for (auto& control : w.fp.Tapp().Texts()) all.push_back(control);
    for (const auto& [name, control] : all) {
      EXPECT_FALSE(control->marked) << name << " in language " << language;
      EXPECT_FALSE(IsCaptionKey(control->caption)) << name << ": " << control->caption;
      EXPECT_FALSE(IsHintKey(control->hint)) << name << ": " << control->hint;
    }
    for (const std::string& key : asked)
      EXPECT_TRUE(w.fp.Words().Lookup(key, language).found) << key << " in " << language;
  }
  EXPECT_EQ(ReadFile(shipped.path / std::string(kDictionaryFile)), before);
}

TEST(WindowTexts, MissingKeysAreMarkedKeptAndCompletedWithPlaceholders) {
  TempDir shipped, user;
  // Only the acquisition button's caption: everything else is missing.
  WriteFile(shipped.path / "RESC0002.UO", "ID_BTN_BAS_Acquisition\tAcq\tAcquire\tAufnahme\r\n");
  Window w(shipped.Dir(), user.Dir(), 2);
  w.Start();
  EXPECT_EQ(w.fp.Controls().acquisition.caption, "Acquire");
  EXPECT_FALSE(w.fp.Controls().acquisition.hint.empty());
  // Its hint is missing: the control is marked although its caption was found.
  EXPECT_TRUE(w.fp.Controls().acquisition.marked);
  EXPECT_EQ(w.fp.Controls().superposition.caption, "ID_BTN_BAS_Superposition");
  EXPECT_TRUE(w.fp.Controls().superposition.marked);
  EXPECT_FALSE(w.fp.Controls().ZoomPlus.caption.empty());
  EXPECT_EQ(w.fp.Controls().ZoomPlus.caption, "+");  // not a key: shown as it stands
  const std::string grown = ReadFile(shipped.path / "RESC0002.UO");
  EXPECT_NE(grown.find("ID_BTN_BAS_Superposition\t/1 !Empty!/\t/2 !Empty!/\t/3 !Empty!/\r\n"),
            std::string::npos);
  // "ID_BTN_BAS_Valider" is asked by three dialogs: three lines.
  std::size_t n = 0;
  for (std::size_t at = grown.find("ID_BTN_BAS_Valider\t"); at != std::string::npos;
       at = grown.find("ID_BTN_BAS_Valider\t", at + 1))
    ++n;
  EXPECT_EQ(n, 3u);
}

// No file, a folder, a FIFO or an endless device in the dictionary's place:
// said once as missing, without blocking nor reading without end.
TEST(WindowTexts, MissingFileIsSaidOnceAndTheKeysStay) {
  const std::vector<std::function<void(const fs::path&)>> plants = {
      [](const fs::path&) {},
      [](const fs::path& p) { fs::create_directory(p); },
      [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
      [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
  };
  for (std::size_t k = 0; k < plants.size(); ++k) {
    TempDir shipped, user;
    plants[k](shipped.path / "RESC0002.UO");
    Window w(shipped.Dir(), user.Dir(), 1);
    w.Start();
    ASSERT_FALSE(w.port.messages.empty()) << k;
    EXPECT_EQ(w.port.messages.front(), "File RESC0002.UO is missing ") << k;
    EXPECT_EQ(std::count(w.port.messages.begin(), w.port.messages.end(),
                         "File RESC0002.UO is missing "),
              1);
    EXPECT_EQ(w.fp.Controls().acquisition.caption, "ID_BTN_BAS_Acquisition");
  }
}

TEST(LanguageMenu, SwitchesTheTextsAtOnceAndKeepsTheChoice) {
  TempDir user;
  const std::string shipped = std::string(ROVANEL_BIN_DIR) + "/";
  {
    Window w(shipped, user.Dir(), std::nullopt);
    w.Start();  // no configuration, no first start: French, nothing written
    EXPECT_EQ(w.fp.Lang(), 1);
    EXPECT_FALSE(fs::exists(user.path / "rovanel.cfg"));
    const std::string french = w.fp.Controls().superposition.caption;
    ASSERT_TRUE(w.fp.Click("English1"));
    EXPECT_EQ(w.fp.Controls().superposition.caption, "Overlay");
    EXPECT_NE(french, "Overlay");
    EXPECT_TRUE(w.fp.Controls().English1.down);
    EXPECT_FALSE(w.fp.Controls().Francais1.down);
    ASSERT_TRUE(w.fp.Click("Deutsch1"));
    EXPECT_EQ(w.fp.Controls().superposition.caption, "Überlagern");
  }
  ConfigRec kept;
  ASSERT_TRUE(ReadConfig(user.Dir(), kept));
  EXPECT_EQ(fs::file_size(user.path / "rovanel.cfg"), kConfigSize);
  EXPECT_EQ(kept.CfgLanguage, 3);
  // The next start reads it.
  Window again(shipped, user.Dir(), std::nullopt);
  again.Start();
  EXPECT_EQ(again.fp.Lang(), 3);
  EXPECT_EQ(again.fp.Controls().superposition.caption, "Überlagern");
}

}  // namespace
}  // namespace rovanel::app
