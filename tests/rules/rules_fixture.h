// A fresh AppState on in-memory boxes and a scripted host, with helpers to
// put statements, click lines of the view and answer the input box.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "view/view.h"
#include "expr/expr.h"
#include "platform/fakehost.h"
#include "platform/memrichbox.h"
#include "rules/inputbox.h"
#include "rules/rules.h"
#include "mainwindow/maincommands.h"
#include "support/reopen.h"

namespace qv {

class RulesTest : public ::testing::Test {
 protected:
  RulesTest() {
    S.Attach(&host, &view, &status, &work);
  }

  // Adds Text as a statement of Rule, as the entry window or a rule would.
  void Put(const std::string& Text, int Rule = kRulePremise, int A1 = 0, int A2 = 0) {
    S.Parser.ExprText = Text;
    S.Doc.RuleMode = Rule;
    S.Doc.RuleArg1 = A1;
    S.Doc.RuleArg2 = A2;
    ASSERT_TRUE(PutStmt(S)) << Text;
    S.Doc.RuleMode = 0;
    Check();
  }

  // Adds Formula at the end of the proof exactly as written, one line, no
  // comment, the way a proof file can hold it: PutStmt would lay it out
  // first and drop the brackets it does not need. Formula has no free
  // variable.
  void PutStored(const std::string& Formula, int Rule = kRuleAxiom) {
    const ParseResult r = ParseText(Formula);
    ASSERT_EQ(r.Err, "") << Formula;
    for (size_t t = 1; t < r.Tokens.size(); ++t) {
      const TokenRec& tok = r.Tokens[t];
      ASSERT_FALSE(!tok.Token.empty() && std::islower(static_cast<unsigned char>(tok.Token[0])) &&
                   !tok.Bound)
          << tok.Token << " is free in " << Formula;
    }
    DocState& d = S.Doc;
    StmtRec s;
    s.Rule = static_cast<int16_t>(Rule);
    const std::string number = std::to_string(d.StmtCount + 1);
    s.StartLine = static_cast<int32_t>(d.ProofText.size()) + 1;
    s.StartStmt = s.StartLine + static_cast<int32_t>(number.size()) + 1;
    s.EndStmt = s.StartStmt + static_cast<int32_t>(Formula.size()) - 1;
    s.StartRule = s.EndStmt + 4;
    const std::string rule = RuleTextOf(s);
    s.EndRule = s.StartRule + static_cast<int32_t>(rule.size()) - 1;
    d.ProofText += number + "\t" + Formula + "\r\n\t" + rule + "\r\n\r\n";
    d.StmtCount += 1;
    d.Stmts.resize(static_cast<size_t>(d.StmtCount) + 1);
    d.Stmts[static_cast<size_t>(d.StmtCount)] = s;
    RecomputeViewPositions(d);
    ResetFonts(S);
    Check();
  }

  // Starts again with an empty proof.
  void Reset() {
    S = AppState{};
    S.Attach(&host, &view, &status, &work);
  }

  void Check() {
    if (checking) {
      EXPECT_EQ(CheckDocInvariants(S.Doc), "") << S.Doc.ProofText;
      EXPECT_EQ(ReopenRefusal(S.Doc), "") << S.Doc.ProofText;
    }
  }
  bool checking = true;  // off for a proof damaged on purpose

  // Puts the caret on the first character of line k's formula in the view.
  void Click(int k) {
    const StmtRec& s = S.Doc.Stmts[k];
    view.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1);
  }
  // Puts the caret where no statement is.
  void ClickNowhere() { view.SetSelStart(view.TextLength()); }

  // Arms a rule as its command does.
  void Arm(int Rule) {
    S.Doc.RuleMode = Rule;
    MainWindowOf(S).FirstClickPending = true;
  }
  void Join(int a, int b) {
    Arm(kRuleJoin);
    Click(a);
    qv::Join(S, MainWindowOf(S).FirstClickPending);
    Click(b);
    qv::Join(S, MainWindowOf(S).FirstClickPending);
  }

  std::string Formula(int k) const {
    const StmtRec& s = S.Doc.Stmts[k];
    std::string f = S.Doc.ProofText.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1);
    std::string out;
    for (char c : f)
      if (c != '\t') out += c;
    return out;
  }
  std::string RuleText(int k) const {
    const StmtRec& s = S.Doc.Stmts[k];
    return S.Doc.ProofText.substr(s.StartRule - 1, s.EndRule - s.StartRule + 1);
  }
  std::string Status() const { return status.Text(); }

  // The user's answers to the next input boxes: each entry is typed and
  // Continue pressed until the box hides; with the entries used up the box
  // is cancelled. What the box showed is recorded.
  struct BoxSeen {
    std::string Caption, Label1, Text1;
    std::vector<std::string> Messages;  // Label2 after each refused Continue
  };
  void AnswerInputBox(std::vector<std::string> inputs, bool keepPrefilled = false) {
    host.OnModal(kInputBoxForm, [this, inputs, keepPrefilled]() {
      MyInputBox_Activate(S);
      seen.Caption = InputBoxOf(S).Caption;
      seen.Label1 = InputBoxOf(S).Label1;
      seen.Text1 = InputBoxOf(S).Text1;
      seen.Messages.clear();
      for (const std::string& in : inputs) {
        if (!keepPrefilled) InputBoxOf(S).Text1 = in;
        if (MyInputBox_Continue(S).Hide) return;
        seen.Messages.push_back(InputBoxOf(S).Label2);
      }
      MyInputBox_Cancel(S);
    });
  }
  BoxSeen seen;

  // E Spec of line k, naming the witness Name in the input box.
  void ESpec(int k, const std::string& Name) {
    AnswerInputBox({Name});
    S.Doc.RuleMode = kRuleSpec;
    Click(k);
    Spec(S);
  }

  FakeHost host;
  MemRichBox view, status, work;
  AppState S;
};

}  // namespace qv
