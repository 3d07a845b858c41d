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

}  // namespace
}  // namespace qv
