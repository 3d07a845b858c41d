// The statement entry window "TestParser": the user types a premise, an
// axiom, or the term or formula a pending rule needs; Continue checks it
// against the pending rule (RuleMode) and, for the rules whose statement the
// window builds itself, adds that statement. The logic is free of Qt: the
// dialog forwards its buttons, keys and menus here.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document/state.h"
#include "entry/editor.h"
#include "platform/richbox.h"

namespace qv {

// The entry window's hand-off: its caption and the hint its message line
// shows at opening, set by whoever opens it, and the side on which Arb OR
// puts the new disjunct.
struct EntryWindowState {
  std::string EntryCaption;
  std::string EntryHint;
  bool ArbOrLeft = false;
};
inline EntryWindowState& EntryWindowOf(AppState& S) { return S.Windows.Get<EntryWindowState>(); }

// Starts a rule whose statement the user types in the entry window (Premise,
// Create Axiom): the view takes the focus, Mode is the pending rule with no
// citations and no new variable, the status line is cleared, and the window
// gets Caption and the hint on letters for bound variables.
void StartTypedStatement(AppState& S, int Mode, const std::string& Caption);

class TestParser {
 public:
  TestParser(AppState& S, RichBox& box);

  ExprEditor& Editor() { return editor_; }
  RichBox& Box() { return box_; }

  // The window's caption and its message line.
  std::string Caption = "Test Parser";
  std::string StatusLine = "Status Line";

  // Called when the window hides itself (Continue after a passed check,
  // Cancel, Esc). The dialog closes its modal loop there.
  std::function<void()> OnHide;

  // Each time the window is shown.
  void Activate();
  // The check of the typed text; adds the statement in the modes that build
  // their own. Never closes the window.
  void Parse();
  // Runs the check and hides the window when it passed.
  void Continue();
  // Abandons the entry: ParseErr "Cancelled", RuleMode 0, window hidden.
  void Cancel();
  // The close box: ParseErr "Cancelled"; RuleMode is left to the opener.
  void QueryUnload();
  // A key for the window (before the box sees it). Returns true when the
  // key was swallowed (Esc).
  bool FormKeyPress(char c);

  // Kept from the activation in U Spec mode.
  std::string SpecStmtText;
  std::vector<TokenRec> SpecStmtTokens;
  std::string SpecTokenText;

 private:
  void ParseChecked();
  void Fail(const std::string& message);  // beep, ParseErr and the message line
  void CommonEnd();
  void AddStatement(bool endRule);
  void MarkError(int32_t boxOffset);
  int Limit() const;
  bool OccursFree(int line, const std::string& v) const;
  bool InScope(int line, const std::string& v) const;
  std::string StmtText(int line) const;
  bool IsLogicalRoot() const;
  bool IsAlgebraicRoot() const;
  // Names of the Atom nodes of the current parse with at least one free occurrence.
  std::vector<std::string> FreeAtoms() const;
  // Finds an active line above the limit that holds the term: 1.. the line,
  // 0 none, -1 a statement met on the way does not parse.
  int SearchTerm(const std::string& t, bool atom, const std::string& atomName);
  // Finds an element-of line above the limit that begins with s; 0 none.
  int SearchElement(const std::string& s, bool parseTest);
  // The typed text of U Spec and Reflex must be a term that an active line
  // above the insertion point holds; false after a refusal.
  bool CheckTypedTerm(bool& atom, std::string& atomName, int& found);
  void CheckPremise();
  void CheckAxiom();
  void CheckUSpec();
  void CheckReflex();
  void CheckArbitrary();
  void Hide();

  AppState& S_;
  RichBox& box_;
  ExprEditor editor_;
};

}  // namespace qv
