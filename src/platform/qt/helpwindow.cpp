// The window that shows the program's manual.
#include "platform/qt/helpwindow.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace qv {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  auto button = [this](const QString& caption, const char* name) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    return b;
  };
  auto* contents = button(tr("Contents"), "cmdContents");
  auto* back = button(tr("Back"), "cmdBack");
  auto* forward = button(tr("Forward"), "cmdForward");
  find_ = new QLineEdit(this);
  find_->setObjectName(QStringLiteral("FindText"));
  find_->setPlaceholderText(tr("Find in page"));
  found_ = new QLabel(this);
  found_->setObjectName(QStringLiteral("FindStatus"));
  auto* next = button(tr("Find Next"), "cmdFindNext");
  auto* previous = button(tr("Find Previous"), "cmdFindPrevious");

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpText"));
  browser_->setOpenExternalLinks(true);
  back->setEnabled(false);
  forward->setEnabled(false);

  auto* bar = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(contents), static_cast<QWidget*>(back), static_cast<QWidget*>(forward)})
    bar->addWidget(w);
  bar->addSpacing(16);
  bar->addWidget(find_, 1);
  bar->addWidget(next);
  bar->addWidget(previous);
  bar->addWidget(found_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(browser_, 1);

  connect(contents, &QPushButton::clicked, this, [this] {
    if (!home_.isEmpty()) browser_->setSource(QUrl::fromLocalFile(home_));
  });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    setWindowTitle(browser_->documentTitle().isEmpty() ? tr("Quorvane Help")
                                                       : browser_->documentTitle());
    found_->clear();
  });
  connect(next, &QPushButton::clicked, this, [this] { FindNext(false); });
  connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
  connect(find_, &QLineEdit::returnPressed, this, [this] { FindNext(false); });
  auto* findKey = new QShortcut(QKeySequence::Find, this);
  connect(findKey, &QShortcut::activated, this, [this] {
    find_->setFocus();
    find_->selectAll();
  });
  resize(900, 700);
}

void HelpWindow::ShowPage(const QString& path) {
  home_ = path;
  browser_->setSource(QUrl::fromLocalFile(path));
  show();
  raise();
  activateWindow();
}

void HelpWindow::FindNext(bool backward) {
  const QString what = find_->text();
  found_->clear();
  if (what.isEmpty()) return;
  const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (browser_->find(what, flags)) return;
  // Round the end of the page once.
  QTextCursor c = browser_->textCursor();
  c.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  browser_->setTextCursor(c);
  if (!browser_->find(what, flags)) found_->setText(tr("Not found"));
}

}  // namespace qv
