// The induction window "InductionForm" and the Induction Shortcut command
// that opens it: the user names the variable x and types the property P(x);
// Continue builds the induction statement
//   P(1) & ALL(x):[x@n & P(x) => P(x+1)] => ALL(x):[x@n => P(x)]
// and puts it under the Induction rule. The logic is free of Qt.
#pragma once

#include <functional>
#include <string>

#include "axioms/subset.h"
#include "document/state.h"
#include "entry/editor.h"
#include "platform/richbox.h"

namespace qv {

// How the induction window writes the successor of its variable x:
// "(x+1)", "next(x)", or (any other value) x itself.
enum SuccessorForm { kSuccessorPlusOne = 1, kSuccessorNext = 3 };
struct InductionWindowState {
  int InductionKind = 0;
};
inline InductionWindowState& InductionWindowOf(AppState& S) {
  return S.Windows.Get<InductionWindowState>();
}

inline constexpr const char* kInductionForm = "InductionForm";

// The Induction Shortcut command (optAdd): n and 1 must be free in an axiom
// or premise above the insertion point; then the window is shown.
void optAdd_Click(AppState& S);

class InductionForm : public CriterionForm {
 public:
  InductionForm(AppState& S, RichBox& box);

  std::string Caption = " Induction Shortcut";
  std::string BoundVarTextBox;
  // Set while Continue paints an offending token; a change of the property
  // then leaves the message line alone.
  bool Highlighting = false;

  void Activate();
  // Keeps the property for Undo and empties both inputs.
  void Reset();
  void Cancel() override;
  void TextBoxChanged() {}

 private:
  bool ClearsStatusOnChange() const override { return !Highlighting; }
  void ContinueChecked() override;
};

}  // namespace qv
