// Meaning of statements in small finite models, for checking that what the
// rules derive follows from what is assumed.
//
// A model has a domain of one to three elements. Every predicate, every
// proposition letter, the order relations and the element-of sign "@" are
// relations on it; the arithmetic operators, the n-tuple and the
// application of a function to its arguments are functions into it. A
// function name and a numeral are variables, as the program treats them
// (f(x) applies the value of f to x). "=" is identity.
// Nothing of arithmetic is assumed, so only rules that are sound in every
// structure can be checked (the schemata, induction, SUM and PROD are not).
// The interpretation is drawn lazily from a hash of the model's seed, the
// symbol and its arguments, so a model costs nothing to build and is the
// same every time it is asked.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qv::sem {

// A statement compiled for evaluation. Variables (lower-case names and
// numerals) are free unless a quantifier binds them.
struct Expr {
  enum Op {
    kVar, kConst, kFun, kEq, kRel, kNot, kAnd, kOr, kImply, kIff, kAll, kExist
  } op = kVar;
  std::string name;           // variable name, or the function or relation key
  uint64_t key = 0;           // hash of the function or relation key
  std::vector<int> args;      // sub-expressions (indices into Formula::nodes)
  int var = -1;               // kVar and the quantifiers: variable slot
};

struct Formula {
  std::vector<Expr> nodes;    // the root is the last node
  std::vector<std::string> freeVars;  // in order of first occurrence
  std::string text;
};

// Parses Text with the program's parser and compiles it. Returns null and
// sets Err when the text does not parse or holds what cannot be interpreted.
// Variable slots are taken from Slots (name -> slot), which grows.
std::shared_ptr<Formula> Compile(const std::string& Text, std::map<std::string, int>& Slots,
                                 std::string& Err);

struct Model {
  int size = 2;
  uint64_t seed = 0;
  // Truth values given to proposition letters (by key) instead of drawn
  // ones: the rows of a truth table.
  std::vector<std::pair<uint64_t, bool>> letters;
  bool Holds(uint64_t key, const int* args, int n) const;
  int Apply(uint64_t key, const int* args, int n) const;
  // The tables of the given symbols ("name/arity" keys) in this model.
  std::string Describe(const std::vector<std::string>& symbols) const;
};

// One step of a sentence built from a proof's lines, read left to right.
struct Step {
  enum Kind { kForAll, kExists, kAssume, kClaim } kind = kAssume;
  int var = -1;                        // kForAll, kExists
  std::shared_ptr<Formula> formula;    // kAssume, kClaim
  std::string label;                   // where the step comes from (for reports)
};

// Evaluates the sentence of Steps in M with Slots variables. On a false
// sentence, Witness receives the values of the universally chosen variables
// on the path that failed ("x=0 y=1").
class Evaluator {
 public:
  explicit Evaluator(int slotCount) : env_(static_cast<size_t>(slotCount), 0) {}
  bool Sentence(const std::vector<Step>& Steps, const Model& M,
                const std::vector<std::string>& slotNames, std::string* Witness);
  // With a draw other than 0, each "for all" takes one value drawn from it
  // instead of every value: a sentence with many variables is then checked
  // at sampled values (a false result is still a true counter-model).
  uint64_t draw = 0;
  bool Eval(const Formula& F, int node, const Model& M);

 private:
  int Term(const Formula& F, int node, const Model& M);
  bool Run(const std::vector<Step>& Steps, size_t i, const Model& M);
  std::vector<int> env_;
  std::vector<std::pair<int, int>> path_;  // (slot, value) of the universal choices so far
  std::vector<std::pair<int, int>> failedPath_;
  bool failedSet_ = false;
};

// The "name/arity" keys of the relations and functions a formula uses.
void SymbolsOf(const Formula& F, std::vector<std::string>& Out);

}  // namespace qv::sem
