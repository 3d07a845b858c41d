// The save-changes prompt on Qt.
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/dialogs.h"
#include "files/files.h"

namespace qv {

SaveChangesDialog::SaveChangesDialog(AppState& state, QWidget* parent) : QDialog(parent), S(state) {
  setWindowTitle(QStringLiteral("Save changes to current proof?"));
  setModal(true);
  fileName_ = new QLabel(QStringLiteral("File Name"), this);
  fileName_->setObjectName("FileName");
  fileName_->setWordWrap(true);
  yes_ = new QPushButton(QStringLiteral("Yes"), this);
  yes_->setObjectName("cmdYes");
  no_ = new QPushButton(QStringLiteral("No"), this);
  no_->setObjectName("cmdNo");
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName("cmdCancel");
  yes_->setAutoDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(yes_);
  buttons->addWidget(no_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fileName_);
  layout->addLayout(buttons);
  setMinimumWidth(360);

  connect(yes_, &QPushButton::clicked, this, [this] {
    SaveChangesYes(S);
    accept();
  });
  connect(no_, &QPushButton::clicked, this, [this] {
    SaveChangesNo(S);
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, &SaveChangesDialog::reject);
}

void SaveChangesDialog::Ask() {
  // The file name as the file system spells it.
  const std::string label = SaveChangesFileLabel(S);
  fileName_->setText(S.Ui.ProofFileName.empty()
                         ? QString::fromLatin1(label)
                         : QFile::decodeName(QByteArray(label.data(), static_cast<qsizetype>(label.size()))));
  yes_->setFocus();
  exec();
}

void SaveChangesDialog::reject() {
  SaveChangesCancel(S);
  QDialog::reject();
}

}  // namespace qv
