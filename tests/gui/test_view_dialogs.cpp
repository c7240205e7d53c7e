// The dialog views: they show the model's controls and hand the user's
// keys, clicks and bar moves to it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "app/dialogs/feature.h"
#include "app/dialogs/paraint.h"
#include "gui/dialog_views.h"
#include "gui/driving.h"
#include "gui/feature_dialog.h"
#include "gui/paraint_dialog.h"
#include "gui/sel_lge_dialog.h"
#include "app/dialogs/sel_lge.h"

namespace rovanel::gui {
namespace {

TEST(DialogKeys, QtKeysMapToTheEditRulesKeys) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    app::Key expected;
  };
  const Case cases[] = {
      {Qt::Key_0, Qt::NoModifier, app::Key::Digit},
      {Qt::Key_9, Qt::NoModifier, app::Key::Digit},
      {Qt::Key_5, Qt::KeypadModifier, app::Key::KeypadDigit},
      {Qt::Key_Shift, Qt::ShiftModifier, app::Key::Shift},
      {Qt::Key_Return, Qt::NoModifier, app::Key::Enter},
      {Qt::Key_Enter, Qt::KeypadModifier, app::Key::Enter},
      {Qt::Key_A, Qt::NoModifier, app::Key::Other},
      {Qt::Key_Backspace, Qt::NoModifier, app::Key::Other},
      {Qt::Key_ParenRight, Qt::ShiftModifier, app::Key::Other},
      {Qt::Key_Period, Qt::KeypadModifier, app::Key::Other},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyOf(c.key, c.modifiers), c.expected) << c.key;
}

struct FeatureView : ::testing::Test {
  app::Tfeature model;
  std::unique_ptr<DialogView> view;

  void Open(bool filterPanels, bool barPanel) {
    EnsureApp();
    model.pofiltre.visible = filterPanels;
    model.pmoy.visible = filterPanels;
    model.pcumul.visible = barPanel;
    model.FilterOrder = 8;
    model.AvgCount = 4;
    model.Caption = "ID_TRT_INF_filtrage";
    model.Activate();
    view = MakeDialogView(nullptr, model);
    ASSERT_NE(view, nullptr);
    view->show();
  }
};

TEST_F(FeatureView, ShowsOnlyTheVisiblePanelsWithTheModelsTexts) {
  Open(true, false);
  EXPECT_EQ(view->windowTitle(), "ID_TRT_INF_filtrage");
  for (auto [name, shown] : {std::pair{"pofiltre", true},
                             {"pmoy", true},
                             {"pcumul", false},
                             {"spRef", false},
                             {"valfeat", true},
                             {"annfeat", true},
                             {"hlpfeat", true}})
    EXPECT_EQ(Child<QWidget>(*view, name)->isVisible(), shown) << name;
  EXPECT_EQ(Child<QLineEdit>(*view, "ordre")->text(), "8");
  EXPECT_EQ(Child<QLineEdit>(*view, "nbmoy")->text(), "4");
  EXPECT_EQ(Child<QPushButton>(*view, "valfeat")->text(), "ID_BTN_BAS_Valider");
  EXPECT_TRUE(Child<QPushButton>(*view, "valfeat")->isDefault());

  view->close();
  Open(false, true);
  model.boxbarIndex = 3;
  view->Sync();
  EXPECT_FALSE(Child<QWidget>(*view, "pofiltre")->isVisible());
  auto* boxbar = Child<QComboBox>(*view, "boxbar");
  EXPECT_TRUE(boxbar->isVisible());
  EXPECT_EQ(boxbar->itemText(0), "CBX_8 niveaux");
  EXPECT_EQ(boxbar->currentIndex(), 3);
}

TEST_F(FeatureView, KeysInTheEditsFollowTheModelsRules) {
  Open(true, false);
  auto* ordre = Child<QLineEdit>(*view, "ordre");
  auto* nbmoy = Child<QLineEdit>(*view, "nbmoy");
  ordre->clear();
  Type(ordre, "123");  // the third digit does not fit
  EXPECT_EQ(ordre->text(), "12");
  EXPECT_EQ(model.ordre.caption, "12");
  Key(ordre, Qt::Key_Shift, {}, Qt::ShiftModifier);
  Key(ordre, Qt::Key_1, "1", Qt::KeypadModifier);
  EXPECT_EQ(ordre->text(), "12");
  Key(ordre, Qt::Key_A, "a");
  EXPECT_EQ(ordre->text(), "");
  Type(ordre, "99");
  EXPECT_EQ(ordre->text(), "99");

  nbmoy->clear();
  Type(nbmoy, "73");
  EXPECT_EQ(nbmoy->text(), "49");
  EXPECT_TRUE(view->isVisible());
}

TEST_F(FeatureView, EnterInOrdreValidatesWithTheTypedValues) {
  Open(true, true);
  auto* ordre = Child<QLineEdit>(*view, "ordre");
  ordre->clear();
  Type(ordre, "15");
  Child<QComboBox>(*view, "boxbar")->setCurrentIndex(2);
  Key(ordre, Qt::Key_Return, "\r");
  EXPECT_TRUE(model.closed);
  EXPECT_TRUE(model.accepted);
  EXPECT_EQ(model.FilterOrder, 15);
  EXPECT_EQ(model.HistIndex, 2);
  EXPECT_FALSE(view->isVisible());
  EXPECT_EQ(view->result(), QDialog::Accepted);
}

TEST_F(FeatureView, CancelAndEscapeLeaveTheValues) {
  for (const char* how : {"annfeat", "Escape"}) {
    SCOPED_TRACE(how);
    Open(true, false);
    auto* ordre = Child<QLineEdit>(*view, "ordre");
    Type(ordre, "3");
    if (std::string(how) == "annfeat")
      Child<QPushButton>(*view, "annfeat")->click();
    else
      Key(view.get(), Qt::Key_Escape);
    EXPECT_TRUE(model.closed);
    EXPECT_FALSE(model.accepted);
    EXPECT_EQ(model.FilterOrder, 8);
    EXPECT_FALSE(view->isVisible());
  }
}

TEST(RunDialogView, RunsTheModalDialogUntilTheModelCloses) {
  EnsureApp();
  app::Tfeature model;
  model.pofiltre.visible = true;
  model.FilterOrder = 30;
  model.Activate();
  QTimer::singleShot(0, [] {
    QWidget* shown = QApplication::activeModalWidget();
    if (shown == nullptr) {
      ADD_FAILURE() << "no modal dialog shown";
      QCoreApplication::exit(1);  // ends the modal loop, if any
      return;
    }
    auto* ordre = Child<QLineEdit>(*shown, "ordre");
    ordre->clear();
    Type(ordre, "7");
    Child<QPushButton>(*shown, "valfeat")->click();
  });
  EXPECT_TRUE(RunDialogView(nullptr, model));
  EXPECT_EQ(model.FilterOrder, 7);
}

TEST(RunDialogView, AModelWithoutAViewIsCancelled) {
  EnsureApp();
  struct Unknown : app::DialogModel {
    std::string_view Name() const override { return "Tnothing"; }
    bool SetField(std::string_view, std::string_view, std::string&) override { return false; }
    bool Press(std::string_view, std::string&) override { return false; }
    void Accept() override { Close(true); }
    void Reject() override { Close(false); }
  } model;
  EXPECT_FALSE(RunDialogView(nullptr, model));
  EXPECT_TRUE(model.closed);
  EXPECT_FALSE(model.accepted);
}

struct ParaintView : ::testing::Test {
  app::Tparaint model;
  std::unique_ptr<DialogView> view;

  void SetUp() override {
    EnsureApp();
    model.pplut.visible = true;
    model.CoefLn = 10;
    model.CoefExp = 5;
    model.Activate();
    view = MakeDialogView(nullptr, model);
    ASSERT_NE(view, nullptr);
    view->show();
  }
};

TEST_F(ParaintView, BarsMoveTheEditsAndRedrawThePreview) {
  EXPECT_EQ(view->windowTitle(), "ID_TRT_INF_corec gamma");
  auto* coefln = Child<QLineEdit>(*view, "coefln");
  auto* barln = Child<QScrollBar>(*view, "barln");
  auto* barexp = Child<QScrollBar>(*view, "barexp");
  EXPECT_EQ(coefln->text(), "10");
  EXPECT_EQ(barln->value(), 10);
  EXPECT_EQ(barln->minimum(), 2);
  EXPECT_EQ(barln->maximum(), 95);
  EXPECT_EQ(barexp->maximum(), 25);

  const QImage before = Child<QLabel>(*view, "Imlut")->pixmap().toImage();
  EXPECT_EQ(before.size(), QSize(app::Tparaint::kPreviewSize, app::Tparaint::kPreviewSize));
  barln->setValue(60);
  EXPECT_EQ(coefln->text(), "60");
  EXPECT_EQ(model.barln.position, 60);
  EXPECT_NE(Child<QLabel>(*view, "Imlut")->pixmap().toImage(), before);
  barexp->setValue(25);
  EXPECT_EQ(Child<QLineEdit>(*view, "coefexp")->text(), "25");

  // Every point of the model's three curves is on the preview.
  const QImage shown = Child<QLabel>(*view, "Imlut")->pixmap().toImage();
  for (const auto& curve : model.LutPreview().curves)
    for (const auto& p : curve)
      ASSERT_NE(shown.pixel(p[0], p[1]), 0xFFFFFFFFu) << p[0] << "," << p[1];
}

TEST_F(ParaintView, EnterInAnEditSetsItsBarAndKeepsTheDialogOpen) {
  auto* coefexp = Child<QLineEdit>(*view, "coefexp");
  auto* barexp = Child<QScrollBar>(*view, "barexp");
  // No button takes the Enter key: the edit's rule alone acts.
  coefexp->clear();
  Type(coefexp, "7");
  Key(coefexp, Qt::Key_Return, "\r");
  EXPECT_EQ(coefexp->text(), "7");
  EXPECT_EQ(barexp->value(), 7);
  EXPECT_TRUE(view->isVisible());
  EXPECT_FALSE(model.closed);
  coefexp->clear();
  Type(coefexp, "1");
  Key(coefexp, Qt::Key_Enter, "\r", Qt::KeypadModifier);
  EXPECT_EQ(coefexp->text(), "2");
  EXPECT_EQ(barexp->value(), 2);

  Type(coefexp, "9");  // "29": at or above 25
  EXPECT_EQ(coefexp->text(), "25");
  Child<QPushButton>(*view, "def")->click();
  EXPECT_EQ(coefexp->text(), "2");
  EXPECT_EQ(Child<QLineEdit>(*view, "coefln")->text(), "2");
  EXPECT_EQ(Child<QScrollBar>(*view, "barln")->value(), 2);

  Type(coefexp, "0");
  Child<QPushButton>(*view, "valide")->click();
  EXPECT_TRUE(model.accepted);
  EXPECT_EQ(model.CoefExp, 20);
  EXPECT_EQ(model.CoefLn, 2);
  EXPECT_FALSE(view->isVisible());
}

}  // namespace
}  // namespace rovanel::gui

namespace rovanel::gui {
namespace {

TEST(LanguageDialogView, ShowsTheChoiceAndClosesWithTheLanguageClicked) {
  EnsureApp();
  app::TSelLge model;
  SelLgeDialog view(model, nullptr);
  EXPECT_TRUE(Child<QRadioButton>(view, "francais")->isChecked());
  Child<QRadioButton>(view, "allemand")->click();
  EXPECT_TRUE(model.allemand.down);
  EXPECT_FALSE(model.francais.down);
  EXPECT_FALSE(Child<QRadioButton>(view, "francais")->isChecked());
  Child<QPushButton>(view, "BitBtn1")->click();
  EXPECT_TRUE(model.closed);
  EXPECT_EQ(model.Language, 3);
}

}  // namespace
}  // namespace rovanel::gui
