// Join: two clicked statements become one conjunction. Statements that share
// a prefix of universal quantifiers may be joined under that prefix.
#include <algorithm>
#include <string>

#include "view/view.h"
#include "platform/host.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {
namespace {

// Number of leading universal quantifiers, with the same variables in the
// same order, that the two parses share.
int CommonUniversalPrefix(const std::vector<NodeRec>& First, const std::vector<NodeRec>& Second) {
  int last1 = LastIndex(First);
  int last2 = LastIndex(Second);
  int c = 0;
  for (int i = 1; i < last1 && i < last2; ++i) {
    if (First[i].Name != Second[i].Name) break;
    if (Second[i].Rule != kAtom) break;
    if (Second[last2 - i + 1].Rule != kALL) break;
    if (First[i].Rule != kAtom) break;
    if (First[last1 - i + 1].Rule != kALL) break;
    // The i-th quantifier must bind the i-th name in both statements; a
    // name that merely comes i-th (a repeated quantifier variable, a free
    // function name) would otherwise be captured by the joined prefix.
    if (Second[last2 - i + 1].Ptr1 != i || First[last1 - i + 1].Ptr1 != i) break;
    ++c;
  }
  return c;
}

// Position (1-based) of the c-th ":" of Text, 0 when it has fewer.
size_t NthColon(const std::string& Text, int c) {
  size_t pos = std::string::npos;
  size_t from = 0;
  for (int k = 0; k < c; ++k) {
    pos = Text.find(':', from);
    if (pos == std::string::npos) return 0;
    from = pos + 1;
  }
  return pos + 1;
}

std::string Conjunction(const std::string& A, const std::string& B) {
  std::string s1 = "[" + A + "]";
  std::string s2 = "[" + B + "]";
  if (s1.size() + s2.size() <= 50) return s1 + " & " + s2;
  return s1 + "\r\n& " + s2;
}

}  // namespace

void Join(AppState& S, bool& FirstClickPending) {
  // Join never raises a prompt that sets DialogCancelled, so a flag left over
  // from an earlier prompt must not end the rule after this click.
  S.Ui.DialogCancelled = false;

  if (FirstClickPending) {
    const int line = ClickedStatement(S, OnParseError::Keep);
    if (line == 0) return;
    S.Doc.RuleArg1 = line;
    S.Ui.SavedExprText = S.Parser.ExprText;
    S.Ui.SavedNodes = S.Parser.Nodes;
    ShowStatus(S, "Join: Click any active statement (2nd of 2)");
    FirstClickPending = false;
    return;
  }

  FirstClickPending = true;
  const int line = ClickedStatement(S, OnParseError::End);
  if (line == 0) return;
  S.Doc.RuleArg2 = line;

  const int c = CommonUniversalPrefix(S.Ui.SavedNodes, S.Parser.Nodes);
  const std::string s1 = S.Ui.SavedExprText;
  const std::string s2 = S.Parser.ExprText;
  const std::string lines =
      std::to_string(S.Doc.RuleArg1) + " and " + std::to_string(S.Doc.RuleArg2);
  std::string joined;
  if (c == 0) {
    joined = Conjunction(s1, s2);
  } else {
    std::string question = "Join lines " + lines +
                           (c == 1 ? " under a single universal quantifer?"
                                   : " under a single set of universal quantifers?");
    MsgResult answer = S.host ? S.host->MessageBox(question, "Join Rule Option",
                                                   MsgButtons::YesNoCancel, MsgIcon::Question, 2)
                              : MsgResult::No;
    if (answer == MsgResult::Cancel) {
      EndRule(S);
      return;
    }
    if (answer == MsgResult::Yes) {
      // Both statements start with the same c quantifiers; each is cut after
      // its own c-th colon, so a prefix written with other spacing still
      // leaves exactly the body.
      size_t e2 = NthColon(s2, c);
      size_t e1 = NthColon(s1, c);
      if (e1 == 0 || e2 == 0) throw RuleFailure("quantifier prefix not found");
      joined = s2.substr(0, e2) + "[[" + s1.substr(e1) + "]&[" + s2.substr(e2) + "]]";
    } else {
      joined = Conjunction(s1, s2);
    }
  }

  S.Parser.ExprText = joined;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) {
    Beep(S);
    ShowStatus(S, "JOIN: Inconsistent usage of same variable in lines " + lines +
                      ". Try letters a-j for bound variables, k-z for free variables.");
    S.Doc.RuleMode = 0;
    return;
  }

  if (PutWithUndo(S)) EndRule(S);
  else S.Doc.RuleMode = 0;
}

}  // namespace qv
