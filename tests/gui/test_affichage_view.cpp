// The display settings dialog's view: the page the model shows, the
// swatches and the wavelength edit handed to the model, its message shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <memory>

#include "app/dialogs/affichage.h"
#include "gui/affichage_dialog.h"
#include "gui/driving.h"

namespace rovanel::gui {
namespace {

using T = app::TAffichage;

// The model opened on `page` and its dialog shown.
std::unique_ptr<AffichageDialog> Open(T& model, app::Control T::*page) {
  EnsureApp();
  (model.*page).visible = true;
  model.Activate();
  auto view = std::make_unique<AffichageDialog>(model, nullptr);
  view->show();
  QCoreApplication::processEvents();
  return view;
}

QColor Fill(QWidget& view, const char* shape) {
  return Child<QLabel>(view, shape)->palette().color(QPalette::Window);
}

TEST(AffichageView, OnlyThePageTheModelShowsIsShown) {
  const std::pair<app::Control T::*, const char*> pages[] = {{&T::pNivCoul, "pNivCoul"},
                                                             {&T::PAxes, "PAxes"},
                                                             {&T::PGrille, "PGrille"},
                                                             {&T::PCurs, "PCurs"}};
  for (const auto& [page, name] : pages) {
    SCOPED_TRACE(name);
    T model;
    auto view = Open(model, page);
    for (const auto& [other, otherName] : pages)
      EXPECT_EQ(Child(*view, otherName)->isVisible(), other == page) << otherName;
    EXPECT_TRUE(Child(*view, "ValG")->isVisible());
    // Opening does not enter the wavelength edit (that locks the minimum).
    EXPECT_TRUE(model.chkSelMin.enabled);
  }
}

TEST(AffichageView, ClickingASwatchRecoloursTheMaximumShape) {
  T model;
  auto view = Open(model, &T::pNivCoul);
  EXPECT_EQ(Fill(*view, "MaxColor"), QColor(255, 255, 255));
  QLabel* swatch = Child<QLabel>(*view, "Color3");
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), swatch->mapToGlobal(QPointF(5, 5)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(swatch, &press);
  EXPECT_EQ(Fill(*view, "MaxColor"), QColor(255, 0, 255));
  EXPECT_EQ(Fill(*view, "MinColor"), QColor(0, 0, 0));
  QWidget* frame = Child(*view, "bvlSelect");
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->geometry(), swatch->geometry().adjusted(-2, -2, 2, 2));
}

TEST(AffichageView, EnterInTheWavelengthEditPicksTheColourOrReportsTheText) {
  T model;
  T::SpectrumTable spectrum{};
  spectrum[971] = {30, 20, 10};  // blue, green, red
  model.SetSpectrumColours(&spectrum);
  auto view = Open(model, &T::pNivCoul);
  auto* edit = Child<QLineEdit>(*view, "MskLBDA");
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
  QCoreApplication::sendEvent(edit, &in);
  EXPECT_FALSE(model.chkSelMin.enabled);

  QString reported;
  QTimer::singleShot(0, [&reported] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      reported = box->text();
      box->accept();
    }
  });
  Key(edit, Qt::Key_Enter, "\r");  // nothing typed
  EXPECT_FALSE(reported.isEmpty());

  for (QChar c : QString("5505")) Key(edit, c.unicode(), QString(c));  // three digits fit
  EXPECT_EQ(edit->text(), "550");
  Key(edit, Qt::Key_Return, "\r");
  EXPECT_EQ(Fill(*view, "MaxColor"), QColor(10, 20, 30));
  EXPECT_TRUE(view->isVisible());
  Key(view.get(), Qt::Key_Escape);  // Escape cancels
  EXPECT_TRUE(model.closed);
  EXPECT_FALSE(model.accepted);
  EXPECT_EQ(model.MaxLevelColour, display::kWhite);
}

}  // namespace
}  // namespace rovanel::gui
