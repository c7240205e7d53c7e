// The parameters dialog's notebook and calibration panel, and the reference
// line entry of the filter dialog, driven as a user drives them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "app/dialogs/feature.h"
#include "app/dialogs/paraint.h"
#include "gui/dialog_views.h"
#include "gui/driving.h"

namespace rovanel::gui {
namespace {

std::unique_ptr<DialogView> Open(app::DialogModel& model) {
  EnsureApp();
  model.Activate();
  auto view = MakeDialogView(nullptr, model);
  if (view) view->show();
  return view;
}

TEST(ParaintNotebook, KeysGoThroughTheRuleAndEnterWalksThePageToValide) {
  app::Tparaint model;
  model.choice.visible = true;
  auto view = Open(model);
  ASSERT_NE(view, nullptr);
  auto* choice = Child<QTabWidget>(*view, "choice");
  EXPECT_TRUE(choice->isVisible());
  EXPECT_EQ(choice->tabText(1), "TAB_INT_2fentes");
  EXPECT_EQ(choice->currentIndex(), 3);
  choice->setCurrentIndex(0);
  EXPECT_EQ(model.choicePage, 0);

  auto* unla = Child<QLineEdit>(*view, "unla");
  EXPECT_EQ(unla->text(), "100.00");
  // A digit typed at the start: the edit inserts it there, the rule puts
  // it in place of the last character, and the caret goes to the end.
  unla->setCursorPosition(0);
  Key(unla, Qt::Key_9, "9");
  EXPECT_EQ(unla->text(), "9100.09");
  EXPECT_EQ(unla->cursorPosition(), 7);
  Key(unla, Qt::Key_A, "a");  // any other key empties the edit
  EXPECT_EQ(unla->text(), "");
  Key(unla, Qt::Key_2, "2");
  Key(unla, Qt::Key_Period, ".");
  Key(unla, Qt::Key_Shift, {}, Qt::ShiftModifier);
  Key(unla, Qt::Key_5, "5", Qt::KeypadModifier);  // the keypad leaves the text
  Key(unla, Qt::Key_Period, ".", Qt::KeypadModifier);
  EXPECT_EQ(unla->text(), "2.5.");
  Key(unla, Qt::Key_Backspace);
  EXPECT_EQ(unla->text(), "");
  for (int key : {Qt::Key_2, Qt::Key_5, Qt::Key_Period, Qt::Key_5})
    Key(unla, key, QString(QChar(key)));
  EXPECT_EQ(model.unla.caption, "25.5");

  const char* chain[] = {"unla", "unlain", "undi", "undiin", "unlo", "unloin", "valide"};
  for (int k = 0; k + 1 < 7; ++k) {
    Key(Child<QWidget>(*view, chain[k]), Qt::Key_Return, "\r");
    ASSERT_NE(view->focusWidget(), nullptr);
    EXPECT_EQ(view->focusWidget()->objectName(), chain[k + 1]);
  }
  EXPECT_FALSE(model.closed);
  Key(view->focusWidget(), Qt::Key_Return, "\r");
  EXPECT_TRUE(model.accepted);
  EXPECT_DOUBLE_EQ(model.Sim.SlitWidth, 25.5e-6);
  EXPECT_DOUBLE_EQ(model.Sim.ScreenDistance, 0.2);
  EXPECT_FALSE(view->isVisible());
}

TEST(ParaintNotebook, EnterInTheWaistRoundsItToTenMicrometres) {
  app::Tparaint model;
  model.choice.visible = true;
  auto view = Open(model);
  auto* width = Child<QLineEdit>(*view, "ebxWidth");
  width->setText("2,347");  // a plain edit: typing is not checked
  Key(width, Qt::Key_Return, "\r");
  EXPECT_EQ(width->text(), "2.35");
  EXPECT_EQ(view->focusWidget()->objectName(), "valide");
  Child<QPushButton>(*view, "BitBtn2")->click();
  EXPECT_TRUE(model.closed);
  EXPECT_FALSE(model.accepted);
}

TEST(ParaintCalibration, TheInterpolationClickedRedrawsTheTable) {
  app::Tparaint model;
  model.ppdisp.visible = true;
  auto view = Open(model);
  EXPECT_FALSE(Child<QWidget>(*view, "choice")->isVisible());
  EXPECT_FALSE(Child<QWidget>(*view, "pplut")->isVisible());
  auto* fond = Child<QWidget>(*view, "fond");
  auto* spline = Child<QRadioButton>(*view, "rdbSpline");
  EXPECT_TRUE(Child<QRadioButton>(*view, "rdbLin")->isChecked());
  const QImage linear = fond->grab().toImage();
  const int version = model.TableVersion;
  spline->click();
  EXPECT_TRUE(spline->isChecked());
  EXPECT_GT(model.TableVersion, version);
  EXPECT_NE(fond->grab().toImage(), linear);
  Child<QPushButton>(*view, "valide")->click();
  EXPECT_TRUE(model.accepted);
  EXPECT_EQ(model.Interpolation, optics::kSplineKind);
}

TEST(FeatureReferenceLine, EnterInTheWavelengthValidatesWithBothTexts) {
  app::Tfeature model;
  model.spRef.visible = true;
  model.spNumPix.caption = "512";
  auto view = Open(model);
  EXPECT_TRUE(Child<QWidget>(*view, "spRef")->isVisible());
  EXPECT_FALSE(Child<QWidget>(*view, "pofiltre")->isVisible());
  EXPECT_EQ(Child<QLineEdit>(*view, "spNumPix")->text(), "512");
  Child<QLineEdit>(*view, "spNumPix")->setText("640");
  auto* lambda = Child<QLineEdit>(*view, "spLbd1");
  lambda->setText("546.1");
  Key(lambda, Qt::Key_Return, "\r");
  EXPECT_TRUE(model.accepted);
  EXPECT_EQ(model.spNumPix.caption, "640");
  EXPECT_EQ(model.spLbd1.caption, "546.1");
}

}  // namespace
}  // namespace rovanel::gui
