// Printing through the window model: the print dialog's rules, the notes it
// keeps, the port bytes, and what the page is given to show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "app/main_window.h"
#include "display/colour_strip.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

TEST(PrintDialog, WidthsGoByHalvesFromHalfToTwo) {
  Timp imp;
  EXPECT_EQ(imp.epcourbe.caption, "1");
  EXPECT_EQ(imp.epgrille.caption, "1/2");
  EXPECT_FALSE(imp.moinsG.enabled);
  struct Step {
    const char* button;
    const char* curve;
    const char* grid;
  };
  const Step steps[] = {{"plus", "3/2", "1/2"},  {"plus", "2", "1/2"},   {"plus", "2", "1/2"},
                        {"moins", "3/2", "1/2"}, {"moins", "1", "1/2"},  {"moins", "1/2", "1/2"},
                        {"moins", "1/2", "1/2"}, {"plusG", "1/2", "1"},  {"plusG", "1/2", "3/2"},
                        {"plusG", "1/2", "2"},   {"plusG", "1/2", "2"},  {"moinsG", "1/2", "3/2"}};
  std::string error;
  for (const Step& s : steps) {
    ASSERT_TRUE(imp.Press(s.button, error));
    EXPECT_EQ(imp.epcourbe.caption, s.curve) << s.button;
    EXPECT_EQ(imp.epgrille.caption, s.grid) << s.button;
  }
  EXPECT_FALSE(imp.moins.enabled);
  EXPECT_TRUE(imp.plus.enabled);
  const display::PageStyle style = imp.Style();
  EXPECT_EQ(style.curveWidthPt, 0.5);
  EXPECT_EQ(style.gridWidthPt, 1.5);
}

TEST(PrintDialog, StartsInBlackAndWhiteAndKeepsTheTextsWithinTheirLimits) {
  Timp imp;
  EXPECT_TRUE(imp.impnb.down);
  EXPECT_FALSE(imp.impcoul.down);
  EXPECT_FALSE(imp.Style().colour);
  std::string error;
  // Characters are counted, not bytes: "é" is two bytes.
  std::string names, remark;
  for (int i = 0; i < 60; ++i) names += "é";
  for (int i = 0; i < 310; ++i) remark += "x";
  ASSERT_TRUE(imp.SetField("nom", names, error));
  ASSERT_TRUE(imp.SetField("manip", "Michelson", error));
  ASSERT_TRUE(imp.SetField("remark", remark, error));
  const PrintNotesRec notes = imp.Notes();
  EXPECT_EQ(notes.NomText.size(), 100u);
  EXPECT_EQ(notes.ManipText, "Michelson");
  EXPECT_EQ(notes.RemarkText.size(), 300u);
  ASSERT_TRUE(imp.Press("impcoul", error));
  EXPECT_TRUE(imp.Style().colour);
  EXPECT_FALSE(imp.impnb.down);
  EXPECT_FALSE(imp.SetField("couleur", "2", error));
  EXPECT_FALSE(imp.SetField("paper", "A3", error));
  EXPECT_FALSE(imp.Press("imprimer", error));
}

struct Printing : ::testing::Test, support::NoBoxRig {
  void Answer(const char* text) {
    std::string error;
    auto answer = ParseDialogAnswer(text, error);
    ASSERT_TRUE(answer) << error;
    fp.Answers().Queue(std::move(*answer));
  }
};

TEST_F(Printing, OkKeepsTheNotesAndPrintsThemCancelChangesNothing) {
  Answer("Timp nom=\"Ada Martin\" manip=\"Young slits\" remark=\"a = 0.2 mm\" ok");
  fp.Click("imprimer");
  EXPECT_EQ(fp.Notes().NomText, "Ada Martin");
  EXPECT_EQ(fp.Notes().ManipText, "Young slits");
  ASSERT_EQ(port.printed.size(), 1u);
  EXPECT_EQ(port.printed[0].page.nom, "Ada Martin");
  EXPECT_EQ(port.printed[0].page.remark, "a = 0.2 mm");
  EXPECT_EQ(port.printed[0].page.nomLabel, "Name(s):");

  // The dialog opens on the notes in force; Cancel keeps them.
  Answer("Timp nom=Other cancel");
  fp.Click("Imprimer1");
  EXPECT_EQ(fp.Imp().nom.caption, "Other");
  EXPECT_EQ(fp.Notes().NomText, "Ada Martin");
  EXPECT_EQ(port.printed.size(), 1u);

  // The preview shows what the dialog holds, before OK.
  Answer("Timp nom=Preview click=apper cancel");
  fp.Click("imprimer");
  ASSERT_EQ(port.previews.size(), 1u);
  EXPECT_EQ(port.previews[0].page.nom, "Preview");
  EXPECT_EQ(fp.Notes().NomText, "Ada Martin");
}

// The bytes go out once Timp is confirmed for a printer, whether or not the
// platform's print dialog is then accepted; a cancelled Timp sends nothing.
TEST(PrintPort, TwoBytesGoToAnOpenPortOnceThePrintDialogIsConfirmed) {
  device::ManualClock clock{1000};
  for (const bool timpOk : {false, true}) {
    BoxOptions options = support::NoBoxOptions();
    options.parport = device::PortKind::kSim;
    Box box{options, clock};
    support::RecordingPort port;
    TFp fp{box, port};
    fp.SetForcedLanguage(2);
    fp.FormCreate();
    fp.FormShow();
    ASSERT_TRUE(box.Port().Opened());
    port.confirmPrint = false;  // the platform's dialog is cancelled
    std::string error;
    fp.Answers().Queue(*ParseDialogAnswer(timpOk ? "Timp ok" : "Timp cancel", error));
    fp.Click("imprimer");
    const std::uint16_t base = device::kParaBase;
    EXPECT_EQ(box.Port().ReadPort(base) == 0xF7, timpOk);
    // The control register holds the wire byte with its inverted lines.
    EXPECT_EQ(box.Port().ReadPort(base + 2) == (0xCC ^ 0x0B), timpOk);
  }
  // No port: nothing is tried (a write would leave "not open" as the error).
  Box box{support::NoBoxOptions(), clock};
  support::RecordingPort port;
  TFp fp{box, port};
  fp.SetForcedLanguage(2);
  fp.FormCreate();
  fp.FormShow();
  const std::int32_t before = box.Port().LastError();
  std::string error;
  fp.Answers().Queue(*ParseDialogAnswer("Timp ok", error));
  fp.Click("imprimer");
  EXPECT_EQ(port.printed.size(), 1u);
  EXPECT_EQ(box.Port().LastError(), before);
}

TEST_F(Printing, ThePageShowsTheViewWithItsScaleCursorsAndDate) {
  setenv("TZ", "UTC", 1);
  tzset();
  fp.SetNow([] { return std::int64_t{1796299200}; });  // 2026-12-03 12:00 UTC
  fp.Click("int");
  fp.Click("superposition");
  fp.Click("acquisition");  // two curves
  if (fp.Controls().filtrage.down) fp.Click("filtrage");  // shown as stored
  for (int k = 1; k <= 2; ++k) {
    signal::Curve c;
    for (std::size_t i = 0; i < kPixels; ++i) c[i] = static_cast<std::uint8_t>((i * k) % 256);
    fp.SetRawCurve(k, c);
  }
  fp.ProcessCurves();
  fp.Click("cursv");
  const PrintJob job = fp.MakePrintJob({"Ada", "Slits", "none"});
  const display::PrintPage& page = job.page;
  EXPECT_EQ(page.date, "2026-12-03  12:00");
  EXPECT_EQ(page.title, "ROVANEL  —  Interference and diffraction");
  // The whole sensor at 4 samples a column; one sample is 14 µm.
  EXPECT_EQ(page.span, 2048u);
  ASSERT_EQ(page.x.size(), 2048u);
  EXPECT_EQ(page.x[0], 0.0);
  EXPECT_EQ(page.x[1000], 14000.0);
  ASSERT_EQ(page.curves.size(), 2u);
  EXPECT_EQ(page.curves[1].levels[300], (300 * 2) % 256);
  EXPECT_EQ(page.curves[0].colour, fp.Curves().Pens()[0]);
  EXPECT_EQ(page.curves[1].colour, fp.Curves().Pens()[1]);
  // Cursors at columns 100 and 300 of 512; their read-outs printed.
  EXPECT_EQ(page.cursorsX, (std::vector<double>{100 / 512.0, 300 / 512.0}));
  ASSERT_GE(page.readouts.size(), 3u);
  EXPECT_EQ(page.readouts[0], "X1 =   5600.00µm");
  EXPECT_EQ(page.xLegend, "X  ( µm )");
  EXPECT_TRUE(page.references.empty());
  EXPECT_EQ(page.settings.back(), "Zoom: 1:4");

  // Zoomed in: 512 samples from the view's start.
  fp.SetZoom(2048, 1);
  const PrintJob zoomed = fp.MakePrintJob({});
  EXPECT_EQ(zoomed.page.span, 512u);
  EXPECT_EQ(zoomed.page.curves[0].levels.size(), 512u);
  EXPECT_EQ(zoomed.page.curves[0].levels[0], fp.Curves().Shown(1)[fp.Plot().ViewStart()]);
  EXPECT_DOUBLE_EQ(zoomed.page.x[0], fp.Plot().ViewStart() * 14.0);
  EXPECT_DOUBLE_EQ(zoomed.page.x[1] - zoomed.page.x[0], 14.0);
}

TEST_F(Printing, SpectrometryListsTheReferenceLines) {
  fp.Click("spectro");
  const PrintJob job = fp.MakePrintJob({});
  const std::vector<std::string> expected = {
      "Ref.1  Pixel n°200     Lambda =  450nm", "Ref.2  Pixel n°400     Lambda =  550nm",
      "Ref.3  Pixel n°800     Lambda =  600nm", "Ref.4  Pixel n°1000     Lambda =  650nm",
      "Ref.5  Pixel n°1200     Lambda =  700nm", "Ref.6  Pixel n°1400     Lambda =  800nm",
      // Beside each, the linear table without it, by hand: (400, 550)-(800,
      // 600) extended to 200; (200, 450)-(800, 600) at 400; (400, 550)-(1000,
      // 650) at 800; (800, 600)-(1200, 700) at 1000; (1000, 650)-(1400, 800)
      // at 1200; (1000, 650)-(1200, 700) extended to 1400.
      "without it: 525.00 nm (diff. +75.00)", "without it: 500.00 nm (diff. -50.00)",
      "without it: 616.67 nm (diff. +16.67)", "without it: 650.00 nm (diff. +0.00)",
      "without it: 725.00 nm (diff. +25.00)", "without it: 750.00 nm (diff. -50.00)"};
  EXPECT_EQ(job.page.references, expected);
  // The rms of those differences: sqrt(11527.78 / 6).
  bool rms = false;
  for (const std::string& line : job.page.settings)
    rms = rms || line.find("rms difference 43.83 nm") != std::string::npos;
  EXPECT_TRUE(rms);
  // The X scale is the wavelength table.
  EXPECT_FLOAT_EQ(static_cast<float>(job.page.x[200]), 450.0f);
  EXPECT_EQ(job.page.xLegend, "X  ( nm )");
  EXPECT_TRUE(job.page.sampleColours.empty());
  // With the spectral colours shown, each sample takes its wavelength's.
  fp.Click("spColor2");
  const PrintJob coloured = fp.MakePrintJob({});
  ASSERT_EQ(coloured.page.sampleColours.size(), 2048u);
  EXPECT_EQ(coloured.page.sampleColours[400],
            display::SpectrumRgb(fp.Stores().SpectrumColours, display::SpectrumColourIndex(550.0f)));
  EXPECT_NE(coloured.page.sampleColours[200], coloured.page.sampleColours[1000]);
}

}  // namespace
}  // namespace rovanel::app
