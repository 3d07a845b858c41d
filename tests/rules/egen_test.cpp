// E Gen: the click or selection that picks the term, the generalize window
// driven through its handlers, and the check that only a true
// generalisation of the statement is ever put.
#include <functional>

#include "rules/egen.h"
#include "rules/frame.h"
#include "view/view.h"
#include "rules_fixture.h"

namespace qv {
namespace {

class EGenTest : public RulesTest {
 protected:
  // Selects the n-th (0-based) occurrence of Part in line k's formula.
  void Select(int k, const std::string& Part, int n = 0) {
    const StmtRec& s = S.Doc.Stmts[k];
    const std::string f = S.Doc.ProofText.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1);
    size_t at = f.find(Part);
    for (int i = 0; i < n; ++i) at = f.find(Part, at + 1);
    ASSERT_NE(at, std::string::npos) << Part;
    view.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1 + static_cast<int32_t>(at));
    view.SetSelLength(static_cast<int32_t>(Part.size()));
  }
  // Clicks into the n-th occurrence of Part in the window's statement box.
  bool ClickBox(Generalize& g, const std::string& Part, int n = 0) {
    const std::string t = box.Text();
    size_t at = t.find(Part);
    for (int i = 0; i < n && at != std::string::npos; ++i) at = t.find(Part, at + 1);
    if (at == std::string::npos) return false;
    box.SetSelStart(static_cast<int32_t>(at));
    g.RTB_Click();
    return true;
  }
  // Runs E Gen on the selection with Script playing the user in the window.
  void Run(std::function<void(Generalize&)> Script) {
    hidden = false;
    host.OnModal(kGeneralizeForm, [this, Script]() {
      Generalize g(S, box);
      g.OnHide = [this] { hidden = true; };
      g.Form_Activate();
      Script(g);
    });
    S.Doc.RuleMode = kRuleEGen;
    ExistGenSelect(S);
  }
  // The characters of the box shown in Colour.
  std::string InColour(Rgb Colour) {
    std::string out;
    for (int32_t i = 0; i < box.TextLength(); ++i) {
      box.SetSelStart(i);
      box.SetSelLength(1);
      if (box.SelColor() == Colour) out += box.SelText();
    }
    return out;
  }
  MemRichBox box;
  bool hidden = false;
};

TEST_F(EGenTest, ClickedVariableIsMarkedEverywhereAndMayBeItsOwnBoundVariable) {
  Put("P(x) & x=y");
  Select(1, "x");
  view.SetSelLength(0);
  Run([this](Generalize& g) {
    EXPECT_EQ(EGenOf(S).EGenTerm, "x");
    EXPECT_EQ(EGenOf(S).GeneralizeCaption, " Existential Generalization:  Line 1, 'x'");
    EXPECT_EQ(g.StatusLine, "Enter bound variable");
    EXPECT_EQ(InColour(kEGenMarked), "xx");
    EXPECT_FALSE(g.ContinueEnabled);
    g.BoundVarText = "x";
    g.BoundVarTextBox_Change();
    ASSERT_TRUE(ClickBox(g, "x", 1));
    EXPECT_EQ(g.StatusLine, "Click on highlighted (blue) expression");
    EXPECT_TRUE(g.ContinueEnabled);
    g.cmdContinue_Click();
  });
  EXPECT_TRUE(hidden);
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "EXIST(x):[P(x) & x=y]");
  EXPECT_EQ(RuleText(2), "E Gen, 1");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(S.Undo.StmtCount, 1);
  Check();
}

TEST_F(EGenTest, SelectedSumIsFoundWholeAndReplacedOneByOneOrAll) {
  Put("f(x)+1=2 & g(f(x)+1)=f(x)+2");
  Select(1, "f(x)+1");
  Run([this](Generalize& g) {
    // Both sums, and nothing of the third one.
    EXPECT_EQ(InColour(kEGenMarked), "f(x)+1f(x)+1");
    g.BoundVarText = "a";
    g.BoundVarTextBox_Change();
    ASSERT_TRUE(ClickBox(g, "f(x)+1", 1));
    EXPECT_EQ(box.Text(), "f(x)+1=2 & g(a)=f(x)+2");
    // A click on no occurrence beeps and changes nothing.
    const int beeps = host.beeps;
    ASSERT_TRUE(ClickBox(g, "2", 1));
    EXPECT_EQ(host.beeps, beeps + 1);
    g.cmdSelectAll_Click();
    EXPECT_EQ(box.Text(), "a=2 & g(a)=f(x)+2");
    EXPECT_FALSE(g.SelectAllEnabled);
    // No more clicks after Select All.
    ClickBox(g, "f(x)");
    EXPECT_EQ(host.beeps, beeps + 2);
    g.cmdContinue_Click();
  });
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "EXIST(a):[a=2 & g(a)=f(x)+2]");
}

TEST_F(EGenTest, WhatIsNoFreeTermBeepsAndKeepsTheRuleWaiting) {
  Put("ALL(a):[a+1>a] & f(x,y)=z & P(x)");
  for (const char* part : {"x,y", "P(x)", "a+1", "& f"}) {
    Select(1, part);
    const int beeps = host.beeps;
    Run([](Generalize&) { ADD_FAILURE() << "window opened"; });
    EXPECT_EQ(host.beeps, beeps + 1) << part;
    EXPECT_EQ(S.Doc.RuleMode, kRuleEGen) << part;
  }
  EXPECT_TRUE(host.formsShown.empty());
  EXPECT_EQ(S.Doc.StmtCount, 1);
}

TEST_F(EGenTest, BoundVariableIsRefusedWhenNotANameOrAlreadyInTheStatement) {
  Put("x+y=z");
  Select(1, "x");
  Run([this](Generalize& g) {
    for (const char* bad : {"a+b", "(", "", "1,2"}) {
      g.BoundVarText = bad;
      g.BoundVarTextBox_Change();
      g.cmdSelectAll_Click();
      EXPECT_EQ(g.StatusLine, "Invalid bound variable, syntax error") << bad;
      EXPECT_EQ(g.BoundVar, "");
    }
    g.BoundVarText = "y";
    g.cmdSelectAll_Click();
    EXPECT_EQ(g.StatusLine, "Bound variable already occurs in statement");
    EXPECT_TRUE(g.BoundVarTextBoxEnabled);
    EXPECT_FALSE(g.ContinueEnabled);
    // Continue without an accepted variable puts nothing.
    g.cmdContinue_Click();
    EXPECT_EQ(S.Doc.StmtCount, 1);
    // Blanks around the name are no part of it.
    g.BoundVarText = " b ";
    g.cmdSelectAll_Click();
    EXPECT_EQ(g.BoundVar, "b");
    EXPECT_FALSE(g.BoundVarTextBoxEnabled);
    g.cmdContinue_Click();
  });
  EXPECT_EQ(Formula(2), "EXIST(b):b+y=z");
}

TEST_F(EGenTest, ResetRestoresTheMarkingAndTakesANewVariable) {
  Put("x=x+1");
  Select(1, "x");
  view.SetSelLength(0);
  Run([this](Generalize& g) {
    const std::string first = box.RichText();
    g.BoundVarText = "a";
    g.BoundVarTextBox_Change();
    ASSERT_TRUE(ClickBox(g, "x"));
    EXPECT_EQ(box.Text(), "a=x+1");
    g.cmdReset_Click();
    EXPECT_EQ(box.RichText(), first);
    EXPECT_EQ(g.BoundVar, "");
    EXPECT_EQ(g.BoundVarText, "");
    EXPECT_FALSE(g.ContinueEnabled);
    EXPECT_EQ(g.StatusLine, "Enter bound variable");
    g.BoundVarText = "b";
    g.BoundVarTextBox_Change();
    ASSERT_TRUE(ClickBox(g, "x", 1));
    g.cmdContinue_Click();
  });
  EXPECT_EQ(Formula(2), "EXIST(b):x=b+1");
}

TEST_F(EGenTest, CancelEscAndCloseLeaveProofAndUndoAlone) {
  Put("x=1");
  const UndoSnapshot undo = S.Undo;
  for (int way = 0; way < 3; ++way) {
    Select(1, "x");
    Run([way](Generalize& g) {
      g.BoundVarText = "a";
      g.BoundVarTextBox_Change();
      g.cmdSelectAll_Click();
      if (way == 0) g.cmdCancel_Click();
      if (way == 1) EXPECT_TRUE(g.Form_KeyPress(27));
      if (way == 2) g.Form_QueryUnload();
    });
    EXPECT_EQ(S.Doc.StmtCount, 1);
    EXPECT_EQ(S.Doc.RuleMode, 0);
    EXPECT_EQ(S.Undo.Valid, undo.Valid);
  }
  EXPECT_FALSE(hidden);  // the close box hides through the window itself
}

TEST_F(EGenTest, AnythingButAGeneralisationInTheBoxIsNeverPut) {
  Put("x<y");
  Select(1, "x");
  view.SetSelLength(0);
  Run([this](Generalize& g) {
    g.BoundVarText = "a";
    g.BoundVarTextBox_Change();
    g.cmdSelectAll_Click();
    box.SetText("a>y");  // not what the statement says
    g.cmdContinue_Click();
    EXPECT_EQ(g.StatusLine, "Unable to process request");
    EXPECT_FALSE(hidden);
  });
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_FALSE(S.Undo.Valid);

  // The checks themselves.
  EXPECT_TRUE(IsGeneralisation(S.Parser, "x<y", "x", "a", "a<y"));
  EXPECT_TRUE(IsGeneralisation(S.Parser, "f(x)<f(x)", "f(x)", "a", "a<f(x)"));
  EXPECT_FALSE(IsGeneralisation(S.Parser, "x<y", "x", "y", "y<y"));        // clash
  EXPECT_FALSE(IsGeneralisation(S.Parser, "ALL(b):b<x", "x", "b", "ALL(b):b<b"));
  // A name of the term bound in the statement would be captured.
  EXPECT_FALSE(IsGeneralisation(S.Parser, "ALL(b):b+1>b", "b+1", "a", "ALL(b):a>b"));
  EXPECT_FALSE(IsGeneralisation(S.Parser, "x<y", "x", "a+b", "a<y"));
}

TEST_F(EGenTest, ElementOfStatementGeneralisesToTheNameE) {
  Put("k@n");
  Select(1, "n");
  view.SetSelLength(0);
  Run([this](Generalize& g) {
    g.BoundVarText = "e";
    g.BoundVarTextBox_Change();
    ASSERT_TRUE(ClickBox(g, "n"));
    EXPECT_EQ(ConvertEpsilon(box), "k @ e");
    g.cmdContinue_Click();
  });
  EXPECT_EQ(Formula(2), "EXIST(e):k @ e");
}

}  // namespace
}  // namespace qv
