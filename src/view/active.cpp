// The statement and the token under the caret of the proof view. Only active
// lines count: before the insertion line, outside every closed sub-proof (its
// Conclusion line is active), and visible.
#include <algorithm>
#include <string>
#include <utility>

#include "view/view.h"
#include "view/internal.h"

namespace qv {

namespace {

// The active line whose span (block start to the last character of its rule
// text, in view positions) holds the 1-based view position c; 0 = none.
int ActiveLineAt(const DocState& d, int32_t c) {
  const int limit = InsertionLimit(d);
  for (int b = ActiveFrom(d, 1); b < limit; b = ActiveFrom(d, b + 1)) {
    const StmtRec& s = d.Stmts[b];
    const int32_t e = s.EndRule - (s.StartLine - s.ViewerStartLine);
    if (s.Visible && e >= c && c >= s.ViewerStartLine) return b;
  }
  return 0;
}

// The character right of the caret, as a 1-based position of line LineNo's
// formula text.
int32_t FormulaPos(const StmtRec& s, int32_t Caret) {
  return Caret - s.ViewerStartLine + s.StartLine - s.StartStmt + 2;
}

// The first real token of Toks that holds the 1-based position q.
int TokenAt(const std::vector<TokenRec>& Toks, int32_t q) {
  for (size_t t = 1; t < Toks.size(); ++t) {
    const TokenRec& k = Toks[t];
    if (k.Position >= 1 && k.Position <= q &&
        q <= k.Position + static_cast<int32_t>(k.Token.size()) - 1)
      return static_cast<int>(t);
  }
  return 0;
}

// Parses ExprText; a parse error is reported in the status line with a beep.
bool ParseReportingErrors(AppState& S) {
  ParseExpr(S.Parser);
  if (S.Parser.ParseErr.empty()) return true;
  ReportParseError(S);
  return false;
}

// Removes the TABs of ExprText and parses again when there were any.
bool ReparseWithoutTabs(AppState& S) {
  std::string plain = WithoutTabs(S.Parser.ExprText);
  if (plain.size() == S.Parser.ExprText.size()) return true;
  S.Parser.ExprText = std::move(plain);
  return ParseReportingErrors(S);
}

}  // namespace

void FindStmtAtCaret(AppState& S, int& LineNo, std::string& StmtText) {
  LineNo = 0;
  if (!S.View) return;
  const DocState& d = S.Doc;
  LineNo = ActiveLineAt(d, S.View->SelStart() + 1);
  if (LineNo > 0) {
    const StmtRec& s = d.Stmts[LineNo];
    const int32_t len = s.EndStmt - s.StartStmt + 1;
    if (s.StartStmt >= 1 && len > 0 && static_cast<size_t>(s.EndStmt) <= d.ProofText.size())
      StmtText = d.ProofText.substr(static_cast<size_t>(s.StartStmt - 1), static_cast<size_t>(len));
    else
      StmtText.clear();
  }
}

void GetActiveStmt(AppState& S, int& LineNo, std::string& StmtText) {
  std::string text;
  FindStmtAtCaret(S, LineNo, text);
  if (LineNo > 0) StmtText = WithoutTabs(text);
}

namespace {

// The active line under the caret into LineNo, its stored formula (with its
// TABs) into ExprText, parsed. False when there is no line or no parse.
bool ParseLineAtCaret(AppState& S, int& LineNo) {
  FindStmtAtCaret(S, LineNo, S.Parser.ExprText);
  if (LineNo == 0) return false;
  return ParseReportingErrors(S);
}

}  // namespace

void SelectToken(AppState& S, int& LineNo, int& TokenIdx) {
  LineNo = 0;
  TokenIdx = 0;
  if (!ParseLineAtCaret(S, LineNo)) return;
  const StmtRec& s = S.Doc.Stmts[LineNo];
  TokenIdx = TokenAt(S.Parser.Tokens, FormulaPos(s, S.View->SelStart()));
  // Tokens keep their order without the TABs, so TokenIdx still names the
  // clicked token.
  ReparseWithoutTabs(S);
}

void SelectTokenRange(AppState& S, int& LineNo, int& FirstTok, int& LastTok) {
  LineNo = 0;
  FirstTok = 0;
  LastTok = 0;
  if (!ParseLineAtCaret(S, LineNo)) return;
  const StmtRec& s = S.Doc.Stmts[LineNo];
  const auto& toks = S.Parser.Tokens;
  FirstTok = TokenAt(toks, FormulaPos(s, S.View->SelStart()));
  if (FirstTok == 0) return;
  const int32_t selLen = S.View->SelLength();
  if (selLen == 0) {
    LastTok = FirstTok;
    return;
  }
  // The formula position of the last selected character.
  const int32_t r = FormulaPos(s, S.View->SelStart() + selLen) - 1;
  for (size_t t = 1; t < toks.size(); ++t) {
    const TokenRec& k = toks[t];
    if (k.Position < 1) continue;
    LastTok = static_cast<int>(t);
    if (k.Position <= r && r <= k.Position + static_cast<int32_t>(k.Token.size()) - 1) return;
  }
  // The selection ends on a blank or past the formula: the last token, and the
  // text without its TABs.
  ReparseWithoutTabs(S);
}

bool PaintTokenRed(const ParserState& P, RichBox& Box, int Pos, int32_t BoxOffset) {
  if (Pos <= 0) return false;
  for (size_t t = 1; t < P.Tokens.size(); ++t) {
    if (P.Tokens[t].Position == Pos) {
      SelectRange(Box, Pos - 1 + BoxOffset, static_cast<int32_t>(P.Tokens[t].Token.size()));
      Box.SetSelColor(RgbOf(255, 0, 0));
      return true;
    }
  }
  return false;
}

}  // namespace qv
