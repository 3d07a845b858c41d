// The Qt windows of the subset-axiom and induction dialogs. Each only wires
// its controls to the Qt-free logic (subset.h, induction.h); objects carry
// the control names the program uses, so tests find them with findChild.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "axioms/induction.h"
#include "axioms/subset.h"
#include "entry/forms_qt.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QString;

namespace qv {

// A menu item carrying its control name.
QAction* DialogItem(QMenu* menu, const char* name, const QString& caption);

// The Notation menu of the two dialogs. The subset dialog hides the set
// operations and the summation and product items and inserts "~" for Not.
// The menu and the Ctrl+S / Ctrl+P keys insert the dialog's own templates.
void BuildDialogNotation(QMenuBar* bar, QtRichBox* box, ExprEditor& editor, bool subset,
                         std::function<void()> sync);

class SubsetDialog : public EditorDialog {
  Q_OBJECT
 public:
  SubsetDialog(AppState& S, QWidget* parent);
  ~SubsetDialog() override;
  void RunModal();
  SubsetForm& Logic() { return *logic_; }
  bool Unloaded() const { return unloaded_; }

 protected:
  void CloseBox() override {
    logic_->QueryUnload();
    unloaded_ = true;
  }
  void Escape() override { logic_->FormKeyPress(kKeyEsc); }

 private:
  void Refresh();
  AppState& S_;
  std::unique_ptr<SubsetForm> logic_;
  QLabel* label1_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* vars_ = nullptr;
  QLabel* status_ = nullptr;
  bool unloaded_ = false;
};

class InductionDialog : public EditorDialog {
  Q_OBJECT
 public:
  InductionDialog(AppState& S, QWidget* parent);
  ~InductionDialog() override;
  void RunModal();
  InductionForm& Logic() { return *logic_; }
  bool Unloaded() const { return unloaded_; }

 protected:
  void CloseBox() override { unloaded_ = true; }
  void Escape() override { logic_->FormKeyPress(kKeyEsc); }

 private:
  void Refresh();
  AppState& S_;
  std::unique_ptr<InductionForm> logic_;
  QLineEdit* var_ = nullptr;
  QLabel* status_ = nullptr;
  bool unloaded_ = false;
};

}  // namespace qv
