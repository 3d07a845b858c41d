// Each page of the manual replayed: its example proofs built through the
// commands and clicks the page describes, its quoted messages provoked.
#include "manual/manual_fixture.h"

#include "document/document.h"

namespace qv {
namespace {

using Manual = ManualTest;

TEST_F(Manual, TutorialOneBuildsAndSavesItsProof) {
  Page("tutorial1.html");
  host.OnModal("StartUp", [] {});
  Form_Load(S, W, {"quorvane"});
  Form_Activate(S, W);
  Says("t1-start");

  WillType({"P(x) & Q(x)"});
  Run("cmdPremise");
  Is("t1-entry-caption", entryCaption);
  Shows("t1-premise");
  Run("cmdSplit");
  Says("t1-split-prompt");
  Click(1);
  Shows("t1-split");
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
  Run("cmdConclusion");
  Says("t1-conc-none");

  host.fileAnswers.push_back((dir / "swap.proof").string());
  Run("optSave");
  std::string title = host.WindowTitle();
  title.replace(title.find(dir.string()), dir.string().size(), "/home/you");
  Is("t1-title", title);
}

TEST_F(Manual, TutorialTwoUsesTheQuantifierRules) {
  Page("tutorial2.html");
  WillType({"ALL(a):[P(a) => Q(a)]"});
  Run("cmdPremise");
  WillType({"EXIST(a):P(a)"});
  Run("cmdPremise");
  Shows("t2-premises");
  WillAnswer({"k"});
  Run("cmdSpecify");
  Says("t2-spec-prompt");
  Click(2);
  BoxCaption("t2-espec-caption");
  Shows("t2-espec");
  WillAnswer({"k"});
  Run("cmdSpecify");
  Click(2);
  BoxSays("t2-espec-used");
  WillType({"z", "k"});
  Run("cmdSpecify");
  Click(1);
  Is("t2-uspec-caption", entryCaption);
  EntrySays("t2-uspec-refused");
  Shows("t2-uspec");
  Run("cmdDetach");
  Click(4);
  Click(3);
  Shows("t2-detach");
  WillGeneralize("a");
  Run("cmdEGen");
  Says("t2-egen-prompt");
  ClickOn(5, "k");
  Shows("t2-egen");
  Run("cmdConclusion");
  Run("cmdConclusion");
  Shows("t2-done");
}

}  // namespace
}  // namespace qv
