#include "gui/csv_style_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/csv_style.h"

namespace rovanel::gui {

CsvStyleDialog::CsvStyleDialog(app::TCsvStyle& model, QWidget* parent)
    : DialogView(model, parent), csv_(model) {
  setObjectName("TCsvStyle");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromStdString(csv_.Explication.caption), this));
  auto radio = [&](const char* name, app::Control& c) {
    auto* button = new QRadioButton(QString::fromStdString(c.caption), this);
    button->setObjectName(name);
    connect(button, &QRadioButton::clicked, this, [this, &c] { Forward([&] { csv_.Check(c); }); });
    layout->addWidget(button);
    return button;
  };
  pointComma_ = radio("pointComma", csv_.pointComma);
  commaSemicolon_ = radio("commaSemicolon", csv_.commaSemicolon);
  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QString::fromStdString(csv_.OK.caption), QDialogButtonBox::AcceptRole);
  ok->setObjectName("OK");
  ok->setDefault(true);
  auto* cancel =
      buttons->addButton(QString::fromStdString(csv_.Cancel.caption), QDialogButtonBox::RejectRole);
  cancel->setObjectName("Cancel");
  connect(ok, &QPushButton::clicked, this, [this] { Forward([&] { csv_.Accept(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { Forward([&] { csv_.Reject(); }); });
  layout->addWidget(buttons);
  setWindowTitle(QString::fromStdString(csv_.Caption));
  Sync();
}

void CsvStyleDialog::Sync() {
  pointComma_->setChecked(csv_.pointComma.down);
  commaSemicolon_->setChecked(csv_.commaSemicolon.down);
}

}  // namespace rovanel::gui
