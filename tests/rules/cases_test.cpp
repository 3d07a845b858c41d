// Cases and the whole-statement rewrites Implies, Iff and Or, driven by clicks
// on an in-memory proof view. Results are compared by the structure of their
// parse, so a wrong bracketing cannot pass for a right text.
#include "rules/frame.h"
#include "rules_fixture.h"
#include "mainwindow/maincommands.h"

namespace qv {
namespace {

class CasesRule : public RulesTest {
 protected:
  // One click of the armed Cases rule on line k, as the dispatch makes it.
  void CasesClick(int k) {
    Click(k);
    qv::Cases(S, MainWindowOf(S).FirstClickPending);
    Check();
  }
  void CasesOn(int Or, int And) {
    Arm(kRuleCases);
    CasesClick(Or);
    CasesClick(And);
  }
  static std::string Shape(const std::string& Text) {
    ParseResult r = ParseText(Text);
    EXPECT_EQ(r.Err, "") << Text;
    return RootShape(r.Nodes);
  }
  // Refused: no new line, no snapshot, still waiting for the conjunction.
  void ExpectWaiting(int Count, int Beeps) {
    EXPECT_EQ(S.Doc.StmtCount, Count);
    EXPECT_EQ(host.beeps, Beeps);
    EXPECT_FALSE(S.Undo.Valid);
    EXPECT_EQ(S.Doc.RuleMode, kRuleCases);
    EXPECT_FALSE(MainWindowOf(S).FirstClickPending);
  }
};

TEST_F(CasesRule, ConcludesTheCommonConsequentCitingBothLines) {
  Put("A | B");
  Put("[A=>C] & [B=>C]");
  Arm(kRuleCases);
  CasesClick(1);
  EXPECT_FALSE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(Status(),
            "Cases: Click any active AND-statement of the form [P1=>Q] & [P2=>Q] & [P3=>Q] ...");
  CasesClick(2);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "C");
  EXPECT_EQ(RuleText(3), "Cases, 1, 2");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(S.Undo.StmtCount, 2);
  EXPECT_EQ(host.beeps, 0);
}

TEST_F(CasesRule, MatchesDisjunctsAndImplicationsInOrder) {
  Put("A | B | D");
  Put("[A=>C] & [B=>C] & [D=>C]");
  Put("[B=>C] & [A=>C] & [D=>C]");  // same implications, another order
  Put("[A=>C] & [B=>C]");           // one implication short
  Put("[A=>C] & [B=>E] & [D=>C]");  // consequents differ
  Arm(kRuleCases);
  CasesClick(1);
  CasesClick(3);
  CasesClick(4);
  CasesClick(5);
  ExpectWaiting(5, 3);
  CasesClick(2);  // still waiting: the right one is taken
  ASSERT_EQ(S.Doc.StmtCount, 6);
  EXPECT_EQ(Formula(6), "C");
  EXPECT_EQ(RuleText(6), "Cases, 1, 2");
}

TEST_F(CasesRule, AcceptsRenamedBoundVariablesAndWrittenBrackets) {
  // Stored as written, with brackets the layout would drop.
  PutStored("EXIST(x):P(x) | [Q]");
  PutStored("[[EXIST(y):P(y)] => ALL(a):R(a)] & [[[Q=>ALL(b):R(b)]]]");
  CasesOn(1, 2);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Shape(Formula(3)), Shape("ALL(b):R(b)"));
  // A bracketed disjunction on the left is one chain with the rest.
  PutStored("[A | B] | D");
  PutStored("[[A => C]] & [B => C] & [[[D => C]]]");
  CasesOn(4, 5);
  ASSERT_EQ(S.Doc.StmtCount, 6);
  EXPECT_EQ(Formula(6), "C");
}

TEST_F(CasesRule, ImplicationsUnderAnythingButAConjunctionAreRefused) {
  // With A true and B, C false both these hold, yet C does not.
  Put("A | B");
  Put("[A=>C] | [B=>C]");
  Put("[A=>C] => [B=>C]");
  Put("~[A=>C] & [B=>C]");
  Put("[A=>C] & [B=>C] & [A=>C]");  // more implications than disjuncts
  Arm(kRuleCases);
  CasesClick(1);
  for (int k = 2; k <= 5; ++k) CasesClick(k);
  ExpectWaiting(5, 4);
  // Antecedents that differ from the disjuncts other than by bound names.
  Put("ALL(x):P(x) | B");
  Put("[ALL(x):P(y) => C] & [B => C]");
  Arm(kRuleCases);
  CasesClick(6);
  CasesClick(7);
  ExpectWaiting(7, 5);
}

TEST_F(CasesRule, FirstClickTakesOnlyADisjunction) {
  Put("A & B");
  Put("A | B");
  Put("[A=>C] & [B=>C]");
  Arm(kRuleCases);
  CasesClick(1);
  ClickNowhere();
  qv::Cases(S, MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(host.beeps, 2);
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(S.Doc.RuleMode, kRuleCases);
  CasesClick(2);
  CasesClick(3);
  EXPECT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(RuleText(4), "Cases, 2, 3");
}

TEST_F(CasesRule, ParseErrorsBeepOnTheFirstClickAndReportOnTheSecond) {
  checking = false;
  Put("A | B");
  Put("[A=>C] & [B=>C]");
  Put("A | D");
  // Damage line 3's text so that it no longer parses.
  S.Doc.ProofText[S.Doc.Stmts[3].StartStmt - 1] = '&';
  Arm(kRuleCases);
  CasesClick(3);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  CasesClick(1);
  CasesClick(3);
  EXPECT_EQ(Status().rfind("PARSER ERROR: ", 0), 0u);
  EXPECT_EQ(S.Doc.RuleMode, kRuleCases);
  EXPECT_FALSE(MainWindowOf(S).FirstClickPending);
  CasesClick(2);
  EXPECT_EQ(S.Doc.StmtCount, 4);
}

// ---- Implies, Iff and Or ----

class ConnectiveRewrites : public CasesRule {
 protected:
  void Apply(int Rule, int k) {
    S.Doc.RuleMode = Rule;
    Click(k);
    if (Rule == kRuleImplies) ImpliesOp(S);
    if (Rule == kRuleIff) IffOp(S);
    if (Rule == kRuleOr) OrOp(S);
    Check();
  }
  // Puts Text (laid out, or stored as written), applies Rule to it and
  // expects Expected, citing that line.
  void Expect(int Rule, const std::string& Text, const std::string& Expected, bool Stored = false) {
    if (Stored) {
      PutStored(Text, kRulePremise);
      ASSERT_EQ(Formula(S.Doc.StmtCount), Text);
    } else {
      Put(Text);
    }
    const int k = S.Doc.StmtCount;
    Apply(Rule, k);
    ASSERT_EQ(S.Doc.StmtCount, k + 1) << Text;
    EXPECT_EQ(Shape(Formula(k + 1)), Shape(Expected)) << Text << " gave " << Formula(k + 1);
    EXPECT_EQ(S.Doc.Stmts[k + 1].Rule, Rule);
    EXPECT_EQ(S.Doc.Stmts[k + 1].Arg1, k);
    EXPECT_EQ(S.Doc.Stmts[k + 1].Arg2, 0);
    EXPECT_EQ(S.Doc.RuleMode, 0);
  }
  void ExpectRefused(int Rule, const std::string& Text) {
    Put(Text);
    const int k = S.Doc.StmtCount;
    const int beeps = host.beeps;
    const UndoSnapshot undo = S.Undo;
    Apply(Rule, k);
    EXPECT_EQ(S.Doc.StmtCount, k) << Text;
    EXPECT_EQ(host.beeps, beeps + 1) << Text;
    EXPECT_EQ(S.Undo.StmtCount, undo.StmtCount);
    EXPECT_EQ(S.Doc.RuleMode, Rule);
  }
};

TEST_F(ConnectiveRewrites, RewriteBothWays) {
  Expect(kRuleImplies, "A=>B", "~[A & ~B]");
  Expect(kRuleImplies, "~[A & ~B]", "A => B");
  Expect(kRuleImplies, "~[[A]&~[B]]", "A => B", true);
  Expect(kRuleImplies, "ALL(x):P(x) => EXIST(y):[Q(y) & R]", "~[ALL(x):P(x) & ~EXIST(y):[Q(y) & R]]");
  Expect(kRuleImplies, "~[[A | D] & ~~B]", "[A | D] => ~B");
  Expect(kRuleOr, "A|B", "~[~A & ~B]");
  Expect(kRuleOr, "~[~A & ~B]", "A | B");
  Expect(kRuleOr, "~[~[A => D] & ~~B]", "[A => D] | ~B");
  Expect(kRuleIff, "A<=>B", "[A => B] & [B => A]");
  Expect(kRuleIff, "[A=>B]&[B=>A]", "A <=> B");
  Expect(kRuleIff, "[ALL(x):P(x) => B] & [B => ALL(y):P(y)]", "ALL(x):P(x) <=> B");
  EXPECT_EQ(RuleText(S.Doc.StmtCount), "Iff, " + std::to_string(S.Doc.StmtCount - 1));
}

TEST_F(ConnectiveRewrites, AStatementInWrittenBracketsKeepsItsMeaning) {
  // The operands are cut at their own tokens, not from the first and the
  // last character of the statement.
  Expect(kRuleOr, "[A | B]", "~[~A & ~B]", true);
  Expect(kRuleImplies, "[A => B]", "~[A & ~B]", true);
  Expect(kRuleIff, "[A <=> B]", "[A => B] & [B => A]", true);
  Expect(kRuleOr, "[[A | B]]", "~[~A & ~B]", true);
  Expect(kRuleImplies, "~[[A] & ~[[B]]]", "A => B", true);
  Expect(kRuleIff, "[[A => B]] & [[[B => A]]]", "A <=> B", true);
}

TEST_F(ConnectiveRewrites, FormsOfNoRuleAreRefused) {
  ExpectRefused(kRuleOr, "~[A & ~B]");
  ExpectRefused(kRuleOr, "~[~A | ~B]");
  ExpectRefused(kRuleImplies, "~[A & B]");
  ExpectRefused(kRuleImplies, "A | B");
  ExpectRefused(kRuleIff, "[A=>B]&[B=>C]");
  ExpectRefused(kRuleIff, "[A=>B]|[B=>A]");
  ExpectRefused(kRuleIff, "[ALL(x):P(x) => B] & [B => ALL(y):P(z)]");
  ExpectRefused(kRuleOr, "x=y");
  // Nothing under the caret.
  S.Doc.RuleMode = kRuleOr;
  ClickNowhere();
  const int beeps = host.beeps;
  OrOp(S);
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_EQ(S.Doc.RuleMode, kRuleOr);
}

TEST_F(ConnectiveRewrites, LongOperandsBreakTheLine) {
  auto broken = [this]() { return Formula(S.Doc.StmtCount).find("\r\n") != std::string::npos; };
  // Iff: 24 characters of operands stay on one line, 25 are broken.
  Expect(kRuleIff, std::string(12, 'A') + "<=>" + std::string(12, 'B'),
         "[AAAAAAAAAAAA=>BBBBBBBBBBBB]&[BBBBBBBBBBBB=>AAAAAAAAAAAA]");
  EXPECT_FALSE(broken());
  Expect(kRuleIff, std::string(12, 'A') + "<=>" + std::string(13, 'B'),
         "[AAAAAAAAAAAA=>BBBBBBBBBBBBB]&[BBBBBBBBBBBBB=>AAAAAAAAAAAA]");
  EXPECT_TRUE(broken());
  // Implies and Or at 50, the reverse of Iff above 49, the reverse of Or never.
  const std::string p(24, 'P'), q(25, 'Q'), r(26, 'Q');
  Expect(kRuleImplies, p + "=>" + q, "~[" + p + "&~" + q + "]");
  EXPECT_FALSE(broken());
  Expect(kRuleImplies, p + "=>" + r, "~[" + p + "&~" + r + "]");
  EXPECT_TRUE(broken());
  Expect(kRuleOr, p + "|" + r, "~[~" + p + "&~" + r + "]");
  EXPECT_TRUE(broken());
  Expect(kRuleOr, "~[~" + p + "&~" + r + "]", p + "|" + r);
  EXPECT_FALSE(broken());
  Expect(kRuleIff, "[" + p + "=>" + q + "]&[" + q + "=>" + p + "]", p + "<=>" + q);
  EXPECT_FALSE(broken());
  Expect(kRuleIff, "[" + p + "=>" + r + "]&[" + r + "=>" + p + "]", p + "<=>" + r);
  EXPECT_TRUE(broken());
}

TEST_F(ConnectiveRewrites, AStatementThatDoesNotParseIsReported) {
  checking = false;
  Put("A | B");
  S.Doc.ProofText[S.Doc.Stmts[1].StartStmt - 1] = '&';
  S.Doc.RuleMode = kRuleOr;
  Click(1);
  OrOp(S);
  EXPECT_EQ(Status(), "SYSTEM ERROR: UNABLE TO PARSE TEXT");
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.RuleMode, kRuleOr);
  EXPECT_EQ(S.Doc.StmtCount, 1);
}

}  // namespace
}  // namespace qv
