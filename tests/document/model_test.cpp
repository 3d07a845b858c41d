// The statement table and the proof text kept in step: the checker of every
// layout invariant and the rule text of a line.
#include <gtest/gtest.h>

#include "document/doc_fixture.h"

namespace qv {
namespace {

TEST(DocInvariants, CatchBrokenLayouts) {
  DocState d;
  EXPECT_EQ(CheckDocInvariants(d), "");
  OneStoredAxiom(d, "A");
  StmtRec& s = d.Stmts[1];
  EXPECT_EQ(CheckDocInvariants(d), "");
  s.Arg2 = 1;  // a line citing itself, with a rule text that does not say so
  EXPECT_NE(CheckDocInvariants(d), "");
  s.Arg2 = 0;
  s.ViewerStartLine = 2;
  EXPECT_NE(CheckDocInvariants(d), "");
  s.ViewerStartLine = 1;
  d.ProofText += "x";
  EXPECT_NE(CheckDocInvariants(d), "");
  d.ProofText.pop_back();
  d.ProofText[0] = '2';
  EXPECT_NE(CheckDocInvariants(d), "");
}

TEST(DocInvariants, RuleTextMustBeTheRecordsOwn) {
  DocState d;
  OneStoredAxiom(d, "A");
  const size_t at = d.ProofText.find("Axiom");
  d.ProofText[at + 4] = 'n';  // same length, other text
  EXPECT_NE(CheckDocInvariants(d), "");
  d.ProofText[at + 4] = 'm';
  d.Stmts[1].Rule = kRulePremise;  // the record says Premise, the text says Axiom
  EXPECT_NE(CheckDocInvariants(d), "");
}

TEST(DocInvariants, EveryTextKeepsWholeLineBreaks) {
  DocState d;
  OneStoredAxiom(d, "A &\r\n\tB");  // a wrapped formula is sound
  EXPECT_EQ(CheckDocInvariants(d), "");
  for (const char* broken : {"A &\nB", "A &\rB", "A &\n\tB", "A &\r\r\n\tB"}) {
    OneStoredAxiom(d, broken);
    EXPECT_NE(CheckDocInvariants(d), "") << broken;
  }

  // An Introduction is free text, but its line breaks are CR LF.
  auto withIntro = [&](const std::string& intro) {
    OneStoredAxiom(d, "A");
    const std::string head = intro + "\r\n\r\n";
    d.ProofText.insert(0, head);
    d.IntroLen = static_cast<int32_t>(intro.size());
    ShiftStmtPositions(d.Stmts[1], static_cast<int32_t>(head.size()));
    RecomputeViewPositions(d);
    return CheckDocInvariants(d);
  };
  EXPECT_EQ(withIntro("Prove\r\nit"), "");
  for (const char* intro : {"Prove\nit", "Prove\rit", "\nProve", "Prove\r"})
    EXPECT_NE(withIntro(intro), "") << intro;

  OneStoredAxiom(d, "A");
  d.Stmts[1].FreeVars = " a\nb ";
  EXPECT_NE(CheckDocInvariants(d), "");
  d.Stmts[1].FreeVars = "";
  d.Stmts[1].NewVar = "a\r";
  EXPECT_NE(CheckDocInvariants(d), "");
}

TEST(DocInvariants, EveryFormulaParses) {
  DocState d;
  for (const char* bad : {"A &", "ALL(x):", "(A | B", "A B", "x@@y"}) {
    OneStoredAxiom(d, bad);
    EXPECT_NE(CheckDocInvariants(d), "") << bad;
  }
  OneStoredAxiom(d, "ALL(x):[x@s => P(x)]");
  EXPECT_EQ(CheckDocInvariants(d), "");
}

TEST(RuleText, TagNameAndCitations) {
  StmtRec s;
  s.Rule = kRulePremise;
  s.Arg1 = 9;  // the closing Conclusion is not a citation
  EXPECT_EQ(RuleTextOf(s), "Premise");
  s.Rule = kRuleJoin;
  s.Arg1 = 3;
  s.Arg2 = 5;
  EXPECT_EQ(RuleTextOf(s), "Join, 3, 5");
  s.Rule = kRuleConclusion;
  s.Arg1 = 4;
  s.Arg2 = 0;
  EXPECT_EQ(RuleTextOf(s), "4 Conclusion, 4");
  s.Rule = kRuleESpec;
  s.Arg1 = 7;
  EXPECT_EQ(RuleTextOf(s), "E Spec, 7");
}

}  // namespace
}  // namespace qv
