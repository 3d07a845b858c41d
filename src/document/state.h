// The program's shared state: the statement table, the proof text, the
// parser's tables, the pending rule and the undo snapshots. One AppState is
// owned by the application object; tests build fresh ones.
// Pure C++: no GUI headers here.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "expr/expr.h"

namespace qv {

class Host;
class RichBox;

inline constexpr int kMaxStmts = 32767;

// One statement. Positions are 1-based in ProofText.
struct StmtRec {
  int16_t Rule = 0;           // rule code 1..54
  int16_t Arg1 = 0;           // first cited line (Premise: its Conclusion; Conclusion: its Premise)
  int16_t Arg2 = 0;           // second cited line
  std::string NewVar;         // E Spec / U Spec: the variable or term introduced
  std::string FreeVars;       // " a b " list form, "" when empty
  std::string ScopedVars;     // free variables already in use above the innermost open premise
  std::string FlagVars;       // shown bold by the redraw
  bool Visible = true;
  int32_t StartLine = 0;      // first character of the block (comment or number)
  int32_t EndUserComment = 0; // last character of the comment, 0 = none
  int32_t StartStmt = 0;      // first character of the formula
  int32_t EndStmt = 0;        // last character of the formula
  int32_t StartRule = 0;      // first character of the rule text
  int32_t EndRule = 0;        // last character of the rule text
  int32_t ViewerStartLine = 0;// 1-based position of the block in the view
  bool DeleteFlag = false;
  int16_t NewLineNo = 0;
  bool Highlight = false;

  bool operator==(const StmtRec&) const = default;
};

// Rule codes with a meaning of their own in the program.
enum RuleCode : int16_t {
  kRulePremise = 1, kRuleSpec = 2, kRuleESpec = 3, kRuleUSpec = 4, kRuleEGen = 5, kRuleUGen = 6,
  kRuleConclusion = 7, kRuleDeleteAtSub = 9, kRuleQuant = 11, kRuleRemDNeg = 12, kRuleJoin = 14,
  kRuleSplit = 15, kRuleDetach = 16, kRuleIffAnd = 17, kRuleSubset = 18, kRuleImplyAnd = 19,
  kRuleContra = 20, kRuleDeMorgan = 21, kRuleArbOr = 22, kRuleArbAnte = 23, kRuleArbCons = 24,
  kRuleSubstitute = 28, kRuleReflex = 30, kRuleSym = 31, kRuleToggleHighlight = 32,
  kRuleInduction = 33, kRuleImplyOr = 34, kRuleCases = 36, kRuleOrNot = 37, kRuleSum = 42,
  kRuleProd = 43, kRuleSetInsertMode = 44, kRuleAxiom = 45, kRuleRename = 46, kRuleReorder = 47,
  kRuleDeleteAtRef = -1
};

extern const std::array<const char*, 55> RuleNames;  // element 0 = ""

// The proof document and the hand-over of a new statement to PutStmt.
struct DocState {
  std::string ProofText;
  std::vector<StmtRec> Stmts{StmtRec{}};  // 1..StmtCount; element 0 unused
  int StmtCount = 0;
  int32_t IntroLen = 0;
  bool InsertMode = false;
  int InsertLine = 0;
  int RuleMode = 0;
  int RuleArg1 = 0;
  int RuleArg2 = 0;
  std::string PendingNewVar;
};

// Full copy of the document for the one-level undo and redo.
struct UndoSnapshot {
  bool Valid = false;
  std::vector<StmtRec> Stmts{StmtRec{}};
  int StmtCount = 0;
  std::string ProofText;
  int InsertLine = 0;
};

// Everything else the windows share.
struct UiState {
  bool ProofChanged = false;
  bool DialogCancelled = false;
  int FontSize = 12;
  int SmallFontSize = 10;
  std::string AppPath;          // the program's folder (settings, help file)
  std::string SettingsPath;     // where the settings files are read and written
  std::string DefaultDir;
  std::string ProofFileName;    // "" while untitled
  std::string ProofCaption;
  // A parse held aside while a dialog is open.
  std::string SavedExprText;
  std::vector<TokenRec> SavedTokens{TokenRec{}};
  std::vector<NodeRec> SavedNodes{NodeRec{}};
  bool ArbOrLeft = false;
  bool EditingIntro = false;
  int CommentLine = 0;
  bool FirstClickPending = false;
  std::string UndoRTF;          // one-level edit undo text shared by the formula editors
  bool OpenAfterSave = false;
  bool OpenFromRecent = false;
  std::string PendingOpenFile;
  // Entry window (TestParser): its caption and the hint its message line
  // shows at opening, both set by whoever opens it.
  std::string EntryCaption;
  std::string EntryHint;
  // Caption of the comment editor, set by whoever opens it.
  std::string CommentCaption;
  // Message of the Warning box, set by whoever shows it.
  std::string WarningText;
  // Variable names handed to the input box: the Conclusion's generalised
  // variables, and the leading universal variables of Rename and Reorder.
  // Entries 1..Num*; element 0 unused.
  std::vector<std::string> BoundVarNames{std::string{}};
  int NumBoundVars = 0;
  std::vector<std::string> ExistVarNames{std::string{}};
  int NumExistVars = 0;
  std::string SpecVar;  // variable of the quantifier being specified, or the SUM/PROD index
  std::string UGenVar;  // free variable chosen for U Gen
  // The input box (MyInputBox): its caption, prompt (Label1), message line
  // (Label2) and the text typed in its box (Text1), set by whoever opens it.
  struct InputBoxState {
    std::string Caption;
    std::string Label1;
    std::string Label2;
    std::string Text1;
  } InputBox;
  // The main window's file dialog remembers the last name chosen (Open, Save
  // As, HTML export); Save As and the HTML export propose a name from it.
  std::string DialogFileName;
  // Double click in the proof view: the caret to restore when the mouse button
  // comes up (set by the double-click handler, used by the mouse-up handler).
  bool DblClickPending = false;
  int32_t SavedSelStart = 0;
  // Length of the selection that CopySel last put on the clipboard (0 until
  // the first copy).
  int32_t CopiedLength = 0;
  // The print window (PrintProof): the texts of its boxes for the first and
  // the last line to print. The Print command fills them before showing the
  // window; the window leaves what the user typed there.
  struct PrintProofState {
    std::string Text1;
    std::string Text2;
  } PrintProof;
  // The subset-axiom window, opened by the Subset rule: the number of primes
  // after "Set" in the clicked statement, the set between its parentheses,
  // and the window's caption and prompt.
  int SubsetArity = 0;
  std::string SubsetSetText;
  std::string SubsetCaption;
  std::string SubsetLabel1;
  // How the induction window writes the successor of its variable x:
  // 1 "(x+1)", 3 "next(x)", any other value x itself.
  int InductionKind = 0;
  // E Gen: the chosen term's text and its parse nodes (root last), and the
  // caption of the generalize window, set before the window opens.
  std::string EGenTerm;
  std::vector<NodeRec> EGenTermNodes{NodeRec{}};
  std::string GeneralizeCaption;
  // The Substitute rule: the sides of the clicked equation (the source to put
  // in, the target to replace), the equation's text and the target's parse,
  // kept from the clicks to the Substitution dialog; and that dialog's
  // caption, message line, button states and the highlighted statement as
  // first shown (a RichBox snapshot, for Reset).
  struct SubstitutionState {
    std::string SubstSource;
    std::string SubstTarget;
    std::string SubstEqStmt;
    std::vector<NodeRec> SubstTargetNodes;
    std::string Caption;
    std::string StatusLine;
    bool ContinueEnabled = false;
    bool ResetEnabled = false;
    bool SelectAllEnabled = true;
    std::string SaveRTB;
  } Subst;
};

// What the redraw keeps from one redraw to the next (redraw.cpp).
struct RedrawCache;

struct AppState {
  ParserState Parser;
  DocState Doc;
  UndoSnapshot Undo;
  UndoSnapshot Redo;
  UiState Ui;

  // Platform seams; never null in a running program. Tests point them at fakes.
  Host* host = nullptr;
  RichBox* View = nullptr;        // the proof view
  RichBox* StatusLine = nullptr;  // the main window's status line
  RichBox* WorkArea = nullptr;    // the hidden work-area box

  // The tokens of formulas drawn before, so a redraw tokenises only new ones.
  std::shared_ptr<RedrawCache> Redraw;

  // Points the state at the host and the three boxes the program draws into.
  void Attach(Host* h, RichBox* view, RichBox* status, RichBox* work) {
    host = h;
    View = view;
    StatusLine = status;
    WorkArea = work;
  }
};

}  // namespace qv
