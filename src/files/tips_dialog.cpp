// The Tips window: a random tip and the choice to show tips at start-up.
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/dialogs.h"
#include "files/files.h"
#include "platform/host.h"

namespace qv {

TipsDialog::TipsDialog(AppState& S, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Quorvane Tip of the Day"));
  setModal(true);
  tip_ = new QLabel(QString::fromLatin1(kTips[RandomTipIndex()]), this);
  tip_->setObjectName("TipText");
  tip_->setWordWrap(true);
  tip_->setMinimumHeight(90);
  check_ = new QCheckBox(QStringLiteral("Show tips on start-up"), this);
  check_->setObjectName("Check1");
  check_->setChecked(S.host && S.host->ControlChecked("optShowTip"));
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName("cmdClose");

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(check_);
  bottom->addStretch();
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tip_);
  layout->addLayout(bottom);
  setMinimumWidth(420);

  connect(check_, &QCheckBox::clicked, this, [&S](bool checked) { TipsCheckClicked(S, checked); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace qv
