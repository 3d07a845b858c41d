// The Qt window "Generalize" of the E Gen rule. It shows the fields of the
// Generalize logic (egen.h) and forwards its buttons, clicks and keys there;
// it holds no logic of its own.
#pragma once

#include <QDialog>
#include <memory>

#include "document/state.h"
#include "rules/egen.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class QtRichBox;

class GeneralizeDialog : public QDialog {
  Q_OBJECT
 public:
  GeneralizeDialog(AppState& S, QWidget* parent);
  ~GeneralizeDialog() override;
  // Activates the logic and shows the window modally.
  void Run();

  Generalize& Logic() { return *logic_; }
  QtRichBox* StatementBox() const { return rtb_; }
  QLineEdit* BoundVarBox() const { return boundVar_; }
  QLabel* Status() const { return status_; }
  QPushButton* SelectAllButton() const { return selectAll_; }
  QPushButton* ResetButton() const { return reset_; }
  QPushButton* ContinueButton() const { return continue_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  // Copies the logic's fields into the controls.
  void Refresh();

  AppState& S;
  std::unique_ptr<Generalize> logic_;
  QtRichBox* rtb_;
  QLineEdit* boundVar_;
  QLabel* boundVarLabel_;
  QLabel* statementLabel_;
  QLabel* status_;
  QPushButton* selectAll_;
  QPushButton* reset_;
  QPushButton* continue_;
  QPushButton* cancel_;
  // True while the program itself writes the bound variable's box, so that
  // the change is not taken for the user's.
  bool SkipBoundVarChange = false;
};

}  // namespace qv
