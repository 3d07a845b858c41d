// The files library's windows on Qt. Each only wires its controls to the
// Qt-free functions of files.h.
#pragma once

#include <QDialog>

#include "document/state.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace qv {

// "Save changes to current proof?": Yes, No, Cancel. Closing the window or
// Esc answers Cancel.
class SaveChangesDialog : public QDialog {
  Q_OBJECT
 public:
  SaveChangesDialog(AppState& S, QWidget* parent);
  // Shows the file name, then runs modally until an answer hides it.
  void Ask();
  QPushButton* YesButton() const { return yes_; }
  QPushButton* NoButton() const { return no_; }
  QPushButton* CancelButton() const { return cancel_; }
  QLabel* FileNameLabel() const { return fileName_; }

 public slots:
  void reject() override;

 private:
  AppState& S;
  QLabel* fileName_;
  QPushButton* yes_;
  QPushButton* no_;
  QPushButton* cancel_;
};

// The splash window: any key, a mouse button released over it, or a click
// on its text closes it.
class StartUpDialog : public QDialog {
  Q_OBJECT
 public:
  explicit StartUpDialog(QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
};

// "About Quorvane".
class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  AboutDialog(AppState& S, QWidget* parent);
  QPushButton* OnlineButton() const { return online_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  QPushButton* online_;
};

// "Quorvane Tip of the Day".
class TipsDialog : public QDialog {
  Q_OBJECT
 public:
  TipsDialog(AppState& S, QWidget* parent);
  QLabel* TipText() const { return tip_; }
  QCheckBox* ShowTipsCheck() const { return check_; }

 private:
  QLabel* tip_;
  QCheckBox* check_;
};

}  // namespace qv
