// A proof of 20,000 statements in the real proof view: it opens, an
// insertion at the top renumbers every later line, and Undo and Redo bring
// each state back exactly.
#include <gtest/gtest.h>

#include <QApplication>
#include <fstream>

#include "support/qt_app.h"
#include "view/view.h"
#include "files/binformat.h"
#include "files/files_env.h"
#include "files/proof_builder.h"
#include "mainwindow/maincommands.h"
#include "platform/qt/qtproofview.h"

namespace qv {
namespace {

// An axiom, 1,999 closed sub-proofs of ten lines and nine axioms, all shown,
// a comment on some lines.
DocState LongProof() {
  ProofBuilder b;
  b.Intro("Prove: a long proof");
  b.Add("ALL(a):[a@n => a+1@n]", kRuleAxiom);
  for (int block = 0; block < 1999; ++block) {
    const std::string x = "x" + std::to_string(block);
    const int p = b.Add(x + "@n & ALL(a):[a@n => a+1@n]", kRulePremise, 0, 0, 1);
    for (int i = 0; i < 8; ++i)
      b.Add("ALL(a):[a@n => a+1@n] & " + x + "@n", kRuleSplit, p, 0, 1, i % 3 == 0 ? "step " + x : "");
    b.Add(x + "@n => " + x + "@n", kRuleConclusion, p);
    b.Close(p, p + 9);
  }
  for (int i = 0; i < 9; ++i) b.Add("ALL(a):[a@n => a+" + std::to_string(i) + "@n]", kRuleAxiom);
  b.RecordVars();
  RecomputeViewPositions(b.d);
  return b.d;
}

// The view's text and runs, as a redraw into a fresh in-memory box gives them.
RichDoc Drawn(const AppState& S) {
  AppState copy = S;
  copy.Redraw.reset();
  MemRichBox box, status, work;
  FakeHost host;
  copy.Attach(&host, &box, &status, &work);
  ResetFonts(copy);
  RichDoc d = box.Doc(0, box.TextLength());
  d.selStart = d.selLength = 0;
  return d;
}

RichDoc Shown(const QtProofView& v) {
  RichDoc d = v.Model()->Doc(0, v.TextLength());
  d.selStart = d.selLength = 0;
  return d;
}

TEST(LongProof, OpensRenumbersAfterAnInsertionAndUndoes) {
  TestApp();
  FilesEnv e;
  QtProofView view;
  view.resize(800, 600);
  view.show();
  e.S.Attach(&e.host, &view, &e.status, &e.work);
  const DocState proof = LongProof();
  ASSERT_EQ(CheckDocInvariants(proof), "");
  const std::string path = e.Path("long.proof");
  std::ofstream(path, std::ios::binary) << WriteProofBytes("caption", proof);
  e.S.Ui.ProofFileName = path;

  OpenProof(e.S);
  QApplication::processEvents();
  ASSERT_EQ(e.S.Doc.StmtCount, 20000);
  EXPECT_EQ(e.S.Doc.ProofText, proof.ProofText);
  const RichDoc opened = Shown(view);
  EXPECT_TRUE(opened == Drawn(e.S));
  EXPECT_NE(opened.text.find("\n20000\t"), std::string::npos);

  BackUpUndo(e.S);
  e.S.Doc.InsertMode = true;
  e.S.Doc.InsertLine = 2;
  e.S.Parser.ExprText = "ALL(a):[a@n => a+1@n]";
  e.S.Doc.RuleMode = kRuleAxiom;
  ASSERT_TRUE(PutStmt(e.S));
  QApplication::processEvents();
  const DocState& d = e.S.Doc;
  ASSERT_EQ(d.StmtCount, 20001);
  EXPECT_EQ(CheckDocInvariants(d), "");
  // The last sub-proof moved down one: its premise is line 19983 and is cited so.
  EXPECT_EQ(d.Stmts[19984].Arg1, 19983);
  EXPECT_EQ(d.ProofText.substr(d.Stmts[19984].StartRule - 1, d.Stmts[19984].EndRule - d.Stmts[19984].StartRule + 1),
            RuleTextOf(d.Stmts[19984]));
  EXPECT_NE(RuleTextOf(d.Stmts[19984]).find("19983"), std::string::npos);
  const RichDoc inserted = Shown(view);
  EXPECT_TRUE(inserted == Drawn(e.S));
  EXPECT_NE(inserted.text.find("\n20001\t"), std::string::npos);
  EXPECT_EQ(inserted.text.find("\n20002\t"), std::string::npos);
  // The caret on the new line 2, in sight.
  EXPECT_EQ(view.LineOf(view.SelStart()), view.LineOf(d.Stmts[2].EndRule - d.Stmts[2].StartLine + d.Stmts[2].ViewerStartLine));
  EXPECT_LE(view.CharRect(view.SelStart()).bottom(), view.viewport()->height());

  optUndo_Click(e.S);
  QApplication::processEvents();
  EXPECT_EQ(e.S.Doc.StmtCount, 20000);
  EXPECT_EQ(e.S.Doc.ProofText, proof.ProofText);
  EXPECT_TRUE(Shown(view) == opened);

  optRedo_Click(e.S);
  QApplication::processEvents();
  EXPECT_EQ(e.S.Doc.StmtCount, 20001);
  EXPECT_TRUE(Shown(view) == inserted);
}

}  // namespace
}  // namespace qv
