// The print window "PrintProof" on Qt: its controls mirror PrintProofForm.
#pragma once

#include <QDialog>

#include "files/print.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class PrintProofDialog : public QDialog {
 public:
  PrintProofDialog(AppState& S, QWidget* parent);
  // Activation (the range its opener put into the boxes), then modal until
  // it has printed or was cancelled.
  void Ask();

  QLineEdit* FromBox() const { return text1_; }
  QLineEdit* ToBox() const { return text2_; }
  QCheckBox* AllStmtsCheck() const { return all_; }
  QLabel* Status() const { return status_; }
  QPushButton* ContinueButton() const { return continue_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  // Shows the form's state in the controls.
  void Sync();

  AppState& S;
  PrintProofForm form_;
  QLabel* label1_;
  QLineEdit* text1_;
  QLabel* label2_;
  QLineEdit* text2_;
  QCheckBox* all_;
  QLabel* status_;
  QPushButton* continue_;
  QPushButton* cancel_;
};

}  // namespace qv
