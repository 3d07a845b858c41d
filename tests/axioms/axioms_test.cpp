// The axiom sets, definitions, fixed set axioms, Create Axiom and the schema
// commands, run on a fresh proof with a scripted host.
#include "../rules/rules_fixture.h"
#include "axioms/axioms.h"
#include "entry/testparser.h"

namespace qv {
namespace {

using Axioms = RulesTest;

TEST_F(Axioms, NumberAxiomsOnAnEmptyProofAreSevenAxiomLines) {
  optNumberAxioms_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 7);
  for (int k = 1; k <= 7; ++k) {
    EXPECT_EQ(S.Doc.Stmts[k].Rule, kRuleAxiom);
    EXPECT_EQ(RuleText(k), "Axiom");
  }
  EXPECT_EQ(Formula(1), "Set(n)");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(host.beeps, 0);
  Check();
}

TEST_F(Axioms, RingAxiomsAreOneUndoableChange) {
  Put("P(k)", kRuleAxiom);
  optRingAxioms_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 14);
  EXPECT_EQ(Formula(10), "1 @ r");
  // One snapshot, taken before the first axiom of the set.
  EXPECT_EQ(S.Undo.StmtCount, 1);
}

TEST_F(Axioms, AxiomSetsRefuseBelowAPremiseEvenADischargedOne) {
  Put("P");
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.Stmts[1].Arg1, 2);
  optNumberAxioms_Click(S);
  EXPECT_EQ(Status(), "Number Axioms: Premise found on previous line. Consider another insertion point for axiom.");
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Undo.StmtCount, 1);  // still the snapshot the Conclusion took
  // Above the premise it is accepted and the old lines move down.
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  optGroupAxioms_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 9);
  EXPECT_EQ(Formula(1), "Set(g)");
  EXPECT_EQ(Formula(8), "P");
  EXPECT_EQ(S.Doc.InsertLine, 8);
}

TEST_F(Axioms, NameCheckFindsOnlyTheLineThatIntroducedTheName) {
  // A name free above the first premise is in scope on every line below.
  Put("A(n)", kRuleAxiom);
  Put("P(n)");
  Put("R(nn) & ALL(1):S(1)", kRuleSplit, 2);  // longer name, bound name: no hit
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  optNumberAxioms_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 10) << Status();

  Reset();
  Put("Q(k)");
  Put("R(nn) & ALL(n):S(n)", kRuleSplit, 1);
  Put("T(k,n)", kRuleSplit, 1);  // introduces n
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;  // the line lies below the insert point
  optNumberAxioms_Click(S);
  EXPECT_EQ(Status(), "Number Axioms: Variable 'n' was previously introduced on line 3");
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_FALSE(S.Undo.Valid);
}

TEST_F(Axioms, RingNameCheckScansLinesBeforeNames) {
  Put("A(k)");
  Put("B(0)", kRuleSplit, 1);
  Put("C(r)", kRuleSplit, 1);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  optRingAxioms_Click(S);
  EXPECT_EQ(Status(), "Ring Axioms: '0' was previously introduced on line 2");
}

TEST_F(Axioms, DefinitionsAfterTheNumberAxioms) {
  optNumberAxioms_Click(S);
  optAddProperties_Click(S);
  EXPECT_EQ(Status(), "+ Def: No reference to n or 1 in a previous active premise");
  EXPECT_EQ(S.Doc.StmtCount, 7);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  void (*accepted[])(AppState&) = {optSubtraction_Click, optMultiplicationProperties_Click,
                                   optDivision_Click, optExponentPropeterties_Click,
                                   optLessThan_Click, optGreateThan_Click,
                                   optLessThanOrEqual_Click, optGreaterThanOrEqual_Click};
  int count = 7;
  for (auto fn : accepted) {
    fn(S);
    ASSERT_EQ(S.Doc.StmtCount, ++count) << Status();
    EXPECT_EQ(RuleText(count), "Definition");
    EXPECT_EQ(S.Doc.RuleMode, 0);
  }
  EXPECT_EQ(Formula(9), "ALL(a):ALL(b):[a @ n & b @ n => a*b @ n]\r\n& ALL(a):[a @ n => a*1=a]\r\n& ALL(a):ALL(b):[a @ n & b @ n => a*(b+1)=a*b+a]");
}

TEST_F(Axioms, DefinitionsLookOnlyAtOpenPremisesAndAxiomsAbove) {
  void (*all[])(AppState&) = {optAddProperties_Click, optSubtraction_Click,
                              optMultiplicationProperties_Click, optDivision_Click,
                              optExponentPropeterties_Click, optLessThan_Click,
                              optGreateThan_Click, optLessThanOrEqual_Click,
                              optGreaterThanOrEqual_Click};
  for (auto fn : all) fn(S);  // empty proof: every one refused
  EXPECT_EQ(S.Doc.StmtCount, 0);
  EXPECT_EQ(host.beeps, 9);
  EXPECT_EQ(Status(), "Define Greater-Than-Or-Equal (>): No reference to n in a previous axiom or active premise");

  // An open premise with n and 1, which an axiom above brought in: every
  // one accepted.
  Put("A(n,1)", kRuleAxiom);
  Put("P(n,1)");
  for (auto fn : all) fn(S);
  EXPECT_EQ(S.Doc.StmtCount, 11);

  // Once the premise is discharged its subproof no longer counts.
  Reset();
  Put("P(n,1)");
  AnswerInputBox({""}, true);
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 2);
  ASSERT_EQ(S.Doc.Stmts[1].Arg1, 2);
  optSubtraction_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Status(), "Define Subtraction (-): No reference to n in a previous axiom or active premise");
}

TEST_F(Axioms, DefinitionsNeedingOneMayFindItOnAnotherAxiomButNotBelowTheInsertPoint) {
  Put("A(n)", kRuleAxiom);
  Put("B(1)", kRuleAxiom);
  Put("ALL(n):C(n)", kRuleAxiom);
  optMultiplicationProperties_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 4);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  optExponentPropeterties_Click(S);  // 1 stands below the insert point
  EXPECT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Status(), "Define Exponentiation (^) : No reference to n or 1 in a previous axiom or active premise");
  optDivision_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 5);
  EXPECT_EQ(S.Doc.Stmts[2].Rule, 35);
  EXPECT_EQ(S.Doc.InsertLine, 3);
}

// The parser takes no SUM or PROD notation: these definitions are refused
// with its message and leave the proof and the undo state as they were.
TEST_F(Axioms, SumAndProdDefinitionsThatDoNotParseChangeNothing) {
  optNumberAxioms_Click(S);
  Put("Q(k)", kRuleAxiom);
  for (auto fn : {optSummationProperties_Click, optProductProperties_Click}) {
    const int beeps = host.beeps;
    fn(S);
    EXPECT_EQ(S.Doc.StmtCount, 8);
    EXPECT_EQ(Status().rfind("PARSER ERROR: ", 0), 0u) << Status();
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(S.Undo.StmtCount, 0);  // the snapshot the axiom set took
    EXPECT_EQ(S.Doc.RuleMode, 0);
  }
}

TEST_F(Axioms, FixedSetAxiomsBecomeLineOneWithTheirRuleNames) {
  struct Case {
    void (*Fn)(AppState&);
    const char* Rule;
  };
  for (Case c : {Case{optPairwiseUnion_Click, "Pw Union"},
                 Case{optArbitraryUnion_Click, "Arb Union"}, Case{optChoice_Click, "Choice"}}) {
    Reset();
    c.Fn(S);
    ASSERT_EQ(S.Doc.StmtCount, 1) << c.Rule << " " << Status();
    EXPECT_EQ(RuleText(1), c.Rule);
    EXPECT_EQ(S.Doc.RuleMode, 0);
    EXPECT_EQ(Status(), "");
  }
  EXPECT_EQ(Formula(1), "ALL(f):[Set(f) & ALL(a):[a @ f => Set(a) & EXIST(b):b @ a]\r\n=> EXIST(c):ALL(a):[a @ f => c(a) @ a]]");
  // The set operations axiom writes "c||d@b", which the parser refuses: it
  // is not put and the proof and its undo state stay as they were.
  const int beeps = host.beeps;
  optSetOps_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(Status().rfind("PARSER ERROR: ", 0), 0u) << Status();
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(S.Undo.StmtCount, 0);
}

TEST_F(Axioms, CreateAxiomPutsWhatTheEntryWindowAccepted) {
  std::string caption, hint;
  host.OnModal("TestParser", [&] {
    caption = EntryWindowOf(S).EntryCaption;
    hint = EntryWindowOf(S).EntryHint;
    EXPECT_EQ(S.Doc.RuleMode, kRuleAxiom);
    S.Parser.ExprText = "ALL(a):[P(a) => Q(a)]";
    S.Parser.ParseErr.clear();
  });
  optAxiom_Click(S);
  EXPECT_EQ(caption, "Create an Axiom: Enter a logical expression");
  EXPECT_EQ(hint, "Suggestion: Use letters a-j for bound variables");
  ASSERT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(RuleText(1), "Axiom");
  EXPECT_EQ(S.Doc.RuleMode, 0);

  // Cancelled: nothing added, no snapshot.
  host.OnModal("TestParser", [&] { MyInputBox_Cancel(S); });
  const bool changed = S.Ui.ProofChanged = false;
  optAxiom_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(S.Ui.ProofChanged, changed);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(Status(), "");
}

TEST_F(Axioms, CreateAxiomOnlyAboveTheFirstPremise) {
  Put("P(k)");
  bool opened = false;
  host.OnModal("TestParser", [&] { opened = true; });
  optAxiom_Click(S);
  EXPECT_FALSE(opened);
  EXPECT_EQ(Status(), "Axiom Rule: Premise on previous line. Consider another insertion point for axiom.");
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  optAxiom_Click(S);
  EXPECT_TRUE(opened);
}

TEST_F(Axioms, SchemaCommandsOpenTheBoxWhichPutsTheSchema) {
  AnswerInputBox({"1", "2"});
  optCartesianProd_Click(S);
  EXPECT_EQ(seen.Caption, " Cartesian Product Axiom");
  EXPECT_EQ(seen.Label1, "Enter the number of sets in the product (2 or more)");
  EXPECT_EQ(seen.Messages, std::vector<std::string>{"Invalid number"});
  ASSERT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(RuleText(1), "Cart Prod");
  EXPECT_EQ(S.Doc.RuleMode, 0);

  AnswerInputBox({});  // cancelled
  optFunctionEquality_Click(S);
  EXPECT_EQ(seen.Caption, " Function Equality Axiom");
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

}  // namespace
}  // namespace qv
