// The window that shows the program's manual: HTML pages read from the
// folder the program found them in, with the contents page, back and
// forward, and find in page. It works offline; links to other sites open in
// the desktop's browser.
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QTextBrowser;
class QLabel;

namespace qv {

class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  // Shows the page at `path` (a local file) and brings the window forward.
  void ShowPage(const QString& path);
  QTextBrowser* Browser() const { return browser_; }
  QLineEdit* FindBox() const { return find_; }
  QLabel* FindLabel() const { return found_; }
  // Looks for the find box's text from the caret on, forward or backward,
  // wrapping round once; says so when the page does not hold it.
  void FindNext(bool backward);

 private:
  QTextBrowser* browser_;
  QLineEdit* find_;
  QLabel* found_;
  QString home_;
};

}  // namespace qv
