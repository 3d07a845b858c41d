// The axiom sets put as a whole, and the checks every axiom command shares.
#include <exception>
#include <string>
#include <vector>

#include "axioms/axioms.h"
#include "view/view.h"
#include "rules/frame.h"

namespace qv {

void RefuseCommand(AppState& S, const std::string& Message) {
  Beep(S);
  ShowStatus(S, Message);
}

bool AllTextsParse(AppState& S, const std::vector<std::string>& Texts) {
  for (const std::string& t : Texts) {
    S.Parser.ExprText = t;
    ParseExpr(S.Parser);
    if (!S.Parser.ParseErr.empty()) {
      PostParseError(S);
      return false;
    }
  }
  return true;
}

bool PutAxiomTexts(AppState& S, int Rule, const std::vector<std::string>& Texts) {
  if (!AllTextsParse(S, Texts)) return false;
  S.Doc.RuleMode = Rule;
  S.Doc.RuleArg1 = 0;
  S.Doc.RuleArg2 = 0;
  return PutStatements(S, Texts);
}

namespace {

struct ReservedName {
  const char* Name;
  const char* Message;
};

struct AxiomSet {
  const char* PremiseMessage;
  std::vector<ReservedName> Names;
  std::vector<std::string> Texts;
  bool FocusFirst;  // the proof view takes the focus before the set is put
};

// Inserts a whole axiom set: only above the first premise, and only when no
// line of the proof has introduced one of the set's reserved names.
void PutAxiomSet(AppState& S, const AxiomSet& set) {
  DocState& d = S.Doc;
  try {
    const int limit = InsertionLimit(d);
    for (int j = 1; j < limit && j <= d.StmtCount; ++j) {
      if (d.Stmts[j].Rule == kRulePremise) {
        RefuseCommand(S, set.PremiseMessage);
        return;
      }
    }
    // A reserved name must be new to the whole proof: no line may have
    // introduced it, as a free name or as an E Spec witness.
    for (int i = 1; i <= d.StmtCount; ++i) {
      for (const ReservedName& r : set.Names) {
        if (IntroducesName(d.Stmts[i], r.Name)) {
          RefuseCommand(S, r.Message + std::to_string(i));
          FocusView(S);
          return;
        }
      }
    }
    if (set.FocusFirst) FocusView(S);
    if (!PutAxiomTexts(S, kRuleAxiom, set.Texts)) {
      S.Doc.RuleMode = 0;
      return;
    }
    EndRule(S);
    FocusView(S);
  } catch (const std::exception&) {
    ShowUnable(S);
  }
}

}  // namespace

const std::vector<std::string>& NumberAxiomTexts() {
  static const std::vector<std::string> texts{
      "Set(n)",
      "1@n",
      "ALL(a):ALL(b):[a@n & b@n => a+b@n]",
      "ALL(a):[a@n => ~a+1=1]",
      "ALL(a):ALL(b):[a@n & b@n & a+1=b+1 => a=b]",
      "ALL(a):ALL(b):[a@n & b@n => a+(b+1)= a+b+1]",
      "ALL(a):[[Set(a) & 1@a & ALL(b):[b@n & b@a => b+1@a]] => ALL(b):[b@n => b@a]]"};
  return texts;
}

void optNumberAxioms_Click(AppState& S) {
  static const AxiomSet set{
      "Number Axioms: Premise found on previous line. Consider another insertion point for axiom.",
      {{"n", "Number Axioms: Variable 'n' was previously introduced on line "},
       {"1", "Number Axioms: '1' was previously introduced on line "}},
      NumberAxiomTexts(),
      true};
  PutAxiomSet(S, set);
}

void optGroupAxioms_Click(AppState& S) {
  static const AxiomSet set{
      "Group Axioms: Premise found on previous line. Consider another insertion point for axiom.",
      {{"g", "Group Axioms: Variable 'g' was previously introduced on line "},
       {"0", "Group Axioms: '0' was previously introduced on line "}},
      {"Set(g)",
       "0@g",
       "ALL(a):ALL(b):[a@g & b@g => a+b@g]",
       "ALL(a):ALL(b):ALL(c):[a@g & b@g & c@g => a+b+c=a+(b+c)]",
       "ALL(a):[a@g => 0+a=a & a+0=a]",
       "ALL(a):[a@g => _a@g]",
       "ALL(a):[a@g => a+_a=0 & _a+a=0]"},
      false};
  PutAxiomSet(S, set);
}

void optRingAxioms_Click(AppState& S) {
  static const AxiomSet set{
      "Ring Axioms: Premise found on previous line. Consider another insertion point for axiom.",
      {{"r", "Ring Axioms: Variable 'r' was previously introduced on line "},
       {"0", "Ring Axioms: '0' was previously introduced on line "},
       {"1", "Ring Axioms: '1' was previously introduced on line "}},
      {"Set(r)",
       "0@r",
       "ALL(a):ALL(b):[a@r & b@r => a+b@r]",
       "ALL(a):ALL(b):ALL(c):[a@r & b@r & c@r => a+b+c=a+(b+c)]",
       "ALL(a):[a@r => a+0=a & 0+a=a]",
       "ALL(a):[a@r => _a@r]",
       "ALL(a):[a@r => a+_a=0 & _a+a=0]",
       "ALL(a):ALL(b):[a@r & b@r => a+b=b+a]",
       "1 @ r",
       "ALL(a):ALL(b):[a@r & b@r => a*b@r]",
       "ALL(a):ALL(b):ALL(c):[a@r & b@r & c@r => a*b*c=a*(b*c)]",
       "ALL(a):[a@ r => a*1=a & 1*a=a]",
       "ALL(a):ALL(b):ALL(c):[a@r & b@r & c@r => a*(b+c)=a*b+a*c & (b+c)*a=b*a+c*a]"},
      false};
  PutAxiomSet(S, set);
}

}  // namespace qv
