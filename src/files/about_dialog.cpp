// The About window.
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/dialogs.h"
#include "files/files.h"

namespace qv {

AboutDialog::AboutDialog(AppState& S, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Quorvane"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto add = [&](const char* name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setWordWrap(true);
    layout->addWidget(l);
    return l;
  };
  QLabel* title = add("Label1", QStringLiteral("Quorvane 2.0"));
  QFont f = title->font();
  f.setPointSize(f.pointSize() + 6);
  f.setBold(true);
  title->setFont(f);
  add("Label2", QStringLiteral("Quorvane natural deduction proof system, version 2.02"));
  add("Label3", QString::fromUtf8(kTermsOfUse));
  add("Label4", QStringLiteral("Copyright \u00A9 the Quorvane developers"));
  add("Label5", QStringLiteral("Released with Quorvane 2.0"));
  add("Label7", QStringLiteral("For latest release or enquiries..."));
  online_ = new QPushButton(QStringLiteral("Go to Quorvane Online"), this);
  online_->setObjectName("Command2");
  online_->setAutoDefault(false);
  layout->addWidget(online_);
  connect(online_, &QPushButton::clicked, this, [&S] { AboutGoOnline(S); });
  setMinimumWidth(380);
}

void AboutDialog::keyPressEvent(QKeyEvent* e) {
  // Esc closes; every other key does nothing.
  if (e->key() == Qt::Key_Escape) reject();
  e->accept();
}

}  // namespace qv
