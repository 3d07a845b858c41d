// The definitions of the numbers (Addition, Multiplication and the rest) put as axioms.
#include <algorithm>
#include <cctype>
#include <exception>
#include <string>
#include <vector>

#include "axioms/axioms.h"
#include "expr/expr.h"
#include "rules/frame.h"
#include "view/view.h"

namespace qv {
namespace {

const std::string kCrLf = "\r\n";

struct Definition {
  bool PremisesOnly;  // only premises count as support (Addition)
  bool NeedsOne;      // 1 must be found besides n
  const char* Refusal;
  std::string Text;
};

// A definition is an axiom about the names free in its text (n, 1 and, for
// Addition, next): none of them may be a name that a line introduces, as an
// E Spec witness or as a name new to a subproof (a premise's), since the
// definition would then assert of that local name what its line does not
// give. The lines that count are the active lines above the insertion point
// and every line at or below it, which will rest on the definition; a closed
// subproof above keeps its names to itself. The refusal, "" when there is
// none, begins with the definition's own name, the first such line in proof
// order winning.
std::string IntroducedName(const DocState& d, const Definition& def) {
  const ParseResult parsed = ParseText(def.Text);
  const std::vector<std::string> names = VarListNames(
      RecordVarLists(parsed.Tokens, parsed.Nodes, [](const std::string&) { return false; }).Free);
  const std::string refusal = def.Refusal;
  const std::string head = refusal.substr(0, refusal.find(':'));
  const int limit = InsertionLimit(d);
  std::vector<int> lines;  // the lines in sight of the insertion point, then those below it
  for (int j = ActiveUpFrom(d, limit - 1); j >= 1; j = ActiveAbove(d, j)) lines.push_back(j);
  std::reverse(lines.begin(), lines.end());
  for (int j = limit; j <= d.StmtCount; ++j) lines.push_back(j);
  for (const int i : lines) {
    for (const std::string& x : names) {
      if (!IntroducesName(d.Stmts[i], x)) continue;
      const bool numeral = std::isdigit(static_cast<unsigned char>(x[0])) != 0;
      return head + (numeral ? ": '" : ": Variable '") + x + "' was previously introduced on line " +
             std::to_string(i);
    }
  }
  return "";
}

// Adds a definition when n (and 1 where it needs it) is free on an active
// line above the insertion point that is a premise (open there) or, but for
// Addition (PremisesOnly), an axiom; closed subproofs are jumped over. It is
// refused otherwise, and when IntroducedName finds a line that introduces
// one of its names.
void PutDefinition(AppState& S, const Definition& def) {
  DocState& d = S.Doc;
  try {
    d.RuleMode = kRuleDefinition;
    ClearStatus(S);
    const int limit = InsertionLimit(d);
    bool foundN = false;
    bool foundOne = false;
    // The active lines above the insertion point; a premise met there is
    // open, and a Conclusion is neither premise nor axiom.
    for (int i = ActiveFrom(d, 1); i < limit; i = ActiveFrom(d, i + 1)) {
      const StmtRec& s = d.Stmts[i];
      const bool counts =
          s.Rule == kRulePremise || (!def.PremisesOnly && s.Rule == kRuleAxiom);
      if (counts) {
        if (InList(s.FreeVars, "n")) foundN = true;
        if (def.NeedsOne && InList(s.FreeVars, "1")) foundOne = true;
        if (!def.NeedsOne && foundN) break;
      }
    }
    const std::string named = IntroducedName(d, def);
    if (!(foundN && (foundOne || !def.NeedsOne))) {
      RefuseCommand(S, def.Refusal);
    } else if (!named.empty()) {
      RefuseCommand(S, named);
    } else if (PutAxiomTexts(S, kRuleDefinition, {def.Text})) {
      ClearStatus(S);
    }
    d.RuleMode = 0;
  } catch (const std::exception&) {
    ShowUnable(S);
  }
}

}  // namespace

void optAddProperties_Click(AppState& S) {
  static const Definition def{
      true, true, "+ Def: No reference to n or 1 in a previous active premise",
      "ALL(a):ALL(b):[a@n & b@n => a+b@n]" + kCrLf + "& ALL(a):[a@n => a+1=next(a)]" + kCrLf +
          "& ALL(a):ALL(b):[a@n & b@n => a+next(b)=next(a+b)]"};
  PutDefinition(S, def);
}

void optSubtraction_Click(AppState& S) {
  static const Definition def{
      false, false,
      "Define Subtraction (-): No reference to n in a previous axiom or active premise",
      "ALL(a):ALL(b):ALL(c):[a@n & b@n & c@n => [a-b=c <=> a=b+c]]"};
  PutDefinition(S, def);
}

void optMultiplicationProperties_Click(AppState& S) {
  static const Definition def{
      false, true,
      "Define Multiplication (*) : No reference to n or 1 in a previous axiom or active premise",
      "ALL(a):ALL(b):[a@n & b@n => a*b@n]" + kCrLf + "& ALL(a):[a@n => a*1=a]" + kCrLf +
          "& ALL(a):ALL(b):[a@n & b@n => a*(b+1)=a*b+a]"};
  PutDefinition(S, def);
}

void optDivision_Click(AppState& S) {
  static const Definition def{
      false, false, "Define Division (/): No reference to n in a previous axiom or active premise",
      "ALL(a):ALL(b):ALL(c):[a@n & b@n & c@n => [a/b=c <=> a=b*c]]"};
  PutDefinition(S, def);
}

void optExponentPropeterties_Click(AppState& S) {
  static const Definition def{
      false, true,
      "Define Exponentiation (^) : No reference to n or 1 in a previous axiom or active premise",
      "ALL(a):ALL(b):[a@n & b@n => a^b@n]" + kCrLf + "& ALL(a):[a@n => a^1=a]" + kCrLf +
          "& ALL(a):ALL(b):[a@n & b@n => a^(b+1)=a^b*a]"};
  PutDefinition(S, def);
}

void optLessThan_Click(AppState& S) {
  static const Definition def{
      false, false,
      "Define Less-Than (<): No reference to n in a previous axiom or active premise",
      "ALL(a):ALL(b):[a@n & b@n => [a<b <=> EXIST(c):[c@n & a+c=b]]]"};
  PutDefinition(S, def);
}

void optGreateThan_Click(AppState& S) {
  static const Definition def{
      false, false,
      "Define Greater-Than (>): No reference to n in a previous axiom or active premise",
      "ALL(a):ALL(b):[a@n & b@n => [a>b <=> EXIST(c):[c@n & b+c=a]]]"};
  PutDefinition(S, def);
}

void optLessThanOrEqual_Click(AppState& S) {
  static const Definition def{
      false, false,
      "Define Less-Than-Or-Equal (>): No reference to n in a previous axiom or active premise",
      "ALL(a):ALL(b):[a@n & b@n => [a<=b <=> a<b | a=b]]"};
  PutDefinition(S, def);
}

void optGreaterThanOrEqual_Click(AppState& S) {
  static const Definition def{
      false, false,
      "Define Greater-Than-Or-Equal (>): No reference to n in a previous axiom or active premise",
      "ALL(a):ALL(b):[a@n & b@n => [a>=b <=> a>b | a=b]]"};
  PutDefinition(S, def);
}

void optSummationProperties_Click(AppState& S) {
  static const Definition def{
      false, true,
      "Define Summation (SUM) : No reference to n or 1 in a previous axiom or active premise",
      "ALL(f):[ALL(a):[a@n => f(a)@n]" + kCrLf + "=> ALL(a):[a@n => SUM(i,a,a):f(i)=f(a)]" +
          kCrLf +
          "& ALL(a):ALL(b):[a@n & b@n => SUM(i,a,b+1):f(i)=SUM(i,a,b):f(i)+f(b+1)]]"};
  PutDefinition(S, def);
}

void optProductProperties_Click(AppState& S) {
  static const Definition def{
      false, true,
      "Define Product (PROD) : No reference to n or 1 in a previous axiom or active premise",
      "ALL(f):[ALL(a):[a@n => f(a)@n]" + kCrLf + "=> ALL(a):[a@n => PROD(i,a,a):f(i)=f(a)]" +
          kCrLf +
          "& ALL(a):ALL(b):[a@n & b@n => PROD(i,a,b+1):f(i)=PROD(i,a,b):f(i)*f(b+1)]]"};
  PutDefinition(S, def);
}

}  // namespace qv
