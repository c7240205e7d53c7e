#include "gui/sel_lge_dialog.h"

#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/sel_lge.h"

namespace rovanel::gui {

SelLgeDialog::SelLgeDialog(app::TSelLge& model, QWidget* parent)
    : DialogView(model, parent), selLge_(model) {
  setObjectName("TSelLge");
  auto* layout = new QVBoxLayout(this);
  auto radio = [&](const char* name, app::Control& c) {
    auto* button = new QRadioButton(QString::fromStdString(c.caption), this);
    button->setObjectName(name);
    connect(button, &QRadioButton::clicked, this, [this, &c] { Forward([&] { selLge_.Check(c); }); });
    layout->addWidget(button);
    return button;
  };
  francais_ = radio("francais", selLge_.francais);
  anglais_ = radio("anglais", selLge_.anglais);
  allemand_ = radio("allemand", selLge_.allemand);
  BitBtn1_ = new QPushButton(QString::fromStdString(selLge_.BitBtn1.caption), this);
  BitBtn1_->setObjectName("BitBtn1");
  BitBtn1_->setDefault(true);
  connect(BitBtn1_, &QPushButton::clicked, this, [this] { Forward([&] { selLge_.BitBtn1Click(); }); });
  layout->addWidget(BitBtn1_);
  setWindowTitle(QString::fromStdString(selLge_.Caption));
  // Wide enough for its title, which a narrow dialog would cut to "…".
  setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 160);
  Sync();
}

void SelLgeDialog::Sync() {
  francais_->setChecked(selLge_.francais.down);
  anglais_->setChecked(selLge_.anglais.down);
  allemand_->setChecked(selLge_.allemand.down);
}

}  // namespace rovanel::gui
