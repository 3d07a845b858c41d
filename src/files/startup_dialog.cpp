// The start-up window shown until a key or a click.
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QVBoxLayout>

#include "files/dialogs.h"

namespace qv {

StartUpDialog::StartUpDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setModal(true);
  // The window paints its own dark background so the white text stays readable
  // whatever the desktop's style is.
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0x1f, 0x3a, 0x5f));
  pal.setColor(QPalette::WindowText, Qt::white);
  setPalette(pal);
  // The picture: the program's name drawn large across the window.
  auto* picture = new QLabel(QStringLiteral("Quorvane"), this);
  QFont big = picture->font();
  big.setPointSize(40);
  big.setBold(true);
  picture->setFont(big);
  picture->setAlignment(Qt::AlignCenter);
  auto* subtitle = new QLabel(QStringLiteral("Natural deduction for first-order logic and set theory"), this);
  subtitle->setAlignment(Qt::AlignCenter);
  // Mouse events on the labels reach the window, so a click on the notice closes it too.
  auto* notice = new QLabel(QStringLiteral("Copyright \u00A9 the Quorvane developers"), this);
  notice->setObjectName("Label1");
  notice->setAlignment(Qt::AlignCenter);
  auto* updated = new QLabel(QStringLiteral("Version 2.0"), this);
  updated->setObjectName("Label2");
  updated->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(40, 40, 40, 24);
  layout->addStretch();
  layout->addWidget(picture);
  layout->addWidget(subtitle);
  layout->addStretch();
  layout->addWidget(notice);
  layout->addWidget(updated);
  resize(560, 320);
}

void StartUpDialog::keyPressEvent(QKeyEvent*) { accept(); }

void StartUpDialog::mouseReleaseEvent(QMouseEvent*) { accept(); }

}  // namespace qv
