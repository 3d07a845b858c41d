// No axiom may speak of an E Spec witness, and the Induction Shortcut is
// offered only under the number axioms. Each road is driven as the user
// takes it: the command, the entry window's own check, the status line.
#include "../rules/rules_fixture.h"
#include "axioms/axioms.h"
#include "axioms/induction.h"
#include "entry/testparser.h"

namespace qv {
namespace {

class Witness : public RulesTest {
 protected:
  // Create Axiom with Text typed in the entry window and Continue pressed;
  // the window's message line afterwards.
  std::string CreateAxiom(const std::string& Text) {
    std::string message;
    host.OnModal("TestParser", [this, Text, &message]() {
      TestParser tp(S, entryBox);
      tp.OnHide = [] {};
      tp.Activate();
      entryBox.SetText(Text);
      tp.Continue();
      message = tp.StatusLine;
      if (!message.empty()) tp.Cancel();
    });
    optAxiom_Click(S);
    return message;
  }
  MemRichBox entryBox;
};

TEST_F(Witness, CreateAxiomRefusesAWitnessAboveOrBelowTheInsertionPoint) {
  Put("EXIST(b):P(b)", kRuleAxiom);
  ESpec(1, "r");
  ASSERT_EQ(Formula(2), "P(r)");
  EXPECT_EQ(CreateAxiom("~P(r)"), "Variable 'r' was previously introduced on line 2");
  EXPECT_EQ(S.Doc.StmtCount, 2);

  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  EXPECT_EQ(CreateAxiom("~P(r)"), "Variable 'r' was previously introduced on line 2");
  EXPECT_EQ(S.Doc.StmtCount, 2);

  // A bound r, or a name no line introduced, is still fine.
  EXPECT_EQ(CreateAxiom("ALL(r):[P(r) | ~P(r)] & Q(k)"), "");
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.Stmts[1].Rule, kRuleAxiom);
}

TEST_F(Witness, AxiomSetsAndDefinitionsRefuseAWitnessOfTheirNames) {
  Put("EXIST(b):Set(b)", kRuleAxiom);
  ESpec(1, "n");
  ASSERT_EQ(Formula(2), "Set(n)");
  optNumberAxioms_Click(S);
  EXPECT_EQ(Status(), "Number Axioms: Variable 'n' was previously introduced on line 2");
  EXPECT_EQ(S.Doc.StmtCount, 2);

  // The witness as a number of the ring, below the insertion point.
  Reset();
  Put("EXIST(b):b=b", kRuleAxiom);
  ESpec(1, "1");
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  optRingAxioms_Click(S);
  EXPECT_EQ(Status(), "Ring Axioms: '1' was previously introduced on line 2");
  EXPECT_EQ(S.Doc.StmtCount, 2);

  // A premise after the witness lends n to the definitions; they refuse it.
  Reset();
  Put("EXIST(b):Set(b)", kRuleAxiom);
  ESpec(1, "n");
  Put("1@n");
  optSubtraction_Click(S);
  EXPECT_EQ(Status(), "Define Subtraction (-): Variable 'n' was previously introduced on line 2");
  optMultiplicationProperties_Click(S);
  EXPECT_EQ(Status(), "Define Multiplication (*) : Variable 'n' was previously introduced on line 2");
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

// The fixed set axioms and the schemata pass no gate: they must name no
// free variable that a witness could be, at any order.
TEST_F(Witness, FixedAxiomsAndSchemataNameNoFreeVariable) {
  for (auto command : {optSetOps_Click, optPairwiseUnion_Click, optArbitraryUnion_Click, optChoice_Click})
    command(S);
  using Command = void (*)(AppState&);
  for (Command command : {optCartesianProd_Click, optPowerSet_Click, optFunction_Click,
                          optSetEquality_Click, optNtupleEQ_Click, optFunctionSpace_Click,
                          optFunctionEquality_Click}) {
    for (const char* order : {"2", "3", "4"}) {
      AnswerInputBox({order});
      command(S);
    }
  }
  // Set Ops and N-tuple Equality write what the parser refuses; the rest
  // are in.
  ASSERT_EQ(S.Doc.StmtCount, 3 + 6 * 3);
  for (int k = 1; k <= S.Doc.StmtCount; ++k) EXPECT_EQ(S.Doc.Stmts[k].FreeVars, "") << Formula(k);
}

TEST_F(Witness, DefinitionsRefuseAWitnessOfAnyNameOfTheirText) {
  // Addition's text has next free: a witness of that name would be defined.
  Put("1@n", kRuleAxiom);
  Put("EXIST(f):ALL(a):~a+1=f(a)", kRuleAxiom);
  Put("1@n");
  ESpec(2, "next");
  ASSERT_EQ(Formula(4), "ALL(a):~a+1=next(a)");
  optAddProperties_Click(S);
  EXPECT_EQ(Status(), "+ Def: Variable 'next' was previously introduced on line 4");
  EXPECT_EQ(S.Doc.StmtCount, 4);

  // Above the witness too: the lines below would rest on it.
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 4;
  optAddProperties_Click(S);
  EXPECT_EQ(Status(), "+ Def: Variable 'next' was previously introduced on line 4");
  EXPECT_EQ(S.Doc.StmtCount, 4);
}

TEST_F(Witness, DefinitionsRefuseNamesThatAnOpenPremiseIntroduces) {
  Put("Set(n) & 1@n");
  optLessThan_Click(S);
  EXPECT_EQ(Status(), "Define Less-Than (<): Variable 'n' was previously introduced on line 1");
  optAddProperties_Click(S);
  EXPECT_EQ(Status(), "+ Def: Variable 'n' was previously introduced on line 1");
  EXPECT_EQ(S.Doc.StmtCount, 1);

  // Under the number axioms the premise only uses n and 1.
  Reset();
  optNumberAxioms_Click(S);
  Put("1@n");
  optAddProperties_Click(S);
  optLessThan_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 10);
  EXPECT_EQ(S.Doc.Stmts[10].Rule, 35);
}

TEST_F(Witness, AWitnessInAnEarlierClosedSubproofLeavesLaterDefinitionsAlone) {
  Put("ALL(x):Set(x)", kRuleAxiom);
  Put("EXIST(x):Q(x)", kRuleAxiom);
  Put("A");
  ESpec(2, "n");
  AnswerInputBox({"n"});
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 5);
  S.Doc.PendingNewVar.clear();
  Put("Set(n)", kRuleUSpec, 1);  // n at the top level, another name
  Put("Set(n)");
  optSubtraction_Click(S);
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(S.Doc.StmtCount, 8);
}

TEST_F(Witness, InductionShortcutOnlyUnderTheNumberAxioms) {
  const std::string refusal =
      "Induction Shortcut: Number Axioms not found on previous lines. Consider another insertion point.";
  // n and 1 in an axiom of one's own do not make n the natural numbers.
  Put("n=n & 1=1", kRuleAxiom);
  optAdd_Click(S);
  EXPECT_EQ(Status(), refusal);
  EXPECT_TRUE(host.formsShown.empty());
  EXPECT_EQ(S.Doc.RuleMode, 0);

  Reset();
  optNumberAxioms_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 7);
  optAdd_Click(S);
  ASSERT_EQ(host.formsShown, std::vector<std::string>{"InductionForm"});
  EXPECT_EQ(S.Doc.RuleMode, 0);

  // Inside an open subproof below them the axioms still hold.
  Put("Q(k)");
  optAdd_Click(S);
  EXPECT_EQ(host.formsShown.size(), 2u);

  // Above the induction axiom they do not.
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 7;
  optAdd_Click(S);
  EXPECT_EQ(Status(), refusal);
  EXPECT_EQ(host.formsShown.size(), 2u);
}

TEST_F(Witness, InductionShortcutRefusesNumberAxiomsInAClosedSubproof) {
  // A premise put in above the axioms, as a proof file can hold it, and its
  // subproof closed: the axioms are no longer active.
  optNumberAxioms_Click(S);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  Put("A");
  S.Doc.InsertMode = false;
  ASSERT_EQ(S.Doc.StmtCount, 8);
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 9);
  optAdd_Click(S);
  EXPECT_EQ(Status(),
            "Induction Shortcut: Number Axioms not found on previous lines. Consider another insertion point.");
  EXPECT_TRUE(host.formsShown.empty());
}

}  // namespace
}  // namespace qv
