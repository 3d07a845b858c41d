// The walk over the active lines: closed subproofs are stepped over in both
// directions, the insertion limit stays in the table, and no link, however
// damaged, makes a walk loop or leave the table.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/document.h"

namespace qv {
namespace {

// A statement table of rules and links only, as the walks read it.
class Walk : public ::testing::Test {
 protected:
  Walk() { d.Stmts.resize(1); }
  int Add(int Rule, int Arg1 = 0, const std::string& Free = "") {
    StmtRec s;
    s.Rule = static_cast<int16_t>(Rule);
    s.Arg1 = static_cast<int16_t>(Arg1);
    s.FreeVars = Free;
    d.Stmts.push_back(s);
    d.StmtCount = static_cast<int>(d.Stmts.size()) - 1;
    return d.StmtCount;
  }
  // Closes the premise at p with a Conclusion on the next line.
  int Close(int p) {
    const int c = Add(kRuleConclusion, p);
    d.Stmts[p].Arg1 = static_cast<int16_t>(c);
    return c;
  }
  // The walk down to Limit and the walk up from Limit - 1, each in the
  // order it visits; a walk that takes more steps than there are lines
  // fails the test instead of hanging it.
  std::vector<int> Down(int Limit, Marks m = Marks::Count) const {
    std::vector<int> out;
    for (int j = ActiveFrom(d, 1, m); j < Limit; j = ActiveFrom(d, j + 1, m)) {
      EXPECT_GE(j, 1);
      EXPECT_LE(j, d.StmtCount);
      out.push_back(j);
      if (out.size() > d.Stmts.size()) {
        ADD_FAILURE() << "the walk down does not end";
        break;
      }
    }
    return out;
  }
  std::vector<int> Up(int From, Marks m = Marks::Count) const {
    std::vector<int> out;
    for (int j = ActiveUpFrom(d, From, m); j >= 1; j = ActiveAbove(d, j, m)) {
      EXPECT_LE(j, d.StmtCount);
      out.insert(out.begin(), j);
      if (out.size() > d.Stmts.size()) {
        ADD_FAILURE() << "the walk up does not end";
        break;
      }
    }
    return out;
  }
  using V = std::vector<int>;
  DocState d;
};

TEST_F(Walk, NestedClosedSubproofsAreSteppedOverToTheirConclusions) {
  Add(kRuleAxiom, 0, " k ");     // 1
  const int p = Add(kRulePremise);  // 2
  const int q = Add(kRulePremise);  // 3
  Add(kRuleSplit, 0, " x ");     // 4
  Close(q);                      // 5
  Close(p);                      // 6
  Add(kRuleSplit);               // 7
  EXPECT_EQ(Down(8), (V{1, 6, 7}));
  EXPECT_EQ(Up(7), (V{1, 6, 7}));
  // Seen from inside, the enclosing premises are in sight.
  EXPECT_EQ(Up(4), (V{1, 2, 3, 4}));
  EXPECT_EQ(Up(5), (V{1, 2, 5}));
  EXPECT_EQ(InnermostPremise(d, 4), 3);
  EXPECT_EQ(InnermostPremise(d, 5), 2);
  EXPECT_EQ(InnermostPremise(d, 3), 3);  // a premise is its own innermost one
  EXPECT_EQ(InnermostPremise(d, 7), 0);
  EXPECT_EQ(ActiveLineWithFree(d, "k", 8), 1);
  EXPECT_EQ(ActiveLineWithFree(d, "x", 8), 0);
  EXPECT_EQ(ClosingConclusion(d, 2), 6);
  EXPECT_EQ(ClosedPremise(d, 5), 3);
  EXPECT_EQ(ClosedPremise(d, 7), 0);
}

TEST_F(Walk, AnOpenPremiseIsWalkedIntoAndAReopenedOneStaysHidden) {
  Add(kRuleAxiom);                  // 1
  const int outer = Add(kRulePremise);  // 2, open
  const int inner = Add(kRulePremise);  // 3
  Add(kRuleSplit);                  // 4
  Close(inner);                     // 5
  EXPECT_EQ(Down(6), (V{1, 2, 5}));
  EXPECT_EQ(Up(5), (V{1, 2, 5}));
  EXPECT_EQ(InnermostPremise(d, 5), outer);

  // The outer subproof closed, then its inner Conclusion deleted: the inner
  // premise is open again, but only inside the closed outer one.
  Close(outer);                     // 6
  d.Stmts[inner].Arg1 = 0;
  d.Stmts[5].Rule = kRuleSplit;
  Add(kRuleSplit);                  // 7
  EXPECT_EQ(Down(8), (V{1, 6, 7}));
  EXPECT_EQ(Up(7), (V{1, 6, 7}));
  EXPECT_EQ(InnermostPremise(d, 7), 0);
  EXPECT_EQ(InnermostPremise(d, 5), inner);
}

TEST_F(Walk, TheInsertionLimitStaysInTheTable) {
  for (int k = 0; k < 4; ++k) Add(kRuleAxiom);
  EXPECT_EQ(InsertionLimit(d), 5);
  d.InsertMode = true;
  d.InsertLine = 3;
  EXPECT_EQ(InsertionLimit(d), 3);
  EXPECT_EQ(Down(InsertionLimit(d)), (V{1, 2}));
  d.InsertLine = 0;  // insert mode chosen, no line yet: nothing lies above
  EXPECT_EQ(InsertionLimit(d), 1);
  d.InsertLine = 40;
  EXPECT_EQ(InsertionLimit(d), 5);
  d.StmtCount = 9;  // more lines counted than the table holds
  EXPECT_EQ(InsertionLimit(d), 5);
  d.InsertMode = false;
  EXPECT_EQ(InsertionLimit(d), 5);
  EXPECT_EQ(Down(InsertionLimit(d)), (V{1, 2, 3, 4}));
  EXPECT_EQ(ActiveFrom(d, 3), 3);
  EXPECT_EQ(ActiveFrom(d, 7), 5);
  EXPECT_EQ(Up(9), (V{1, 2, 3, 4}));
}

TEST_F(Walk, LinesMarkedForDeletionAreWalkedAsIfGone) {
  Add(kRuleAxiom);                  // 1
  const int p = Add(kRulePremise);  // 2
  Add(kRuleSplit);                  // 3
  Close(p);                         // 4
  Add(kRuleSplit);                  // 5
  d.Stmts[4].DeleteFlag = true;     // the Conclusion goes: 2 and 3 are open again
  d.Stmts[1].DeleteFlag = true;
  EXPECT_EQ(Down(6, Marks::Gone), (V{2, 3, 5}));
  EXPECT_EQ(Up(5, Marks::Gone), (V{2, 3, 5}));
  EXPECT_EQ(InnermostPremise(d, 5, Marks::Gone), 2);
  EXPECT_EQ(Down(6), (V{1, 4, 5}));
  EXPECT_EQ(InnermostPremise(d, 5), 0);
}

TEST_F(Walk, DamagedLinksAreNeverFollowed) {
  Add(kRulePremise, 1);      // 1 names itself
  Add(kRulePremise, -3);     // 2 names a line before the table
  Add(kRulePremise, 30000);  // 3 names a line past it
  Add(kRulePremise, 5);      // 4 names a line that is no Conclusion
  Add(kRuleSplit);           // 5
  Add(kRuleConclusion, 6);   // 6 names itself
  Add(kRuleConclusion, 9);   // 7 names a later line
  Add(kRuleConclusion, 5);   // 8 names a line that is no Premise
  Add(kRuleConclusion, 0);   // 9
  Add(kRulePremise, 2);      // 10 names an earlier line
  const V all{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(Down(11), all);
  EXPECT_EQ(Up(10), all);
  for (int k = 1; k <= 10; ++k) {
    EXPECT_EQ(ClosingConclusion(d, k), 0) << k;
    EXPECT_EQ(ClosedPremise(d, k), 0) << k;
  }
  EXPECT_EQ(InnermostPremise(d, 9), 4);
  // Lines past the table and before it.
  EXPECT_EQ(ClosingConclusion(d, 0), 0);
  EXPECT_EQ(ClosingConclusion(d, 99), 0);
  EXPECT_EQ(ActiveAbove(d, 99), 10);
  EXPECT_EQ(ActiveAbove(d, 0), 0);
  EXPECT_EQ(ActiveFrom(d, 99), 11);

  // A Premise naming a Conclusion that closes another premise: the walk
  // down does not step over the lines in between.
  Add(kRulePremise, 13);     // 11
  Add(kRulePremise);         // 12
  Add(kRuleConclusion, 12);  // 13 closes 12, not 11
  EXPECT_EQ(ClosingConclusion(d, 11), 0);
  EXPECT_EQ(Down(14), (V{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
}

// Random proofs built as the rules build them (premises, lines, Conclusions
// of the innermost open premise): from every place a statement could be
// inserted, the walk down to it and the walk up from the line above it see
// the same lines, and those are the lines outside every subproof closed
// before that place.
TEST_F(Walk, BothDirectionsAgreeOnEveryInsertionPoint) {
  std::mt19937 rng(20261209);
  for (int round = 0; round < 200; ++round) {
    d = DocState{};
    d.Stmts.resize(1);
    std::vector<int> open;
    const int n = 1 + static_cast<int>(rng() % 30);
    for (int k = 0; k < n; ++k) {
      const unsigned r = rng() % 3;
      if (r == 0) open.push_back(Add(kRulePremise));
      else if (r == 1 && !open.empty()) {
        Close(open.back());
        open.pop_back();
      } else {
        Add(kRuleSplit);
      }
    }
    // The lines inside a closed subproof, and the places no statement may
    // be inserted: strictly inside one or on its Conclusion.
    std::vector<bool> inside(d.StmtCount + 2, false), barred(d.StmtCount + 2, false);
    for (int p = 1; p <= d.StmtCount; ++p) {
      if (d.Stmts[p].Rule != kRulePremise || d.Stmts[p].Arg1 == 0) continue;
      for (int k = p; k < d.Stmts[p].Arg1; ++k) inside[k] = true;
      for (int k = p + 1; k <= d.Stmts[p].Arg1; ++k) barred[k] = true;
    }
    for (int limit = 1; limit <= d.StmtCount + 1; ++limit) {
      if (barred[limit]) continue;
      V expected;
      for (int k = 1; k < limit; ++k)
        if (!inside[k]) expected.push_back(k);
      EXPECT_EQ(Down(limit), expected) << "round " << round << " limit " << limit;
      EXPECT_EQ(Up(limit - 1), expected) << "round " << round << " limit " << limit;
    }
  }
}

TEST_F(Walk, AWitnessIsIntroducedWhereverItStands) {
  Add(kRuleAxiom, 0, " k ");
  const int e = Add(kRuleESpec, 1, " r ");
  d.Stmts[e].NewVar = "r";
  d.Stmts[e].ScopedVars = " r ";  // at the top level every name is in scope
  d.Stmts[1].ScopedVars = " k ";
  EXPECT_EQ(WitnessLine(d, "r"), e);
  EXPECT_EQ(LineIntroducing(d, "r"), e);
  EXPECT_EQ(LineIntroducing(d, "k"), 0);
  d.Stmts[1].ScopedVars = "";
  EXPECT_EQ(LineIntroducing(d, "k"), 1);
  EXPECT_EQ(WitnessLine(d, "k"), 0);
  // A U Spec line may carry a stale NewVar: it is no witness.
  d.Stmts[e].Rule = kRuleUSpec;
  EXPECT_EQ(WitnessLine(d, "r"), 0);
  EXPECT_EQ(WitnessLine(d, ""), 0);
}

}  // namespace
}  // namespace qv
