// The program's shared state: the statement table, the proof text, the
// parser's tables, the pending rule and the undo snapshots. One AppState is
// owned by the application object; tests build fresh ones.
// Pure C++: no GUI headers here.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "expr/expr.h"

namespace qv {

class Host;
class RichBox;

inline constexpr int kMaxStmts = 32767;
// The longest caption: one line of the window title, and a text the proof
// file holds with a 2-byte length (a longer one would need the long form).
inline constexpr size_t kMaxCaption = 65534;

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
  kRuleConclusion = 7, kRuleDeleteAtSub = 9, kRuleQuant = 11, kRuleRemDNeg = 12, kRuleInsDNeg = 13, kRuleJoin = 14,
  kRuleSplit = 15, kRuleDetach = 16, kRuleIffAnd = 17, kRuleSubset = 18, kRuleImplyAnd = 19,
  kRuleContra = 20, kRuleDeMorgan = 21, kRuleArbOr = 22, kRuleArbAnte = 23, kRuleArbCons = 24,
  kRuleCartProd = 25, kRulePowerSet = 26, kRuleFunction = 27, kRuleSubstitute = 28,
  kRuleSetEquality = 29, kRuleReflex = 30, kRuleSym = 31, kRuleToggleHighlight = 32,
  kRuleInduction = 33, kRuleImplyOr = 34, kRuleDefinition = 35, kRuleCases = 36, kRuleOrNot = 37,
  kRuleImplies = 39, kRuleIff = 40, kRuleOr = 41, kRuleSum = 42,
  kRuleProd = 43, kRuleSetInsertMode = 44, kRuleAxiom = 45, kRuleRename = 46, kRuleReorder = 47,
  kRuleNtupleEquality = 48, kRuleCopy = 52, kRuleFnSpace = 53, kRuleFnEquality = 54,
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

// What the document and every command share with the windows.
struct UiState {
  bool ProofChanged = false;
  bool DialogCancelled = false;  // a form's answer: closed without accepting
  int FontSize = 12;
  int SmallFontSize = 10;
  std::string AppPath;          // the program's folder (settings, help file)
  std::string SettingsPath;     // where the settings files are read and written
  std::string DefaultDir;
  std::string ProofFileName;    // "" while untitled
  std::string ProofCaption;     // at most kMaxCaption characters
  // A parse held aside while a dialog is open.
  std::string SavedExprText;
  std::vector<TokenRec> SavedTokens{TokenRec{}};
  std::vector<NodeRec> SavedNodes{NodeRec{}};
  std::string UndoRTF;          // one-level edit undo text shared by the formula editors
};

// The state of single windows. Each is a struct of the library that owns
// the window (or of the lowest library that opens it), reached through that
// library's accessor, e.g. SubstOf(S); the document knows none of them. A
// state is made, value-initialised, on its first use, and copying an
// AppState copies every state made so far.
class WindowStates {
 public:
  WindowStates() = default;
  WindowStates(const WindowStates& o) { CopyFrom(o); }
  WindowStates& operator=(const WindowStates& o) {
    if (this != &o) {
      slots_.clear();
      CopyFrom(o);
    }
    return *this;
  }
  WindowStates(WindowStates&&) noexcept = default;
  WindowStates& operator=(WindowStates&&) noexcept = default;

  template <class T>
  T& Get() {
    std::unique_ptr<Held>& slot = slots_[std::type_index(typeid(T))];
    if (!slot) slot = std::make_unique<HeldOf<T>>();
    return static_cast<HeldOf<T>&>(*slot).Value;
  }

 private:
  struct Held {
    virtual ~Held() = default;
    virtual std::unique_ptr<Held> Clone() const = 0;
  };
  template <class T>
  struct HeldOf final : Held {
    T Value{};
    std::unique_ptr<Held> Clone() const override { return std::make_unique<HeldOf>(*this); }
  };
  void CopyFrom(const WindowStates& o) {
    for (const auto& [type, held] : o.slots_) slots_.emplace(type, held->Clone());
  }
  std::unordered_map<std::type_index, std::unique_ptr<Held>> slots_;
};

// What the redraw keeps from one redraw to the next (redraw.cpp).
struct RedrawCache;

struct AppState {
  ParserState Parser;
  DocState Doc;
  UndoSnapshot Undo;
  UndoSnapshot Redo;
  UiState Ui;
  WindowStates Windows;

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
