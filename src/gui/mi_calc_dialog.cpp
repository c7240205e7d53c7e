#include "gui/mi_calc_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace rovanel::gui {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A quantity of a page: its symbol and unit (language-neutral), its value
// edit and its uncertainty edit (none for a count).
struct Quantity {
  const char* symbol;
  const char* unit;
  const char* value;
  const char* uncertainty;
};

// A page's layout, in the model's page order (Michelson pages first). The
// relations are written in consistent units; the model converts the units
// shown in the labels before it computes.
struct PageLayout {
  bool michelson;
  std::vector<Quantity> inputs, outputs;
  const char* button;
  const char* formulaBox;
  const char* formula;  // one relation a line
};

const std::vector<PageLayout>& Pages() {
  static const std::vector<PageLayout> pages = {
      {true,
       {{"F", "Hz", "frra", "frrain"}, {"V", "µm/s", "vira", "virain"}},
       {{"λ", "nm", "lora", "lorain"}},
       "racalcul",
       "raformule",
       "λ = 2V / F\n"
       "Δλ = 2V ΔF / F² + 2 ΔV / F"},
      {true,
       {{"F", "Hz", "frpr", "frprin"},
        {"V", "µm/s", "vipr", "viprin"},
        {"L", "s", "lepr", "leprin"}},
       {{"λ", "nm", "lopr", "loprin"}, {"w", "nm", "lspr", "lsprin"}},
       "prcalcul",
       "prformule",
       "λ = 2V / F\n"
       "Δλ = 2V ΔF / F² + 2 ΔV / F\n"
       "w = λ² / (√π V L)\n"
       "Δw = 2λ Δλ / (√π V L) + λ² ΔV / (√π V² L) + λ² ΔL / (√π V L²)"},
      {true,
       {{"L", "s", "lafi", "lafiin"}, {"V", "µm/s", "vifi", "vifiin"}, {"N", "", "nofi", nullptr}},
       {{"w", "nm", "lsfi", "lsfiin"}},
       "ficalcul",
       "fiformule",
       "w = 4 L V / N²\n"
       "Δw = 4 (V ΔL + L ΔV) / N²"},
      {false,
       {{"L", "mm", "lolo", "loloin"},
        {"D", "cm", "lofe", "lofein"},
        {"a", "µm", "lola", "lolain"}},
       {{"λ", "nm", "loon", "loonin"}},
       "locpt",
       "loformule",
       "λ = a L / (2D)\n"
       "Δλ = L Δa / (2D) + a L ΔD / (2D²) + a ΔL / (2D)"},
      {false,
       {{"L", "mm", "lalo", "laloin"},
        {"D", "cm", "lafe", "lafein"},
        {"λ", "nm", "laon", "laonin"}},
       {{"a", "µm", "lala", "lalain"}},
       "lacpt",
       "laformule",
       "a = 2λD / L\n"
       "Δa = 2D Δλ / L + 2λD ΔL / L² + 2λ ΔD / L"},
      {false,
       {{"i", "mm", "inin", "ininin"},
        {"D", "cm", "infe", "infein"},
        {"λ", "nm", "inon", "inonin"}},
       {{"d", "µm", "inif", "inifin"}},
       "incpt",
       "informule",
       "d = λD / i\n"
       "Δd = D Δλ / i + λD Δi / i² + λ ΔD / i"},
  };
  return pages;
}

// Plain relation text as rich text: quantity symbols (Latin letters and λ)
// in italics, one relation a line.
QString Formula(const char* plain) {
  QString html;
  for (const QChar c : QString::fromUtf8(plain)) {
    const bool symbol = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == QChar(0x03BB);
    if (c == '\n')
      html += "<br>";
    else if (symbol)
      html += QStringLiteral("<i>%1</i>").arg(c);
    else
      html += c;
  }
  return html;
}

QString Label(const Quantity& q) {
  QString text = Formula(q.symbol);
  if (*q.unit != '\0') text += " (" + QString::fromUtf8(q.unit) + ")";
  return text;
}

QLabel* RichLabel(QWidget* parent, const QString& html) {
  auto* label = new QLabel(html, parent);
  label->setTextFormat(Qt::RichText);
  return label;
}

void Render(QLineEdit* e, const app::Control& c) {
  e->setEnabled(c.enabled);
  e->setToolTip(Q(c.hint));
  if (e->text() != Q(c.caption)) e->setText(Q(c.caption));
}

void Render(QPushButton* b, const app::Control& c) {
  b->setText(Q(c.caption));
  b->setEnabled(c.enabled);
  b->setToolTip(Q(c.hint));
}

}  // namespace

app::CalcKey CalcKeyOf(int qtKey, Qt::KeyboardModifiers modifiers, char& digit) {
  digit = 0;
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) return app::CalcKey::Enter;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    digit = static_cast<char>('0' + (qtKey - Qt::Key_0));
    return keypad ? app::CalcKey::KeypadDigit : app::CalcKey::Digit;
  }
  // The keypad's separator is a comma on some layouts.
  if (keypad && (qtKey == Qt::Key_Period || qtKey == Qt::Key_Comma))
    return app::CalcKey::KeypadPoint;
  if (qtKey == Qt::Key_Period) return app::CalcKey::Point;
  if (qtKey == Qt::Key_Shift) return app::CalcKey::Shift;
  if (qtKey == Qt::Key_Left) return app::CalcKey::Left;
  if (qtKey == Qt::Key_Right) return app::CalcKey::Right;
  return app::CalcKey::Other;
}

MiCalcDialog::MiCalcDialog(app::TMiCalc& model, QWidget* parent)
    : DialogView(model, parent), calc_(model) {
  setObjectName("MiCalc");
  auto* column = new QVBoxLayout(this);
  column->setSizeConstraint(QLayout::SetFixedSize);
  micomp_ = new QTabWidget(this);
  micomp_->setObjectName("micomp");
  incomp_ = new QTabWidget(this);
  incomp_->setObjectName("incomp");
  for (QTabWidget* notebook : {micomp_, incomp_}) {
    // Every page caption whole: the dialog widens to fit them.
    notebook->setUsesScrollButtons(false);
    notebook->setElideMode(Qt::ElideNone);
  }
  for (int k = 0; k < static_cast<int>(Pages().size()); ++k)
    Notebook(Pages()[k].michelson)->addTab(Page(k), QString());
  column->addWidget(micomp_);
  column->addWidget(incomp_);

  for (QTabWidget* notebook : {micomp_, incomp_})
    connect(notebook, &QTabWidget::currentChanged, this, [this, notebook](int index) {
      Forward([&] { (notebook == micomp_ ? calc_.micompPage : calc_.incompPage) = index; });
    });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  quitmich_ = new QPushButton(this);
  quitmich_->setObjectName("quitmich");
  buttons->addWidget(quitmich_);
  column->addLayout(buttons);
  buttons_.emplace_back(quitmich_, &calc_.quitmich);

  for (const auto& [button, control] : buttons_) {
    // Enter belongs to the edits: no button takes it by default.
    button->setAutoDefault(false);
    button->installEventFilter(this);
    PressOnClick(button);
  }
  Sync();
}

QTabWidget* MiCalcDialog::Notebook(bool michelson) {
  return michelson ? micomp_ : incomp_;
}

app::Control* MiCalcDialog::ControlNamed(const std::string& name) {
  for (const auto& [n, control] : calc_.Texts())
    if (n == name) return control;
  return nullptr;
}

QLineEdit* MiCalcDialog::Edit(QWidget* parent, const char* name, bool input) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("00000000.00") + 12);
  edit->setAlignment(Qt::AlignRight);
  if (input) {
    edit->installEventFilter(this);
    inputs_.push_back({edit, ControlNamed(name)});
  } else {
    // Results can be selected and copied, not typed into.
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    QPalette shade = edit->palette();
    shade.setColor(QPalette::Base, shade.color(QPalette::Window));
    edit->setPalette(shade);
    outputs_.push_back({edit, ControlNamed(name)});
  }
  return edit;
}

// Inputs (symbol and unit, value ± uncertainty), the compute button, the
// results in the same columns, and the relations computed.
QWidget* MiCalcDialog::Page(int index) {
  const PageLayout& layout = Pages()[static_cast<std::size_t>(index)];
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  auto* grid = new QGridLayout;
  grid->setColumnStretch(4, 1);
  // Column heads in the notation of any language: the value x, and its
  // uncertainty Δx (the fields read "0000.00" until typed into).
  grid->addWidget(RichLabel(page, QStringLiteral("<i>x</i>")), 0, 1, Qt::AlignHCenter);
  grid->addWidget(RichLabel(page, QString::fromUtf8("Δ<i>x</i>")), 0, 3, Qt::AlignHCenter);
  int row = 1;
  const auto addRow = [&](const Quantity& q, bool input) {
    grid->addWidget(RichLabel(page, Label(q)), row, 0);
    grid->addWidget(Edit(page, q.value, input), row, 1);
    if (q.uncertainty != nullptr) {
      grid->addWidget(new QLabel(QString::fromUtf8("±"), page), row, 2);
      grid->addWidget(Edit(page, q.uncertainty, input), row, 3);
    }
    ++row;
  };
  for (const Quantity& q : layout.inputs) addRow(q, true);

  auto* compute = new QPushButton(page);
  compute->setObjectName(layout.button);
  buttons_.emplace_back(compute, ControlNamed(layout.button));
  grid->addWidget(compute, row++, 1, 1, 3);
  auto* rule = new QFrame(page);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  grid->addWidget(rule, row++, 0, 1, 5);
  for (const Quantity& q : layout.outputs) addRow(q, false);
  column->addLayout(grid);

  auto* formula = new QGroupBox(page);
  formula->setObjectName(layout.formulaBox);
  formulas_.emplace_back(formula, ControlNamed(layout.formulaBox));
  auto* inside = new QVBoxLayout(formula);
  QLabel* relations = RichLabel(formula, Formula(layout.formula));
  relations->setTextInteractionFlags(Qt::TextSelectableByMouse);
  inside->addWidget(relations);
  column->addWidget(formula);
  column->addStretch(1);
  return page;
}

void MiCalcDialog::PullEdits() {
  for (const Field& f : inputs_) f.control->caption = f.edit->text().toStdString();
}

bool MiCalcDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && watched == pressedIn_) pressedIn_ = nullptr;
  const bool press = event->type() == QEvent::KeyPress;
  const bool release = event->type() == QEvent::KeyRelease;
  if ((press || release) && !model_.closed) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // Enter on a button presses it (the walk along the edits ends there).
    if (press && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
      if (auto* button = qobject_cast<QPushButton*>(watched)) {
        button->click();
        return true;
      }
    for (const Field& f : inputs_) {
      if (f.edit != watched) continue;
      if (press) pressedIn_ = watched;
      if (release && pressedIn_ == watched && !key->isAutoRepeat()) {
        char digit = 0;
        const app::CalcKey k = CalcKeyOf(key->key(), key->modifiers(), digit);
        const std::string field = f.edit->objectName().toStdString();
        // The key's own edit has the focus; Enter moves it on.
        calc_.FocusTo = field;
        Forward([&] {
          calc_.frraKeyUp(field, k, digit);
          if (k == app::CalcKey::Enter) calc_.InputEnter(field);
        });
      }
    }
  }
  return DialogView::eventFilter(watched, event);
}

void MiCalcDialog::Sync() {
  setWindowTitle(Q(calc_.Caption));
  const std::pair<QTabWidget*, std::pair<const app::Control*, int>> notebooks[] = {
      {micomp_, {&calc_.micomp, calc_.micompPage}}, {incomp_, {&calc_.incomp, calc_.incompPage}}};
  for (const auto& [notebook, state] : notebooks) {
    const auto& [control, page] = state;
    notebook->setVisible(control->visible);
    notebook->setEnabled(control->enabled);
    for (int k = 0; k < notebook->count(); ++k)
      notebook->setTabText(
          k, k < static_cast<int>(control->items.size()) ? Q(control->items[k]) : QString());
    const QSignalBlocker quiet(notebook);
    notebook->setCurrentIndex(page);
  }
  for (const Field& f : inputs_) Render(f.edit, *f.control);
  for (const Field& f : outputs_) Render(f.edit, *f.control);
  for (const auto& [button, control] : buttons_) Render(button, *control);
  for (const auto& [box, control] : formulas_) box->setTitle(Q(control->caption));
}

}  // namespace rovanel::gui
