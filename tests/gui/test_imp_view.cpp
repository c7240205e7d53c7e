// The print dialog's view: what the user types and clicks reaches Timp.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/dialogs/imp.h"
#include "gui/imp_dialog.h"
#include "gui/driving.h"

namespace rovanel::gui {
namespace {

TEST(ImpView, TypedTextsWidthsColourAndPrintReachTheModel) {
  EnsureApp();
  app::Timp imp;
  imp.SetNotes({"Ana", "", ""});
  int previews = 0;
  imp.Preview = [&] { ++previews; };
  ImpDialog view(imp, nullptr);
  EXPECT_EQ(Child<QLineEdit>(view, "nom")->text(), "Ana");
  EXPECT_EQ(Child<QLineEdit>(view, "nom")->maxLength(), 50);
  EXPECT_TRUE(Child<QRadioButton>(view, "impnb")->isChecked());

  // The memo keeps its first 300 characters, pasted or typed.
  auto* remark = Child<QPlainTextEdit>(view, "remark");
  remark->setPlainText(QString(320, QChar(u'é')));
  EXPECT_EQ(remark->toPlainText().size(), 300);

  Child<QLineEdit>(view, "manip")->setText("Young slits");
  Child<QPushButton>(view, "plus")->click();
  Child<QPushButton>(view, "moinsG")->click();  // already at 1/2: disabled
  Child<QRadioButton>(view, "impcoul")->click();
  Child<QPushButton>(view, "apper")->click();
  EXPECT_EQ(previews, 1);
  EXPECT_EQ(imp.manip.caption, "Young slits");  // the preview sees the typed text
  EXPECT_TRUE(imp.Colour);
  EXPECT_EQ(imp.CurveHalves, 3);
  EXPECT_EQ(imp.GridHalves, 1);
  EXPECT_FALSE(Child<QPushButton>(view, "moinsG")->isEnabled());

  Child<QPushButton>(view, "startimp")->click();
  EXPECT_TRUE(imp.closed);
  EXPECT_TRUE(imp.accepted);
  const app::PrintNotesRec notes = imp.Notes();
  EXPECT_EQ(notes.ManipText, "Young slits");
  EXPECT_EQ(notes.RemarkText.size(), 600u);  // 300 "é" in UTF-8
}

}  // namespace
}  // namespace rovanel::gui
