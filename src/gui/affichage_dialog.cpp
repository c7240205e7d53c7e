#include "gui/affichage_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cstdint>
#include <string>
#include <utility>

#include "app/dialogs/affichage.h"
#include "display/canvas.h"

namespace rovanel::gui {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

QColor ToQColor(const display::Rgb& c) {
  return QColor(c.r, c.g, c.b);
}

// Colour shapes and swatches: a small framed label filled with the colour.
constexpr int kShapeWidth = 48, kShapeHeight = 22;
constexpr int kSwatch = 24, kSwatchPitch = 32, kSwatchMargin = 4;

QLabel* Shape(QWidget* parent, const char* name, int width, int height) {
  auto* shape = new QLabel(parent);
  shape->setObjectName(name);
  shape->setFixedSize(width, height);
  shape->setFrameStyle(QFrame::Box | QFrame::Plain);
  shape->setAutoFillBackground(true);
  return shape;
}

void Fill(QLabel* shape, const display::Rgb& colour) {
  QPalette p = shape->palette();
  if (p.color(QPalette::Window) == ToQColor(colour)) return;
  p.setColor(QPalette::Window, ToQColor(colour));
  p.setColor(QPalette::WindowText, Qt::black);  // the frame
  shape->setPalette(p);
}

QFrame* Page(QWidget* parent, const char* name) {
  auto* page = new QFrame(parent);
  page->setObjectName(name);
  page->setFrameStyle(QFrame::Panel | QFrame::Raised);
  return page;
}

void Render(QWidget* w, const app::Control& c) {
  w->setEnabled(c.enabled);
  w->setToolTip(Q(c.hint));
}

void Render(QAbstractButton* b, const app::Control& c) {
  Render(static_cast<QWidget*>(b), c);
  b->setText(Q(c.caption));
  const QSignalBlocker quiet(b);
  if (b->isCheckable()) b->setChecked(c.down);
}

void Render(QComboBox* box, const app::Control& c, int index) {
  Render(static_cast<QWidget*>(box), c);
  const QSignalBlocker quiet(box);
  box->setCurrentIndex(index);
}

}  // namespace

QPushButton* AffichageDialog::Button(QWidget* parent, const char* name) {
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  // Enter belongs to the wavelength edit: no button takes it.
  b->setAutoDefault(false);
  PressOnClick(b);
  return b;
}

QRadioButton* AffichageDialog::Radio(QWidget* parent, const char* name) {
  auto* r = new QRadioButton(parent);
  r->setObjectName(name);
  // The model keeps the groups: the buttons show what it selected.
  r->setAutoExclusive(false);
  connect(r, &QRadioButton::clicked, this, [this, r] {
    const std::string radio = r->objectName().toStdString();
    Forward([&] { affichage_.RadioClick(radio); });
  });
  return r;
}

void AffichageDialog::ChooseColour(const display::Rgb& current,
                                   void (app::TAffichage::*apply)(display::Rgb)) {
  const QColor chosen = QColorDialog::getColor(ToQColor(current), this);
  if (!chosen.isValid()) return;  // cancelled
  const display::Rgb colour{static_cast<std::uint8_t>(chosen.red()),
                            static_cast<std::uint8_t>(chosen.green()),
                            static_cast<std::uint8_t>(chosen.blue())};
  Forward([&] { (affichage_.*apply)(colour); });
}

QFrame* AffichageDialog::BuildLevelsPage() {
  QFrame* page = Page(this, "pNivCoul");
  auto* grid = new QGridLayout(page);
  btnMax_ = Button(page, "btnMax");
  btnMin_ = Button(page, "btnMin");
  // Shown down or up as the model says: a click on the pressed one keeps
  // it pressed.
  btnMax_->setCheckable(true);
  btnMin_->setCheckable(true);
  MaxColor_ = Shape(page, "MaxColor", kShapeWidth, kShapeHeight);
  MinColor_ = Shape(page, "MinColor", kShapeWidth, kShapeHeight);
  grid->addWidget(btnMax_, 0, 0);
  grid->addWidget(MaxColor_, 0, 1);
  grid->addWidget(btnMin_, 1, 0);
  grid->addWidget(MinColor_, 1, 1);

  // The swatches in two rows of four, placed by hand so that the frame
  // marking the chosen one stands 2 pixels out from it.
  auto* palette = new QWidget(page);
  palette->setObjectName("palette");
  palette->setFixedSize(2 * kSwatchMargin + 3 * kSwatchPitch + kSwatch,
                        2 * kSwatchMargin + kSwatchPitch + kSwatch);
  bvlSelect_ = new QFrame(palette);
  bvlSelect_->setObjectName("bvlSelect");
  bvlSelect_->setFrameStyle(QFrame::Box | QFrame::Plain);
  bvlSelect_->setLineWidth(2);
  for (int k = 0; k < 8; ++k) {
    const std::string name = "Color" + std::to_string(k + 1);
    QLabel* swatch = Shape(palette, name.c_str(), kSwatch, kSwatch);
    swatch->move(kSwatchMargin + (k % 4) * kSwatchPitch, kSwatchMargin + (k / 4) * kSwatchPitch);
    swatch->setCursor(Qt::PointingHandCursor);
    Fill(swatch, app::TAffichage::kSwatchColours[k]);
    swatch->installEventFilter(this);
    swatches_[k] = swatch;
  }
  grid->addWidget(palette, 2, 0, 1, 2);

  chkSelMin_ = new QCheckBox(page);
  chkSelMin_->setObjectName("chkSelMin");
  connect(chkSelMin_, &QCheckBox::clicked, this,
          [this] { Forward([&] { affichage_.chkSelMinClick(); }); });
  grid->addWidget(chkSelMin_, 3, 0, 1, 2);

  auto* wavelength = new QHBoxLayout;
  MskLBDA_ = new QLineEdit(page);
  MskLBDA_->setObjectName("MskLBDA");
  MskLBDA_->setMaxLength(3);
  MskLBDA_->setFixedWidth(48);
  MskLBDA_->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), MskLBDA_));
  MskLBDA_->installEventFilter(this);
  lblNm_ = new QLabel(page);
  lblNm_->setObjectName("lblNm");
  wavelength->addWidget(MskLBDA_);
  wavelength->addWidget(lblNm_);
  wavelength->addStretch(1);
  grid->addLayout(wavelength, 4, 0, 1, 2);
  return page;
}

QFrame* AffichageDialog::BuildAxesPage() {
  QFrame* page = Page(this, "PAxes");
  auto* row = new QHBoxLayout(page);
  auto* x = new QFrame(page);
  x->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* xColumn = new QVBoxLayout(x);
  unit1_ = Radio(x, "unit1");
  unit2_ = Radio(x, "unit2");
  unit3_ = Radio(x, "unit3");
  for (QRadioButton* r : {unit1_, unit2_, unit3_}) xColumn->addWidget(r);
  auto* y = new QFrame(page);
  y->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* yColumn = new QVBoxLayout(y);
  unit4_ = Radio(y, "unit4");
  unit5_ = Radio(y, "unit5");
  for (QRadioButton* r : {unit4_, unit5_}) yColumn->addWidget(r);
  yColumn->addStretch(1);
  row->addWidget(x);
  row->addWidget(y);
  return page;
}

QFrame* AffichageDialog::BuildGridPage() {
  QFrame* page = Page(this, "PGrille");
  auto* grid = new QGridLayout(page);
  ListPas_ = new QComboBox(page);
  ListPas_->setObjectName("ListPas");
  for (const std::string& item : affichage_.ListPas.items)
    ListPas_->addItem(QString::fromStdString(item));
  ListStyle_ = new QComboBox(page);
  ListStyle_->setObjectName("ListStyle");
  for (const std::string& item : affichage_.ListStyle.items)
    ListStyle_->addItem(QString::fromStdString(item));
  connect(ListPas_, &QComboBox::currentIndexChanged, this,
          [this](int i) { Forward([&] { affichage_.ListPasChange(i); }); });
  connect(ListStyle_, &QComboBox::currentIndexChanged, this,
          [this](int i) { Forward([&] { affichage_.ListStyleChange(i); }); });
  ColorGrid_ = Shape(page, "ColorGrid", kShapeWidth, kShapeHeight);
  btncolor_ = new QPushButton(page);
  btncolor_->setObjectName("btncolor");
  btncolor_->setAutoDefault(false);
  connect(btncolor_, &QPushButton::clicked, this,
          [this] { ChooseColour(affichage_.ColorGrid, &app::TAffichage::btncolorClick); });
  grid->addWidget(ListPas_, 0, 0, 1, 2);
  grid->addWidget(ListStyle_, 1, 0, 1, 2);
  grid->addWidget(ColorGrid_, 2, 0);
  grid->addWidget(btncolor_, 2, 1);
  return page;
}

QFrame* AffichageDialog::BuildCursorPage() {
  QFrame* page = Page(this, "PCurs");
  auto* grid = new QGridLayout(page);
  pix1_ = Radio(page, "pix1");
  pix2_ = Radio(page, "pix2");
  pix4_ = Radio(page, "pix4");
  grid->addWidget(pix1_, 0, 0);
  grid->addWidget(pix2_, 1, 0);
  grid->addWidget(pix4_, 2, 0);
  CursColor_ = Shape(page, "CursColor", kShapeWidth, kShapeHeight);
  colorc_ = new QPushButton(page);
  colorc_->setObjectName("colorc");
  colorc_->setAutoDefault(false);
  connect(colorc_, &QPushButton::clicked, this,
          [this] { ChooseColour(affichage_.CursColor, &app::TAffichage::colorcClick); });
  grid->addWidget(CursColor_, 0, 1);
  grid->addWidget(colorc_, 1, 1);
  return page;
}

AffichageDialog::AffichageDialog(app::TAffichage& model, QWidget* parent)
    : DialogView(model, parent), affichage_(model) {
  setObjectName("affichage");
  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);
  pNivCoul_ = BuildLevelsPage();
  PAxes_ = BuildAxesPage();
  PGrille_ = BuildGridPage();
  PCurs_ = BuildCursorPage();
  for (QFrame* page : {pNivCoul_, PAxes_, PGrille_, PCurs_}) column->addWidget(page);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ValG_ = Button(this, "ValG");
  anng_ = Button(this, "anng");
  helg_ = Button(this, "helg");
  for (QPushButton* b : {ValG_, anng_, helg_}) buttons->addWidget(b);
  column->addLayout(buttons);
  // The dialog opens with the focus on OK, not in the wavelength edit,
  // whose entry would lock the minimum colour.
  ValG_->setFocus();
  Sync();
}

void AffichageDialog::PullEdits() {
  affichage_.MskLBDA.caption = MskLBDA_->text().toStdString();
}

bool AffichageDialog::eventFilter(QObject* watched, QEvent* event) {
  if (!model_.closed) {
    for (int k = 0; k < 8; ++k)
      if (watched == swatches_[k] && event->type() == QEvent::MouseButtonPress) {
        Forward([&] { affichage_.Color1MouseDown(k + 1); });
        return true;
      }
    if (watched == MskLBDA_ && event->type() == QEvent::FocusIn) {
      // The focus coming back with the window is no entry into the edit.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        Forward([&] { affichage_.MskLBDAEnter(); });
    }
    if (watched == MskLBDA_ && event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (KeyOf(key->key(), key->modifiers()) == app::Key::Enter) {
        Forward([&] { affichage_.MskLBDAKeyPress(app::Key::Enter); });
        return true;
      }
    }
  }
  return DialogView::eventFilter(watched, event);
}

void AffichageDialog::Sync() {
  setWindowTitle(Q(affichage_.Caption));
  const std::pair<QFrame*, const app::Control*> pages[] = {{pNivCoul_, &affichage_.pNivCoul},
                                                           {PAxes_, &affichage_.PAxes},
                                                           {PGrille_, &affichage_.PGrille},
                                                           {PCurs_, &affichage_.PCurs}};
  for (const auto& [page, control] : pages) page->setVisible(control->visible);

  const std::pair<QAbstractButton*, const app::Control*> buttons[] = {
      {unit1_, &affichage_.unit1},         {unit2_, &affichage_.unit2},
      {unit3_, &affichage_.unit3},         {unit4_, &affichage_.unit4},
      {unit5_, &affichage_.unit5},         {pix1_, &affichage_.pix1},
      {pix2_, &affichage_.pix2},           {pix4_, &affichage_.pix4},
      {btncolor_, &affichage_.btncolor},   {colorc_, &affichage_.colorc},
      {btnMax_, &affichage_.btnMax},       {btnMin_, &affichage_.btnMin},
      {chkSelMin_, &affichage_.chkSelMin}, {ValG_, &affichage_.ValG},
      {anng_, &affichage_.anng},           {helg_, &affichage_.helg}};
  for (const auto& [button, control] : buttons) Render(button, *control);
  Render(ListPas_, affichage_.ListPas, affichage_.ListPasIndex);
  Render(ListStyle_, affichage_.ListStyle, affichage_.ListStyleIndex);

  Fill(ColorGrid_, affichage_.ColorGrid);
  Fill(CursColor_, affichage_.CursColor);
  Fill(MaxColor_, affichage_.MaxColor);
  Fill(MinColor_, affichage_.MinColor);
  const int chosen = affichage_.bvlSelectSwatch;
  const bool framed = affichage_.bvlSelect.visible && chosen >= 1 && chosen <= 8;
  if (framed) bvlSelect_->setGeometry(swatches_[chosen - 1]->geometry().adjusted(-2, -2, 2, 2));
  bvlSelect_->setVisible(framed);

  Render(MskLBDA_, affichage_.MskLBDA);
  if (MskLBDA_->text() != Q(affichage_.MskLBDA.caption))
    MskLBDA_->setText(Q(affichage_.MskLBDA.caption));
  lblNm_->setText(Q(affichage_.lblNm.caption));

  if (!affichage_.FocusTo.empty()) {
    const QString name = Q(std::exchange(affichage_.FocusTo, {}));
    if (QWidget* target = findChild<QWidget*>(name)) target->setFocus(Qt::OtherFocusReason);
  }
  if (!affichage_.error.empty())
    QMessageBox::warning(this, windowTitle(), Q(std::exchange(affichage_.error, {})));
}

}  // namespace rovanel::gui
