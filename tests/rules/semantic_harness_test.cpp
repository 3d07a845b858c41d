// The semantic check of the rules: first that the checker itself tells sound
// proofs from unsound ones, then random proofs driven through the program's
// commands, clicks and dialogs.
//
// QV_SOUNDNESS_APPLICATIONS=N or QV_SOUNDNESS_SECONDS=T run the random proofs
// until that many statements were added or that much time has passed
// (QV_SOUNDNESS_SEED sets the first seed), and print the count per rule;
// QV_SOUNDNESS_KEEP_GOING=1 prints each fault and goes on with the next seed.
#include <chrono>
#include <cstdlib>
#include <iostream>

#include "rules_fixture.h"
#include "semantic_driver.h"
#include "semantic_proof.h"

namespace qv {
namespace {

constexpr int kRuleCopy = 52;

class SemanticCheck : public RulesTest {
 protected:
  // Adds a line as the rule would have, with the witness of an E Spec line.
  void Line(const std::string& Text, int Rule, const std::string& Witness = "", int A1 = 0, int A2 = 0) {
    S.Doc.PendingNewVar = Witness;
    Put(Text, Rule, A1, A2);
    if (!Witness.empty()) S.Doc.Stmts[S.Doc.StmtCount].NewVar = Witness;
  }
  // Closes the subproof of premise p with a conclusion of Text.
  void Close(int p, const std::string& Text) {
    checking = false;  // the link is made after the line is put
    Put(Text, kRuleConclusion, p);
    S.Doc.Stmts[p].Arg1 = static_cast<int16_t>(S.Doc.StmtCount);
    checking = true;
    Check();
  }
  // The lines found unsound.
  std::vector<int> Faulty() {
    sem::ProofChecker checker(7);
    std::vector<int> out;
    for (const sem::LineFault& f : checker.Check(S.Doc)) {
      out.push_back(f.line);
      report += f.detail + "\n";
    }
    return out;
  }
  std::string report;
};

TEST_F(SemanticCheck, AStepThatDoesNotFollowIsFoundWithItsCounterModel) {
  Line("A | B", kRuleAxiom);
  Line("A", kRuleSplit, "", 1);
  Line("B | A", kRuleCopy, "", 1);
  EXPECT_EQ(Faulty(), std::vector<int>{2});
  EXPECT_NE(report.find("domain {"), std::string::npos) << report;
  EXPECT_NE(report.find("assume 1 (Axiom): A | B"), std::string::npos) << report;
}

TEST_F(SemanticCheck, PropositionalLinesGetTheWholeTruthTable) {
  // Only one row in 128 tells the lines apart.
  Line("A | B | C | D | F | G | H", kRuleAxiom);
  Line("A | B | C | D | F | G", kRuleCopy, "", 1);
  Line("H | G | F | D | C | B | A", kRuleCopy, "", 1);
  EXPECT_EQ(Faulty(), std::vector<int>{2});
  EXPECT_NE(report.find("row 64 of the truth table"), std::string::npos) << report;
}

TEST_F(SemanticCheck, LinesOfAClosedSubproofAreNotSeenBelowIt) {
  Line("A", kRulePremise);
  Line("A & A", kRuleJoin, "", 1);
  Close(1, "[A] => [A & A]");
  Line("A & A", kRuleCopy, "", 2);
  EXPECT_EQ(Faulty(), std::vector<int>{4});
}

TEST_F(SemanticCheck, AWitnessThatLeavesItsSubproofIsAnyValue) {
  Line("EXIST(b):P(b)", kRuleAxiom);
  Line("A | ~A", kRulePremise);
  Line("P(r)", kRuleESpec, "r", 1);
  Close(2, "[A | ~A] => [P(r)]");
  EXPECT_EQ(Faulty(), std::vector<int>{4}) << report;

  Reset();
  Line("EXIST(b):P(b)", kRuleAxiom);
  Line("A | ~A", kRulePremise);
  Line("P(r)", kRuleESpec, "r", 1);
  Close(2, "[A | ~A] => [EXIST(r):[P(r)]]");
  EXPECT_EQ(Faulty(), std::vector<int>{}) << report;
}

TEST_F(SemanticCheck, AWitnessMustBeNewWhereItIsIntroduced) {
  // Two witnesses of the same name for opposite claims.
  Line("EXIST(b):P(b)", kRuleAxiom);
  Line("EXIST(b):~P(b)", kRuleAxiom);
  Line("P(r)", kRuleESpec, "r", 1);
  Line("~P(r)", kRuleESpec, "r", 2);
  EXPECT_EQ(Faulty(), std::vector<int>{4}) << report;

  // An axiom about the witness, below it or above it.
  Reset();
  Line("EXIST(b):P(b)", kRuleAxiom);
  Line("P(r)", kRuleESpec, "r", 1);
  Line("~P(r)", kRuleAxiom);
  EXPECT_EQ(Faulty(), std::vector<int>{3}) << report;
  Reset();
  Line("~P(r)", kRuleAxiom);
  Line("EXIST(b):P(b)", kRuleAxiom);
  Line("P(r)", kRuleESpec, "r", 2);
  EXPECT_EQ(Faulty(), std::vector<int>{3}) << report;
}

TEST_F(SemanticCheck, WitnessesUsedAsTheRulesAllowAreSound) {
  // A witness that depends on a variable, a premise about the witness, and
  // an axiom about another name.
  Line("ALL(a):[EXIST(b):[R(a,b)]]", kRuleAxiom);
  Line("EXIST(b):[P(b)]", kRuleAxiom);
  Line("~Q(s)", kRuleAxiom);
  Line("EXIST(b):[R(x,b)]", kRuleUSpec, "", 1);
  Line("R(x,r)", kRuleESpec, "r", 4);
  Line("P(t)", kRuleESpec, "t", 2);
  Line("Q(t)", kRulePremise);
  Line("P(t) & Q(t)", kRuleJoin, "", 6, 7);
  Close(7, "[Q(t)] => [P(t) & Q(t)]");
  Line("EXIST(c):[R(x,c)] & EXIST(d):[~Q(d)]", kRuleJoin, "", 5, 3);
  EXPECT_EQ(Faulty(), std::vector<int>{}) << report;
}

// ---- random proofs through the program ----

long EnvNumber(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atol(v) : fallback;
}

// Runs drivers from Seed on, each for up to PerDriver actions, until Done
// says so; returns the first failure ("" when none). With KeepGoing a
// failure is printed and the next seed goes on.
template <class DoneFn>
std::string RunDrivers(uint64_t Seed, long PerDriver, DoneFn Done, long& applications,
                       std::map<std::string, long>& perRule, long& actions, bool KeepGoing) {
  std::string first;
  for (uint64_t seed = Seed;; ++seed) {
    sem::Driver driver(seed);
    bool failed = false;
    for (long i = 0; i < PerDriver && !Done(applications + driver.applications); ++i) {
      if (driver.Step()) continue;
      failed = true;
      break;
    }
    applications += driver.applications;
    actions += driver.actions;
    for (const auto& [name, n] : driver.applied) perRule[name] += n;
    if (failed) {
      if (first.empty()) first = driver.Failure();
      if (!KeepGoing) return first;
      std::cout << "FAULT after " << applications << " applications in all, " << driver.applications
                << " with this seed:\n" << driver.Failure() << std::endl;
    }
    if (Done(applications)) return first;
  }
}

TEST(SemanticHarness, RandomProofsHoldInEveryModel) {
  const long wanted = EnvNumber("QV_SOUNDNESS_APPLICATIONS", 0);
  const long seconds = EnvNumber("QV_SOUNDNESS_SECONDS", 0);
  const uint64_t seed = static_cast<uint64_t>(EnvNumber("QV_SOUNDNESS_SEED", 1));
  const bool longRun = wanted > 0 || seconds > 0;
  const auto start = std::chrono::steady_clock::now();
  long applications = 0, actions = 0;
  std::map<std::string, long> perRule;
  long lastShown = 0;
  auto done = [&](long n) {
    if (!longRun) return n >= 20000;
    if (n - lastShown >= 100000) {
      lastShown = n;
      std::cout << "  " << n << " applications, "
                << std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count()
                << " s" << std::endl;
    }
    if (wanted > 0 && n >= wanted) return true;
    return seconds > 0 && std::chrono::steady_clock::now() - start >= std::chrono::seconds(seconds);
  };
  const bool keepGoing = EnvNumber("QV_SOUNDNESS_KEEP_GOING", 0) != 0;
  const std::string failure =
      RunDrivers(seed, longRun ? 20000 : 6000, done, applications, perRule, actions, keepGoing);
  if (!failure.empty()) ADD_FAILURE() << "An unsound line: " << failure;
  if (longRun || !failure.empty()) {
    std::cout << applications << " rule applications in " << actions << " actions, "
              << std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count()
              << " s\n";
    for (const auto& [name, n] : perRule) std::cout << "  " << name << ": " << n << "\n";
  }
}

}  // namespace
}  // namespace qv
