// Driving the Qt views as a user would: the application, keys, children.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace rovanel::gui {

// The program's one application, made here when no other test made it.
inline void EnsureApp() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "test_gui";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // kept for the whole run
}

// A key pressed and released on `w`, as the keyboard sends it.
inline void Key(QWidget* w, int key, const QString& text = {},
                Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(w, &release);
}

inline void Type(QWidget* w, const QString& text) {
  for (QChar c : text) Key(w, c.toUpper().unicode(), QString(c));
}

// The child widget of that object name (a failure when there is none).
template <typename W = QWidget>
W* Child(QWidget& parent, const char* name) {
  W* w = parent.findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name;
  return w;
}

}  // namespace rovanel::gui
