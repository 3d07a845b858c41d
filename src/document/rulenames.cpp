// The name of every rule code, as the rule texts of the proof show it.
#include "document/state.h"

namespace qv {

const std::array<const char*, 55> RuleNames = {
    "",               "Premise",        "Spec",         "E Spec",      "U Spec",
    "E Gen",          "U Gen",          "Conclusion",   "Delete at ref", "Delete at sub",
    "Insert",         "Quant",          "Rem DNeg",     "Ins DNeg",    "Join",
    "Split",          "Detach",         "Iff-And",      "Subset",      "Imply-And",
    "Contra",         "DeMorgan",       "Arb Or",       "Arb Ante",    "Arb Cons",
    "Cart Prod",      "Power Set",      "Function",     "Substitute",  "Set Equality",
    "Reflex",         "Sym",            "Number Axioms", "Induction",  "Imply-Or",
    "Definition",     "Cases",          "Or Not",       "Set Ops",     "Implies",
    "Iff",            "Or",             "Sum",          "Prod",        "Set Insert Mode",
    "Axiom",          "Rename",         "Reorder",      "Ntuple Equality", "Pw Union",
    "Arb Union",      "Choice",         "Copy",         "Fn Space",    "Fn Equality"};

}  // namespace qv
