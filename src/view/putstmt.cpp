// Adding a statement: layout, free variables and their scope, the block in
// the proof text, appended or inserted with the later lines renumbered and
// their citations moved.
#include <algorithm>
#include <string>

#include "view/view.h"
#include "document/internal.h"

namespace qv {

namespace {

bool HighlightsNumber(int rule) {
  return rule == kRulePremise || rule == kRuleAxiom || rule == kRuleESpec;
}

// Rewrites block k (old positions) for its move to the new position NewStart:
// the number becomes k, the rule text is rebuilt from the (already shifted)
// citations, and every position field moves. Returns the new block text.
std::string MoveBlock(const std::string& Text, StmtRec& s, int k, int32_t NewStart) {
  const int32_t oldStart = s.StartLine;
  const int32_t oldEnd = s.EndRule + 4;
  std::string b = Text.substr(static_cast<size_t>(oldStart - 1),
                              static_cast<size_t>(oldEnd - oldStart + 1));
  const int32_t delta = NewStart - oldStart;

  // Rule text first (it lies after the number, so the number's offsets hold).
  const std::string rule = RuleTextOf(s);
  const int32_t ruleOff = s.StartRule - oldStart;
  const int32_t oldRuleLen = s.EndRule - s.StartRule + 1;
  b.replace(static_cast<size_t>(ruleOff), static_cast<size_t>(oldRuleLen), rule);

  // The number: after the comment (if any) and the indentation TABs.
  size_t num = static_cast<size_t>(LineNumberArea(s).Line - oldStart);
  while (num < b.size() && b[num] == '\t') ++num;
  size_t numEnd = num;
  while (numEnd < b.size() && b[numEnd] >= '0' && b[numEnd] <= '9') ++numEnd;
  const std::string digits = std::to_string(k);
  b.replace(num, numEnd - num, digits);
  const int32_t dn = static_cast<int32_t>(digits.size()) - static_cast<int32_t>(numEnd - num);

  s.StartLine = NewStart;
  if (s.EndUserComment > 0) s.EndUserComment += delta;
  s.StartStmt += delta + dn;
  s.EndStmt += delta + dn;
  s.StartRule += delta + dn;
  s.EndRule = s.StartRule + static_cast<int32_t>(rule.size()) - 1;
  return b;
}

}  // namespace

bool PutStmt(AppState& S) {
  DocState& d = S.Doc;
  ParserState& P = S.Parser;

  // Parse, lay out with the user's line breaks, parse the laid-out text.
  P.ExprText = TrimBlanks(P.ExprText);
  ParseExpr(P);
  if (!P.ParseErr.empty()) {
    ReportParseError(S);
    return false;
  }
  const std::string userText = P.ExprText;
  const std::vector<TokenRec> userTokens = P.Tokens;
  P.ExprText = RestoreLineBreaks(userText, userTokens, LayoutTree(P));
  ParseExpr(P);
  if (!P.ParseErr.empty()) {
    ReportParseError(S);
    return false;
  }

  if (d.StmtCount >= kMaxStmts) {
    Beep(S);
    ShowStatus(S, kUnableMessage);
    return false;
  }
  if (static_cast<int>(d.Stmts.size()) < d.StmtCount + 1) d.Stmts.resize(d.StmtCount + 1);

  const int oldCount = d.StmtCount;
  const bool inserting = d.InsertMode && d.InsertLine >= 1 && d.InsertLine <= oldCount + 1;
  const int n = inserting ? d.InsertLine : oldCount + 1;

  // Where the block goes: after line n - 1, or where line 1 stood (after the
  // Introduction, or after the separator an emptied Introduction left), or at
  // the end of the text of a proof without statements.
  int32_t start;
  if (n > 1) start = d.Stmts[n - 1].EndRule + 5;
  else if (oldCount >= 1) start = d.Stmts[1].StartLine;
  else start = static_cast<int32_t>(d.ProofText.size()) + 1;
  start = std::clamp<int32_t>(start, 1, static_cast<int32_t>(d.ProofText.size()) + 1);

  d.StmtCount = oldCount + 1;
  d.Stmts.resize(d.StmtCount + 1);
  for (int k = d.StmtCount; k > n; --k) d.Stmts[k] = std::move(d.Stmts[k - 1]);
  d.Stmts[n] = StmtRec{};  // fresh: no flags or numbers of the line it displaced
  StmtRec& s = d.Stmts[n];

  s.Rule = static_cast<int16_t>(d.RuleMode);
  s.Arg1 = static_cast<int16_t>(d.RuleArg1);
  s.Arg2 = static_cast<int16_t>(d.RuleArg2);

  s.NewVar = (d.RuleMode == kRuleESpec || d.RuleMode == kRuleUSpec) ? d.PendingNewVar : "";
  const RecordedVars vars = RecordVarLists(P.Tokens, P.Nodes, [&](const std::string& name) {
    bool inScope = false;
    bool flag = false;
    FreeVarColourFont(S, name, n, inScope, flag);
    return inScope;
  });
  s.FreeVars = vars.Free;
  s.ScopedVars = vars.Scoped;
  s.FlagVars = "";

  s.Visible = true;
  s.Highlight = HighlightsNumber(s.Rule) ||
                (s.Rule == kRuleSplit && s.Arg1 >= 1 && s.Arg1 <= d.StmtCount &&
                 HighlightsNumber(d.Stmts[s.Arg1].Rule));

  // The block: number, TAB, formula, CR LF TAB, rule text, CR LF CR LF.
  const std::string formula = TabAfterBreaks(P.ExprText);
  const std::string number = std::to_string(n);
  const std::string rule = RuleTextOf(s);
  std::string block;
  block.reserve(number.size() + formula.size() + rule.size() + 8);
  block += number;
  block += '\t';
  block += formula;
  block += "\r\n\t";
  s.StartLine = start;
  s.EndUserComment = 0;
  s.StartStmt = start + static_cast<int32_t>(number.size()) + 1;
  s.EndStmt = s.StartStmt + static_cast<int32_t>(formula.size()) - 1;
  s.StartRule = start + static_cast<int32_t>(block.size());
  block += rule;
  block += "\r\n\r\n";
  s.EndRule = start + static_cast<int32_t>(block.size()) - 5;

  if (n == d.StmtCount && static_cast<size_t>(start - 1) == d.ProofText.size()) {
    d.ProofText += block;
  } else {
    // Rebuild the text in one pass: the part before the block, the block,
    // then every later block renumbered, with citations of moved lines shifted.
    const std::string& old = d.ProofText;
    std::string text;
    text.reserve(old.size() + block.size() + 64);
    text.append(old, 0, static_cast<size_t>(start - 1));
    text += block;
    for (int k = n + 1; k <= d.StmtCount; ++k) {
      StmtRec& m = d.Stmts[k];
      if (m.Arg1 >= n) ++m.Arg1;
      if (m.Arg2 >= n) ++m.Arg2;
      text += MoveBlock(old, m, k, static_cast<int32_t>(text.size()) + 1);
    }
    d.ProofText = std::move(text);
  }

  if (inserting) {
    ++d.InsertLine;
    if (S.host) S.host->SetControlCaption("InsertLineLabel", "^" + std::to_string(d.InsertLine));
  }

  RecomputeViewPositions(d);
  // The caret goes right after the new statement. Worked out before the
  // redraw: no reference into the table is kept across it.
  const int32_t caret = s.EndRule - s.StartLine + s.ViewerStartLine;
  ResetFonts(S);

  if (S.View) {
    S.View->SetSelStart(0);
    S.View->SetSelStart(caret);
  }
  return true;
}

}  // namespace qv
