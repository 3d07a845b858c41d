// The document fixture with an entry window and its box, opened the way the
// commands and rules open it.
#pragma once

#include "document/doc_fixture.h"
#include "entry/testparser.h"

namespace qv {

class EntryTest : public DocTest {
 protected:
  EntryTest() : entry(S, box) {
    entry.OnHide = [this] { ++hides; };
  }

  // Opens the window in `mode`, as its opener does.
  void Open(int mode, int arg1 = 0, const std::string& hint = "") {
    S.Doc.RuleMode = mode;
    S.Doc.RuleArg1 = arg1;
    S.Doc.RuleArg2 = 0;
    EntryWindowOf(S).EntryHint = hint;
    if (arg1 > 0) {
      // The clicked statement's parse, and its copy held aside.
      S.Parser.ExprText = Formula(arg1);
      ParseExpr(S.Parser);
      S.Ui.SavedExprText = S.Parser.ExprText;
      S.Ui.SavedTokens = S.Parser.Tokens;
      S.Ui.SavedNodes = S.Parser.Nodes;
    }
    entry.Activate();
  }
  // Types text into the box and presses Continue.
  void Enter(const std::string& text) {
    box.SetText(text);
    entry.Continue();
  }

  MemRichBox box;
  TestParser entry;
  int hides = 0;
};

}  // namespace qv
