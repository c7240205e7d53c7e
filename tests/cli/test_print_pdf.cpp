// The lab sheet as a student makes it: rovanel-cli writes the PDF, Poppler
// reads it back (its text, and a rendering of the plot), and the notes
// travel with the curve file.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "display/print_page.h"
#include "support/shell.h"

namespace rovanel::cli {
namespace {

namespace fs = std::filesystem;

using support::Have;
using support::Shell;

// A binary PPM (P6) as rows of RGB.
struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  bool Dark(int x, int y) const {
    const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    return p[0] < 100 && p[1] < 100 && p[2] < 100;
  }
};

Picture ReadPpm(const fs::path& path) {
  Picture pic;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  in >> magic >> pic.width >> pic.height >> maxValue;
  in.get();
  if (magic != "P6" || maxValue != 255) return {};
  pic.rgb.resize(static_cast<std::size_t>(pic.width) * pic.height * 3);
  in.read(reinterpret_cast<char*>(pic.rgb.data()), static_cast<std::streamsize>(pic.rgb.size()));
  return pic;
}

struct PrintPdf : ::testing::Test {
  void SetUp() override {
    if (!Have("pdftotext") || !Have("pdftoppm"))
      GTEST_SKIP() << "Poppler's pdftotext and pdftoppm are needed (Debian: poppler-utils)";
    // One folder per test: ctest runs them side by side.
    dir = fs::temp_directory_path() /
          ("rovanel-print-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Cli(const std::string& actions) {
    const std::string command = "cd '" + dir.string() + "' && '" ROVANEL_BIN_DIR "/rovanel-cli' --box sim --lang 1 " +
                                actions + " 2>&1";
    int status = 0;
    std::string out = Shell(command, status);
    EXPECT_EQ(status, 0) << command << "\n" << out;
    return out;
  }
  std::string Text(const std::string& pdf) {
    int status = 0;
    return Shell("pdftotext -layout '" + (dir / pdf).string() + "' -", status);
  }
  fs::path dir;
};

TEST_F(PrintPdf, TheSheetHoldsTheNotesAndReadOutsAndTheCurveLiesInTheFrame) {
  Cli("click:int click:acquisition click:cursv "
      "'dialog:Timp nom=\"Ada Martin\" manip=\"Fentes d Young\" "
      "remark=\"Deux fentes, a = 0,2 mm\" couleur=1 ok' print:pdf=out.pdf save:sheet.CCD");
  const std::string text = Text("out.pdf");
  for (const char* wanted : {"Ada Martin", "Fentes d Young", "Deux fentes, a = 0,2 mm", "Nom(s)",
                             "Remarques", "X1 =", "5600.00µm", "16800.00µm", "X ( µm )"})
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << " not in:\n" << text;

  // At 72 dpi one pixel is one point: the frame is where the layout puts
  // it on an A4 sheet; the curve (black, in colour mode the grid is light)
  // crosses nearly every column inside it.
  int status = 0;
  Shell("pdftoppm -r 72 '" + (dir / "out.pdf").string() + "' '" + (dir / "page").string() + "'",
      status);
  ASSERT_EQ(status, 0);
  fs::path ppm;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".ppm") ppm = entry.path();
  const Picture pic = ReadPpm(ppm);
  ASSERT_GT(pic.width, 590);
  const display::PaperMm a4 = display::PaperDimensions(display::PaperSize::A4);
  const display::PageFrame f =
      display::PlotFrame(a4.width / 25.4 * 72, a4.height / 25.4 * 72, 72);
  const int left = static_cast<int>(f.left) + 3, right = static_cast<int>(f.left + f.width) - 3;
  const int top = static_cast<int>(f.top) + 3, bottom = static_cast<int>(f.top + f.height) - 3;
  int crossed = 0;
  for (int x = left; x < right; ++x) {
    bool dark = false;
    for (int y = top; y < bottom && !dark; ++y) dark = pic.Dark(x, y);
    crossed += dark;
  }
  EXPECT_GT(crossed, (right - left) * 9 / 10);
  // Nothing dark just outside the frame's right edge, beside the plot.
  int outside = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = right + 6; x < right + 14 && x < pic.width; ++x) outside += pic.Dark(x, y);
  EXPECT_EQ(outside, 0);

  // The curve file carries the notes; reopened, they fill the print
  // dialog again (its OK adds nothing) and reach the next sheet.
  const std::string notes = Cli("open:sheet.CCD dump:PrintNotes 'dialog:Timp ok' print:pdf=again.pdf");
  EXPECT_NE(notes.find("NomText=Ada Martin"), std::string::npos) << notes;
  EXPECT_NE(notes.find("RemarkText=Deux fentes, a = 0,2 mm"), std::string::npos) << notes;
  const std::string again = Text("again.pdf");
  EXPECT_NE(again.find("Ada Martin"), std::string::npos);
  EXPECT_NE(again.find("Fentes d Young"), std::string::npos);
}

TEST_F(PrintPdf, ACancelledDialogOrAnUnwritableFileWritesNothingAndFails) {
  int status = 0;
  const std::string cli = "cd '" + dir.string() + "' && '" ROVANEL_BIN_DIR "/rovanel-cli' --box sim ";
  std::string out = Shell(cli + "print:pdf=none.pdf 2>&1", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(out.find("cancelled"), std::string::npos) << out;
  out = Shell(cli + "'dialog:Timp ok' print:pdf=no/such/folder/x.pdf 2>&1", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(out.find("no/such/folder/x.pdf"), std::string::npos) << out;
  EXPECT_FALSE(fs::exists(dir / "none.pdf"));
}

}  // namespace
}  // namespace rovanel::cli
