#include "gui/paraint_dialog.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>

#include "app/dialogs/paraint.h"
#include "display/canvas.h"
#include "display/image_io.h"
#include "gui/setup_pictures.h"

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

// One row of a notebook page: symbol, parameter edit, uncertainty edit (if
// any), unit. Symbols and units are the same in every language.
struct Row {
  const char *edit, *symbol, *unit, *sigma;
};
const std::vector<Row> kPageRows[app::Tparaint::kPages] = {
    {{"unla", "a", "µm", "unlain"}, {"undi", "L", "cm", "undiin"}, {"unlo", "λ", "nm", "unloin"}},
    {{"dela", "a", "µm", "delain"},
     {"dedi", "L", "cm", "dediin"},
     {"dein", "d", "mm", "deinin"},
     {"delo", "λ", "nm", "deloin"}},
    {{"rela", "a", "µm", "relain"},
     {"redi", "L", "cm", "rediin"},
     {"rein", "d", "mm", "reinin"},
     {"relo", "λ", "nm", "reloin"},
     {"renbt", "N", "", nullptr}},
    {{"ebxWidth", "w", "mm", nullptr}},
};

// A widget painted on white by `paint`.
class PaintBox : public QWidget {
 public:
  using Painter = std::function<void(QPainter&, const QRect&)>;
  PaintBox(QWidget* parent, QSize size, Painter paint) : QWidget(parent), paint_(std::move(paint)) {
    setFixedSize(size);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    paint_(p, rect());
  }

 private:
  Painter paint_;
};

// The image `fond`: the wavelength table against the pixel number, with the
// references it goes through.
void DrawCalibration(QPainter& p, const QRect& area, const app::Tparaint& model) {
  QFont font("Arial");
  font.setPointSize(11);
  p.setFont(font);
  const QFontMetrics fm(font);
  // Room for the range at the left and the pixel numbers under the frame.
  const QRect plot = area.adjusted(fm.horizontalAdvance("0000 nm") + 12, 10, -14, -fm.height() - 8);
  p.setPen(QColor(160, 160, 160));
  p.drawRect(plot.adjusted(0, 0, -1, -1));

  const auto& table = model.Table;
  float lo = HUGE_VALF, hi = -HUGE_VALF;
  for (float v : table)
    if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
  // Pixel 0 on the left edge, 2047 on the right; the range of the table
  // fills the height, a few pixels inside the frame.
  const double last = double(table.size() - 1);
  const bool flat = !(hi - lo > 1e-3f);
  const double span = flat ? 1.0 : double(hi) - lo;
  const double base = flat ? lo - 0.5 : lo;  // a flat table across the middle
  const QRectF inner = QRectF(plot).adjusted(0, 6, -1, -7);
  auto at = [&](double pixel, double lambda) {
    return QPointF(inner.left() + pixel / last * inner.width(),
                   inner.bottom() - (lambda - base) / span * inner.height());
  };

  p.setPen(Qt::black);
  const QRect under(plot.left(), plot.bottom() + 4, plot.width(), fm.height());
  p.drawText(under, Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8("n°0"));
  p.drawText(under, Qt::AlignRight | Qt::AlignTop, QString::fromUtf8("n°2047"));
  if (lo > hi) return;  // nothing to draw
  // The range, at the heights of its ends.
  for (float v : {hi, lo}) {
    const double y = at(0, v).y();
    p.setPen(QPen(QColor(200, 200, 200), 1, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    p.setPen(Qt::black);
    p.drawText(
        QRectF(area.left(), y - fm.height() / 2.0, plot.left() - area.left() - 6, fm.height()),
        Qt::AlignRight | Qt::AlignVCenter, QString::number(double(v), 'f', 0) + " nm");
    if (flat) break;  // one level
  }

  p.setClipRect(plot);
  p.setRenderHint(QPainter::Antialiasing);
  QPolygonF curve;
  for (std::size_t i = 0; i < table.size(); ++i)
    if (std::isfinite(table[i])) curve << at(double(i), table[i]);
  p.setPen(QPen(QColor(0, 0, 200), 1.5));
  p.drawPolyline(curve);
  p.setPen(QPen(QColor(200, 0, 0), 1.5));
  p.setBrush(Qt::NoBrush);
  for (const auto& ref : model.Points)
    if (ref.lambda != 0 && ref.pixel >= 0 && ref.pixel <= int(last))
      p.drawEllipse(at(ref.pixel, ref.lambda), 4.0, 4.0);
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
  // Enter belongs to the edits here: no button takes it unless focused.
  b->setAutoDefault(false);
  return b;
}

void Render(QLineEdit* e, const app::Control& c) {
  e->setEnabled(c.enabled);
  e->setToolTip(Q(c.hint));
  if (e->text() != Q(c.caption)) e->setText(Q(c.caption));
}

void Render(QScrollBar* b, const app::ScrollBar& s) {
  const QSignalBlocker quiet(b);
  b->setRange(s.min, s.max);
  b->setValue(s.position);
  b->setVisible(s.visible);
}

void Render(QAbstractButton* b, const app::Control& c) {
  const QSignalBlocker quiet(b);
  b->setText(Q(c.caption));
  b->setEnabled(c.enabled);
  b->setToolTip(Q(c.hint));
  if (b->isCheckable()) b->setChecked(c.down);
}

}  // namespace

int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) return app::kVkEnter;
  if (qtKey == Qt::Key_Shift) return app::kVkShift;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return (keypad ? app::kVkKeypad0 : app::kVkDigit0) + (qtKey - Qt::Key_0);
  if (qtKey == Qt::Key_Period || (keypad && qtKey == Qt::Key_Comma))
    return keypad ? app::kVkKeypadPoint : app::kVkPoint;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // the same codes
  return 0;
}

ParaintDialog::ParaintDialog(app::Tparaint& model, QWidget* parent)
    : DialogView(model, parent), paraint_(model) {
  setObjectName("paraint");
  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);
  column->addWidget(LutPanel());
  column->addWidget(Notebook());
  column->addWidget(CalibrationPanel());

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  valide_ = Button(this, "valide");
  bitBtn2_ = Button(this, "BitBtn2");
  bitBtn1_ = Button(this, "BitBtn1");
  for (QPushButton* b : {valide_, bitBtn2_, bitBtn1_}) buttons->addWidget(b);
  column->addLayout(buttons);

  for (QPushButton* b : {def_, valide_, bitBtn2_, bitBtn1_}) {
    b->installEventFilter(this);
    PressOnClick(b);
  }
  Sync();
}

QFrame* ParaintDialog::LutPanel() {
  pplut_ = new QFrame(this);
  pplut_->setObjectName("pplut");
  pplut_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* grid = new QGridLayout(pplut_);
  lblLn_ = new QLabel(pplut_);
  lblLn_->setObjectName("lblLn");
  lblExp_ = new QLabel(pplut_);
  lblExp_->setObjectName("lblExp");
  for (QLineEdit** edit : {&coefln_, &coefexp_}) {
    *edit = new QLineEdit(pplut_);
    (*edit)->setObjectName(edit == &coefln_ ? "coefln" : "coefexp");
    (*edit)->setMaxLength(2);
    (*edit)->setFixedWidth(40);
  }
  barln_ = Bar(pplut_, "barln", paraint_.barln);
  barexp_ = Bar(pplut_, "barexp", paraint_.barexp);
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

  connect(barln_, &QScrollBar::valueChanged, this,
          [this](int v) { Forward([&] { paraint_.barlnChange(v); }); });
  connect(barexp_, &QScrollBar::valueChanged, this,
          [this](int v) { Forward([&] { paraint_.barexpChange(v); }); });
  WatchEdit(coefln_, [this](app::Key k) { paraint_.coeflnKeyUp(k); });
  WatchEdit(coefexp_, [this](app::Key k) { paraint_.coefexpKeyUp(k); });
  return pplut_;
}

QTabWidget* ParaintDialog::Notebook() {
  choice_ = new QTabWidget(this);
  choice_->setObjectName("choice");
  for (int page = 0; page < app::Tparaint::kPages; ++page) {
    // The sketch of the set-up, then a row per parameter.
    auto* sheet = new QWidget;
    auto* row = new QHBoxLayout(sheet);
    auto sketch = [page](QPainter& p, const QRect& area) {
      p.setRenderHint(QPainter::Antialiasing);
      DrawSetup(p, area, page);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.setPen(QColor(160, 160, 160));
      p.drawRect(area.adjusted(0, 0, -1, -1));
    };
    row->addWidget(new PaintBox(sheet, {240, 120}, sketch), 0, Qt::AlignTop);
    auto* grid = new QGridLayout;
    row->addLayout(grid);
    auto edit = [&](const char* name, int line, int column) {
      auto* e = new QLineEdit(sheet);
      e->setObjectName(name);
      e->setFixedWidth(80);
      e->installEventFilter(this);
      simEdits_[e] = name;
      grid->addWidget(e, line, column);
    };
    auto label = [&](const char* text, int line, int column, Qt::Alignment align) {
      grid->addWidget(new QLabel(QString::fromUtf8(text), sheet), line, column, align);
    };
    int line = 0;
    // Column heads in any language's notation: the value x, its uncertainty
    // Δx (which the fit fills; "0000.00" until then).
    if (kPageRows[page].front().sigma != nullptr) {
      label("x", line, 1, Qt::AlignHCenter);
      label("Δx", line++, 3, Qt::AlignHCenter);
    }
    for (const Row& r : kPageRows[page]) {
      label(r.symbol, line, 0, Qt::AlignRight);
      edit(r.edit, line, 1);
      if (r.sigma != nullptr) {
        label(" ± ", line, 2, Qt::AlignCenter);
        edit(r.sigma, line, 3);
      }
      label(r.unit, line++, 4, {});
    }
    grid->setRowStretch(line, 1);
    choice_->addTab(sheet, QString());
  }
  connect(choice_, &QTabWidget::currentChanged, this,
          [this](int page) { Forward([&] { paraint_.choicePage = page; }); });
  return choice_;
}

QFrame* ParaintDialog::CalibrationPanel() {
  ppdisp_ = new QFrame(this);
  ppdisp_->setObjectName("ppdisp");
  ppdisp_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* grid = new QGridLayout(ppdisp_);
  title_ = new QLabel(ppdisp_);
  title_->setStyleSheet("font-weight: bold");
  fond_ = new PaintBox(ppdisp_, {460, 280}, [this](QPainter& p, const QRect& area) {
    DrawCalibration(p, area, paraint_);
  });
  fond_->setObjectName("fond");
  interp_ = new QGroupBox(ppdisp_);
  interp_->setObjectName("Interp");
  auto* choices = new QVBoxLayout(interp_);
  for (QRadioButton** radio : {&rdbLin_, &rdbSpline_}) {
    *radio = new QRadioButton(interp_);
    (*radio)->setObjectName(radio == &rdbLin_ ? "rdbLin" : "rdbSpline");
    choices->addWidget(*radio);
  }
  grid->addWidget(title_, 0, 0, 1, 2, Qt::AlignHCenter);
  grid->addWidget(fond_, 1, 0);
  grid->addWidget(interp_, 1, 1, Qt::AlignTop);
  // The check of each line, in columns.
  residus_ = new QLabel(ppdisp_);
  residus_->setObjectName("Residus");
  residus_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  residus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(residus_, 2, 0, 1, 2);
  connect(rdbLin_, &QRadioButton::clicked, this,
          [this] { Forward([&] { paraint_.rdbLinClick(); }); });
  connect(rdbSpline_, &QRadioButton::clicked, this,
          [this] { Forward([&] { paraint_.rdbSplineClick(); }); });
  return ppdisp_;
}

bool ParaintDialog::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::KeyPress;
  if ((press || event->type() == QEvent::KeyRelease) && !model_.closed) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    // The focus chains end on `valide`: Enter there clicks it.
    if (auto* button = qobject_cast<QPushButton*>(watched); button && press && enter) {
      button->click();
      return true;
    }
    const auto it = simEdits_.find(qobject_cast<QLineEdit*>(watched));
    // A held key repeats releases too: only its last one counts.
    if (!press && it != simEdits_.end() && !key->isAutoRepeat())
      SimKeyUp(it->first, it->second, VirtualKeyOf(key->key(), key->modifiers()));
  }
  return DialogView::eventFilter(watched, event);
}

void ParaintDialog::SimKeyUp(QLineEdit* edit, const std::string& name, int vk) {
  // The waist edit is a plain edit that acts on Enter only.
  const bool plain = paraint_.PageOf(name) == optics::kPageGaussian;
  if (plain && vk != app::kVkEnter) return;
  Forward([&] { plain ? paraint_.ebxWidthEnter() : void(paraint_.unlaKeyUp(name, vk)); });
  if (model_.closed) return;
  // The rule's text replaces the content, the caret after it.
  edit->setText(Q(paraint_.Edit(name)->caption));
  edit->setCursorPosition(int(edit->text().size()));
  // Forward moves the focus only when FocusTo changed; Enter always does.
  if (vk == app::kVkEnter) FocusOn(paraint_.FocusTo, false);
}

void ParaintDialog::PullEdits() {
  paraint_.coefln.caption = coefln_->text().toStdString();
  paraint_.coefexp.caption = coefexp_->text().toStdString();
  for (const auto& [edit, name] : simEdits_)
    paraint_.Edit(name)->caption = edit->text().toStdString();
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
  if (previewShown_ != paraint_.PreviewVersion) {
    previewShown_ = paraint_.PreviewVersion;
    imlut_->setPixmap(QPixmap::fromImage(PreviewImage(paraint_.LutPreview())));
  }

  choice_->setVisible(paraint_.choice.visible);
  {
    const QSignalBlocker quiet(choice_);
    const auto& tabs = paraint_.choice.items;
    for (int page = 0; page < choice_->count() && page < int(tabs.size()); ++page)
      choice_->setTabText(page, Q(tabs[std::size_t(page)]));
    choice_->setCurrentIndex(paraint_.choicePage);
  }
  for (const auto& [edit, name] : simEdits_) Render(edit, *paraint_.Edit(name));

  ppdisp_->setVisible(paraint_.ppdisp.visible);
  title_->setText(Q(paraint_.ppdisp.caption));
  interp_->setTitle(Q(paraint_.Interp.caption));
  Render(rdbLin_, paraint_.rdbLin);
  Render(rdbSpline_, paraint_.rdbSpline);
  residus_->setText(Q(paraint_.Residus.caption));
  if (tableShown_ != paraint_.TableVersion) {
    tableShown_ = paraint_.TableVersion;
    fond_->update();
  }

  Render(valide_, paraint_.valide);
  Render(bitBtn1_, paraint_.BitBtn1);
  Render(bitBtn2_, paraint_.BitBtn2);
}

}  // namespace rovanel::gui
