#include "gui/paraint_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <string>

#include "app/dialogs/paraint.h"
#include "display/canvas.h"
#include "display/image_io.h"

namespace rovanel::gui {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// Exponential, logarithmic, identity.
constexpr display::Rgb kCurveColours[3] = {display::kRed, display::kBlue, display::kBlack};

QImage PreviewImage(const app::Tparaint::Preview& preview) {
  display::Canvas c(app::Tparaint::kPreviewSize, app::Tparaint::kPreviewSize);
  for (int k = 0; k < 3; ++k) {
    const auto& points = preview.curves[k];
    if (points.empty()) continue;
    c.penColour = kCurveColours[k];
    c.MoveTo(points.front()[0], points.front()[1]);
    for (const auto& p : points) c.LineTo(p[0], p[1]);
    c.SetPixel(points.back()[0], points.back()[1], kCurveColours[k]);
  }
  return display::ToQImage(c);
}

QLineEdit* DigitEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setMaxLength(2);
  edit->setFixedWidth(40);
  return edit;
}

QScrollBar* Bar(QWidget* parent, const char* name, const app::ScrollBar& model) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setObjectName(name);
  bar->setRange(model.min, model.max);
  bar->setMinimumWidth(160);
  return bar;
}

QPushButton* Button(QWidget* parent, const char* name) {
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  // Enter belongs to the edits here: no button takes it.
  b->setAutoDefault(false);
  return b;
}

void Render(QLineEdit* e, const app::Control& c) {
  e->setEnabled(c.enabled);
  if (e->text() != Q(c.caption)) e->setText(Q(c.caption));
}

void Render(QScrollBar* b, const app::ScrollBar& s) {
  const QSignalBlocker quiet(b);
  b->setRange(s.min, s.max);
  b->setValue(s.position);
  b->setVisible(s.visible);
}

void Render(QPushButton* b, const app::Control& c) {
  b->setText(Q(c.caption));
  b->setEnabled(c.enabled);
  b->setToolTip(Q(c.hint));
}

}  // namespace

ParaintDialog::ParaintDialog(app::Tparaint& model, QWidget* parent)
    : DialogView(model, parent), paraint_(model) {
  setObjectName("paraint");
  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);

  pplut_ = new QFrame(this);
  pplut_->setObjectName("pplut");
  pplut_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* grid = new QGridLayout(pplut_);
  lblLn_ = new QLabel(pplut_);
  lblExp_ = new QLabel(pplut_);
  coefln_ = DigitEdit(pplut_, "coefln");
  coefexp_ = DigitEdit(pplut_, "coefexp");
  barln_ = Bar(pplut_, "barln", model.barln);
  barexp_ = Bar(pplut_, "barexp", model.barexp);
  def_ = Button(pplut_, "def");
  imlut_ = new QLabel(pplut_);
  imlut_->setObjectName("Imlut");
  imlut_->setFixedSize(app::Tparaint::kPreviewSize, app::Tparaint::kPreviewSize);
  imlut_->setFrameStyle(QFrame::NoFrame);
  grid->addWidget(lblLn_, 0, 0);
  grid->addWidget(coefln_, 0, 1);
  grid->addWidget(barln_, 0, 2);
  grid->addWidget(lblExp_, 1, 0);
  grid->addWidget(coefexp_, 1, 1);
  grid->addWidget(barexp_, 1, 2);
  grid->addWidget(def_, 2, 0, 1, 3, Qt::AlignLeft);
  grid->addWidget(imlut_, 0, 3, 3, 1);
  column->addWidget(pplut_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ok_ = Button(this, "ok");
  cancel_ = Button(this, "cancel");
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  column->addLayout(buttons);

  for (QPushButton* b : {def_, ok_, cancel_}) {
    connect(b, &QPushButton::clicked, this, [this, b] {
      const std::string name = b->objectName().toStdString();
      Forward([&] {
        std::string error;
        model_.Press(name, error);
      });
    });
  }
  connect(barln_, &QScrollBar::valueChanged, this,
          [this](int v) { Forward([&] { paraint_.barlnChange(v); }); });
  connect(barexp_, &QScrollBar::valueChanged, this,
          [this](int v) { Forward([&] { paraint_.barexpChange(v); }); });
  WatchEdit(coefln_, [this](app::Key k) { paraint_.coeflnKeyUp(k); });
  WatchEdit(coefexp_, [this](app::Key k) { paraint_.coefexpKeyUp(k); });
  Sync();
}

void ParaintDialog::PullEdits() {
  paraint_.coefln.caption = coefln_->text().toStdString();
  paraint_.coefexp.caption = coefexp_->text().toStdString();
}

void ParaintDialog::Sync() {
  setWindowTitle(Q(paraint_.Caption));
  pplut_->setVisible(paraint_.pplut.visible);
  lblLn_->setText(Q(paraint_.lblLn.caption));
  lblExp_->setText(Q(paraint_.lblExp.caption));
  Render(coefln_, paraint_.coefln);
  Render(coefexp_, paraint_.coefexp);
  Render(barln_, paraint_.barln);
  Render(barexp_, paraint_.barexp);
  Render(def_, paraint_.def);
  Render(ok_, paraint_.ok);
  Render(cancel_, paraint_.cancel);
  if (previewShown_ != paraint_.PreviewVersion) {
    previewShown_ = paraint_.PreviewVersion;
    imlut_->setPixmap(QPixmap::fromImage(PreviewImage(paraint_.LutPreview())));
  }
}

}  // namespace rovanel::gui
