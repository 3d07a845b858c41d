// The click rules and the Conclusion command. Each click rule is called by the
// proof view's click dispatch while RuleMode holds its code, reads the click
// from the caret of S.View, and either adds its statement(s) (BackUpUndo, then
// PutStmt) or refuses in the status line; it resets RuleMode when finished or
// refused. A two-click rule receives FirstClickPending by reference.
#pragma once

#include "document/state.h"
#include "view/view.h"

namespace qv {

// The subset-axiom window (of the axioms library), opened by the Subset
// rule: the number of primes after "Set" in the clicked statement, the set
// between its parentheses, and the window's caption and prompt.
struct SubsetWindowState {
  int SubsetArity = 0;
  std::string SubsetSetText;
  std::string SubsetCaption;
  std::string SubsetLabel1;
};
inline SubsetWindowState& SubsetWindowOf(AppState& S) { return S.Windows.Get<SubsetWindowState>(); }

void Spec(AppState& S);                                   // 2: U Spec / E Spec
void ExistGenSelect(AppState& S);                         // 5: E Gen
void UnivGen(AppState& S);                                // 6: U Gen
void QuantSwitch(AppState& S);                            // 11: Quant
void RemDNeg(AppState& S);                                // 12: Rem DNeg
// 13: Ins DNeg. No command arms it; the click dispatch runs it while
// RuleMode holds its code.
void InsDNeg(AppState& S);
void Join(AppState& S, bool& FirstClickPending);          // 14
void Split(AppState& S);                                  // 15
void Detach(AppState& S, bool& FirstClickPending);        // 16
void IffSplit(AppState& S);                               // 17: Iff-And
void SubsetRule(AppState& S);                             // 18: Subset
void ImplyAnd(AppState& S);                               // 19: Imply-And
void Contrapositive(AppState& S);                         // 20: Contra
void DeMorgan(AppState& S);                               // 21
void ArbOr(AppState& S);                                  // 22
void ArbAnte(AppState& S);                                // 23
void ArbCons(AppState& S);                                // 24
void SubstituteRule(AppState& S, bool& FirstClickPending);// 28
void SymmetryRule(AppState& S);                           // 31: Sym
void ImplyOr(AppState& S);                                // 34: Imply-Or
void Cases(AppState& S, bool& FirstClickPending);         // 36
void SumProd(AppState& S);                                // 42, 43
void Rename(AppState& S);                                 // 46
void Reorder(AppState& S);                                // 47

// The Conclusion command (menu and toolbar).
void optConclusion_Click(AppState& S);

// Whole-statement rewrites between connectives (Implies, Iff, Or). The click
// dispatch runs them while RuleMode holds their codes.
void ImpliesOp(AppState& S);  // 39
void IffOp(AppState& S);      // 40
void OrOp(AppState& S);       // 41

}  // namespace qv
