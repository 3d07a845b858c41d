// The Qt window of the input box. It shows the fields of InputBoxOf(S) and
// runs the handlers of inputbox.h; it holds no logic of its own.
#pragma once

#include <QDialog>

#include "document/state.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class InputBoxDialog : public QDialog {
  Q_OBJECT
 public:
  InputBoxDialog(AppState& S, QWidget* parent);
  // Loads the fields, runs Activate and shows the dialog modally.
  void Run();

  QLineEdit* TextBox() const { return text1_; }
  QLabel* MessageLabel() const { return label2_; }
  QPushButton* ContinueButton() const { return continue_; }
  QPushButton* CancelButton() const { return cancel_; }
  // True after the window was closed from its frame: the next use creates a
  // fresh window.
  bool Unloaded() const { return unloaded_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void OnContinue();
  void OnCancel();

  AppState& S;
  QLabel* label1_;
  QLabel* label2_;
  QLineEdit* text1_;
  QPushButton* continue_;
  QPushButton* cancel_;
  bool unloaded_ = false;
};

}  // namespace qv
