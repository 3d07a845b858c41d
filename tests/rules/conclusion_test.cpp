// The Conclusion rule: discharge, contradiction, generalisation, naming,
// re-indentation and the insert-mode checks.
#include "rules/conclusion.h"
#include "rules_fixture.h"

namespace qv {
namespace {

class Conclusion : public RulesTest {
 protected:
  void Conclude() { optConclusion_Click(S); }
  // The Conclusion in insert mode, put before line t.
  void ConcludeBefore(int t) {
    S.Doc.InsertMode = true;
    S.Doc.InsertLine = t;
    Conclude();
  }
  // The refusal of a later line whose variable x would leave its scope.
  void ExpectRefusedFor(const std::string& x, int line) {
    EXPECT_EQ(Status(), "Conclusion Rule: Inconsistent usage of variable '" + x + "' on line " +
                            std::to_string(line) + ". Consider deleting that line.");
  }

  // Every line of blocks from..to starts with at least Tabs TABs.
  void ExpectIndented(int from, int to, int Tabs) {
    const std::string want(Tabs, '\t');
    for (int k = from; k <= to; ++k) {
      const StmtRec& s = S.Doc.Stmts[k];
      std::string block = S.Doc.ProofText.substr(s.StartLine - 1, s.EndRule - s.StartLine + 1);
      size_t start = 0;
      while (start < block.size()) {
        size_t end = block.find("\r\n", start);
        std::string line = block.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty()) {
          EXPECT_EQ(line.substr(0, Tabs), want) << "line " << k << ": " << line;
        }
        if (end == std::string::npos) break;
        start = end + 2;
      }
    }
  }
};

TEST_F(Conclusion, DischargesThePremiseIntoAnImplication) {
  Put("P & Q");
  Put("Q", kRuleSplit, 1);
  Conclude();
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "P & Q => Q");
  EXPECT_EQ(RuleText(3), "4 Conclusion, 1");
  EXPECT_EQ(S.Doc.Stmts[3].Arg1, 1);
  EXPECT_EQ(S.Doc.Stmts[1].Arg1, 3);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  ExpectIndented(1, 2, 1);
  Check();
  // One snapshot covers the link, the indentation and the new line.
  EXPECT_EQ(S.Undo.StmtCount, 2);
  EXPECT_EQ(S.Undo.Stmts[1].Arg1, 0);
  EXPECT_EQ(S.Undo.ProofText.find("\t1"), std::string::npos);
}

TEST_F(Conclusion, WithoutAnOpenPremiseItRefuses) {
  Put("P", kRuleAxiom);
  Conclude();
  EXPECT_EQ(Status(), "Conclusion Rule: No active premise found");
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  Put("Q");
  Conclude();  // closes line 2
  ASSERT_EQ(S.Doc.StmtCount, 3);
  Conclude();  // only a closed premise is left
  EXPECT_EQ(Status(), "Conclusion Rule: No active premise found");
  EXPECT_EQ(S.Doc.StmtCount, 3);
  // Insert mode before an insert line has been chosen.
  Put("R");
  ConcludeBefore(0);
  EXPECT_EQ(Status(), "Conclusion Rule: No active premise found");
}

TEST_F(Conclusion, NestedPremisesCloseInnermostFirstAndAContradictionGivesANegation) {
  Put("P");
  Put("~P");
  Join(2, 1);
  ASSERT_EQ(Formula(3), "~P & P");
  Conclude();
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "~~P");
  EXPECT_EQ(RuleText(4), "4 Conclusion, 2");
  ExpectIndented(2, 3, 1);
  Conclude();
  ASSERT_EQ(S.Doc.StmtCount, 5);
  EXPECT_EQ(Formula(5), "P => ~~P");
  EXPECT_EQ(RuleText(5), "4 Conclusion, 1");
  ExpectIndented(2, 3, 2);
  ExpectIndented(1, 4, 1);
  Check();
}

TEST_F(Conclusion, TheContradictionTestKnowsItsForms) {
  const struct {
    const char* last;
    bool contradiction;
  } cases[] = {{"A & ~A", true},        {"~A & A", true},      {"A <=> ~A", true},
               {"~x+1=x+1", true},      {"A & x=x", false},    {"~x=y", false},
               {"A & ~B", false}};
  for (const auto& c : cases) {
    Reset();
    Put("x=x & y=y", kRuleAxiom);  // x and y are in use before the premise
    Put("A & B");
    Put(c.last, kRuleAxiom);
    Conclude();
    ASSERT_EQ(S.Doc.StmtCount, 4) << c.last;
    EXPECT_EQ(Formula(4), c.contradiction ? "~[A & B]" : "A & B => " + std::string(c.last))
        << c.last;
  }
}

TEST_F(Conclusion, APremiseAloneConcludesItself) {
  Put("P(x)");
  AnswerInputBox({"x"});
  Conclude();
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "ALL(x):[P(x) => P(x)]");
  EXPECT_EQ(seen.Caption, "Conclusion Rule: Generalizing on x");
  EXPECT_EQ(seen.Label1, "Enter name of bound variable");
}

TEST_F(Conclusion, GeneralisesOverThePremisesAndTheSubproofsNewVariables) {
  Put("P(x) & EXIST(y):Q(x,y)");
  Put("EXIST(y):Q(x,y)", kRuleSplit, 1);
  // E Spec of line 2 with the new variable y.
  AnswerInputBox({"y"});
  S.Doc.RuleMode = kRuleSpec;
  Click(2);
  Spec(S);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  ASSERT_EQ(Formula(3), "Q(x,y)");

  AnswerInputBox({"a, a", "a, b"});
  Conclude();
  EXPECT_EQ(seen.Caption, "Conclusion Rule: Generalizing on x, y");
  EXPECT_EQ(seen.Label1, "Enter names of 2 bound variables, separated by commas");
  EXPECT_EQ(seen.Text1, "x, y");
  EXPECT_EQ(seen.Messages, std::vector<std::string>{"Invalid list of bound variables"});
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "ALL(a):[P(a) & EXIST(b):Q(a,b) => EXIST(b):Q(a,b)]");
  EXPECT_EQ(S.Doc.Stmts[4].FreeVars, "");
  Check();
}

TEST_F(Conclusion, NamesThatWouldBeCapturedAreRefused) {
  Put("R(k)", kRuleAxiom);
  Put("P(x,k)");
  AnswerInputBox({"k", "f(y)", "z"});
  Conclude();
  EXPECT_EQ(seen.Messages, (std::vector<std::string>{
                               "New bound variable already used in premise or last statement",
                               "Invalid bound variable"}));
  EXPECT_EQ(Formula(3), "ALL(z):[P(z,k) => P(z,k)]");
}

TEST_F(Conclusion, CancellingTheNamesChangesNothing) {
  Put("P(x)");
  Put("Q", kRuleAxiom);
  const std::string text = S.Doc.ProofText;
  AnswerInputBox({});
  Conclude();
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(S.Doc.ProofText, text);
  EXPECT_EQ(S.Doc.Stmts[1].Arg1, 0);
  EXPECT_FALSE(S.Undo.Valid);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(host.beeps, 0);
}

TEST_F(Conclusion, LongImplicationsBreakAfterThePremise) {
  // The premise and the last line with 25 + 25 = 50 characters: broken.
  Put(std::string(25, 'P'));
  Put(std::string(25, 'Q'), kRuleAxiom);
  Conclude();
  EXPECT_EQ(Formula(3), std::string(25, 'P') + "\r\n=> " + std::string(25, 'Q'));
  // 25 + 24 = 49: one line.
  Reset();
  Put(std::string(25, 'P'));
  Put(std::string(24, 'Q'), kRuleAxiom);
  Conclude();
  EXPECT_EQ(Formula(3), std::string(25, 'P') + " => " + std::string(24, 'Q'));
  Check();
}

TEST_F(Conclusion, ReindentsCommentsAndContinuationLines) {
  Put("A");
  Put("B & C\r\n& D", kRuleAxiom);
  // A two-line comment above line 2, written as the comment editor does.
  {
    DocState& d = S.Doc;
    StmtRec& s = d.Stmts[2];
    const std::string comment = "first\r\nsecond";
    const std::string ins = comment + "\r\n\r\n";
    const int32_t shift = static_cast<int32_t>(ins.size());
    d.ProofText.insert(s.StartLine - 1, ins);
    s.EndUserComment = s.StartLine + static_cast<int32_t>(comment.size()) - 1;
    s.StartStmt += shift;
    s.EndStmt += shift;
    s.StartRule += shift;
    s.EndRule += shift;
    RecomputeViewPositions(d);
    Check();
  }
  Put("Q", kRuleAxiom);
  Conclude();
  ASSERT_EQ(S.Doc.StmtCount, 4);
  Check();
  ExpectIndented(1, 3, 1);
  EXPECT_EQ(Formula(2), "B & C\r\n& D");
  const StmtRec& s = S.Doc.Stmts[2];
  EXPECT_EQ(S.Doc.ProofText.substr(s.StartLine - 1, s.EndUserComment - s.StartLine + 1),
            "\tfirst\r\n\tsecond");
  EXPECT_EQ(RuleText(4), "4 Conclusion, 1");
}

TEST_F(Conclusion, InsertModeRefusesLaterLinesThatLeaveTheSubproofBadly) {
  Put("P");
  Put("Q", kRuleAxiom);
  Put("R", kRuleAxiom);
  Put("S", kRuleJoin, 2, 3);
  ConcludeBefore(4);
  EXPECT_EQ(Status(), "Conclusion Rule: Invalid reference to line 2 on subsequent line 4");
  EXPECT_EQ(S.Doc.StmtCount, 4);
  EXPECT_FALSE(S.Undo.Valid);

  // A later line that introduces a variable would leave it at the outer level.
  Reset();
  Put("P");
  Put("Q", kRuleAxiom);
  Put("T(y)", kRuleAxiom);
  ConcludeBefore(3);
  ExpectRefusedFor("y", 3);
}

TEST_F(Conclusion, InsertModeRefusesALaterLineWhoseVariableCameFromTheOuterSubproof) {
  // y is introduced at line 2 inside the subproof of line 1. Line 5 uses it
  // as a variable in scope above the premise of line 3; once that subproof
  // is closed before line 5, its record of y would be wrong.
  Put("A");
  Put("K(y)", kRuleAxiom);
  Put("B");
  Put("C", kRuleAxiom);
  Put("D(y)", kRuleAxiom);
  ASSERT_EQ(S.Doc.Stmts[5].ScopedVars, " y ");
  ConcludeBefore(5);
  ExpectRefusedFor("y", 5);
  EXPECT_EQ(S.Doc.StmtCount, 5);
  EXPECT_EQ(S.Doc.Stmts[3].Arg1, 0);
}

TEST_F(Conclusion, InsertModeLooksPastAClosedSubproofAndItsConclusionForWhereANameCameFrom) {
  // z is the outer premise's own name; the Conclusion on line 4 only repeats
  // it. Line 7 may leave the subproof of line 5.
  Put("R(z)");
  Put("P");
  Put("Q(z)", kRuleAxiom);
  Conclude();
  ASSERT_EQ(Formula(4), "P => Q(z)");
  Put("W");
  Put("T(z)", kRuleAxiom);
  Put("U(z)", kRuleAxiom);
  ConcludeBefore(7);
  EXPECT_EQ(Status(), "");
  ASSERT_EQ(S.Doc.StmtCount, 8);
  EXPECT_EQ(Formula(7), "W => T(z)");
  EXPECT_EQ(S.Doc.Stmts[5].Arg1, 7);
  EXPECT_EQ(Formula(8), "U(z)");
  Check();

  // A name brought in on a line above the closed subproof is still found.
  Reset();
  Put("A");
  Put("K(y)", kRuleAxiom);
  Put("B");
  Put("C(y)", kRuleAxiom);
  Conclude();
  Put("D");
  Put("E", kRuleAxiom);
  Put("F(y)", kRuleAxiom);
  ConcludeBefore(8);
  ExpectRefusedFor("y", 8);
  EXPECT_EQ(S.Doc.StmtCount, 8);
}

TEST_F(Conclusion, InsertModePutsTheConclusionBeforeTheInsertLine) {
  Put("A", kRuleAxiom);
  Put("P");
  Put("Q", kRuleAxiom);
  Put("B", kRuleJoin, 1, 1);
  ConcludeBefore(4);
  ASSERT_EQ(S.Doc.StmtCount, 5);
  EXPECT_EQ(Formula(4), "P => Q");
  EXPECT_EQ(S.Doc.Stmts[2].Arg1, 4);
  EXPECT_EQ(S.Doc.Stmts[4].Arg1, 2);
  EXPECT_EQ(Formula(5), "B");
  EXPECT_EQ(RuleText(5), "Join, 1, 1");
  ExpectIndented(2, 3, 1);
  Check();
}

TEST_F(Conclusion, ThePremiseSearchNeverReachesIntoAClosedSubproof) {
  // A damaged proof: an open premise (line 2) inside the closed subproof 1..3.
  Put("A");
  Put("B");
  Put("C", kRuleAxiom);
  Conclude();  // closes line 2 properly first
  ASSERT_EQ(S.Doc.StmtCount, 4);
  Conclude();  // then line 1
  ASSERT_EQ(S.Doc.StmtCount, 5);
  S.Doc.Stmts[2].Arg1 = 0;  // the inner link is lost
  checking = false;
  Put("D");
  Put("E", kRuleAxiom);
  Conclude();
  EXPECT_EQ(S.Doc.Stmts[6].Arg1, 8);
  EXPECT_EQ(S.Doc.Stmts[2].Arg1, 0);
  Conclude();
  EXPECT_EQ(Status(), "Conclusion Rule: No active premise found");
}

TEST_F(Conclusion, IndentingKeepsEveryLaterBlockInPlace) {
  for (int i = 0; i < 5; ++i) Put("P" + std::to_string(i), i == 0 ? kRulePremise : kRuleAxiom);
  const std::string before = S.Doc.ProofText;
  IndentSubproof(S.Doc, 2, 3);
  Check();
  EXPECT_EQ(S.Doc.ProofText.size(), before.size() + 4);
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(Formula(k), "P" + std::to_string(k - 1));
}

}  // namespace
}  // namespace qv
