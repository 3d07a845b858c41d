// Existential generalisation: from a statement P(t) the window "Generalize"
// builds EXIST(v):[P(v)], v standing for the occurrences of the term t that
// the user picks (one by one, or all). ExistGenSelect (rules.h) takes the
// clicked or selected term and opens the window; the logic here is free of
// Qt, the dialog only forwards its buttons and clicks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document/state.h"
#include "platform/richbox.h"

namespace qv {

// E Gen: the chosen term's text and its parse nodes (root last), and the
// caption of the generalize window, set before the window opens.
struct EGenState {
  std::string EGenTerm;
  std::vector<NodeRec> EGenTermNodes{NodeRec{}};
  std::string GeneralizeCaption;
};
inline EGenState& EGenOf(AppState& S) { return S.Windows.Get<EGenState>(); }

inline constexpr const char* kGeneralizeForm = "Generalize";

inline constexpr Rgb kEGenMarked = RgbOf(0, 0, 255);
inline constexpr Rgb kEGenClicked = RgbOf(160, 0, 255);
inline constexpr Rgb kEGenAllReplaced = RgbOf(200, 0, 255);

// Where one occurrence of the term stands in a parsed text (1-based,
// inclusive).
struct TermSpan {
  int Start = 0;
  int End = 0;
};

// The occurrences of Term in Text (parsed as Toks, Nodes), right to left: every
// bracket group whose node is of kind RootKind and whose text is the term up
// to renaming of bound variables; the inside of an occurrence is not searched.
// Overwrites the parser's tables (SameStmt).
std::vector<TermSpan> TermOccurrences(ParserState& P, const std::string& Text,
                                      const std::vector<TokenRec>& Toks,
                                      const std::vector<NodeRec>& Nodes, const std::string& Term,
                                      int RootKind);

// True when EXIST(Var):[Result] follows from Stmt by generalising Term:
// Result parses, Var is bound nowhere in it, and putting Term in place of
// every Var of Result gives Stmt node for node; no name of Term may be bound
// in Stmt, so no quantifier of Result captures it. Overwrites the parser's
// tables.
bool IsGeneralisation(ParserState& P, const std::string& Stmt, const std::string& Term,
                      const std::string& Var, const std::string& Result);

class Generalize {
 public:
  // Rtb shows the statement; the bound variable's box is BoundVarText.
  Generalize(AppState& S, RichBox& Rtb);

  // What the window shows besides the statement.
  std::string BoundVarText;
  std::string StatusLine;
  bool BoundVarTextBoxEnabled = true;
  bool BoundVarLabelEnabled = true;
  bool StatementTextLabelEnabled = false;
  bool ContinueEnabled = false;
  bool ResetEnabled = false;
  bool SelectAllEnabled = false;
  enum class Focus { None, BoundVarBox, Statement };
  Focus FocusOn = Focus::None;
  // The bound variable once accepted, "" before.
  std::string BoundVar;

  // Called when the window hides itself (Continue that put the statement,
  // Cancel, Esc).
  std::function<void()> OnHide;

  // Each handler runs under a guard: an unexpected failure beeps and shows
  // "Unable to process request" in the window.
  void Form_Activate();
  // The user changed the bound variable's box (the program's own changes
  // are not reported here).
  void BoundVarTextBox_Change();
  void RTB_Click();
  void cmdSelectAll_Click();
  void cmdReset_Click();
  void cmdContinue_Click();
  void cmdCancel_Click();
  // Returns true when the key was swallowed (Esc).
  bool Form_KeyPress(char KeyAscii);
  void Form_QueryUnload();

 private:
  void Guarded(const std::function<void()>& Handler);
  void ActivateSteps();
  bool AcceptBoundVar();
  // The current text of the statement box, parsed and kept in the Saved
  // fields; false after a parse error has been shown.
  bool ParseBox();
  void ClickSteps();
  void SelectAllSteps();
  void ContinueSteps();
  void Hide();

  AppState& S_;
  RichBox& rtb_;
  std::string saveRtb_;   // the marked text as first shown, for Reset
  std::string stmtText_;  // the statement generalised
};

}  // namespace qv
