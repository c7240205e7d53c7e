// The display settings dialog's model: what each page shows, what OK
// applies, the colour-level page's swatches and wavelength, and the fields
// a script may set.
#include <gtest/gtest.h>

#include <memory>

#include "app/dialogs/affichage.h"

namespace rovanel::app {
namespace {

using display::PenStyle;
using display::Rgb;
using T = TAffichage;

// Entry i holds (blue, green, red) = (i mod 256, i div 256, 7), so every
// entry tells its index; the last entry is black.
std::unique_ptr<T::SpectrumTable> NumberedSpectrum() {
  auto t = std::make_unique<T::SpectrumTable>();
  for (int i = 0; i < T::kOutOfRangeEntry; ++i)
    (*t)[i] = {static_cast<std::uint8_t>(i % 256), static_cast<std::uint8_t>(i / 256), 7};
  return t;
}

Rgb EntryColour(int i) {
  return Rgb{7, static_cast<std::uint8_t>(i / 256), static_cast<std::uint8_t>(i % 256)};
}

// The dialog opened on one page, as the window opens it.
struct Opened {
  T d;
  explicit Opened(Control T::*page) {
    (d.*page).visible = true;
    d.Activate();
  }
};

TEST(Affichage, StartsWithTheStartSettings) {
  T d;
  EXPECT_EQ(d.XUnit, "µm");
  EXPECT_EQ(d.YScaleKind, "dec");
  EXPECT_EQ(d.GridStep, 500);
  EXPECT_EQ(d.GridStepIndex, 1);
  EXPECT_EQ(d.GridSteps, (std::array<std::int32_t, 4>{200, 500, 1000, 2000}));
  EXPECT_EQ(d.GridPenStyle, PenStyle::Solid);
  EXPECT_EQ(d.GridColour, (Rgb{192, 192, 192}));
  EXPECT_EQ(d.CursorWidth, 1);
  EXPECT_EQ(d.CursorPenStyle, PenStyle::Dot);
  EXPECT_EQ(d.MaxLevelColour, (Rgb{255, 255, 255}));
  EXPECT_TRUE(d.btnMax.down);
  EXPECT_FALSE(d.btnMin.enabled);
}

TEST(Affichage, OpeningShowsTheSettingsInTheControls) {
  struct Case {
    const char* xUnit;
    const char* yScale;
    int width;
    Control T::*x;
    Control T::*y;
    Control T::*pix;
  } cases[] = {
      {"µm", "dec", 1, &T::unit1, &T::unit4, &T::pix1},
      {"mm", "ln", 2, &T::unit2, &T::unit5, &T::pix2},
      {"pix", "dec", 4, &T::unit3, &T::unit4, &T::pix4},
      {"nm", "ln", 3, &T::unit1, &T::unit5, &T::pix1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xUnit);
    T d;
    d.XUnit = c.xUnit;
    d.YScaleKind = c.yScale;
    d.CursorWidth = c.width;
    d.GridStepIndex = 3;
    d.GridStyleIndex = 2;
    d.GridColour = Rgb{1, 2, 3};
    d.MinLevelColour = Rgb{0, 0, 255};
    d.LevelWavelengthText = "612";
    d.Activate();
    for (auto m : {&T::unit1, &T::unit2, &T::unit3, &T::unit4, &T::unit5})
      EXPECT_EQ((d.*m).down, m == c.x || m == c.y);
    for (auto m : {&T::pix1, &T::pix2, &T::pix4}) EXPECT_EQ((d.*m).down, m == c.pix);
    EXPECT_EQ(d.ListPasIndex, 3);
    EXPECT_EQ(d.ListStyleIndex, 2);
    EXPECT_EQ(d.ColorGrid, (Rgb{1, 2, 3}));
    EXPECT_EQ(d.MinColor, (Rgb{0, 0, 255}));
    EXPECT_EQ(d.MskLBDA.caption, "612");
  }
}

TEST(Affichage, OkChangesTheXUnitOnlyOnTheAxesPage) {
  struct Case {
    Control T::*page;
    const char* radio;
    const char* unit;
  } cases[] = {
      {&T::PAxes, "unit1", "µm"},    {&T::PAxes, "unit2", "mm"},   {&T::PAxes, "unit3", "pix"},
      {&T::pNivCoul, "unit2", "nm"}, {&T::PGrille, "unit3", "nm"}, {&T::PCurs, "unit2", "nm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.radio);
    T d;
    d.XUnit = "nm";  // spectrometry
    (d.*c.page).visible = true;
    d.Activate();
    EXPECT_TRUE(d.RadioClick(c.radio));
    d.ValGClick();
    EXPECT_TRUE(d.accepted);
    EXPECT_EQ(d.XUnit, c.unit);
  }
}

TEST(Affichage, OkAppliesScaleWidthPitchStyleAndColours) {
  struct Case {
    const char *yRadio, *pixRadio;
    int pas, style;
    const char* yScale;
    int width, step;
    PenStyle pen;
  } cases[] = {
      {"unit4", "pix1", 0, 0, "dec", 1, 200, PenStyle::Solid},
      {"unit5", "pix2", 1, 1, "ln", 2, 500, PenStyle::Dot},
      {"unit4", "pix4", 2, 2, "dec", 4, 1000, PenStyle::DashDot},
      {"unit5", "pix1", 3, 0, "ln", 1, 2000, PenStyle::Solid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    Opened o(&T::PAxes);
    T& d = o.d;
    d.RadioClick(c.yRadio);
    d.RadioClick(c.pixRadio);
    d.ListPasChange(c.pas);
    d.ListStyleChange(c.style);
    d.btncolorClick(Rgb{10, 20, 30});
    d.colorcClick(Rgb{40, 50, 60});
    d.ValGClick();
    EXPECT_EQ(d.YScaleKind, c.yScale);
    EXPECT_EQ(d.CursorWidth, c.width);
    EXPECT_EQ(d.GridStepIndex, c.pas);
    EXPECT_EQ(d.GridStep, c.step);
    EXPECT_EQ(d.GridStyleIndex, c.style);
    EXPECT_EQ(d.GridPenStyle, c.pen);
    EXPECT_EQ(d.GridColour, (Rgb{10, 20, 30}));
    EXPECT_EQ(d.CursorColour, (Rgb{40, 50, 60}));
  }
}

TEST(Affichage, TheEmptyPitchItemIsRefused) {
  Opened o(&T::PGrille);
  T& d = o.d;
  d.ListPasChange(2);
  d.ListPasChange(4);
  EXPECT_EQ(d.ListPasIndex, 2);
  std::string error;
  EXPECT_FALSE(d.SetField("ListPas", "4", error));
  EXPECT_NE(error.find("empty item"), std::string::npos) << error;
  d.ListPasIndex = 4;  // however it came there, OK keeps the pitch
  d.ValGClick();
  EXPECT_EQ(d.GridStepIndex, 1);
  EXPECT_EQ(d.GridStep, 500);
}

TEST(Affichage, WavelengthsMapToSpectrumEntries) {
  // 550: 150 / 0.15444015 = 971.25; 460: 60 / 0.15444015 = 388.50001, just
  // above the half.
  struct Case {
    float lambda;
    int index;
  } cases[] = {{400, 0},    {401, 6},    {450, 324},  {460, 389},  {550, 971},
               {650, 1619}, {800, 2590}, {399, 2590}, {801, 2590}, {0, 2590}};
  for (const Case& c : cases) EXPECT_EQ(T::SpectrumIndex(c.lambda), c.index) << c.lambda;
}

TEST(Affichage, EnterInTheWavelengthEditPicksTheMaximumColour) {
  const auto spectrum = NumberedSpectrum();
  // A text that is no whole number is reported and changes nothing.
  struct Case {
    const char* text;
    Rgb colour;
    bool valid;
  } cases[] = {{"550", EntryColour(971), true}, {"400", EntryColour(0), true},
               {"900", Rgb{0, 0, 0}, true},     {"", display::kWhite, false},
               {"5 0", display::kWhite, false}, {"5x", display::kWhite, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Opened o(&T::pNivCoul);
    T& d = o.d;
    d.SetSpectrumColours(spectrum.get());
    d.MskLBDA.caption = c.text;
    d.MskLBDAKeyPress(Key::Digit);  // only Enter acts
    EXPECT_EQ(d.MaxColor, display::kWhite);
    d.MskLBDAKeyPress(Key::Enter);
    EXPECT_EQ(d.MaxColor, c.colour);
    EXPECT_EQ(d.FocusTo, c.valid ? "ValG" : "");
    EXPECT_EQ(d.error.empty(), c.valid) << d.error;
  }
}

TEST(Affichage, ATypedWavelengthGivesSingleColourLevelsFromBlack) {
  const auto spectrum = NumberedSpectrum();
  Opened o(&T::pNivCoul);
  T& d = o.d;
  d.SetSpectrumColours(spectrum.get());
  d.chkSelMinClick();
  d.btnMinClick();
  d.Color1MouseDown(2);  // a red minimum, then the wavelength
  std::string error;
  ASSERT_TRUE(d.SetField("MskLBDA", "550", error)) << error;
  EXPECT_FALSE(d.bvlSelect.visible);
  d.ValGClick();
  EXPECT_TRUE(d.SingleColourLevels);
  EXPECT_EQ(d.MaxLevelColour, EntryColour(971));
  EXPECT_EQ(d.MinLevelColour, display::kBlack);
  EXPECT_EQ(d.LevelWavelengthText, "550");

  // Shown again, the minimum stays locked; a swatch unlocks it.
  d.Activate();
  EXPECT_FALSE(d.chkSelMin.enabled);
  EXPECT_FALSE(d.btnMin.enabled);
  EXPECT_TRUE(d.btnMax.down);
  ASSERT_TRUE(d.SetField("Color4", "1", error)) << error;
  d.ValGClick();
  EXPECT_FALSE(d.SingleColourLevels);
  EXPECT_EQ(d.MaxLevelColour, (Rgb{255, 255, 0}));
  EXPECT_EQ(d.LevelWavelengthText, "");
}

TEST(Affichage, ASwatchWithMaximumDownRecoloursOnlyTheMaximum) {
  const Rgb colours[] = {{255, 255, 255}, {255, 0, 0}, {255, 0, 255}, {255, 255, 0},
                         {0, 0, 0},       {0, 0, 255}, {0, 255, 255}, {0, 255, 0}};
  for (int swatch = 1; swatch <= 8; ++swatch) {
    SCOPED_TRACE(swatch);
    Opened o(&T::pNivCoul);
    T& d = o.d;
    d.MinColor = Rgb{1, 2, 3};
    d.MskLBDA.caption = "123";
    d.Color1MouseDown(swatch);
    EXPECT_EQ(d.MaxColor, colours[swatch - 1]);
    EXPECT_EQ(d.MinColor, (Rgb{1, 2, 3}));
    EXPECT_TRUE(d.bvlSelect.visible);
    EXPECT_EQ(d.bvlSelectSwatch, swatch);
    EXPECT_EQ(d.MskLBDA.caption, "");
    EXPECT_EQ(d.FocusTo, "ValG");
    d.anngClick();
    EXPECT_FALSE(d.accepted);
    EXPECT_EQ(d.MaxLevelColour, display::kWhite);
    EXPECT_EQ(d.MinLevelColour, display::kBlack);
  }
}

TEST(Affichage, TheMinimumColourIsChosenThroughTheCheckBox) {
  Opened o(&T::pNivCoul);
  T& d = o.d;
  d.btnMinClick();  // disabled: nothing
  EXPECT_TRUE(d.btnMax.down);
  d.chkSelMinClick();
  EXPECT_TRUE(d.btnMin.enabled);
  d.btnMinClick();
  d.btnMinClick();  // a click on the pressed button keeps it pressed
  EXPECT_TRUE(d.btnMin.down);
  EXPECT_FALSE(d.btnMax.down);
  d.Color1MouseDown(6);
  d.ValGClick();
  EXPECT_EQ(d.MinLevelColour, (Rgb{0, 0, 255}));
  EXPECT_EQ(d.MaxLevelColour, display::kWhite);

  d.Activate();
  d.btnMinClick();
  d.chkSelMinClick();  // unchecked: btnMin released and disabled
  EXPECT_FALSE(d.btnMin.enabled);
  EXPECT_FALSE(d.btnMin.down);
  EXPECT_TRUE(d.btnMax.down);
}

TEST(Affichage, ScriptsSetOnlyTheFieldsOfThePageShown) {
  struct Case {
    Control T::*page;
    const char *field, *value;
    bool taken;
  } cases[] = {
      {&T::PAxes, "unit2", "1", true},           {&T::PGrille, "unit2", "1", false},
      {&T::PAxes, "unit2", "0", false},          {&T::PGrille, "ListStyle", "3", false},
      {&T::PGrille, "ColorGrid", "1,2,3", true}, {&T::PGrille, "ColorGrid", "1,2,256", false},
      {&T::PCurs, "CursColor", "9,8", false},    {&T::pNivCoul, "pix4", "1", false},
      {&T::pNivCoul, "Color8", "1", true},       {&T::pNivCoul, "Color9", "1", false},
      {&T::pNivCoul, "chkSelMin", "1", true},    {&T::pNivCoul, "MskLBDA", "1234", false},
      {&T::PCurs, "MskLBDA", "550", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + "=" + c.value);
    Opened o(c.page);
    std::string error;
    EXPECT_EQ(o.d.SetField(c.field, c.value, error), c.taken) << error;
    EXPECT_EQ(error.empty(), c.taken) << error;
  }
  Opened o(&T::PAxes);
  std::string error;
  EXPECT_FALSE(o.d.Press("btnMax", error));  // not on this page
  EXPECT_TRUE(o.d.Press("ValG", error));
  EXPECT_TRUE(o.d.accepted);
}

}  // namespace
}  // namespace rovanel::app
