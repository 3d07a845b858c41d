// Reads a proof as a set of claims about small finite models and checks that
// every line follows from what is visible at its place.
//
// What a line L sees: the lines above it that no closed subproof hides from
// it. Among them the axioms (and definitions, set axioms) and the premises
// of the subproofs that enclose L are assumptions; an E Spec line names a
// witness. Three readings are checked, in every sampled model:
//
//  - For all values of every variable, the visible assumptions and E Spec
//    lines imply L. A step that does not follow from what it could use
//    fails here.
//  - The reading in proof order: the axioms' variables are chosen first,
//    for all values (an axiom speaks of every value of its names); then,
//    line by line, the variables a line brings in are chosen for all values,
//    except the witness an E Spec line introduces, which is chosen to make
//    that line true (there must be such a value); premises are assumed, E
//    Spec lines are claimed, and L is claimed last. A witness that is not new
//    where its E Spec line stands (an axiom names it, an earlier line uses
//    it) gets no choice: its line is claimed like any other. A witness that
//    escapes the subproof of its E Spec line is, outside it, just a
//    variable, for all values.
//  - Lines of the rules that rest on the lines they cite alone (Join,
//    Split, Detach, the rewrites, Cases, Substitute, U Spec ...) must also
//    follow from those lines by themselves, so that they are judged where
//    the assumptions have no finite model (the number axioms).
//
// A subset axiom holds whatever the names free in it stand for (its new set
// is bound and fresh): both readings assume it for all their values, so it
// may name a witness or a name a premise brings in. So is an induction line
// for the names of its property other than n and the numerals.
//
// Lines that use what the models cannot interpret are counted as skipped.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/state.h"
#include "semantic_model.h"

namespace qv::sem {

// Rule codes whose lines are assumed, not derived.
bool IsAxiomRule(int Rule);

struct LineFault {
  int line = 0;
  std::string reading;   // "implied" or "in order"
  std::string detail;    // the sentence, the counter-model and the falsifying values
};

class ProofChecker {
 public:
  // Models: how many models each check samples (sizes 1, 2, 3 in turn).
  explicit ProofChecker(uint64_t Seed, int Models = 60);

  // Checks every line of the proof; the faults found (at most one per line).
  std::vector<LineFault> Check(const DocState& d);

  long checks = 0;     // sentences evaluated (not counting those remembered)
  long remembered = 0; // sentences answered from the cache
  long skipped = 0;    // lines not checked (a line that cannot be interpreted)

 private:
  struct Line {
    int rule = 0;
    std::string witness;  // E Spec: the name it introduces
    std::shared_ptr<Formula> f;
    std::string text;
    std::string err;
  };
  std::shared_ptr<Formula> CompileCached(const std::string& Text, std::string& Err);
  // "" when the sentence holds in every sampled model, else the report.
  std::string Decide(const std::vector<Step>& Steps);

  uint64_t seed_;
  int models_;
  std::map<std::string, int> slots_;
  std::vector<std::string> slotNames_;
  std::map<std::string, std::pair<std::shared_ptr<Formula>, std::string>> compiled_;
  std::map<std::string, std::string> decided_;
};

// A text that shows the whole proof: ProofText, then each statement's rule,
// citations, witness and variable lists.
std::string DescribeProof(const DocState& d);

}  // namespace qv::sem
