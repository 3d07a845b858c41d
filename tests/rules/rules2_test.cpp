// Quant, Rem DNeg, the connective rewrites and the Arb rules driven by clicks
// on an in-memory proof view. Results are compared by the structure of their
// parse, so a wrong bracketing cannot pass for a right text.
#include <map>
#include <tuple>

#include "entry/testparser.h"
#include "rules/frame.h"
#include "view/view.h"
#include "rules_fixture.h"

namespace qv {
namespace {

class Rewrites : public RulesTest {
 protected:
  // Puts the caret before the n-th occurrence (from 0) of Needle in line k.
  void ClickOn(int k, const std::string& Needle, int n = 0) {
    const std::string f = Formula(k);
    size_t at = f.find(Needle);
    for (int i = 0; i < n && at != std::string::npos; ++i) at = f.find(Needle, at + 1);
    ASSERT_NE(at, std::string::npos) << Needle << " in " << f;
    Click(k);
    view.SetSelStart(view.SelStart() + static_cast<int32_t>(at));
  }
  // Arms Rule, clicks Needle in line k and runs the rule as the dispatch does.
  void Apply(int Rule, int k, const std::string& Needle, int n = 0) {
    Arm(Rule);
    ClickOn(k, Needle, n);
    static const std::map<int, void (*)(AppState&)> kRules = {
        {kRuleQuant, QuantSwitch}, {kRuleRemDNeg, RemDNeg},   {kRuleInsDNeg, InsDNeg},
        {kRuleIffAnd, IffSplit},
        {kRuleImplyAnd, ImplyAnd}, {kRuleImplyOr, ImplyOr},   {kRuleContra, Contrapositive},
        {kRuleDeMorgan, DeMorgan}, {kRuleSym, SymmetryRule}, {kRuleArbOr, ArbOr},
        {kRuleArbAnte, ArbAnte},   {kRuleArbCons, ArbCons}};
    kRules.at(Rule)(S);
    Check();
  }
  static std::string Shape(const std::string& Text) {
    ParseResult r = ParseText(Text);
    EXPECT_EQ(r.Err, "") << Text;
    return RootShape(r.Nodes);
  }
  // The last line is Expected node for node, cites line k and ended the rule.
  void ExpectLast(const std::string& Expected, int k) {
    const int n = S.Doc.StmtCount;
    EXPECT_EQ(Shape(Formula(n)), Shape(Expected)) << Formula(n) << " vs " << Expected;
    EXPECT_EQ(S.Doc.Stmts[n].Arg1, k);
    EXPECT_EQ(S.Doc.Stmts[n].Arg2, 0);
    EXPECT_EQ(S.Doc.RuleMode, 0);
  }
  // A refused click: one more beep, nothing put, no snapshot, rule armed.
  void ExpectRefused(int Rule, int Count, int Beeps) {
    EXPECT_EQ(S.Doc.StmtCount, Count);
    EXPECT_EQ(host.beeps, Beeps);
    EXPECT_EQ(S.Undo.StmtCount, undoCount);
    EXPECT_EQ(S.Doc.RuleMode, Rule);
  }
  int undoCount = 0;
};

// Every rewrite is parsed again before it is put, and so is every operand a
// rule takes apart: one that reads as another shape is refused.
TEST_F(Rewrites, AResultOrOperandOfAnotherShapeIsRefused) {
  Put("A & B", kRuleAxiom);
  const std::string conjunction = RootShape(ParseText("A & B").Nodes);
  PutRewrite(S, 1, "A | B", conjunction, OnResultError::Keep);
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(host.beeps, 1);
  PutRewrite(S, 1, "B & A", RootShape(ParseText("B & A").Nodes), OnResultError::Keep);
  EXPECT_EQ(S.Doc.StmtCount, 2);

  std::string operand;
  EXPECT_FALSE(OperandTextOf("[A | B] => C", {2, 6}, conjunction, operand));
  EXPECT_EQ(operand, "A | B");
  EXPECT_TRUE(OperandTextOf("[A & B] => C", {2, 6}, conjunction, operand));
}

TEST_F(Rewrites, QuantSwitchesOnlyTheClickedQuantifierThroughNegations) {
  Put("ALL(x):EXIST(y):P(x,y)", kRuleAxiom);
  Put("~ALL(x):P(x) & Q", kRuleAxiom);
  Apply(kRuleQuant, 1, "EXIST");
  ExpectLast("ALL(x):~ALL(y):~P(x,y)", 1);
  Apply(kRuleQuant, 1, "ALL");
  ExpectLast("~EXIST(x):~EXIST(y):P(x,y)", 1);
  // The body is the quantifier's own group; the conjunct Q stays outside.
  Apply(kRuleQuant, 2, "ALL");
  ExpectLast("~~EXIST(x):~P(x) & Q", 2);
  Apply(kRuleRemDNeg, 5, "~");
  ExpectLast("EXIST(x):~P(x) & Q", 5);
  EXPECT_EQ(RuleText(6), "Rem DNeg, 5");

  undoCount = S.Undo.StmtCount;
  Apply(kRuleQuant, 1, "P");
  Apply(kRuleQuant, 1, ":");
  ExpectRefused(kRuleQuant, 6, 2);
}

TEST_F(Rewrites, RemDNegTakesBothNegationsAndTheirWrittenBrackets) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"~~P", "P"},
      {"~[~P]", "P"},
      {"~[[~P]]", "P"},
      {"~~[A & B]", "A & B"},
      {"~[~[A & B]]", "A & B"},
      {"~[~P] & Q", "P & Q"},
      {"R => ~~[A | B]", "R => A | B"},
      {"ALL(x):~~x=x", "ALL(x):x=x"},
  };
  // Stored as written: laid out, ~[~P] would already read ~~P.
  for (size_t i = 0; i < cases.size(); ++i) {
    PutStored(cases[i].first);
    ASSERT_EQ(Formula(S.Doc.StmtCount), cases[i].first);
    const int k = S.Doc.StmtCount;
    Apply(kRuleRemDNeg, k, "~");
    ExpectLast(cases[i].second, k);
  }
  // The inner "~", and a "~" whose operand is a conjunction, are refused.
  PutStored("~~P");
  PutStored("~[~P & Q]");
  const int count = S.Doc.StmtCount;
  undoCount = S.Undo.StmtCount;
  Apply(kRuleRemDNeg, count - 1, "~", 1);
  Apply(kRuleRemDNeg, count, "~");
  ExpectRefused(kRuleRemDNeg, count, 2);
}

TEST_F(Rewrites, InsDNegNegatesTwiceTheGroupThatBeginsAtTheClick) {
  const std::vector<std::tuple<std::string, std::string, int, std::string>> cases = {
      {"P & Q", "P", 0, "~~P & Q"},
      {"P & Q", "Q", 0, "P & ~~Q"},
      {"A & [B | C]", "[", 0, "A & ~~[B | C]"},
      {"ALL(x):P(x)", "ALL", 0, "~~ALL(x):P(x)"},
      {"ALL(x):[P(x) & Q]", "Q", 0, "ALL(x):[P(x) & ~~Q]"},
      {"~P", "~", 0, "~~~P"},
      {"x=y", "x", 0, "~~[x=y]"},
  };
  for (const auto& [stmt, needle, n, expected] : cases) {
    Put(stmt, kRuleAxiom);
    const int k = S.Doc.StmtCount;
    const int beeps = host.beeps;
    Apply(kRuleInsDNeg, k, needle, n);
    ASSERT_EQ(S.Doc.StmtCount, k + 1) << stmt << " at " << needle;
    EXPECT_EQ(host.beeps, beeps);
    ExpectLast(expected, k);
    EXPECT_EQ(RuleText(k + 1), "Ins DNeg, " + std::to_string(k));
    EXPECT_EQ(StatusText(S), "");
  }
}

TEST_F(Rewrites, InsDNegThatDoesNotParseOnlyBeepsAndStaysArmed) {
  Put("P & Q", kRuleAxiom);
  Put("a=b", kRuleAxiom);
  undoCount = S.Undo.StmtCount;
  const std::string before = S.Doc.ProofText;
  ShowStatus(S, "Ins DNeg:  Click insertion point in any active statement");
  Apply(kRuleInsDNeg, 1, "&");  // P ~~& Q
  ExpectRefused(kRuleInsDNeg, 2, 1);
  EXPECT_EQ(StatusText(S), "Ins DNeg:  Click insertion point in any active statement");
  Arm(kRuleInsDNeg);
  ClickNowhere();
  InsDNeg(S);
  ExpectRefused(kRuleInsDNeg, 2, 2);
  EXPECT_EQ(S.Doc.ProofText, before);
}

TEST_F(Rewrites, ConnectiveRewritesGiveTheEquivalentStatement) {
  struct Case {
    int rule;
    std::string stmt, op;
    int n;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {kRuleImplyAnd, "A & B", "&", 0, "~[A => ~B]"},
      {kRuleImplyAnd, "[A | C] => B", "=>", 0, "~[[A | C] & ~B]"},
      {kRuleImplyOr, "A => B", "=>", 0, "~A | B"},
      {kRuleImplyOr, "A | B & C", "|", 0, "~A => B & C"},
      // Left-associated: only the clicked implication's operands move.
      {kRuleContra, "A => B => C", "=>", 0, "[~B => ~A] => C"},
      {kRuleContra, "A => B => C", "=>", 1, "~C => ~[A => B]"},
      {kRuleDeMorgan, "x=1 | y=2", "|", 0, "~[~x=1 & ~y=2]"},
      {kRuleDeMorgan, "R => A & B", "&", 0, "R => ~[~A | ~B]"},
      {kRuleDeMorgan, "ALL(x):[P(x) & Q(x)]", "&", 0, "ALL(x):~[~P(x) | ~Q(x)]"},
      {kRuleSym, "a+b=c", "=", 0, "c=a+b"},
      {kRuleSym, "ALL(x):[f(x)=g(x)] & P", "=", 0, "ALL(x):[g(x)=f(x)] & P"},
      {kRuleIffAnd, "A <=> B", "<=>", 0, "[A => B] & [B => A]"},
      {kRuleIffAnd, "R | [A & C <=> B]", "<=>", 0, "R | [A & C => B] & [B => A & C]"},
      {kRuleIffAnd, "[A=>B]&[B=>A] & C", "&", 0, "[A <=> B] & C"},
      // The mirrored implications may name their bound variables apart.
      {kRuleIffAnd, "[EXIST(a):P(a) => Q] & [Q => EXIST(b):P(b)]", "&", 0,
       "EXIST(a):P(a) <=> Q"},
  };
  for (const Case& c : cases) {
    Put(c.stmt, kRuleAxiom);
    const int k = S.Doc.StmtCount;
    const int beeps = host.beeps;
    Apply(c.rule, k, c.op, c.n);
    ASSERT_EQ(S.Doc.StmtCount, k + 1) << c.stmt;
    EXPECT_EQ(host.beeps, beeps) << c.stmt;
    ExpectLast(c.expected, k);
    EXPECT_EQ(S.Doc.Stmts[k + 1].Rule, c.rule);
  }
}

TEST_F(Rewrites, IffAndBreaksLongResultsBeforeTheSecondHalf) {
  Put("A <=> B", kRuleAxiom);
  Apply(kRuleIffAnd, 1, "<=>");
  EXPECT_EQ(Formula(2).find('\n'), std::string::npos);
  Put("Aaaaaaaaaaaa & Bbbbbbbbbbb <=> Cccccccccc", kRuleAxiom);
  Apply(kRuleIffAnd, 3, "<=>");
  EXPECT_NE(Formula(4).find("\r\n"), std::string::npos) << Formula(4);
}

TEST_F(Rewrites, WrongClicksAndUnmatchedImplicationsLeaveProofAndUndoAlone) {
  Put("A => B", kRuleAxiom);
  Put("[A=>B]&[B=>C]", kRuleAxiom);
  Put("P & [A=>B]", kRuleAxiom);
  Put("a=b", kRuleAxiom);
  undoCount = S.Undo.StmtCount;
  const std::string before = S.Doc.ProofText;
  Apply(kRuleImplyAnd, 1, "A");     // an operand, not the operator
  Apply(kRuleContra, 2, "&");       // not an implication
  Apply(kRuleIffAnd, 2, "&");       // implications that do not mirror
  Apply(kRuleIffAnd, 3, "&");       // one side is no implication
  Apply(kRuleDeMorgan, 1, "=>");
  Apply(kRuleSym, 1, "=>");
  Apply(kRuleImplyOr, 4, "=");
  ExpectRefused(kRuleImplyOr, 4, 7);
  EXPECT_EQ(S.Doc.ProofText, before);
}

TEST_F(Rewrites, OnlyActiveLinesCanBeRewritten) {
  Put("~~P & [A => B]");          // a premise: closed below
  Put("A => B", kRuleAxiom);
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  undoCount = S.Undo.StmtCount;
  Apply(kRuleRemDNeg, 1, "~");
  Apply(kRuleContra, 2, "=>");
  Apply(kRuleQuant, 1, "~");
  ExpectRefused(kRuleQuant, 3, 3);
}

class ArbRules : public Rewrites {
 protected:
  // The entry window run on its own logic: Text typed and Continue pressed,
  // or Cancel when Text is empty.
  void AnswerEntry(const std::string& Text) {
    host.OnModal("TestParser", [this, Text]() {
      TestParser tp(S, entryBox);
      tp.OnHide = [] {};
      tp.Activate();
      caption = tp.Caption;
      if (Text.empty()) {
        tp.Cancel();
        return;
      }
      entryBox.SetText(Text);
      tp.Continue();
    });
  }
  MemRichBox entryBox;
  std::string caption;
};

TEST_F(ArbRules, CaptionsNameTheRuleAndLineAndTheWindowPutsTheStatement) {
  for (int i = 1; i <= 7; ++i) Put(i == 7 ? "P" : "Q", kRuleAxiom);
  struct Case {
    int rule;
    bool left;
    std::string title, expected;
  };
  for (const Case& c : std::vector<Case>{
           {kRuleArbOr, true, "Arbitrary OR (Insert Left) Rule", "Q | P"},
           {kRuleArbOr, false, "Arbitrary OR (Insert Right) Rule", "P | Q"},
           {kRuleArbAnte, false, "Arbitrary Antecedent Rule", "Q => P"},
           {kRuleArbCons, false, "Arbitrary Consequent Rule", "~P => Q"}}) {
    EntryWindowOf(S).ArbOrLeft = c.left;
    AnswerEntry("Q");
    Apply(c.rule, 7, "P");
    EXPECT_EQ(caption, c.title + ", Line 7:  Enter a logical expression");
    ExpectLast(c.expected, 7);
  }
}

TEST_F(ArbRules, CancelAddsNothingAndEndsTheRule) {
  Put("P", kRuleAxiom);
  undoCount = S.Undo.StmtCount;
  AnswerEntry("");
  Apply(kRuleArbAnte, 1, "P");
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(S.Undo.StmtCount, undoCount);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  // Empty space: a beep, the rule stays armed and no window opens.
  host.formsShown.clear();
  Arm(kRuleArbCons);
  ClickNowhere();
  ArbCons(S);
  EXPECT_TRUE(host.formsShown.empty());
  ExpectRefused(kRuleArbCons, 1, 1);
}

}  // namespace
}  // namespace qv
