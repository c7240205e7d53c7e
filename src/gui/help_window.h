// The help window: the shipped HTML pages, with links followed between
// them, Back / Forward / Contents and a search in the page. One instance,
// not modal, reused for every page.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;

namespace rovanel::gui {

class HelpWindow : public QWidget {
 public:
  // Its texts in the window's language.
  struct Texts {
    QString title, back, forward, contents, find, notFound;  // notFound: %1 is the text
  };

  explicit HelpWindow(QWidget* parent);

  void SetTexts(const Texts& texts);
  // Shows the page (a local file) and the note above it (empty: none).
  void Open(const QString& path, const QString& note);
  // Selects the next occurrence of `text` after the selection, from the
  // top again past the end; false (and said so) when the page has none.
  bool FindNext(const QString& text);
  QTextBrowser* Browser() const { return browser_; }

 private:
  void ShowContents();
  void SetNotFound(const QString& text);

  Texts texts_;
  QTextBrowser* browser_;
  QToolButton *back_, *forward_, *contents_;
  QLabel *note_, *findLabel_, *notFound_;
  QLineEdit* find_;
};

}  // namespace rovanel::gui
