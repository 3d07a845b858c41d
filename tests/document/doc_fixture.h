// A fresh AppState on in-memory boxes and a scripted host, with helpers that
// add statements the way the rules do and check the document's invariants
// after every change.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "view/view.h"
#include "platform/fakehost.h"
#include "platform/memrichbox.h"

namespace qv {

// A document of one Axiom line whose formula is stored exactly as Formula
// (one line, no comment), as a proof file may hold it.
inline void OneStoredAxiom(DocState& d, const std::string& Formula) {
  d = DocState{};
  d.ProofText = "1\t" + Formula + "\r\n\tAxiom\r\n\r\n";
  d.StmtCount = 1;
  d.Stmts.resize(2);
  StmtRec& s = d.Stmts[1];
  s.Rule = kRuleAxiom;
  s.StartLine = 1;
  s.StartStmt = 3;
  s.EndStmt = s.StartStmt + static_cast<int32_t>(Formula.size()) - 1;
  s.StartRule = s.EndStmt + 4;
  s.EndRule = s.StartRule + 4;
  s.ViewerStartLine = 1;
}

class DocTest : public ::testing::Test {
 protected:
  DocTest() {
    S.Attach(&host, &view, &status, &work);
  }

  // Adds Text by Rule citing A1 and A2, as a rule would; checks the invariants.
  bool Put(const std::string& Text, int Rule = kRulePremise, int A1 = 0, int A2 = 0,
           const std::string& NewVar = "") {
    S.Parser.ExprText = Text;
    S.Doc.RuleMode = Rule;
    S.Doc.RuleArg1 = A1;
    S.Doc.RuleArg2 = A2;
    S.Doc.PendingNewVar = NewVar;
    bool ok = PutStmt(S);
    Check();
    return ok;
  }

  // Adds n axioms "P1" .. "Pn" (no free variables, nothing highlighted but the number).
  void PutAxioms(int n) {
    for (int i = 1; i <= n; ++i) Put("P" + std::to_string(i), kRuleAxiom);
  }

  void Check() {
    const std::string err = CheckDocInvariants(S.Doc);
    EXPECT_EQ(err, "") << "proof text:\n" << S.Doc.ProofText;
  }

  const StmtRec& Line(int k) const { return S.Doc.Stmts[k]; }

  // Text of line k's formula, rule text and number as stored.
  std::string Formula(int k) const {
    const StmtRec& s = Line(k);
    return S.Doc.ProofText.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1);
  }
  std::string Rule(int k) const {
    const StmtRec& s = Line(k);
    return S.Doc.ProofText.substr(s.StartRule - 1, s.EndRule - s.StartRule + 1);
  }

  // Writes a comment above line k the way the comment editor does: the
  // comment and CR LF CR LF open the block, everything after it moves.
  void AddComment(int k, const std::string& Comment) {
    DocState& d = S.Doc;
    StmtRec& s = d.Stmts[k];
    ASSERT_EQ(s.EndUserComment, 0);
    const std::string ins = Comment + "\r\n\r\n";
    const int32_t shift = static_cast<int32_t>(ins.size());
    d.ProofText.insert(s.StartLine - 1, ins);
    s.EndUserComment = s.StartLine + static_cast<int32_t>(Comment.size()) - 1;
    s.StartStmt += shift;
    s.EndStmt += shift;
    s.StartRule += shift;
    s.EndRule += shift;
    for (int j = k + 1; j <= d.StmtCount; ++j) ShiftStmtPositions(d.Stmts[j], shift);
    RecomputeViewPositions(d);
    ResetFonts(S);
    Check();
  }

  // Indents lines from .. to by one TAB, as closing a sub-proof does.
  void Indent(int from, int to) {
    DocState& d = S.Doc;
    int32_t shift = 0;
    for (int j = from; j <= d.StmtCount; ++j) {
      StmtRec& s = d.Stmts[j];
      ShiftStmtPositions(s, shift);
      if (j > to) continue;
      const int32_t num = s.EndUserComment > 0 ? s.EndUserComment + 5 : s.StartLine;
      d.ProofText.insert(num - 1, "\t");
      s.StartStmt += 1;
      s.EndStmt += 1;
      s.StartRule += 1;
      s.EndRule += 1;
      d.ProofText.insert(s.StartRule - 1, "\t");
      s.StartRule += 1;
      s.EndRule += 1;
      shift += 2;
    }
    RecomputeViewPositions(d);
  }

  // Closes the sub-proof of the Premise at line p by a Conclusion at the end.
  void Close(int p, const std::string& Text) {
    Indent(p, S.Doc.StmtCount);
    S.Doc.Stmts[p].Arg1 = static_cast<int16_t>(S.Doc.StmtCount + 1);
    Put(Text, kRuleConclusion, p);
  }

  // Puts the caret of the view on the 1-based view position of ProofText
  // position p inside line k.
  void CaretAt(int k, int32_t p, int32_t len = 0) {
    const StmtRec& s = Line(k);
    view.SetSelStart(p - s.StartLine + s.ViewerStartLine - 1);
    view.SetSelLength(len);
  }
  // Puts the caret on line k's formula, number or rule name.
  void ClickFormula(int k) { CaretAt(k, Line(k).StartStmt); }
  void ClickNumber(int k) { CaretAt(k, Line(k).StartStmt - 2); }
  void ClickRule(int k) { CaretAt(k, Line(k).StartRule + 2); }
  // The number of TABs before line k's number.
  int Depth(int k) const { return Line(k).StartRule - Line(k).EndStmt - 4; }

  FakeHost host;
  MemRichBox view, status, work;
  AppState S;
};

}  // namespace qv
