#include "gui/help_window.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace rovanel::gui {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("help");
  resize(720, 600);

  back_ = new QToolButton(this);
  back_->setObjectName("helpBack");
  forward_ = new QToolButton(this);
  forward_->setObjectName("helpForward");
  contents_ = new QToolButton(this);
  contents_->setObjectName("helpContents");
  findLabel_ = new QLabel(this);
  find_ = new QLineEdit(this);
  find_->setObjectName("helpFind");
  find_->setClearButtonEnabled(true);
  notFound_ = new QLabel(this);
  notFound_->setObjectName("helpNotFound");
  notFound_->setStyleSheet("color: #b00000;");
  findLabel_->setBuddy(find_);

  auto* bar = new QHBoxLayout;
  bar->addWidget(back_);
  bar->addWidget(forward_);
  bar->addWidget(contents_);
  bar->addSpacing(16);
  bar->addWidget(findLabel_);
  bar->addWidget(find_, 1);
  bar->addWidget(notFound_);

  note_ = new QLabel(this);
  note_->setObjectName("helpNote");
  note_->setWordWrap(true);
  note_->setStyleSheet("background: #fff6c8; padding: 4px;");
  note_->hide();

  browser_ = new QTextBrowser(this);
  browser_->setObjectName("helpBrowser");
  // Links between the pages open here; links to the web in the browser.
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(true);

  auto* column = new QVBoxLayout(this);
  column->addLayout(bar);
  column->addWidget(note_);
  column->addWidget(browser_, 1);

  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
  connect(contents_, &QToolButton::clicked, this, [this] { ShowContents(); });
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] { SetNotFound({}); });
  // Enter looks for the next one; typing looks again from the selection.
  connect(find_, &QLineEdit::returnPressed, this, [this] { FindNext(find_->text()); });
  connect(find_, &QLineEdit::textEdited, this, [this](const QString& text) {
    QTextCursor cursor = browser_->textCursor();
    cursor.setPosition(cursor.selectionStart());
    browser_->setTextCursor(cursor);
    if (text.isEmpty())
      SetNotFound({});
    else
      FindNext(text);
  });
  auto* findKey = new QShortcut(QKeySequence::Find, this);
  connect(findKey, &QShortcut::activated, this, [this] {
    find_->setFocus();
    find_->selectAll();
  });
  SetTexts({"Help", "<", ">", "Contents", "Find:", "\"%1\" not found"});
}

void HelpWindow::SetTexts(const Texts& texts) {
  texts_ = texts;
  setWindowTitle(texts.title);
  back_->setText(texts.back);
  forward_->setText(texts.forward);
  contents_->setText(texts.contents);
  findLabel_->setText(texts.find);
}

void HelpWindow::Open(const QString& path, const QString& note) {
  note_->setText(note);
  note_->setVisible(!note.isEmpty());
  browser_->setSource(QUrl::fromLocalFile(path));
  show();
  raise();
  activateWindow();
}

void HelpWindow::ShowContents() {
  // The contents page sits beside every page of the same language.
  const QUrl here = browser_->source();
  if (here.isEmpty()) return;
  browser_->setSource(here.resolved(QUrl("index.html")));
}

bool HelpWindow::FindNext(const QString& text) {
  if (text.isEmpty()) return false;
  if (browser_->find(text)) {
    SetNotFound({});
    return true;
  }
  // Past the end: once more from the top, keeping the selection if none.
  const QTextCursor before = browser_->textCursor();
  QTextCursor top(browser_->document());
  browser_->setTextCursor(top);
  if (browser_->find(text)) {
    SetNotFound({});
    return true;
  }
  browser_->setTextCursor(before);
  SetNotFound(texts_.notFound.arg(text));
  return false;
}

void HelpWindow::SetNotFound(const QString& text) {
  notFound_->setText(text);
  find_->setStyleSheet(text.isEmpty() ? QString() : QString("background: #ffd8d8;"));
}

}  // namespace rovanel::gui
