// The Qt window of the Substitution dialog. It shows the fields of
// SubstOf(S) and runs the handlers of substitute.h; it holds no logic of its own.
#pragma once

#include <QDialog>

#include "document/state.h"

class QLabel;
class QPushButton;

namespace qv {

class QtRichBox;

class SubstitutionDialog : public QDialog {
  Q_OBJECT
 public:
  SubstitutionDialog(AppState& S, QWidget* parent);
  // Runs Activate and shows the dialog modally.
  void Run();

  QtRichBox* StatementBox() const { return rtb_; }
  QLabel* MessageLabel() const { return status_; }
  QPushButton* ContinueButton() const { return continue_; }
  QPushButton* ResetButton() const { return reset_; }
  QPushButton* SelectAllButton() const { return selectAll_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Shows the caption, message and button states that the logic left.
  void Sync();

  AppState& S;
  QLabel* label1_;
  QtRichBox* rtb_;
  QLabel* status_;
  QPushButton* continue_;
  QPushButton* reset_;
  QPushButton* selectAll_;
  QPushButton* cancel_;
};

}  // namespace qv
