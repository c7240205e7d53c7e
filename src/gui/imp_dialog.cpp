#include "gui/imp_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialogs/imp.h"

namespace rovanel::gui {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

QPushButton* ImpDialog::Button(const char* name) {
  auto* b = new QPushButton(this);
  b->setObjectName(name);
  PressOnClick(b);
  return b;
}

QRadioButton* ImpDialog::Radio(const char* name) {
  auto* r = new QRadioButton(this);
  r->setObjectName(name);
  PressOnClick(r);
  return r;
}

ImpDialog::ImpDialog(app::Timp& model, QWidget* parent) : DialogView(model, parent), imp_(model) {
  auto* column = new QVBoxLayout(this);
  auto* fields = new QGridLayout;
  lblNom_ = new QLabel(this);
  lblManip_ = new QLabel(this);
  lblRemark_ = new QLabel(this);
  nom_ = new QLineEdit(this);
  nom_->setObjectName("nom");
  nom_->setMaxLength(app::kNomLimit);
  manip_ = new QLineEdit(this);
  manip_->setObjectName("manip");
  manip_->setMaxLength(app::kManipLimit);
  remark_ = new QPlainTextEdit(this);
  remark_->setObjectName("remark");
  remark_->setTabChangesFocus(true);
  remark_->setMinimumSize(420, 110);
  // The memo keeps its first 300 characters, typed or pasted.
  connect(remark_, &QPlainTextEdit::textChanged, this, [this] {
    const QString text = remark_->toPlainText();
    if (text.size() <= app::kRemarkLimit) return;
    const QSignalBlocker quiet(remark_);
    remark_->setPlainText(text.left(app::kRemarkLimit));
    remark_->moveCursor(QTextCursor::End);
  });
  fields->addWidget(lblNom_, 0, 0);
  fields->addWidget(nom_, 0, 1);
  fields->addWidget(lblManip_, 1, 0);
  fields->addWidget(manip_, 1, 1);
  fields->addWidget(lblRemark_, 2, 0, Qt::AlignTop);
  fields->addWidget(remark_, 2, 1);
  column->addLayout(fields);

  auto* choices = new QHBoxLayout;
  boxcoul_ = new QGroupBox(this);
  {
    auto* v = new QVBoxLayout(boxcoul_);
    auto* group = new QButtonGroup(boxcoul_);
    for (const char* name : {"impcoul", "impnb"}) {
      QRadioButton* r = Radio(name);
      group->addButton(r);
      v->addWidget(r);
    }
  }
  // A width: its minus button, its value, its plus button.
  auto widthBox = [this](QGroupBox*& box, QLabel*& value, const char* minus, const char* plus) {
    box = new QGroupBox(this);
    auto* row = new QHBoxLayout(box);
    value = new QLabel(box);
    value->setAlignment(Qt::AlignCenter);
    value->setMinimumWidth(30);
    QPushButton* less = Button(minus);
    QPushButton* more = Button(plus);
    for (QPushButton* b : {less, more}) b->setFixedWidth(28);
    row->addWidget(less);
    row->addWidget(value);
    row->addWidget(more);
  };
  widthBox(boxcourbe_, epcourbe_, "moins", "plus");
  widthBox(boxgrille_, epgrille_, "moinsG", "plusG");
  boxpapier_ = new QGroupBox(this);
  {
    auto* grid = new QGridLayout(boxpapier_);
    auto* sizes = new QButtonGroup(boxpapier_);
    auto* sides = new QButtonGroup(boxpapier_);
    int col = 0;
    for (const char* name : {"papA4", "papLetter"}) {
      QRadioButton* r = Radio(name);
      sizes->addButton(r);
      grid->addWidget(r, 0, col++);
    }
    col = 0;
    for (const char* name : {"portrait", "paysage"}) {
      QRadioButton* r = Radio(name);
      sides->addButton(r);
      grid->addWidget(r, 1, col++);
    }
  }
  for (QGroupBox* b : {boxcoul_, boxcourbe_, boxgrille_, boxpapier_}) choices->addWidget(b);
  column->addLayout(choices);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (const char* name : {"startimp", "apper", "cancimp"}) buttons->addWidget(Button(name));
  findChild<QPushButton*>("startimp")->setDefault(true);
  column->addLayout(buttons);

  const std::pair<const char*, const app::Control*> named[] = {
      {"impcoul", &imp_.impcoul}, {"impnb", &imp_.impnb},       {"moins", &imp_.moins},
      {"plus", &imp_.plus},       {"moinsG", &imp_.moinsG},     {"plusG", &imp_.plusG},
      {"papA4", &imp_.papA4},     {"papLetter", &imp_.papLetter}, {"portrait", &imp_.portrait},
      {"paysage", &imp_.paysage}, {"startimp", &imp_.startimp}, {"apper", &imp_.apper},
      {"cancimp", &imp_.cancimp}};
  for (const auto& [name, control] : named)
    pressed_.emplace_back(findChild<QWidget*>(name), control);
  Sync();
}

void ImpDialog::PullEdits() {
  imp_.nom.caption = nom_->text().toStdString();
  imp_.manip.caption = manip_->text().toStdString();
  imp_.remark.caption = remark_->toPlainText().toStdString();
}

void ImpDialog::Sync() {
  setWindowTitle(Q(imp_.Caption));
  lblNom_->setText(Q(imp_.lblNom.caption));
  lblManip_->setText(Q(imp_.lblManip.caption));
  lblRemark_->setText(Q(imp_.lblRemark.caption));
  if (nom_->text() != Q(imp_.nom.caption)) nom_->setText(Q(imp_.nom.caption));
  if (manip_->text() != Q(imp_.manip.caption)) manip_->setText(Q(imp_.manip.caption));
  if (remark_->toPlainText() != Q(imp_.remark.caption))
    remark_->setPlainText(Q(imp_.remark.caption));
  nom_->setToolTip(Q(imp_.nom.hint));
  manip_->setToolTip(Q(imp_.manip.hint));
  remark_->setToolTip(Q(imp_.remark.hint));
  boxcoul_->setTitle(Q(imp_.boxcoul.caption));
  boxcourbe_->setTitle(Q(imp_.boxcourbe.caption));
  boxgrille_->setTitle(Q(imp_.boxgrille.caption));
  boxpapier_->setTitle(Q(imp_.boxpapier.caption));
  epcourbe_->setText(Q(imp_.epcourbe.caption));
  epgrille_->setText(Q(imp_.epgrille.caption));
  for (const auto& [widget, control] : pressed_) {
    widget->setEnabled(control->enabled);
    widget->setToolTip(Q(control->hint));
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      radio->setText(Q(control->caption));
      radio->setChecked(control->down);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      button->setText(Q(control->caption));
    }
  }
}

}  // namespace rovanel::gui
