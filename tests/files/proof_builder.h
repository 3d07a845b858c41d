// Proofs built directly as statement table and text, without parsing, laid
// out the way the program lays them out.
#pragma once

#include <string>

#include "document/document.h"
#include "expr/expr.h"

namespace qv {

// Builds a document block by block the way the program lays it out.
struct ProofBuilder {
  DocState d;

  // Only before the first statement.
  void Intro(const std::string& text) {
    d.ProofText = text + "\r\n\r\n";
    d.IntroLen = static_cast<int32_t>(text.size());
  }

  // Appends a statement; Depth is the number of closed subproofs around it.
  // RecordVars gives the lines their variable lists.
  int Add(const std::string& Formula, int Rule, int Arg1 = 0, int Arg2 = 0, int Depth = 0,
          const std::string& Comment = "") {
    const int k = ++d.StmtCount;
    d.Stmts.resize(k + 1);
    StmtRec& s = d.Stmts[k];
    s.Rule = static_cast<int16_t>(Rule);
    s.Arg1 = static_cast<int16_t>(Arg1);
    s.Arg2 = static_cast<int16_t>(Arg2);
    s.Highlight = Rule == kRulePremise;
    std::string& T = d.ProofText;
    s.StartLine = static_cast<int32_t>(T.size()) + 1;
    if (!Comment.empty()) {
      T += Comment;
      s.EndUserComment = static_cast<int32_t>(T.size());
      T += "\r\n\r\n";
    }
    const std::string tabs(static_cast<size_t>(Depth), '\t');
    T += tabs + std::to_string(k) + "\t";
    s.StartStmt = static_cast<int32_t>(T.size()) + 1;
    T += Formula;
    s.EndStmt = static_cast<int32_t>(T.size());
    T += "\r\n" + tabs + "\t";
    s.StartRule = static_cast<int32_t>(T.size()) + 1;
    T += RuleTextOf(s);
    s.EndRule = static_cast<int32_t>(T.size());
    T += "\r\n\r\n";
    RecomputeViewPositions(d);
    return k;
  }

  // Gives every line the variable lists the program records for it.
  void RecordVars() {
    ScopeIndex scope(d);
    for (int k = 1; k <= d.StmtCount; ++k) {
      const ParseResult parsed = ParseText(StmtFormula(d, k));
      const RecordedVars vars = RecordVarLists(parsed.Tokens, parsed.Nodes,
                                               [&](const std::string& v) { return scope.InScope(v, k); });
      d.Stmts[k].FreeVars = vars.Free;
      d.Stmts[k].ScopedVars = vars.Scoped;
    }
  }

  // Links a premise to its conclusion (the conclusion was added citing it).
  void Close(int Premise, int Conclusion) { d.Stmts[Premise].Arg1 = static_cast<int16_t>(Conclusion); }

  // Hides the lines of the closed subproof that starts at Premise.
  void Collapse(int Premise) {
    for (int k = Premise; k < d.Stmts[Premise].Arg1; ++k) d.Stmts[k].Visible = false;
    RecomputeViewPositions(d);
  }
};

// Introduction, comments, a closed (collapsed) subproof with a nested closed
// subproof, free variables and a highlight.
inline ProofBuilder SampleProof() {
  ProofBuilder b;
  b.Intro("Prove: ALL(a):[a@n => a@n]");
  b.Add("ALL(a):[a@n => a+1@n]", kRuleAxiom, 0, 0, 0, "Sufficient: the axiom");
  b.Add("x@n", kRulePremise, 0, 0, 1);
  b.Add("y@n", kRulePremise, 0, 0, 2);
  b.Add("y@n", kRuleSpec, 3, 0, 2);
  b.Add("y@n => y@n", kRuleConclusion, 3, 0, 1);
  b.Close(3, 5);
  b.Add("x@n & x@n", kRuleJoin, 2, 2, 1, "As Required: twice");
  b.Add("x@n => x@n & x@n", kRuleConclusion, 2);
  b.Close(2, 7);
  b.Add("ALL(a):[a@n => a@n & a@n]", kRuleUGen, 7);
  b.d.Stmts[8].Highlight = true;
  b.d.Stmts[8].FlagVars = " a ";
  b.Collapse(2);
  b.RecordVars();
  return b;
}

}  // namespace qv
