// Adding a statement: layout, free variables and their scope, the block in
// the proof text, appended or inserted with the later lines renumbered and
// their citations moved.
#include <algorithm>
#include <string>

#include "view/view.h"

namespace qv {

namespace {

bool HighlightsNumber(int rule) {
  return rule == kRulePremise || rule == kRuleAxiom || rule == kRuleESpec;
}

// One statement of a batch, parsed and laid out before the proof changes.
struct Prepared {
  std::string text;  // the laid-out text
  std::vector<TokenRec> tokens;
  std::vector<NodeRec> nodes;
};

// Trims, parses, lays out and parses again the text in ExprText, as the
// statement will be stored; false after reporting a parse error.
bool Prepare(AppState& S, Prepared& Out) {
  ParserState& P = S.Parser;
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
  Out.text = P.ExprText;
  Out.tokens = P.Tokens;
  Out.nodes = P.Nodes;
  return true;
}

}  // namespace

bool PutStmt(AppState& S) { return PutStmts(S, {S.Parser.ExprText}); }

bool PutStmts(AppState& S, const std::vector<std::string>& Texts) {
  DocState& d = S.Doc;
  ParserState& P = S.Parser;
  if (Texts.empty()) return true;

  // Every text is parsed and laid out before anything changes.
  std::vector<Prepared> items(Texts.size());
  for (size_t i = 0; i < Texts.size(); ++i) {
    P.ExprText = Texts[i];
    if (!Prepare(S, items[i])) return false;
  }
  const int m = static_cast<int>(items.size());
  if (d.StmtCount > kMaxStmts - m) {
    Beep(S);
    ShowStatus(S, kUnableMessage);
    return false;
  }
  if (static_cast<int>(d.Stmts.size()) < d.StmtCount + 1) d.Stmts.resize(d.StmtCount + 1);

  const int oldCount = d.StmtCount;
  const bool inserting = d.InsertMode && d.InsertLine >= 1 && d.InsertLine <= oldCount + 1;
  const int n = inserting ? d.InsertLine : oldCount + 1;  // the first new line

  // Where the blocks go: after line n - 1, or where line 1 stood (after the
  // Introduction, or after the separator an emptied Introduction left), or at
  // the end of the text of a proof without statements.
  int32_t start;
  if (n > 1) start = d.Stmts[n - 1].EndRule + 5;
  else if (oldCount >= 1) start = d.Stmts[1].StartLine;
  else start = static_cast<int32_t>(d.ProofText.size()) + 1;
  start = std::clamp<int32_t>(start, 1, static_cast<int32_t>(d.ProofText.size()) + 1);

  // The new lines n .. n + m - 1 go in at once (fresh records: no flags or
  // numbers of the lines they displace); the later lines' citations of moved
  // lines move with them before any scope test looks at the table.
  d.Stmts.resize(static_cast<size_t>(oldCount) + 1);
  // As for the view's text: a table that outgrows its memory takes an
  // eighth more, so the lines added next move no record.
  const size_t need = static_cast<size_t>(oldCount + m) + 1;
  if (need > d.Stmts.capacity()) d.Stmts.reserve(need + need / 8);
  d.Stmts.insert(d.Stmts.begin() + n, static_cast<size_t>(m), StmtRec{});
  d.StmtCount = oldCount + m;
  for (int k = n + m; k <= d.StmtCount; ++k) {
    StmtRec& later = d.Stmts[k];
    if (later.Arg1 >= n) later.Arg1 = static_cast<int16_t>(later.Arg1 + m);
    if (later.Arg2 >= n) later.Arg2 = static_cast<int16_t>(later.Arg2 + m);
  }

  // Each new statement in turn: its variable lists (the scope test sees the
  // ones before it), highlight and block.
  std::string blocks;
  int32_t at = start;
  for (int i = 0; i < m; ++i) {
    const int line = n + i;
    StmtRec& s = d.Stmts[line];
    s.Rule = static_cast<int16_t>(d.RuleMode);
    s.Arg1 = static_cast<int16_t>(d.RuleArg1);
    s.Arg2 = static_cast<int16_t>(d.RuleArg2);
    s.NewVar = (d.RuleMode == kRuleESpec || d.RuleMode == kRuleUSpec) ? d.PendingNewVar : "";
    const RecordedVars vars = RecordVarLists(items[i].tokens, items[i].nodes, [&](const std::string& name) {
      bool inScope = false;
      bool flag = false;
      FreeVarColourFont(S, name, line, inScope, flag);
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
    const std::string formula = TabAfterBreaks(items[i].text);
    const std::string number = std::to_string(line);
    const std::string rule = RuleTextOf(s);
    const size_t from = blocks.size();
    blocks += number;
    blocks += '\t';
    blocks += formula;
    blocks += "\r\n\t";
    s.StartLine = at;
    s.EndUserComment = 0;
    s.StartStmt = at + static_cast<int32_t>(number.size()) + 1;
    s.EndStmt = s.StartStmt + static_cast<int32_t>(formula.size()) - 1;
    s.StartRule = at + static_cast<int32_t>(blocks.size() - from);
    blocks += rule;
    blocks += "\r\n\r\n";
    s.EndRule = at + static_cast<int32_t>(blocks.size() - from) - 5;
    at = start + static_cast<int32_t>(blocks.size());
  }

  if (n + m - 1 == d.StmtCount && static_cast<size_t>(start - 1) == d.ProofText.size()) {
    d.ProofText += blocks;
  } else {
    // One splice: the part before the blocks, the blocks, then every later
    // block renumbered, with the rule texts of moved citations rewritten.
    const std::string& old = d.ProofText;
    std::string text;
    text.reserve(old.size() + blocks.size() + 64);
    text.append(old, 0, static_cast<size_t>(start - 1));
    text += blocks;
    for (int k = n + m; k <= d.StmtCount; ++k) AppendRenumberedBlock(text, old, d.Stmts[k], k);
    d.ProofText = std::move(text);
  }

  if (inserting) {
    d.InsertLine += m;
    if (S.host) S.host->SetControlCaption("InsertLineLabel", "^" + std::to_string(d.InsertLine));
  }

  RecomputeViewPositions(d);
  // The caret goes right after the last new statement. Worked out before the
  // redraw: no reference into the table is kept across it.
  const StmtRec& last = d.Stmts[n + m - 1];
  const int32_t caret = last.EndRule - last.StartLine + last.ViewerStartLine;
  ResetFonts(S);

  if (S.View) {
    S.View->SetSelStart(0);
    S.View->SetSelStart(caret);
  }
  return true;
}

}  // namespace qv
