// The two delete commands: the Warning box that asks before dependants go,
// a cancelled deletion, and a click that hits no statement.
#include <gtest/gtest.h>

#include "document/doc_fixture.h"

namespace qv {
namespace {

class DeleteCommandsTest : public DocTest {
 protected:
  // Answers the Warning box with Continue (false) or Cancel (true).
  void AnswerWarning(bool cancel) {
    host.OnModal("Warning", [this, cancel] {
      warningText = WarningBoxOf(S).Text;
      S.Ui.DialogCancelled = cancel;
    });
  }

  std::string warningText;
};

TEST_F(DeleteCommandsTest, DeleteAllRefTakesDependantsAfterWarning) {
  Put("A", kRuleAxiom);              // 1
  Put("B", kRuleAxiom);              // 2
  Put("A & B", kRuleJoin, 1, 2);     // 3
  Put("C", kRuleAxiom);              // 4
  Put("C & [A & B]", kRuleJoin, 4, 3);  // 5
  AnswerWarning(false);
  S.Doc.RuleMode = kRuleDeleteAtRef;
  ClickFormula(1);
  DeleteAllRef(S);
  EXPECT_EQ(warningText, "This deletition will result in  2 other statement(s) being deleted.");
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(1), "B");
  EXPECT_EQ(Formula(2), "C");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_TRUE(S.Undo.Valid);
  EXPECT_EQ(S.Undo.StmtCount, 5);
  Check();
}

TEST_F(DeleteCommandsTest, CancelledWarningChangesNothing) {
  Put("A", kRuleAxiom);
  Put("B", kRuleAxiom);
  Put("A & B", kRuleJoin, 1, 2);
  const std::string before = S.Doc.ProofText;
  const bool undoBefore = S.Undo.Valid;
  AnswerWarning(true);
  S.Doc.RuleMode = kRuleDeleteAtRef;
  ShowStatus(S, "Delete All References: Click statement");
  ClickFormula(2);
  DeleteAllRef(S);
  EXPECT_EQ(warningText, "This deletition will result in  1 other statement(s) being deleted.");
  EXPECT_EQ(S.Doc.ProofText, before);
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Undo.Valid, undoBefore);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(StatusText(S), "");
  for (int k = 1; k <= 3; ++k) EXPECT_FALSE(Line(k).DeleteFlag);
}

TEST_F(DeleteCommandsTest, DeleteSubsequentFromLineOneLeavesTheIntroduction) {
  S.Doc.ProofText = "Intro\r\n\r\n";
  S.Doc.IntroLen = 5;
  PutAxioms(3);
  S.Doc.RuleMode = kRuleDeleteAtSub;
  ClickFormula(1);
  DeleteAllSub(S);
  EXPECT_EQ(S.Doc.StmtCount, 0);
  EXPECT_EQ(S.Doc.ProofText, "Intro\r\n\r\n");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(view.SelStart(), 0);
  Check();
}

TEST_F(DeleteCommandsTest, AMissedClickBeepsAndOnlyDeleteSubsequentKeepsItsMode) {
  PutAxioms(2);
  // The caret on the blank line between the two blocks.
  view.SetSelStart(Line(1).EndRule + 2);
  S.Doc.RuleMode = kRuleDeleteAtSub;
  DeleteAllSub(S);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.RuleMode, kRuleDeleteAtSub);
  S.Doc.RuleMode = kRuleDeleteAtRef;
  DeleteAllRef(S);
  EXPECT_EQ(host.beeps, 2);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

}  // namespace
}  // namespace qv
