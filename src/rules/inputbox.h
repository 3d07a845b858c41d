// The input box "MyInputBox": a small modal dialog that asks for one line of
// text (a new variable, a list of bound variables, a quantifier prefix, the
// order of a schema). Its logic works on InputBoxOf(S) and the shared parse;
// the Qt dialog only shows those fields and calls these handlers.
#pragma once

#include <string>
#include <vector>

#include "document/state.h"

namespace qv {

// The input box: its caption, prompt (Label1), message line (Label2) and the
// text typed in its box (Text1), set by whoever opens it; the variable names
// handed to it (the Conclusion's generalised variables, the leading
// universal variables of Rename and Reorder; entries 1..Num*, element 0
// unused); the variable of the quantifier being specified or the SUM/PROD
// index (Spec); and the free variable chosen for U Gen.
struct InputBoxState {
  std::string Caption;
  std::string Label1;
  std::string Label2;
  std::string Text1;
  std::vector<std::string> BoundVarNames{std::string{}};
  int NumBoundVars = 0;
  std::vector<std::string> ExistVarNames{std::string{}};
  int NumExistVars = 0;
  std::string SpecVar;
  std::string UGenVar;
};
inline InputBoxState& InputBoxOf(AppState& S) { return S.Windows.Get<InputBoxState>(); }

inline constexpr const char* kInputBoxForm = "MyInputBox";

// What the dialog does after Continue.
struct InputBoxOutcome {
  bool Hide = false;       // the input was accepted; the dialog hides
  bool FocusText = false;  // a refusal puts the focus back on the text box
};

// The common refusal of Continue: a beep, Message under the text box, the
// dialog kept open with the focus on the text box (not for "Invalid variable
// name", which leaves the focus where it is).
InputBoxOutcome Refuse(AppState& S, const std::string& Message);

// On showing: the text box is emptied except in the modes that pre-fill it
// (Conclusion 7, Rename 46, Reorder 47).
void MyInputBox_Activate(AppState& S);
// Validates InputBoxOf(S).Text1 for the pending RuleMode and, for most modes,
// puts the new statement. A refusal leaves its message in Label2.
InputBoxOutcome MyInputBox_Continue(AppState& S);
// Cancel button and Esc.
void MyInputBox_Cancel(AppState& S);
// Closing the window from its frame.
void MyInputBox_QueryUnload(AppState& S);

// Shows the input box modally with what the opener left in InputBoxOf(S).
// Returns false when no input box is installed.
bool ShowInputBox(AppState& S);

// The branch of Continue for the schemata of order n (modes 25, 26, 27, 29,
// 48, 53, 54).
InputBoxOutcome SchemaContinue(AppState& S);

}  // namespace qv

namespace qv {
// The numeric value at the start of Text (leading blanks skipped, reading
// stops where a number cannot go on; 0 when there is none).
double LeadingNumber(const std::string& Text);
// The text of the schema of rule code Rule (25, 26, 27, 29, 48, 53, 54) for
// order n.
std::string SchemaText(int Rule, int n);
}  // namespace qv
