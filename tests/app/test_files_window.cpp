// The Save and open commands and the exports, as a user runs them: the
// file dialogs answered with a name, the files written whole or not at all,
// a load that fails changing nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/files/curve_files.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;

struct FileCommands : ::testing::Test, support::NoBoxRig {
  FileCommands() {
    dir = fs::temp_directory_path() / ("rovanel-files-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~FileCommands() override { fs::remove_all(dir); }

  std::string Path(const std::string& name) const { return (dir / name).string(); }
  // Answers the next showing of a file dialog, then runs the command.
  void Run(const char* dialog, const char* control, const std::string& file) {
    DialogAnswer a{dialog, {{"FileName", file}}, !file.empty()};
    if (file.empty()) a.steps.clear();
    fp.Answers().Queue(a);
    ASSERT_TRUE(fp.Click(control));
    ASSERT_TRUE(fp.Answers().Unused().empty());
  }
  void Profile(std::uint8_t base) {
    signal::Curve c;
    for (int i = 0; i < 2048; ++i) c[static_cast<std::size_t>(i)] = std::uint8_t(base + i % 7);
    fp.SetRawCurve(fp.Curves().Count(), c);
  }
  // The LUT coefficient through its dialog (shown in the analysis mode),
  // and the print notes through theirs; then back to `mode`.
  void Settings(const char* coefLn, const char* notes, const char* mode) {
    fp.Click("opto");
    Answer(std::string("Tparaint coefln=") + coefLn + " ok");
    fp.Click("plut");
    Answer(std::string("Timp ") + notes + " ok");
    fp.Click("imprimer");  // the notes are kept once the print dialog is confirmed
    fp.Click(mode);
  }
  void Answer(const std::string& text) {
    std::string error;
    fp.Answers().Queue(*ParseDialogAnswer(text, error));
  }
  static std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path dir;
};

TEST_F(FileCommands, AProfileSavedAndOpenedComesBackWithItsExperimentAndSettings) {
  Settings("5", "nom=Ada \"manip=Fentes d'Young\" \"remark=réglage fin\"", "int");
  Profile(40);
  const signal::Curve saved = fp.Curves().Raw(fp.Curves().Count());
  Run("Save", "Sauver", Path("young.ccd"));  // lower case is accepted
  ASSERT_EQ(fs::file_size(Path("young.ccd")), kCcdSize);
  EXPECT_EQ(fp.Controls().FileNom.caption, Path("young.ccd"));
  EXPECT_EQ(fp.Prof().FileName, Path("young.ccd"));

  // Elsewhere, then back.
  Settings("2", "nom= manip= remark=", "opto");
  Profile(90);
  ASSERT_EQ(fp.Opto().CoefLn, 2);
  Run("open", "ouvrir", Path("young.ccd"));
  EXPECT_TRUE(fp.Controls().int_.down);
  EXPECT_FALSE(fp.Controls().opto.down);
  EXPECT_EQ(fp.Curves().Raw(fp.Curves().Count()), saved);
  EXPECT_EQ(fp.Opto().CoefLn, 5);
  EXPECT_EQ(fp.Notes().ManipText, "Fentes d'Young");
  EXPECT_EQ(fp.Notes().RemarkText, "réglage fin");
  EXPECT_FALSE(fp.Prof().fftValid);
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(FileCommands, ASeriesSavedAndOpenedComesBackInTheMichelsonMode) {
  fp.Click("mi");
  std::vector<std::uint8_t> series(4096);
  for (std::uint32_t k = 0; k < 4096; ++k) series[k] = std::uint8_t(k * 3);
  fp.FillSeries(series);
  Run("Save", "Sauver", Path("fringes.CCT"));
  EXPECT_EQ(fs::file_size(Path("fringes.CCT")), 5507u);
  fp.Click("int");
  fp.FillSeries(std::vector<std::uint8_t>(4096, 0));
  Run("open", "ouvrir", Path("fringes.CCT"));
  EXPECT_TRUE(fp.Controls().mi.down);
  EXPECT_EQ(fp.PointCount(), 4096);
  for (std::uint32_t k = 0; k < 4096; k += 97)
    ASSERT_EQ(fp.Stores().MiSerieRaw.GetValue(k), std::uint8_t(k * 3)) << k;
}

TEST_F(FileCommands, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  Profile(10);
  Run("Save", "Sauver", Path("kept.CCD"));
  const auto before = Bytes(Path("kept.CCD"));
  // The same name inside a folder that is a file cannot be written.
  Profile(200);
  Run("Save", "Sauver", Path("kept.CCD") + "/inner.CCD");
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_NE(port.messages[0].find("kept.CCD/inner.CCD"), std::string::npos) << port.messages[0];
  EXPECT_EQ(Bytes(Path("kept.CCD")), before);
  for (const auto& entry : fs::directory_iterator(dir))
    EXPECT_EQ(entry.path().filename(), "kept.CCD") << "left behind: " << entry.path();
}

TEST_F(FileCommands, AFileThatCannotBeLoadedChangesNothing) {
  fp.Click("opto");
  Profile(30);
  Run("Save", "Sauver", Path("whole.CCD"));
  auto bytes = Bytes(Path("whole.CCD"));
  bytes.resize(3000);  // cut inside the curve
  std::ofstream(Path("cut.CCD"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  Profile(77);
  const signal::Curve held = fp.Curves().Raw(fp.Curves().Count());
  const ProfParamsRec prof = fp.Prof();
  Run("open", "ouvrir", Path("cut.CCD"));
  ASSERT_EQ(port.messages.size(), 1u);
  EXPECT_NE(port.messages[0].find("cut.CCD"), std::string::npos);
  EXPECT_EQ(fp.Curves().Raw(fp.Curves().Count()), held);
  EXPECT_EQ(fp.Prof().Level, prof.Level);
  EXPECT_TRUE(fp.Controls().opto.down);
}

TEST_F(FileCommands, AnOverlayAddsACurveUntilTheMostThenReplacesTheLast) {
  Profile(50);
  Run("Save", "Sauver", Path("a.CCD"));
  fp.Click("superposition");
  const auto colours = fp.Curves().Pens();
  Run("open", "ouvrir", Path("a.CCD"));
  EXPECT_EQ(fp.Curves().Count(), 2);
  EXPECT_EQ(fp.Curves().Pens()[0], colours[2]);
  Run("open", "ouvrir", Path("a.CCD"));
  EXPECT_EQ(fp.Curves().Count(), 3);
  const auto full = fp.Curves().Pens();
  Run("open", "ouvrir", Path("a.CCD"));
  EXPECT_EQ(fp.Curves().Count(), 3);
  EXPECT_EQ(fp.Curves().Pens(), full);
}

TEST_F(FileCommands, CancellingKeepsThePatternAsTheNameAndReadsNothing) {
  Run("open", "ouvrir", "");
  EXPECT_EQ(fp.Prof().FileName, "*.CCD");
  EXPECT_EQ(fp.Controls().FileNom.caption, "*.CCD");
  Run("Save", "Bitmap1", "");
  EXPECT_EQ(fp.Controls().FileNom.caption, "*.BMP");
  EXPECT_TRUE(port.messages.empty());
}

TEST_F(FileCommands, ExportsWriteTheirFilesAndTheBitmapOfThePlot) {
  Profile(60);
  fp.ProcessCurves();
  Run("Save", "IDMITBASRegressi1", Path("profile.rw3"));
  const auto regressi = Bytes(Path("profile.rw3"));
  const std::string text(regressi.begin(), regressi.end());
  EXPECT_EQ(text.rfind("EVARISTE REGRESSI WINDOWS 1.0\r\n", 0), 0u);
  // The extension in any case; any other is said, and nothing is written.
  Run("Save", "Texte1", Path("levels.txt"));
  EXPECT_TRUE(fs::exists(Path("levels.txt")));
  const std::size_t said = port.messages.size();
  Run("Save", "Texte1", Path("levels.csv"));
  EXPECT_FALSE(fs::exists(Path("levels.csv")));
  ASSERT_EQ(port.messages.size(), said + 1);
  EXPECT_NE(port.messages.back().find(".TXT"), std::string::npos) << port.messages.back();
  Run("Save", "Bitmap1", Path("plot.bmp"));
  const auto bmp = Bytes(Path("plot.bmp"));
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
}

// A Regressi file as that program reads it: sections opened by "£n NAME"
// or "&n NAME" lines, each followed by n lines (the values section by n
// lines of space-separated numbers).
struct RegressiFile {
  std::map<std::string, std::vector<std::string>> sections;
  std::vector<std::pair<double, int>> values;
};

RegressiFile ParseRegressi(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "a line without CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  RegressiFile f;
  EXPECT_EQ(lines.at(0), "EVARISTE REGRESSI WINDOWS 1.0");
  for (std::size_t i = 1; i < lines.size();) {
    const std::string& head = lines[i];
    const char mark = head[0];
    EXPECT_TRUE(mark == '&' || head.rfind("\xA3", 0) == 0) << head;
    const std::size_t digits = head.find_first_of("0123456789");
    const std::size_t space = head.find(' ', digits);
    const int n = std::stoi(head.substr(digits, space - digits));
    const std::string name = head.substr(space + 1);
    for (int k = 1; k <= n; ++k) {
      const std::string& line = lines.at(i + k);
      if (name == "VALEUR VAR") {
        std::istringstream in(line);
        double x = 0;
        int y = 0;
        in >> x >> y;
        EXPECT_TRUE(in && in.eof()) << line;
        f.values.emplace_back(x, y);
      } else {
        f.sections[name].push_back(line);
      }
    }
    i += 1 + n;
  }
  return f;
}

TEST_F(FileCommands, ARegressiExportReadsBackAsTheCurveAgainstPosition) {
  Profile(20);
  fp.ProcessCurves();
  Run("Save", "IDMITBASRegressi1", Path("x.RW3"));
  const auto bytes = Bytes(Path("x.RW3"));
  const RegressiFile f = ParseRegressi(std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(f.sections.at("NOM VAR"), (std::vector<std::string>{"Position", "Eclairement"}));
  EXPECT_EQ(f.sections.at("UNITE VAR"), (std::vector<std::string>{"\xB5m", "bit"}));
  ASSERT_EQ(f.values.size(), 2048u);
  for (std::size_t i = 0; i < 2048; ++i) {
    ASSERT_EQ(f.values[i].first, 14.0 * double(i));
    ASSERT_EQ(f.values[i].second, fp.Curves().Shown(fp.Curves().Count())[i]) << i;
  }
}

// The file named on the command line: a profile or series opens into its
// experiment as Open would; one that cannot be read (missing, cut, not a
// curve) is said once and the window stays as it started.
TEST_F(FileCommands, AFileOpenedAtStartGoesToItsExperimentOrIsSaid) {
  fp.Click("int");
  Profile(40);
  const signal::Curve saved = fp.Curves().Raw(fp.Curves().Count());
  Run("Save", "Sauver", Path("slit.CCD"));
  fp.Click("mi");
  fp.FillSeries(std::vector<std::uint8_t>(1024, 9));
  Run("Save", "Sauver", Path("fringes.cct"));
  std::ofstream(Path("notes.txt")) << "not a curve\n";

  struct Case {
    std::string file;
    bool opens;
    Control Tools::*mode;  // the experiment it leaves down
  };
  for (const Case& c : std::vector<Case>{{Path("slit.CCD"), true, &Tools::int_},
                                         {Path("fringes.cct"), true, &Tools::mi},
                                         {Path("missing.CCT"), false, &Tools::opto},
                                         {Path("notes.txt"), false, &Tools::opto}}) {
    support::NoBoxRig fresh;
    fresh.fp.Click("opto");
    const std::string label = fresh.fp.Controls().FileNom.caption;
    EXPECT_EQ(fresh.fp.OpenFile(c.file), c.opens) << c.file;
    EXPECT_TRUE((fresh.fp.Controls().*c.mode).down) << c.file;
    EXPECT_EQ(fresh.port.messages.size(), c.opens ? 0u : 1u) << c.file;
    EXPECT_TRUE(fresh.fp.Answers().Unused().empty()) << c.file;
    if (c.opens) {
      EXPECT_EQ(fresh.fp.Controls().FileNom.caption, c.file);
    } else {
      EXPECT_EQ(fresh.fp.Controls().FileNom.caption, label) << c.file;
    }
  }
  support::NoBoxRig fresh;
  ASSERT_TRUE(fresh.fp.OpenFile(Path("slit.CCD")));
  EXPECT_TRUE(fresh.fp.Controls().int_.down);
  EXPECT_EQ(fresh.fp.Curves().Raw(fresh.fp.Curves().Count()), saved);
}

}  // namespace
}  // namespace rovanel::app
