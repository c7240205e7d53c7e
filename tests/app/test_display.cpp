// The plot's surroundings through the window model: read-outs, cursors and
// the mouse, zoom and scrolling, the grid, the bands and the settings dialog.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "support/served_window.h"

namespace rovanel::app {
namespace {

struct Plot : ::testing::Test, support::NoBoxRig {
  void SetUp() override {
    fp.Click("realgris");  // full height, as the worked cases assume
    fp.Click("filtrage");
  }
  std::string Caption(const char* name) { return fp.Controls().Find(name)->caption; }
  void Answer(const char* text) {
    std::string error;
    fp.Answers().Queue(*ParseDialogAnswer(text, error));
  }
};

// Under a histogram the band's axis is the levels: said once, then gone.
TEST_F(Plot, TheXLegendUnderAHistogramNamesTheLevels) {
  fp.Click("opto");
  fp.Click("gauss");
  fp.Click("cumul");
  EXPECT_EQ(Caption("AffUniteX"), "X  ( µm )   (histogram: levels 0 to 255)");
  fp.Click("cumul");
  EXPECT_EQ(Caption("AffUniteX"), "X  ( µm )");
}

TEST_F(Plot, ReadOutsAtTheStartPositions) {
  fp.Click("cursv");
  fp.Click("cursh");
  EXPECT_EQ(Caption("coorv1"), "X1 =   5600.00µm");
  EXPECT_EQ(Caption("coorv2"), "X2 =  16800.00µm");
  EXPECT_EQ(Caption("Deltav"), "|X1-X2| =  11200.00µm");
  EXPECT_EQ(Caption("coorh1"), "Y1 =    61%");
  EXPECT_EQ(fp.SampleWidth(), 14.0);
  EXPECT_EQ(Caption("AffUniteX"), "X  ( µm )");
  EXPECT_EQ(Caption("AffUniteY"), "Y");
  fp.Click("cursv");
  EXPECT_EQ(Caption("coorv1"), "");
  // The dotted lines are on the picture, then gone with their button.
  fp.Click("cursv");
  int dark = 0;
  for (int y = 0; y < 256; ++y) dark += fp.Picture().Pixel(100, y) == display::kBlack;
  EXPECT_GT(dark, 60);
  EXPECT_LT(dark, 200);
  fp.Click("cursv");
  EXPECT_EQ(fp.Picture().Pixel(100, 10), display::kWhite);
}

TEST_F(Plot, ZoomStepsLargeChangesAndScrollLimits) {
  EXPECT_EQ(Caption("ZoomAff"), "1:4");
  EXPECT_EQ(fp.PlotScroll().largeChange, 64);
  EXPECT_EQ(fp.PlotScroll().max, 0);
  EXPECT_EQ(fp.PreviewFront().width, 100);
  fp.Click("ZoomPlus");
  EXPECT_EQ(fp.Plot().ZoomStep(), 3);
  EXPECT_EQ(fp.PlotScroll().largeChange, 48);
  EXPECT_EQ(fp.PlotScroll().max, 16);
  EXPECT_EQ(fp.PreviewFront().width, 75);
  EXPECT_FALSE(fp.ZoomHeld());
  EXPECT_EQ(fp.Prof().Step, 3);
  fp.Click("SpeedButton1");
  EXPECT_EQ(fp.Plot().ZoomStep(), 1);
  EXPECT_EQ(fp.PlotScroll().largeChange, 16);
  EXPECT_EQ(fp.PlotScroll().max, 48);
  fp.Click("ZoomPlus");
  EXPECT_EQ(fp.Plot().ZoomStep(), 1);  // never below one
  fp.deplacementScroll(48);
  EXPECT_EQ(fp.Plot().ViewStart(), 1536);
  EXPECT_EQ(fp.Plot().ViewStart() + 512 * fp.Plot().ZoomStep(), 2048);
  EXPECT_EQ(fp.ViewCentreKept(), 56);
  for (int i = 0; i < 6; ++i) fp.Click("ZoomMoins");
  EXPECT_EQ(fp.Plot().ZoomStep(), 4);  // never beyond 2048 / 512
  EXPECT_EQ(fp.Plot().ViewStart(), 0);
  // A series of 8192 points allows steps 1..16.
  fp.minizoomClick();
  fp.SetZoom(8192, 99);
  EXPECT_EQ(Caption("ZoomAff"), "1:16");
}

TEST_F(Plot, HoldingAZoomPanelRepeatsUntilReleased) {
  fp.SetZoom(8192, 16);
  int pumps = 0;
  port.onPump = [&](int) {
    if (++pumps == 40) fp.Hold("ZoomPlus", false);
  };
  fp.Hold("ZoomPlus", true);
  EXPECT_FALSE(fp.ZoomHeld());
  // First step at once, then one every 20 ms after a 500 ms pause.
  EXPECT_LT(fp.Plot().ZoomStep(), 15);
  EXPECT_GE(fp.Plot().ZoomStep(), 1);
}

TEST_F(Plot, MouseMovesTheNearestCursorAndStopsAtTheEdges) {
  fp.Click("cursv");
  fp.ecranMouseDown(TFp::MouseButton::Left, 200, 150);  // X1 and X2 both 100 away
  EXPECT_EQ(fp.Plot().Cursor().x1, 200);
  EXPECT_EQ(fp.Plot().Cursor().x2, 200);
  EXPECT_EQ(fp.Plot().Cursor().active, 2);
  EXPECT_EQ(fp.Plot().Cursor().lastVertical, 2);
  EXPECT_EQ(fp.EcranPointer(), TFp::Pointer::SizeWE);
  fp.ecranMouseMove(511, 150);
  fp.ecranMouseMove(530, 150);  // outside: ignored
  EXPECT_EQ(fp.Plot().Cursor().x2, 511);
  fp.ecranMouseUp();
  fp.ecranMouseMove(300, 150);  // not dragging any more
  EXPECT_EQ(fp.Plot().Cursor().x2, 511);
  EXPECT_EQ(fp.EcranPointer(), TFp::Pointer::Default);
  // In band mode a click low on the plot stops at row 127.
  fp.Click("cursv");
  fp.Click("cursh");
  fp.Click("realgris");
  fp.ecranMouseDown(TFp::MouseButton::Left, 0, 200);
  fp.ecranMouseUp();
  EXPECT_EQ(fp.Plot().Cursor().y2, 127);
  EXPECT_EQ(Caption("coorh2"), "Y2 =     0%");
}

TEST_F(Plot, GreyLevelsHalveAndDoubleTheHorizontalCursors) {
  fp.Click("realgris");
  EXPECT_EQ(fp.Plot().Cursor().y1, 50);
  EXPECT_EQ(fp.Plot().Cursor().y2, 100);
  fp.Click("gauss");  // already in band mode: rows stay
  fp.Click("realgris");
  EXPECT_EQ(fp.Plot().Cursor().y1, 50);
  fp.Click("gauss");
  EXPECT_FALSE(fp.Plot().BandMode());
}

TEST_F(Plot, GridAndGreyBandOnTheComposedPicture) {
  fp.Click("Grid");
  EXPECT_TRUE(fp.Controls().PasGrid.visible);
  EXPECT_EQ(Caption("PasGrid"), "500µm");
  // 500 µm at 56 µm per column: the first line at column 9.
  EXPECT_EQ(fp.Picture().Pixel(9, 60), display::kSilver);
  EXPECT_EQ(fp.Picture().Pixel(8, 60), display::kWhite);
  EXPECT_EQ(fp.Picture().Pixel(300, 204), display::kSilver);
  // A curve at level 200 gives a grey band of (200, 200, 200) on rows 10..118
  // of the lower half.
  signal::Curve level200;
  level200.fill(200);
  fp.FillLastCurve(level200);
  fp.Click("realgris");
  EXPECT_EQ(fp.Picture().Pixel(40, 129 + 10), (display::Rgb{200, 200, 200}));
  EXPECT_EQ(fp.Picture().Pixel(40, 129 + 118), display::kWhite);
  EXPECT_EQ(fp.Picture().Pixel(40, 127 - 100), display::kBlack);  // the curve at half height
}

TEST_F(Plot, SettingsDialogPages) {
  fp.Click("cursv");
  Answer("TAffichage unit2=1 unit5=1 ok");
  fp.Click("Axes1");
  EXPECT_EQ(fp.Affichage().XUnit, "mm");
  EXPECT_EQ(fp.Prof().UnitX, "mm");
  EXPECT_EQ(Caption("AffUniteX"), "X  ( mm )");
  EXPECT_EQ(Caption("AffUniteY"), "Ln ( Y )");
  EXPECT_EQ(Caption("coorv1"), "X1 =      5.60mm");
  Answer("TAffichage ListPas=3 ListStyle=1 ColorGrid=255,0,0 ok");
  fp.Click("Grille1");
  EXPECT_EQ(fp.Affichage().GridStep, 2000);
  EXPECT_EQ(Caption("PasGrid"), "2mm");
  EXPECT_EQ(fp.Plot().Drawing().penColour, (display::Rgb{255, 0, 0}));
  Answer("TAffichage pix4=1 unit1=1 ok");  // the axes page is not shown: no unit
  EXPECT_FALSE((fp.Click("Curseurs1"), fp.TakeScriptError().empty()));
  Answer("TAffichage pix4=1 ok");
  fp.Click("Curseurs1");
  EXPECT_EQ(fp.Affichage().CursorWidth, 4);
  EXPECT_EQ(fp.Affichage().XUnit, "mm");
  // A typed wavelength: shades of its spectral colour from black.
  Answer("TAffichage MskLBDA=550 ok");
  fp.Click("colorniv1");
  EXPECT_TRUE(fp.Affichage().SingleColourLevels);
  const auto& bgr = fp.Stores().SpectrumColours[971];
  EXPECT_EQ(fp.Affichage().MaxLevelColour, (display::Rgb{bgr[2], bgr[1], bgr[0]}));
}

TEST_F(Plot, FringesBetweenTheVerticalCursorsInTheMichelsonMode) {
  fp.Click("mi");
  // A series of 2048 samples with four bright fringes, found by Peaks.
  std::vector<std::uint8_t> series(2048, 10);
  for (std::size_t i : {420u, 800u, 1100u, 1300u}) series[i] = 200;
  fp.FillSeries(series);
  fp.SetZoom(2048, 4);
  // Smoothing up: the fringes stay one sample wide.
  if (fp.Controls().filtrage.down) fp.Click("filtrage");
  fp.Click("pics");
  fp.Click("cursv");
  // Columns 100..300 at 4 samples per column: samples 400..1200, three marks.
  EXPECT_EQ(Caption("nbfr"), "3 fringes");
  EXPECT_EQ(fp.Fringes(), 3);
  // X1 dragged next to X2: four samples apart.
  fp.ecranMouseDown(TFp::MouseButton::Left, 101, 0);
  fp.ecranMouseMove(299, 0);
  fp.ecranMouseUp();
  EXPECT_EQ(fp.Fringes(), -1);                    // 4 samples apart: no count
  EXPECT_EQ(Caption("nbfr"), "3 fringes");  // left as it was
  // Without Peaks there are no marks to count: say how to get a count.
  fp.Click("pics");
  EXPECT_EQ(Caption("nbfr"), "press Peaks to count");
  EXPECT_EQ(fp.Fringes(), -1);
}

}  // namespace
}  // namespace rovanel::app

namespace rovanel::app {
namespace {

TEST(SpectrumStrip, MissingStripIsSaidAndLeavesTheColoursBlack) {
  device::ManualClock clock;
  Box box(support::NoBoxOptions(), clock);
  support::RecordingPort port;
  TFp fp(box, port);
  fp.SetShippedDir("/nonexistent/");
  fp.FormCreate();
  fp.FormShow();
  // With the dictionary gone too, its message comes first and the keys stay.
  ASSERT_EQ(port.messages.size(), 2u);
  EXPECT_EQ(port.messages[0], "File RESC0002.UO is missing ");
  EXPECT_NE(port.messages[1].find("ID_MES_ERR_bande couleurs"), std::string::npos);
  for (const auto& entry : fp.Stores().SpectrumColours)
    ASSERT_EQ(entry, (std::array<std::uint8_t, 3>{0, 0, 0}));
  fp.Click("spectro");
  fp.Click("spColor");  // draws black, does not fail
  EXPECT_TRUE(fp.Controls().spColor.down);
}

}  // namespace
}  // namespace rovanel::app
