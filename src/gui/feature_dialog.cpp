#include "gui/feature_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <string>
#include <tuple>

#include "app/dialogs/feature.h"
#include "gui/dialog_views.h"

namespace rovanel::gui {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A framed panel holding a label and one input, side by side.
QFrame* Panel(QWidget* parent, const char* name, QLabel*& label, QWidget* input) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* row = new QHBoxLayout(panel);
  label = new QLabel(panel);
  row->addWidget(label, 1);
  if (input != nullptr) {
    input->setParent(panel);
    row->addWidget(input);
  }
  return panel;
}

QLineEdit* DigitEdit(const char* name) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  edit->setMaxLength(2);
  edit->setFixedWidth(40);
  return edit;
}

void Render(QWidget* w, const app::Control& c) {
  w->setEnabled(c.enabled);
  w->setToolTip(Q(c.hint));
}

void Render(QPushButton* b, const app::Control& c) {
  Render(static_cast<QWidget*>(b), c);
  b->setText(Q(c.caption));
}

void Render(QLineEdit* e, const app::Control& c) {
  Render(static_cast<QWidget*>(e), c);
  if (e->text() != Q(c.caption)) e->setText(Q(c.caption));
}

}  // namespace

FeatureDialog::FeatureDialog(app::Tfeature& model, QWidget* parent)
    : DialogView(model, parent), feature_(model) {
  setObjectName("feature");
  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);

  ordre_ = DigitEdit("ordre");
  nbmoy_ = DigitEdit("nbmoy");
  promin_ = DigitEdit("promin");
  boxbar_ = new QComboBox;
  boxbar_->setObjectName("boxbar");
  for (const std::string& item : feature_.boxbar.items)
    boxbar_->addItem(QString::fromStdString(item));
  pofiltre_ = Panel(this, "pofiltre", lblOrdre_, ordre_);
  pmoy_ = Panel(this, "pmoy", lblNbmoy_, nbmoy_);
  ppics_ = Panel(this, "ppics", lblPromin_, promin_);
  pcumul_ = Panel(this, "pcumul", lblBarres_, boxbar_);
  // The reference line: its pixel and its wavelength.
  spRef_ = new QFrame(this);
  spRef_->setObjectName("spRef");
  spRef_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* ref = new QGridLayout(spRef_);
  const std::tuple<QLabel**, QLineEdit**, const char*, const char*> refRows[] = {
      {&lblNumPix_, &spNumPix_, "lblNumPix", "spNumPix"},
      {&lblLbd1_, &spLbd1_, "lblLbd1", "spLbd1"}};
  for (int line = 0; const auto& [label, edit, labelName, editName] : refRows) {
    *label = new QLabel(spRef_);
    (*label)->setObjectName(labelName);
    *edit = new QLineEdit(spRef_);
    (*edit)->setObjectName(editName);
    (*edit)->setFixedWidth(70);
    ref->addWidget(*label, line, 0);
    ref->addWidget(*edit, line++, 1);
  }
  // Only what a reference line can hold can be typed: the model checks the
  // range when the dialog is validated.
  spNumPix_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), spNumPix_));
  spLbd1_->setValidator(new QRegularExpressionValidator(kWavelengthText, spLbd1_));
  for (QFrame* panel : {pofiltre_, pmoy_, ppics_, pcumul_, spRef_}) column->addWidget(panel);

  auto* buttons = new QHBoxLayout;
  valfeat_ = new QPushButton(this);
  valfeat_->setObjectName("valfeat");
  valfeat_->setDefault(true);
  annfeat_ = new QPushButton(this);
  annfeat_->setObjectName("annfeat");
  hlpfeat_ = new QPushButton(this);
  hlpfeat_->setObjectName("hlpfeat");
  for (QPushButton* b : {valfeat_, annfeat_, hlpfeat_}) {
    buttons->addWidget(b);
    PressOnClick(b);
  }
  column->addLayout(buttons);

  WatchEdit(ordre_, [this](app::Key k) { feature_.ordreKeyUp(k); });
  WatchEdit(nbmoy_, [this](app::Key k) { feature_.nbmoyKeyUp(k); });
  WatchEdit(promin_, [this](app::Key k) { feature_.prominKeyUp(k); });
  WatchEdit(spLbd1_, [this](app::Key k) {
    if (k == app::Key::Enter) feature_.spLbd1Enter();
  });
  connect(boxbar_, &QComboBox::currentIndexChanged, this,
          [this](int index) { feature_.boxbarIndex = index; });
  Sync();
}

void FeatureDialog::PullEdits() {
  feature_.ordre.caption = ordre_->text().toStdString();
  feature_.nbmoy.caption = nbmoy_->text().toStdString();
  feature_.promin.caption = promin_->text().toStdString();
  feature_.spNumPix.caption = spNumPix_->text().toStdString();
  feature_.spLbd1.caption = spLbd1_->text().toStdString();
}

void FeatureDialog::Sync() {
  setWindowTitle(Q(feature_.Caption));
  const std::pair<QFrame*, const app::Control*> panels[] = {{pofiltre_, &feature_.pofiltre},
                                                            {pmoy_, &feature_.pmoy},
                                                            {ppics_, &feature_.ppics},
                                                            {pcumul_, &feature_.pcumul},
                                                            {spRef_, &feature_.spRef}};
  for (const auto& [panel, control] : panels) {
    panel->setVisible(control->visible);
    Render(panel, *control);
  }
  lblOrdre_->setText(Q(feature_.lblOrdre.caption));
  lblNbmoy_->setText(Q(feature_.lblNbmoy.caption));
  lblBarres_->setText(Q(feature_.lblBarres.caption));
  Render(ordre_, feature_.ordre);
  Render(nbmoy_, feature_.nbmoy);
  lblPromin_->setText(Q(feature_.lblPromin.caption));
  Render(promin_, feature_.promin);
  lblNumPix_->setText(Q(feature_.lblNumPix.caption));
  lblLbd1_->setText(Q(feature_.lblLbd1.caption));
  Render(spNumPix_, feature_.spNumPix);
  Render(spLbd1_, feature_.spLbd1);
  Render(boxbar_, feature_.boxbar);
  {
    const QSignalBlocker quiet(boxbar_);
    boxbar_->setCurrentIndex(feature_.boxbarIndex);
  }
  Render(valfeat_, feature_.valfeat);
  Render(annfeat_, feature_.annfeat);
  Render(hlpfeat_, feature_.hlpfeat);
}

}  // namespace rovanel::gui
