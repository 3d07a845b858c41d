// Each page of the manual replayed: its example proofs built through the
// commands and clicks the page describes, its quoted messages provoked.
#include "manual/manual_fixture.h"

#include <fstream>

#include "document/document.h"
#include "axioms/induction.h"
#include "axioms/subset.h"
#include "entry/caption.h"
#include "entry/comment.h"
#include "files/files.h"
#include "mainwindow/dispatch.h"
#include "mainwindow/find.h"

namespace qv {
namespace {

using Manual = ManualTest;

TEST_F(Manual, TutorialOneBuildsAndSavesItsProof) {
  Page("tutorial1.html");
  host.OnModal("StartUp", [] {});
  // As the window is built: Undo disabled.
  host.SetControlEnabled("optUndo", false);
  host.SetControlEnabled("cmdUndo", false);
  Form_Load(S, W, {"quorvane"});
  Form_Activate(S, W);
  Says("t1-start");

  WillType({"P(x) & Q(x)"});
  Run("cmdPremise");
  Is("t1-entry-caption", entryCaption);
  Shows("t1-premise");
  // The first line of a new proof cannot be undone; the Split can.
  EXPECT_FALSE(host.ControlEnabled("optUndo"));
  EXPECT_FALSE(host.ControlEnabled("cmdUndo"));
  Run("cmdSplit");
  Says("t1-split-prompt");
  Click(1);
  Shows("t1-split");
  EXPECT_TRUE(host.ControlEnabled("cmdUndo"));
  Run("cmdJoin");
  Says("t1-join-prompt");
  Click(3);
  Says("t1-join-prompt2");
  Click(2);
  Shows("t1-join");
  WillAnswer({"a"});
  Run("cmdConclusion");
  BoxCaption("t1-conc-caption");
  Shows("t1-conclusion");
  // Hidden, line 5 stands at the top, its "Conclusion" in the view's second
  // row; a click there shows the lines again.
  ClickOn(5, "Conclusion", 1, true);
  Shows("t1-hidden");
  const std::string& shown = view.Text();
  const size_t secondRow = shown.find('\n') + 1;
  EXPECT_EQ(shown.find("Conclusion"), shown.find("Conclusion", secondRow));
  EXPECT_LT(shown.find("Conclusion"), shown.find('\n', secondRow));
  view.SetSelStart(static_cast<int32_t>(shown.find("Conclusion")));
  view.SetSelLength(0);
  RTB_Click(S);
  Shows("t1-conclusion");
  Run("cmdConclusion");
  Says("t1-conc-none");

  host.fileAnswers.push_back((dir / "swap.proof").string());
  Run("optSave");
  std::string title = host.WindowTitle();
  title.replace(title.find(dir.string()), dir.string().size(), "/home/you");
  Is("t1-title", title);
}

class ManualProofs : public ManualTest {
 protected:
  // Tutorial 2's proof; with `compare` each step is compared with the page.
  void QuantifierProof(bool compare) {
    auto shows = [&](const char* id) { if (compare) Shows(id); };
    Premise("ALL(a):[P(a) => Q(a)]");
    Premise("EXIST(a):P(a)");
    shows("t2-premises");
    WillAnswer({"k"});
    Run("cmdSpecify");
    if (compare) Says("t2-spec-prompt");
    Click(2);
    if (compare) BoxCaption("t2-espec-caption");
    shows("t2-espec");
    if (compare) {
      WillAnswer({"k"});
      Run("cmdSpecify");
      Click(2);
      BoxSays("t2-espec-used");
    }
    WillType({"z", "k"});
    Run("cmdSpecify");
    Click(1);
    if (compare) Is("t2-uspec-caption", entryCaption);
    if (compare) EntrySays("t2-uspec-refused");
    shows("t2-uspec");
    Run("cmdDetach");
    Click(4);
    Click(3);
    shows("t2-detach");
    WillGeneralize("a");
    Run("cmdEGen");
    if (compare) Says("t2-egen-prompt");
    ClickOn(5, "k");
    shows("t2-egen");
    Run("cmdConclusion");
    Run("cmdConclusion");
    shows("t2-done");
  }
};

TEST_F(ManualProofs, TutorialTwoUsesTheQuantifierRules) {
  Page("tutorial2.html");
  QuantifierProof(true);
}

TEST_F(ManualProofs, SubproofsInsertionDeletionViewsAndComments) {
  Page("proofs.html");
  QuantifierProof(false);
  // The Find window on Tutorial 2's proof.
  FindState find;
  FindForm form(S, find, dialogBox);
  form.Activate();
  form.Find();
  Is("find-empty", form.StatusLine);
  // Typing empties the message line.
  auto type = [&](const std::string& text) {
    form.KeyDown(false, false, false);
    dialogBox.SetText(text);
  };
  type("R(k)");
  form.Find();
  Is("find-none", form.StatusLine);
  type(Typed("find-typed"));
  form.Find();
  EXPECT_EQ(form.StatusLine, "");
  EXPECT_EQ(view.SelText(), "Q(k)");
  EXPECT_EQ(view.SelStart(), S.Doc.Stmts[4].ViewerStartLine - 1 +
                                 static_cast<int32_t>(S.Doc.ProofText.find("Q(k)")) + 1 -
                                 S.Doc.Stmts[4].StartLine);
  find.ActiveOnly = true;
  form.Find();
  Is("find-inactive", form.StatusLine);
  find.ActiveOnly = false;
  ClickOn(7, "Conclusion", 1, true);
  Shows("sub-hidden");
  form.Find();
  Is("find-hidden", form.StatusLine);

  Fresh();
  Axiom("P");
  Axiom("P => R");
  Run("optDetachment");
  Click(2);
  Click(1);
  Shows("insert-before");
  Run("optInsert");
  Says("insert-prompt");
  Click(2);
  Is("insert-label", host.ControlCaption("InsertLineLabel"));
  Axiom("Q");
  Run("optInsert");
  Shows("insert-after");
  Shows("delete-before");
  WillConfirmDelete(true);
  Run("DeleteAllRef");
  Click(1);
  Is("delete-warning", WarningBoxOf(S).Text);
  Shows("delete-after");

  // Undo after the first line of a new proof is not offered.
  Fresh();
  Premise("P");
  EXPECT_FALSE(host.ControlEnabled("optUndo"));
  Premise("Q");
  ASSERT_TRUE(host.ControlEnabled("optUndo"));
  Run("optUndo");
  Shows("undo-after");
  EXPECT_FALSE(host.ControlEnabled("optUndo"));
  WillConfirmDelete(true);
  Run("DelAllSubsequent");
  Click(1);
  EXPECT_EQ(S.Doc.StmtCount, 0);
  // The deletion's copy outlives the first line of the emptied proof.
  Premise("R");
  Run("optUndo");
  Shows("undo-emptied");

  Fresh();
  Axiom("P");
  Axiom("P => Q");
  Run("optDetachment");
  Click(2);
  Click(1);
  Axiom("Q => R");
  Run("optDetachment");
  Click(4);
  Click(3);
  Shows("view-before");
  Run("optHideDetails");
  Shows("view-hidden");

  Fresh();
  WillComment("How to split an AND statement.");
  RTB_Click(S);
  Premise("P & Q");
  Run("optSplit");
  Click(1);
  WillComment("As Required: the left half");
  Click(2);
  Shows("comment-after");
  Is("heading-prove", kHeadingProve);
  Is("heading-sufficient", kHeadingSufficient);
  Is("heading-required", kHeadingAsRequired);
  Is("heading-define", kHeadingDefine);
  host.OnModal(kCaptionFormName, [this] {
    CaptionEditor c(S, commentBox);
    c.Activate();
    commentBox.SetText("Splitting an AND");
    c.Continue();
  });
  optCaption_Click(S);
  Is("caption-title", host.WindowTitle());
}

TEST_F(Manual, EveryRuleExampleIsWhatTheRuleAdds) {
  Page("rules.html");
  WillType({});
  Run("optPremise");
  Is("premise-caption", entryCaption);
  Axiom("ALL(a):[P(a) => Q(a)]");
  Shows("axiom-after");
  Run("optInsert");
  ClickNumber(1);
  Run("optPremise");
  Says("premise-axiom-below");
  Run("optInsert");

  Fresh();
  Premise("P");
  Premise("Q");
  Shows("join-before");
  Run("optJoin");
  Click(2);
  Click(1);
  Shows("join-after");
  Run("optSplit");
  Click(1);
  Says("split-refused");

  Fresh();
  Premise("~~P");
  Shows("remdneg-before");
  Run("optDNegRemove");
  Click(1);
  Shows("remdneg-after");

  Fresh();
  Premise("R");
  Premise("~R");
  Run("optJoin");
  Click(2);
  Click(1);
  Shows("conc-contra-before");
  Run("optConclusion");
  Shows("conc-contra-after");

  Fresh();
  Premise("P => Q");
  Shows("impliesand-before");
  Run("optImplies");
  Says("impliesand-prompt");
  ClickOn(1, "=>");
  Shows("impliesand-after");
  Run("optImliesOr");
  ClickOn(1, "=>");
  Shows("impliesor-after");
  Run("optContrapositive");
  ClickOn(1, "=>");
  Shows("contra-after");

  Fresh();
  Premise("P <=> Q");
  Shows("iffand-before");
  Run("optIff");
  ClickOn(1, "<=>");
  Shows("iffand-after");

  Fresh();
  Premise("~[P & Q]");
  Shows("demorgan-before");
  Run("optDeMorgan");
  ClickOn(1, "&");
  Shows("demorgan-after");

  Fresh();
  Premise("P => Q");
  Premise("P");
  Shows("detach-before");
  Run("optDetachment");
  Click(1);
  Says("detach-prompt2");
  Click(2);
  Shows("detach-after");

  Fresh();
  Premise("P | Q");
  Premise("[P => R] & [Q => R]");
  Shows("cases-before");
  Run("optCases");
  Click(1);
  Says("cases-prompt2");
  Click(2);
  Shows("cases-after");

  Fresh();
  Premise("P");
  WillType({"Q"});
  Run("optArbAntecedent");
  Click(1);
  Shows("arbante-after");
  Fresh();
  Premise("~P");
  WillType({"Q"});
  Run("optArbConsequent");
  Click(1);
  Shows("arbcons-after");
  Fresh();
  Premise("P");
  WillType({"Q"});
  Run("optArbOrRight");
  Click(1);
  Shows("arbor-after");
  Fresh();
  WillType({"P"});
  Run("optOrNot");
  Shows("ornot-after");

  Fresh();
  Premise("~ALL(a):P(a)");
  Shows("quant-before");
  Run("optQuantifierSwitch");
  ClickOn(1, "ALL");
  Shows("quant-after");

  Fresh();
  Premise("ALL(a):ALL(b):R(a,b)");
  Shows("rename-before");
  WillAnswer({"b, b", "b, c"});
  Run("optRename");
  Click(1);
  BoxSays("rename-refused");
  Shows("rename-after");
  Fresh();
  Premise("ALL(a):ALL(b):R(a,b)");
  Shows("reorder-before");
  WillAnswer({"ALL(b):ALL(a):"});
  Run("optReorder");
  Click(1);
  Shows("reorder-after");

  Fresh();
  Premise("P");
  Premise("Q");
  Run("optCopyStatement");
  Click(1);
  Shows("copy-after");

  Fresh();
  Premise("P(x)");
  WillType({"x"});
  Run("optReflexivity");
  Shows("reflex-after");
  Fresh();
  Premise("x=y");
  Run("optSymmetry");
  ClickOn(1, "=");
  Shows("sym-after");

  Fresh();
  Premise("x=y");
  Premise("P(x)");
  Shows("subst-before");
  WillSubstituteAll();
  Run("optSubstitution");
  ClickOn(1, "y");
  Says("subst-prompt2");
  Click(2);
  Shows("subst-after");
}

TEST_F(Manual, BindingBracketsAndEachSyntaxMessageAsTheEntryWindowSaysThem) {
  Page("expressions.html");
  Premise(Typed("bind-in"));
  Run("optSplit");
  Click(1);
  Shows("bind-split");
  Fresh();
  Premise(Typed("brackets-in"));
  Shows("brackets-shown");
  Fresh();
  for (const auto& [id, text] : ReadManualPage("expressions.html").marked) {
    if (id.rfind("err-", 0) != 0 || id.compare(id.size() - 3, 3, "-in") != 0) continue;
    const std::string message = id.substr(0, id.size() - 3);
    entryMessage.clear();
    WillType({Typed(id)});
    Run("optPremise");
    EntrySays(message);
  }
  EXPECT_EQ(S.Doc.StmtCount, 0);
}

TEST_F(Manual, AxiomSetsDefinitionsSubsetAndInduction) {
  Page("axioms.html");
  Run("optNumberAxioms");
  Shows("number-axioms");
  Run("optSubtraction");
  Shows("def-subtraction", 8);
  Fresh();
  WillAnswer({"1"});
  Run("optPowerSet");
  BoxCaption("powerset-caption");
  Shows("powerset");
  Fresh();
  Run("optPairwiseUnion");
  Shows("union");

  Fresh();
  Premise("Set(x)");
  host.OnModal(kSubsetForm, [this] {
    SubsetForm f(S, dialogBox);
    f.Activate();
    f.SubsetName = "s";
    f.BoundVars = "a";
    dialogBox.SetText("P(a)");
    f.Continue();
  });
  Run("optSubset");
  Says("subset-prompt");
  Click(1);
  Shows("subset-axiom");

  // The definitions and the Induction Shortcut without the number axioms.
  Fresh();
  Run("optSubtraction");
  Says("def-refused");
  optAdd_Click(S);
  Says("induction-refused");
  Premise("Set(n) & 1@n");
  Run("optSubtraction");
  Says("def-introduced");
  optAdd_Click(S);
  Says("induction-no-axioms");
  // n from a discharged premise, 1 from an open one.
  Fresh();
  Premise("P(1)");
  Premise("Set(n) & 1@n");
  WillAnswer({"n"});
  Run("optConclusion");
  ASSERT_EQ(S.Doc.StmtCount, 3);
  optAdd_Click(S);
  Says("induction-no-axioms");

  // Under the number axioms a premise naming n and 1 takes definitions; in
  // insert mode below the first two axioms the shortcut is refused.
  Fresh();
  Run("optNumberAxioms");
  Premise("Set(n) & 1@n");
  Run("optMultiplicationProperties");
  EXPECT_EQ(S.Doc.StmtCount, 9);
  Run("optInsert");
  Click(3);
  optAdd_Click(S);
  Says("induction-no-axioms");

  Fresh();
  Run("optNumberAxioms");
  host.OnModal(kInductionForm, [this] {
    InductionForm f(S, dialogBox);
    f.Activate();
    f.BoundVarTextBox = "a";
    dialogBox.SetText("a+1>a");
    f.Continue();
  });
  optAdd_Click(S);
  Shows("induction-line", 8);
}

TEST_F(Manual, FileAndPrintMessages) {
  Page("files.html");
  for (int i = 1; i <= kTipCount; ++i) Is("tip-" + std::to_string(i), kTips[i]);
  Run("optPrint");
  Says("print-empty");
  const std::filesystem::path junk = dir / "notes.proof";
  std::ofstream(junk) << "not a proof";
  host.fileAnswers.push_back(junk.string());
  Run("optOpen");
  Says("open-refused");
  Premise("P");
  host.fileAnswers.push_back((dir / "no such folder" / "p.proof").string());
  Run("optSaveAs");
  MessageSays("save-failed");
}

}  // namespace
}  // namespace qv
