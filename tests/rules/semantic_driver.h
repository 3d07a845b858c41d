// Builds random proofs through the program's own commands, clicks and
// dialogs, and after every action checks each line in finite models
// (semantic_proof.h). The user it plays is careless and adversarial: it
// clicks lines inside closed subproofs and below the insert line, types
// names that are already used or bound, tries to capture variables, inserts
// premises and axioms above E Spec lines, deletes, undoes and redoes.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "document/state.h"
#include "platform/commands.h"
#include "platform/fakehost.h"
#include "platform/memrichbox.h"
#include "semantic_proof.h"

namespace qv::sem {

class Driver {
 public:
  explicit Driver(uint64_t Seed, int Models = 60);

  // One random action followed by the checks. False once a fault was found
  // (Failure() describes it); the driver then stays stopped.
  bool Step();
  const std::string& Failure() const { return failure_; }

  // Statements added, by rule name, and their sum.
  std::map<std::string, long> applied;
  long applications = 0;
  long actions = 0;
  long proofs = 0;
  const ProofChecker& Checker() const { return checker_; }
  // Per-rule counts as text, one "name: count" per line.
  std::string Counts() const;

  // Starts the next proof when the current one has this many lines.
  int maxLines = 18;

 private:
  int R(int n) { return n <= 1 ? 0 : static_cast<int>(rng_() % static_cast<uint64_t>(n)); }
  bool Chance(int percent) { return R(100) < percent; }
  template <class T>
  const T& Pick(const std::vector<T>& v) { return v[static_cast<size_t>(R(static_cast<int>(v.size())))]; }

  void NewProof();
  void Act();
  void Record(const std::string& what);
  bool CheckNow(const std::string& after);

  // The user's hand.
  void ClickLine(int line, bool preferOperator);
  void SelectIn(int line);
  int ChooseLine();
  int ChooseActiveLine();
  void RunClicks(int clicks);
  void Arm(const std::string& command);
  void EndPendingRule();
  // The Conclusion command; in insert mode it notes how the Conclusion meets
  // closed subproofs (see PastClosedSubproofs), for the counts.
  void Conclude();
  int insertConclusion_ = -1;
  // Texts the entry window gets typed before any of EntryText's.
  std::deque<std::string> typed_;

  // The user's words.
  std::string FreeName();
  std::string BoundName();
  std::string Term(int depth);
  std::string Atomic(std::vector<std::string>& bound);
  std::string Formula(int depth, std::vector<std::string>& bound);
  std::string Hypothesis();
  std::string EntryText(int mode);
  std::string InputText(int mode, const std::string& prefilled);
  std::vector<std::string> NamesInProof() const;
  std::vector<std::string> Witnesses() const;

  void InstallScripts();

  std::mt19937_64 rng_;
  ProofChecker checker_;
  FakeHost host_;
  MemRichBox view_, status_, work_, entryBox_, dialogBox_;
  AppState S;
  CommandRegistry commands_;
  std::vector<std::string> log_;
  std::string failure_;
  uint64_t seed_;
};

}  // namespace qv::sem
