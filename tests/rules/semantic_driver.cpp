#include "semantic_driver.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "axioms/axioms.h"
#include "axioms/induction.h"
#include "axioms/subset.h"
#include "axioms/install.h"
#include "view/view.h"
#include "entry/testparser.h"
#include "mainwindow/dispatch.h"
#include "mainwindow/maincommands.h"
#include "mainwindow/rulecommands.h"
#include "mainwindow/viewcommands.h"
#include "rules/egen.h"
#include "rules/inputbox.h"
#include "rules/rules.h"
#include "rules/substitute.h"
#include "support/reopen.h"

namespace qv::sem {

namespace {

// The click rules and the commands that arm them, with how many clicks a
// rule takes.
struct Armed {
  const char* command;  // "" = arm the code directly (no command sets it)
  int code;
  int clicks;
};
const std::vector<Armed>& ClickRules() {
  static const std::vector<Armed> rules = {
      {"optJoin", kRuleJoin, 2},           {"optSplit", kRuleSplit, 1},
      {"optDNegRemove", kRuleRemDNeg, 1},  {"optImplies", kRuleImplyAnd, 1},
      {"optImliesOr", kRuleImplyOr, 1},    {"optIff", kRuleIffAnd, 1},
      {"optDeMorgan", kRuleDeMorgan, 1},   {"optDetachment", kRuleDetach, 2},
      {"optContrapositive", kRuleContra, 1}, {"optCases", kRuleCases, 3},
      {"optArbAntecedent", kRuleArbAnte, 1}, {"optArbConsequent", kRuleArbCons, 1},
      {"optArbOrRight", kRuleArbOr, 1},    {"optArbOrLeft", kRuleArbOr, 1},
      {"optQuantifierSwitch", kRuleQuant, 1}, {"optSpec", kRuleSpec, 1},
      {"optSpec", kRuleSpec, 1},           {"optSpec", kRuleSpec, 1},
      {"optEGen", kRuleEGen, 1},           {"optRename", kRuleRename, 1},
      {"optReorder", kRuleReorder, 1},     {"optCopyStatement", 52, 1},
      {"optSymmetry", kRuleSym, 1},        {"optSubstitution", kRuleSubstitute, 2},
      {"", kRuleImplies, 1},               {"", kRuleIff, 1},
      {"", kRuleOr, 1},                    {"optOrNot", kRuleOrNot, 0},
      {"optReflexivity", kRuleReflex, 0},
  };
  return rules;
}

// The names the number axioms and the definitions speak of.
const std::vector<std::string>& NumberNames() {
  static const std::vector<std::string> names = {"n", "1", "next"};
  return names;
}

// The commands of the Numbers menu that put axioms or definitions.
const std::vector<std::string>& NumberCommands() {
  static const std::vector<std::string> commands = {
      "optNumberAxioms",     "optGroupAxioms",          "optRingAxioms",
      "optAddProperties",    "optSubtraction",          "optMultiplicationProperties",
      "optDivision",         "optExponentPropeterties", "OptLessThan",
      "optGreateThan",       "optLessThanOrEqual",      "optGreaterThanOrEqual",
      "optSummationProperties", "optProductProperties"};
  return commands;
}

bool IsAxiomSetCommand(const std::string& logged) {
  return logged == "  optNumberAxioms" || logged == "  optGroupAxioms" || logged == "  optRingAxioms";
}

// The subset and induction windows as the user works them: Fill types the
// inputs, Continue is pressed, up to three times, then Cancel.
template <class Form, class FillFn>
void RunCriterionForm(Form& form, FillFn Fill) {
  bool open = true;
  form.OnHide = [&open] { open = false; };
  form.Activate();
  for (int tries = 0; tries < 3 && open; ++tries) {
    Fill();
    form.Continue();
  }
  if (open) form.Cancel();
}

// How an insert-mode Conclusion meets closed subproofs: its later lines are
// checked against the lines between the enclosing open premise and the
// premise it closes. 0: no closed subproof among those lines (or no later
// line, or no insert mode); 1: one; 2: the Conclusion of one leaves free a
// name that a later line uses as a name in scope.
int PastClosedSubproofs(const DocState& d) {
  const int t = InsertionLimit(d);
  if (!d.InsertMode || t > d.StmtCount) return 0;
  const int p = InnermostPremise(d, t - 1);
  if (p < 1 || d.Stmts[static_cast<size_t>(p)].Arg1 != 0) return 0;
  std::vector<std::string> laterNames;
  for (int w = ActiveFrom(d, t); w <= d.StmtCount; w = ActiveFrom(d, w + 1)) {
    const StmtRec& s = d.Stmts[static_cast<size_t>(w)];
    if (s.Rule == kRulePremise && s.Arg1 == 0) break;
    for (const std::string& x : VarListNames(s.FreeVars))
      if (InList(s.ScopedVars, x)) laterNames.push_back(x);
  }
  int level = 0;
  for (int y = ActiveUpFrom(d, p - 1); y >= 1; y = ActiveAbove(d, y)) {
    const StmtRec& s = d.Stmts[static_cast<size_t>(y)];
    if (s.Rule == kRulePremise && s.Arg1 == 0) break;
    if (s.Rule != kRuleConclusion) continue;
    level = 1;
    for (const std::string& x : laterNames)
      if (InList(s.FreeVars, x) && !InList(s.ScopedVars, x)) return 2;
  }
  return level;
}

bool IsOperatorChar(char c) {
  return c == '~' || c == '&' || c == '|' || c == '=' || c == '>' || c == '<' || c == 'A' ||
         c == 'E' || c == '@';
}

}  // namespace

Driver::Driver(uint64_t Seed, int Models) : rng_(Seed), checker_(Seed, Models), seed_(Seed) {
  S.Attach(&host_, &view_, &status_, &work_);
  RegisterRuleCommands(S, commands_);
  RegisterViewCommands(S, commands_);
  InstallAxiomCommands(S, commands_, nullptr);
  InstallScripts();
  NewProof();
}

void Driver::NewProof() {
  S = AppState{};
  S.Attach(&host_, &view_, &status_, &work_);
  view_.SetText("");
  log_.clear();
  ++proofs;
}

void Driver::Record(const std::string& what) { log_.push_back(what); }

std::string Driver::Counts() const {
  std::ostringstream o;
  for (const auto& [name, n] : applied) o << "  " << name << ": " << n << "\n";
  return o.str();
}

// ---- names and formulas ----

std::vector<std::string> Driver::NamesInProof() const {
  std::set<std::string> names;
  for (int k = 1; k <= S.Doc.StmtCount; ++k)
    for (const std::string& v : VarListNames(S.Doc.Stmts[static_cast<size_t>(k)].FreeVars)) names.insert(v);
  return {names.begin(), names.end()};
}

std::vector<std::string> Driver::Witnesses() const {
  std::vector<std::string> w;
  for (int k = 1; k <= S.Doc.StmtCount; ++k) {
    const StmtRec& s = S.Doc.Stmts[static_cast<size_t>(k)];
    if (s.Rule == kRuleESpec && !s.NewVar.empty()) w.push_back(s.NewVar);
  }
  return w;
}

std::string Driver::FreeName() {
  // Mostly a few shared names, so lines meet; now and then a witness or a
  // name already used, or one the formula may also bind.
  const std::vector<std::string> w = Witnesses();
  if (!w.empty() && Chance(25)) return Pick(w);
  static const std::vector<std::string> pool = {"x", "y", "z", "r", "s", "u"};
  if (Chance(4)) return "a";
  if (Chance(8)) return Pick(NumberNames());
  return pool[static_cast<size_t>(R(Chance(70) ? 3 : 6))];
}

std::string Driver::BoundName() {
  static const std::vector<std::string> pool = {"a", "b", "c", "d"};
  if (Chance(5)) return FreeName();
  return pool[static_cast<size_t>(R(4))];
}

std::string Driver::Term(int depth) {
  const int k = R(depth > 0 ? 10 : 8);
  if (k < 6) return FreeName();
  if (k == 6) return Chance(50) ? "0" : "1";
  if (k == 7) return "f(" + FreeName() + ")";
  if (k == 8) return "g(" + Term(depth - 1) + "," + Term(depth - 1) + ")";
  return Term(depth - 1) + "+" + Term(depth - 1);
}

std::string Driver::Atomic(std::vector<std::string>& bound) {
  auto arg = [&]() {
    if (!bound.empty() && Chance(60)) return bound[static_cast<size_t>(R(static_cast<int>(bound.size())))];
    return Term(1);
  };
  switch (R(9)) {
    case 0: return "A";
    case 1: return "B";
    case 2:
    case 3: return "P(" + arg() + ")";
    case 4: return "Q(" + arg() + ")";
    case 5: return "R(" + arg() + "," + arg() + ")";
    case 6: return arg() + "=" + arg();
    case 7: return arg() + "@" + arg();
    default: return "P(" + arg() + ")";
  }
}

std::string Driver::Formula(int depth, std::vector<std::string>& bound) {
  if (depth <= 0 || Chance(25)) return Atomic(bound);
  auto sub = [&]() { return "[" + Formula(depth - 1, bound) + "]"; };
  switch (R(9)) {
    case 0: return "~" + sub();
    case 1: return sub() + " & " + sub();
    case 2: return sub() + " | " + sub();
    case 3: return sub() + " => " + sub();
    case 4: return sub() + " <=> " + sub();
    case 5: return "~~" + sub();
    default: {
      const std::string v = BoundName();
      bound.push_back(v);
      std::string body = Formula(depth - 1, bound);
      bound.pop_back();
      return std::string(Chance(50) ? "ALL(" : "EXIST(") + v + "):[" + body + "]";
    }
  }
}

std::string Driver::Hypothesis() {
  std::vector<std::string> bound;
  // Often a statement about a line already there, so Detach and Cases find
  // their second line: the line itself, an implication from it, or the
  // implications and conjunctions those rules take.
  if (S.Doc.StmtCount > 0 && Chance(30)) {
    const std::string f =
        WithoutTabs(StmtFormula(S.Doc, 1 + R(S.Doc.StmtCount)));
    std::string line;
    for (char c : f)
      if (c != '\r' && c != '\n') line += c;
    ParseResult r = ParseText(line);
    const int root = static_cast<int>(r.Nodes.size()) - 1;
    if (r.Err.empty() && root >= 1) {
      const int kind = r.Nodes[static_cast<size_t>(root)].Rule;
      const std::string other = Formula(1, bound);
      if (kind == kLOr && Chance(60)) {
        // [P1 => Q] & [P2 => Q] from P1 | P2, taken apart at the top "|".
        int depth = 0;
        for (size_t i = 0; i < line.size(); ++i) {
          const char c = line[i];
          if (c == '[' || c == '(') ++depth;
          if (c == ']' || c == ')') --depth;
          if (c == '|' && depth == 0)
            return "[[" + line.substr(0, i) + "] => [" + other + "]] & [[" + line.substr(i + 1) +
                   "] => [" + other + "]]";
        }
      }
      if (Chance(50)) return "[" + line + "] => [" + other + "]";
      return line;
    }
  }
  // Shapes the rules can work on, then anything.
  switch (R(13)) {
    case 10: return "Set(" + FreeName() + ")" + (Chance(50) ? " & 1@" + FreeName() : "");
    case 11: return Chance(50) ? "EXIST(f):ALL(a):~a+1=f(a)" : "ALL(a):[a@n => ~a+1=next(a)]";
    case 12: return Chance(50) ? "1@n" : Pick(NumberNames()) + "@" + (Chance(70) ? "n" : FreeName());
    case 0:
    case 1: {
      const std::string v = BoundName();
      bound.push_back(v);
      return "EXIST(" + v + "):[" + Formula(1, bound) + "]";
    }
    case 2: {
      const std::string v = BoundName();
      bound.push_back(v);
      return "ALL(" + v + "):[" + Formula(1, bound) + "]";
    }
    case 3: return "[" + Formula(1, bound) + "] => [" + Formula(1, bound) + "]";
    case 4: return "[" + Formula(1, bound) + "] & [" + Formula(1, bound) + "]";
    case 5: return "[" + Formula(1, bound) + "] | [" + Formula(1, bound) + "]";
    case 6: return Term(1) + "=" + Term(1);
    default: return Formula(2, bound);
  }
}

std::string Driver::EntryText(int mode) {
  std::vector<std::string> bound;
  switch (mode) {
    case kRuleAxiom:
      // An axiom about a witness is a road a careless user takes.
      if (!Witnesses().empty() && Chance(30)) return "~P(" + Pick(Witnesses()) + ")";
      return Hypothesis();
    case kRulePremise: return Hypothesis();
    case kRuleUSpec:
    case kRuleReflex: {
      if (Chance(10)) return BoundName();  // a capture attempt
      std::vector<std::string> names = NamesInProof();
      if (!names.empty() && Chance(60)) return Pick(names);
      return Term(1);
    }
    default: return Formula(1, bound);  // Arb rules, Or Not
  }
}

std::string Driver::InputText(int mode, const std::string& prefilled) {
  switch (mode) {
    case kRuleESpec: {
      const int k = R(10);
      if (k < 4) return FreeName();
      if (k < 6) {
        std::vector<std::string> names = NamesInProof();
        if (!names.empty()) return Pick(names);
      }
      if (k == 6) return BoundName();
      if (k == 7) return Chance(50) ? "1" : "x y";
      if (Chance(30)) return Pick(NumberNames());
      static const std::vector<std::string> fresh = {"k", "m", "p", "q", "t", "v", "w"};
      return Pick(fresh);
    }
    case kRuleConclusion:
    case kRuleRename:
    case kRuleReorder: {
      if (Chance(70)) return prefilled;
      // Swap, repeat or replace names of the list.
      std::vector<std::string> parts;
      std::string cur;
      for (char c : prefilled) {
        if (c == ',') {
          parts.push_back(cur);
          cur.clear();
        } else if (c != ' ') {
          cur += c;
        }
      }
      parts.push_back(cur);
      if (parts.size() > 1 && Chance(40)) std::swap(parts[0], parts[1]);
      else parts[static_cast<size_t>(R(static_cast<int>(parts.size())))] = Chance(50) ? BoundName() : FreeName();
      std::string out;
      for (size_t i = 0; i < parts.size(); ++i) out += (i ? ", " : "") + parts[i];
      return out;
    }
    default: return std::to_string(1 + R(2));  // orders of the schemata
  }
}

// ---- the dialogs ----

void Driver::InstallScripts() {
  host_.OnModal("TestParser", [this] {
    TestParser entry(S, entryBox_);
    bool open = true;
    entry.OnHide = [&open] { open = false; };
    entry.Activate();
    for (int tries = 0; tries < 3 && open; ++tries) {
      std::string text;
      if (!typed_.empty()) {
        text = typed_.front();
        typed_.pop_front();
      } else {
        text = EntryText(S.Doc.RuleMode);
      }
      Record("    typed '" + text + "'");
      entryBox_.SetText(text);
      entry.Continue();
    }
    if (open) entry.Cancel();
  });
  host_.OnModal(kInputBoxForm, [this] {
    MyInputBox_Activate(S);
    const std::string prefilled = InputBoxOf(S).Text1;
    for (int tries = 0; tries < 3; ++tries) {
      InputBoxOf(S).Text1 = InputText(S.Doc.RuleMode, prefilled);
      Record("    input box '" + InputBoxOf(S).Text1 + "'");
      if (MyInputBox_Continue(S).Hide) return;
    }
    MyInputBox_Cancel(S);
  });
  host_.OnModal(kGeneralizeForm, [this] {
    Generalize g(S, dialogBox_);
    bool open = true;
    g.OnHide = [&open] { open = false; };
    g.Form_Activate();
    for (int tries = 0; tries < 2 && open; ++tries) {
      g.BoundVarText = BoundName();
      Record("    generalize as '" + g.BoundVarText + "'");
      g.BoundVarTextBox_Change();
      if (Chance(40)) {
        g.cmdSelectAll_Click();
      } else {
        for (int c = 1 + R(3); c > 0 && dialogBox_.TextLength() > 0; --c) {
          dialogBox_.SetSelStart(R(dialogBox_.TextLength()));
          dialogBox_.SetSelLength(0);
          g.RTB_Click();
        }
      }
      if (Chance(10)) g.cmdReset_Click();
      g.cmdContinue_Click();
    }
    if (open) g.cmdCancel_Click();
  });
  host_.OnModal(kSubstitutionForm, [this] {
    Substitution_Activate(S, dialogBox_);
    if (Chance(50)) {
      Substitution_SelectAll(S, dialogBox_);
    } else {
      for (int c = 1 + R(3); c > 0 && dialogBox_.TextLength() > 0; --c) {
        dialogBox_.SetSelStart(R(dialogBox_.TextLength()));
        dialogBox_.SetSelLength(0);
        Substitution_Click(S, dialogBox_);
      }
    }
    if (!Substitution_Continue(S, dialogBox_)) Substitution_Cancel(S);
  });
  host_.OnModal("Warning", [this] { S.Ui.DialogCancelled = Chance(30); });
  host_.OnModal("Comment", [] {});
  host_.OnModal(kSubsetForm, [this] {
    SubsetForm form(S, dialogBox_);
    RunCriterionForm(form, [&] {
      // The new set named after a witness, a name in use or a fresh one;
      // the criterion about anything, witnesses included.
      static const std::vector<std::string> fresh = {"s", "t", "k", "m"};
      form.SubsetName = Chance(40) ? FreeName() : Pick(fresh);
      std::vector<std::string> bound;
      std::string vars;
      for (int i = 0; i <= SubsetWindowOf(S).SubsetArity; ++i) {
        bound.push_back(BoundName());
        vars += (i ? "," : "") + bound.back();
      }
      form.BoundVars = vars;
      const std::string criterion = Formula(1, bound);
      dialogBox_.SetText(criterion);
      Record("    subset '" + form.SubsetName + "' of '" + vars + "' with '" + criterion + "'");
    });
  });
  host_.OnModal(kInductionForm, [this] {
    InductionForm form(S, dialogBox_);
    RunCriterionForm(form, [&] {
      std::vector<std::string> bound;
      form.BoundVarTextBox = Chance(70) ? BoundName() : FreeName();
      bound.push_back(form.BoundVarTextBox);
      const std::string property = Formula(1, bound);
      dialogBox_.SetText(property);
      Record("    induction on '" + form.BoundVarTextBox + "' of '" + property + "'");
    });
  });
}

// ---- the hand ----

int Driver::ChooseActiveLine() {
  // A line above the insertion point that no closed subproof holds.
  const int limit = S.Doc.InsertMode && S.Doc.InsertLine > 0 ? S.Doc.InsertLine : S.Doc.StmtCount + 1;
  std::vector<int> lines;
  for (int k = 1; k < limit && k <= S.Doc.StmtCount; ++k) {
    bool hidden = false;
    for (int p = 1; p <= k; ++p) {
      const StmtRec& s = S.Doc.Stmts[static_cast<size_t>(p)];
      if (s.Rule == kRulePremise && s.Arg1 > p && k < s.Arg1 && limit > s.Arg1) hidden = true;
    }
    if (!hidden) lines.push_back(k);
  }
  if (lines.empty()) return S.Doc.StmtCount > 0 ? 1 + R(S.Doc.StmtCount) : 0;
  return Pick(lines);
}

int Driver::ChooseLine() {
  if (S.Doc.StmtCount == 0) return 0;
  if (Chance(80)) return ChooseActiveLine();
  return 1 + R(S.Doc.StmtCount);  // inside a closed subproof, below the insert line...
}

void Driver::ClickLine(int line, bool preferOperator) {
  if (line < 1 || line > S.Doc.StmtCount) return;
  const StmtRec& s = S.Doc.Stmts[static_cast<size_t>(line)];
  if (!s.Visible) return;
  const std::string f = S.Doc.ProofText.substr(static_cast<size_t>(s.StartStmt - 1),
                                               static_cast<size_t>(s.EndStmt - s.StartStmt + 1));
  std::vector<int> at;
  for (int i = 0; i < static_cast<int>(f.size()); ++i)
    if (f[static_cast<size_t>(i)] != ' ' && f[static_cast<size_t>(i)] != '\t' &&
        (!preferOperator || IsOperatorChar(f[static_cast<size_t>(i)])))
      at.push_back(i);
  int off = at.empty() || Chance(30) ? 0 : Pick(at);
  if (Chance(3)) off = -(s.StartStmt - s.StartLine);  // on the line number
  view_.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1 + off);
  view_.SetSelLength(0);
  Record("    click line " + std::to_string(line) + " at " + std::to_string(off) +
         (off >= 0 && off < static_cast<int>(f.size()) ? std::string(" '") + f[static_cast<size_t>(off)] + "'" : ""));
  RTB_Click(S);
}

void Driver::SelectIn(int line) {
  if (line < 1 || line > S.Doc.StmtCount) return;
  const StmtRec& s = S.Doc.Stmts[static_cast<size_t>(line)];
  if (!s.Visible) return;
  const std::string f = S.Doc.ProofText.substr(static_cast<size_t>(s.StartStmt - 1),
                                               static_cast<size_t>(s.EndStmt - s.StartStmt + 1));
  // A name, or a bracketed group with the name before it.
  std::vector<std::pair<int, int>> spans;
  for (int i = 0; i < static_cast<int>(f.size()); ++i) {
    const char c = f[static_cast<size_t>(i)];
    if (std::islower(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c))) {
      int j = i;
      while (j < static_cast<int>(f.size()) && std::isalnum(static_cast<unsigned char>(f[static_cast<size_t>(j)]))) ++j;
      int end = j;
      if (end < static_cast<int>(f.size()) && f[static_cast<size_t>(end)] == '(') {
        int depth = 0;
        for (; end < static_cast<int>(f.size()); ++end) {
          if (f[static_cast<size_t>(end)] == '(') ++depth;
          if (f[static_cast<size_t>(end)] == ')' && --depth == 0) {
            ++end;
            break;
          }
        }
      }
      spans.emplace_back(i, end - i);
      i = j - 1;
    }
  }
  if (spans.empty()) return ClickLine(line, false);
  const auto [start, len] = Pick(spans);
  view_.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1 + start);
  view_.SetSelLength(len);
  Record("    select line " + std::to_string(line) + " '" + f.substr(static_cast<size_t>(start), static_cast<size_t>(len)) + "'");
  RTB_Click(S);
}

void Driver::Arm(const std::string& command) {
  Record("  " + command);
  commands_.Run(command);
}

void Driver::Conclude() {
  insertConclusion_ = S.Doc.InsertMode && S.Doc.InsertLine > 0 ? PastClosedSubproofs(S.Doc) : -1;
  Arm("optConclusion");
}

void Driver::EndPendingRule() {
  // The user turns to another command: the pending rule is dropped.
  S.Doc.RuleMode = 0;
  MainWindowOf(S).FirstClickPending = false;
  ClearStatus(S);
}

void Driver::RunClicks(int clicks) {
  // A two-click rule often needs a line just made for it (see Hypothesis):
  // one of its clicks then goes to one of the last lines.
  const int recentAt = clicks > 1 && Chance(70) ? R(2) : -1;
  for (int c = 0; c < clicks && S.Doc.RuleMode != 0; ++c) {
    int line = ChooseLine();
    if (c == recentAt) {
      const int limit = S.Doc.InsertMode && S.Doc.InsertLine > 0 ? S.Doc.InsertLine : S.Doc.StmtCount + 1;
      line = std::max(1, limit - 1 - R(3));
    }
    if (S.Doc.RuleMode == kRuleSpec && Chance(70)) {
      // Spec wants a quantified statement: most often the user finds one.
      std::vector<int> quantified;
      for (int j = 1; j <= S.Doc.StmtCount; ++j) {
        const StmtRec& s = S.Doc.Stmts[static_cast<size_t>(j)];
        const std::string head = S.Doc.ProofText.substr(static_cast<size_t>(s.StartStmt - 1), 3);
        if (head == "EXI" || head == "ALL") quantified.push_back(j);
      }
      if (!quantified.empty()) line = Pick(quantified);
    }
    if (S.Doc.RuleMode == kRuleSubset && Chance(80)) {
      std::vector<int> sets;
      for (int j = 1; j <= S.Doc.StmtCount; ++j) {
        const StmtRec& s = S.Doc.Stmts[static_cast<size_t>(j)];
        if (S.Doc.ProofText.compare(static_cast<size_t>(s.StartStmt - 1), 3, "Set") == 0) sets.push_back(j);
      }
      if (!sets.empty()) line = Pick(sets);
    }
    if (S.Doc.RuleMode == kRuleEGen && Chance(50)) SelectIn(line);
    else ClickLine(line, Chance(60));
  }
  if (S.Doc.RuleMode != 0) EndPendingRule();
}

// ---- actions ----

void Driver::Act() {
  DocState& d = S.Doc;
  const int k = R(100);
  if (d.StmtCount >= maxLines || (d.StmtCount > 4 && Chance(2))) {
    NewProof();
    return;
  }
  if (d.StmtCount == 0 && Chance(10)) {
    // A premise that brings in a name, a closed subproof inside it that
    // uses the name, a premise after that and a copy of the first line: an
    // insert-mode Conclusion among the lines that follow looks past that
    // closed subproof for the names they use.
    static const std::vector<std::string> names = {"x", "y", "z"};
    const std::string x = Pick(names);
    typed_ = {"P(" + x + ")", "Q(" + x + ")", Chance(50) ? "A" : "R(" + x + ",u)"};
    Arm("optPremise");
    Arm("optPremise");
    Conclude();
    Arm("optPremise");
    typed_.clear();
    // A line under the last premise that uses the name as one in scope.
    Arm("optCopyStatement");
    ClickLine(1, false);
    if (d.RuleMode != 0) EndPendingRule();
  } else if (d.StmtCount == 0 && Chance(15)) {
    Arm("optNumberAxioms");
  } else if (k < 12 || d.StmtCount == 0) {
    Arm(Chance(50) ? "optAxiom" : "optPremise");
  } else if (k < 17) {
    Arm("optPremise");
  } else if (k < 22) {
    static const std::vector<std::string> sets = {"optSetOps", "optPairwiseUnion", "optChoice",
                                                  "optSetEquality", "optPowerSet", "optNtupleEQ"};
    Arm(Pick(sets));
  } else if (k < 32) {
    Conclude();
  } else if (k < 71) {
    const Armed& r = Pick(ClickRules());
    if (*r.command) {
      Arm(r.command);
    } else {
      Record("  arm " + std::to_string(r.code));
      d.RuleMode = r.code;
    }
    // A refused click leaves the rule armed: the user clicks again.
    RunClicks(r.clicks + (r.clicks > 1 ? R(3) : Chance(20) ? 1 : 0));
  } else if (k < 78) {
    // The Numbers menu, the Induction Shortcut and the Subset window.
    const int what = R(100);
    if (what < 60) {
      // Addition most often: its text names next, which a witness may be.
      Arm(Chance(30) ? "optAddProperties" : Pick(NumberCommands()));
    } else if (what < 75) {
      Record("  optAdd");
      optAdd_Click(S);
    } else {
      Arm("optSubset");
      RunClicks(1 + (Chance(20) ? 1 : 0));
    }
  } else if (k < 86) {
    // Insert mode, often just above an E Spec line.
    if (d.InsertMode && Chance(50)) {
      Arm("optInsert");  // off
      return;
    }
    if (d.InsertMode) Arm("optInsert");
    Arm("optInsert");
    std::vector<int> especs;
    for (int j = 1; j <= d.StmtCount; ++j)
      if (d.Stmts[static_cast<size_t>(j)].Rule == kRuleESpec) especs.push_back(j);
    int line = !especs.empty() && Chance(50) ? Pick(especs) : ChooseLine();
    // Now and then a line of the innermost open subproof past its first
    // line, and that subproof's Conclusion put in before it.
    const int open = InnermostPremise(d, d.StmtCount);
    const bool inside = open > 0 && d.Stmts[static_cast<size_t>(open)].Arg1 == 0 &&
                        open + 2 <= d.StmtCount && Chance(25);
    if (inside) line = open + 2 + R(d.StmtCount - open - 1);
    ClickLine(line, false);
    if (d.RuleMode != 0) EndPendingRule();
    if (inside && d.InsertMode) {
      Conclude();
      return;
    }
    if (d.InsertMode && Chance(60)) {
      Arm(Chance(70) ? "optPremise" : "optAxiom");
      // The subproof just opened above later lines is closed at once.
      if (d.InsertMode && Chance(40)) {
        Arm("optInsert");  // off
        Arm("optConclusion");
      }
    }
  } else if (k < 90) {
    Record(Chance(50) ? "  DeleteAllRef" : "  DelAllSubsequent");
    if (log_.back() == "  DeleteAllRef") DeleteAllRef_Click(S);
    else DelAllSubsequent_Click(S);
    ClickLine(ChooseLine(), false);
    if (d.RuleMode != 0) EndPendingRule();
  } else if (k < 92) {
    // Hide or show a subproof by its Conclusion's rule text, or show all.
    std::vector<int> conclusions;
    for (int j = 1; j <= d.StmtCount; ++j) {
      const StmtRec& s = d.Stmts[static_cast<size_t>(j)];
      if (s.Rule == kRuleConclusion && s.Visible) conclusions.push_back(j);
    }
    if (conclusions.empty() || Chance(30)) {
      Arm("optShowAllStmts");
      return;
    }
    const StmtRec& s = d.Stmts[static_cast<size_t>(Pick(conclusions))];
    Record("  toggle the subproof of the Conclusion at " + std::to_string(s.StartRule));
    d.RuleMode = 0;
    view_.SetSelStart(s.StartRule - s.StartLine + s.ViewerStartLine - 1 + R(3));
    view_.SetSelLength(0);
    RTB_Click(S);
  } else if (k < 95) {
    Record("  Undo");
    optUndo_Click(S);
  } else {
    Record("  Redo");
    optRedo_Click(S);
  }
}

bool Driver::CheckNow(const std::string& after) {
  std::string inv = CheckDocInvariants(S.Doc);
  if (inv.empty()) {
    const std::string refused = ReopenRefusal(S.Doc);
    if (!refused.empty()) inv = "its proof file does not open again: " + refused;
  }
  std::vector<LineFault> faults;
  if (inv.empty()) faults = checker_.Check(S.Doc);
  if (inv.empty() && faults.empty()) return true;
  std::ostringstream o;
  o << "seed " << seed_ << ", action " << actions << " (" << after << ")\n";
  if (!inv.empty()) o << "broken invariant: " << inv << "\n";
  for (const LineFault& f : faults)
    o << "UNSOUND line " << f.line << " (" << f.reading << "):\n" << f.detail << "\n";
  o << "actions of this proof:\n";
  for (const std::string& a : log_) o << a << "\n";
  o << DescribeProof(S.Doc);
  failure_ = o.str();
  return false;
}

bool Driver::Step() {
  if (!failure_.empty()) return false;
  ++actions;
  std::map<int, int> before;
  for (int k = 1; k <= S.Doc.StmtCount; ++k) ++before[S.Doc.Stmts[static_cast<size_t>(k)].Rule];
  const size_t logAt = log_.size();
  insertConclusion_ = -1;
  Act();
  const bool counted = log_.size() > logAt && log_[logAt] != "  Undo" && log_[logAt] != "  Redo" &&
                       log_[logAt].rfind("  Del", 0) != 0;
  std::map<int, int> after;
  for (int k = 1; k <= S.Doc.StmtCount; ++k) ++after[S.Doc.Stmts[static_cast<size_t>(k)].Rule];
  if (counted) {
    for (const auto& [rule, n] : after) {
      const int added = n - before[rule];
      if (added <= 0) continue;
      std::string name = rule >= 0 && rule <= 54 ? RuleNames[static_cast<size_t>(rule)] : "?";
      if (rule == kRuleAxiom && IsAxiomSetCommand(log_[logAt])) name = "Axiom (of an axiom set)";
      if (rule == kRuleConclusion && insertConclusion_ >= 0)
        name = insertConclusion_ == 2   ? "Conclusion (insert mode, past a Conclusion naming a later line's variable)"
               : insertConclusion_ == 1 ? "Conclusion (insert mode, past a closed subproof)"
                                        : "Conclusion (insert mode)";
      applied[name] += added;
      applications += added;
    }
  }
  return CheckNow(log_.size() > logAt ? log_[logAt] : "new proof");
}

}  // namespace qv::sem
