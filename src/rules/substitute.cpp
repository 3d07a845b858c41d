// Substitute: the first click picks one side of an active equation (the
// source, to be put in); the second click picks an active statement in which
// the other side (the target) occurs; the Substitution dialog then replaces
// occurrences of the target by the source.
//
// An occurrence may be replaced only when no variable in it is bound by a
// quantifier outside it (the index of a SUM or PROD inside it is fine), and
// only when the statement binds no variable that is free in the equation, so
// that the source's variables cannot be captured either. Every replacement
// is parsed before it is shown, and the result is checked again before it is
// put under one undo snapshot.
#include "rules/substitute.h"

#include <algorithm>
#include <string>
#include <vector>

#include "view/view.h"
#include "platform/host.h"
#include "platform/richbox.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {
namespace {

constexpr Rgb kOccurrenceColour = RgbOf(0, 0, 255);
constexpr Rgb kClickedColour = RgbOf(160, 0, 255);
constexpr Rgb kAllColour = RgbOf(200, 0, 255);
const char* const kClickPrompt = "Click on expression highlighted in blue, or Select All";

// Blanks and line breaks, trimmed from the sides of the clicked equation.
constexpr std::string_view kWhiteSpace = " \t\r\n";

// True when line k is active: above the insertion point and outside every
// closed subproof.
bool LineIsActive(const DocState& d, int k) {
  if (k < 1 || k >= InsertionLimit(d)) return false;
  int b = ActiveFrom(d, 1);
  while (b < k) b = ActiveFrom(d, b + 1);
  return b == k;
}

// The stretch of text that the bracket pair opened by token o stands for:
// the text inside the typed brackets when one typed pair frames it, else the
// text of its real tokens. B and E are its first and last real tokens.
struct PairText {
  TextSpan Span;
  int B = 0;
  int E = 0;
};
bool SpanOfPair(const std::vector<TokenRec>& T, int o, PairText& out) {
  const int last = LastIndex(T);
  if (o < 1 || o > last) return false;
  const int c = T[o].TPtr;
  if (c <= o || c > last) return false;
  int b = o;
  while (b <= c && !IsRealToken(T[b])) ++b;
  int e = c;
  while (e >= b && !IsRealToken(T[e])) --e;
  if (b > c || e < b) return false;
  const bool framed = (T[b].Token == "(" || T[b].Token == "[") && T[b].TPtr == e;
  out.B = b;
  out.E = e;
  if (framed) out.Span = {T[b].Position + 1, TokenLast(T[e]) - 1};
  else out.Span = {T[b].Position, TokenLast(T[e])};
  return out.Span.End >= out.Span.Start;
}

// Every bound variable among the tokens B..E must be the index of a SUM or
// PROD that lies inside them; any other is bound by a quantifier around the
// occurrence, and replacing the occurrence would change what it refers to.
bool NoCapturedVariable(const std::vector<TokenRec>& T, int B, int E) {
  for (int k = B; k <= E; ++k) {
    if (!T[k].Bound) continue;
    bool index = false;
    for (int l = B; l <= E && !index; ++l)
      if ((T[l].Token == "SUM" || T[l].Token == "PROD") && l + 5 <= LastIndex(T) &&
          T[l + 5].Token == T[k].Token)
        index = true;
    if (!index) return false;
  }
  return true;
}

// True when the statement (its tokens T) binds a name that stands free in the
// equation: the source put under that quantifier would be captured.
bool BindsEquationName(AppState& S, const std::vector<TokenRec>& T) {
  S.Parser.ExprText = SubstOf(S).SubstEqStmt;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return true;
  const std::vector<TokenRec> eq = S.Parser.Tokens;
  for (int k = 1; k <= LastIndex(T); ++k) {
    if (!IsRealToken(T[k]) || !T[k].Bound) continue;
    for (int j = 1; j <= LastIndex(eq); ++j)
      if (IsRealToken(eq[j]) && !eq[j].Bound && eq[j].Token == T[k].Token) return true;
  }
  return false;
}

// The pair opened by token o of the parse (Text, T, N) is an occurrence of the
// target that may be replaced. Overwrites the shared parse (SameStmt).
bool ReplaceableAt(AppState& S, const std::string& Text, const std::vector<TokenRec>& T,
                   const std::vector<NodeRec>& N, int o, PairText& pt) {
  const std::vector<NodeRec>& target = SubstOf(S).SubstTargetNodes;
  if (target.size() < 2) return false;
  if (o < 1 || o > LastIndex(T) || T[o].TPtr <= o) return false;
  const int d = T[o].DPtr;
  if (d <= 0 || d >= static_cast<int>(N.size()) || N[d].Rule != target.back().Rule) return false;
  if (!SpanOfPair(T, o, pt)) return false;
  if (pt.Span.End > static_cast<int>(Text.size())) return false;
  if (!NoCapturedVariable(T, pt.B, pt.E)) return false;
  return SameStmt(S.Parser, SpanText(Text, pt.Span), SubstOf(S).SubstTarget);
}

// The replaceable occurrences of the parse, from the last to the first, none
// inside another.
std::vector<TextSpan> AllOccurrences(AppState& S, const std::string& Text,
                                     const std::vector<TokenRec>& T,
                                     const std::vector<NodeRec>& N) {
  std::vector<TextSpan> found;
  int k = LastIndex(T);
  while (k >= 1) {
    const int o = T[k].TPtr;
    PairText pt;
    if (o >= 1 && o < k && ReplaceableAt(S, Text, T, N, o, pt)) {
      found.push_back(pt.Span);
      k = o - 1;
    } else {
      --k;
    }
  }
  return found;
}

// Text with the spans (from the last to the first) replaced by the source.
std::string Replaced(AppState& S, std::string Text, const std::vector<TextSpan>& Spans) {
  for (const TextSpan& sp : Spans)
    Text.replace(sp.Start - 1, sp.End - sp.Start + 1, SubstOf(S).SubstSource);
  return Text;
}

// The new text must parse and must bind no name of the equation; the
// message for the dialog's line otherwise ("" when it passes).
std::string CheckResult(AppState& S, const std::string& Text) {
  S.Parser.ExprText = Text;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return "PARSER ERROR: " + S.Parser.ParseErr;
  const std::vector<TokenRec> toks = S.Parser.Tokens;
  if (BindsEquationName(S, toks)) return kUnableMessage;
  return "";
}

// Replaces the spans (from the last to the first) in Box by the source,
// coloured Colour.
void ReplaceInBox(AppState& S, RichBox& Box, const std::vector<TextSpan>& Spans, Rgb Colour) {
  const std::string& src = SubstOf(S).SubstSource;
  for (const TextSpan& sp : Spans) {
    Box.SetSelStart(sp.Start - 1);
    Box.SetSelLength(sp.End - sp.Start + 1);
    Box.SetSelText("");
    Box.SetSelText(src);
    Box.SetSelStart(sp.Start - 1);
    Box.SetSelLength(static_cast<int32_t>(src.size()));
    Box.SetSelColor(Colour);
    Box.SetSelLength(0);
  }
}

// Parses the box's text into Text/T/N; false with the parser's message in
// the dialog's line.
bool ParseBox(AppState& S, RichBox& Box, std::string& Text, std::vector<TokenRec>& T,
              std::vector<NodeRec>& N) {
  S.Parser.ExprText = ConvertEpsilon(Box);
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) {
    SubstOf(S).StatusLine = "PARSER ERROR: " + S.Parser.ParseErr;
    return false;
  }
  SaveParse(S);
  Text = S.Parser.ExprText;
  T = S.Parser.Tokens;
  N = S.Parser.Nodes;
  return true;
}

void FirstClick(AppState& S, bool& FirstClickPending) {
  ClickedToken c;
  if (!ClickToken(S, c)) return;
  S.Doc.RuleArg1 = c.Line;
  const int root = LastIndex(c.Nodes);
  if (root < 1 || c.Nodes[root].Rule != kEQ) {
    Beep(S);
    return;
  }
  // The "=" of the root, not one that might stand inside a side.
  int eq = 0;
  for (int k = 1; k <= LastIndex(c.Toks) && eq == 0; ++k)
    if (c.Toks[k].Token == "=" && OperatorNode(c.Toks, c.Nodes, k) == root) eq = k;
  if (eq == 0) {
    Beep(S);
    return;
  }
  FirstClickPending = false;
  SubstitutionState& st = SubstOf(S);
  const int p = c.Toks[eq].Position;
  st.SubstEqStmt = c.T;
  const std::string left = TrimBlanks(c.T.substr(0, p - 1), kWhiteSpace);
  const std::string right = TrimBlanks(c.T.substr(p), kWhiteSpace);
  // A click on the left side or on "=" itself puts the left side in.
  if (c.Toks[c.K].Position <= p) {
    st.SubstSource = left;
    st.SubstTarget = right;
  } else {
    st.SubstSource = right;
    st.SubstTarget = left;
  }
  S.Parser.ExprText = st.SubstSource;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) {
    PostParseError(S);
    return;
  }
  // The source goes in as one group: a name, an application or a bracketed
  // n-tuple stands as it is; anything else gets brackets. An n-tuple written
  // without brackets would spread into the arguments around it.
  const int kind = S.Parser.Nodes.back().Rule;
  bool bare = kind == kAtom || kind == kFunc;
  if (kind == kNtuple) {
    const std::vector<TokenRec>& t = S.Parser.Tokens;
    PairText pt;
    bare = SpanOfPair(t, 1, pt) && pt.Span.Start > t[pt.B].Position;
  }
  if (!bare) st.SubstSource = "(" + st.SubstSource + ")";
  ShowStatus(S, "Subst:  Click any active statement with TARGET Expression, '" +
                    st.SubstTarget + "'");
}

void SecondClick(AppState& S) {
  SubstitutionState& st = SubstOf(S);
  const int line = ClickedStatement(S, OnParseError::Keep);
  if (line == 0) return;
  S.Doc.RuleArg2 = line;
  const std::string text = S.Parser.ExprText;

  // The equation must still be the active line it was when it was clicked.
  const int eqLine = S.Doc.RuleArg1;
  if (eqLine < 1 || eqLine > S.Doc.StmtCount || !LineIsActive(S.Doc, eqLine) ||
      StmtFormula(S.Doc, eqLine) != st.SubstEqStmt) {
    Beep(S);
    return;
  }

  // Parsed together, a name the statement binds and the equation has free
  // is an inconsistent usage: so no quantifier of the statement can capture
  // a name of the source.
  S.Parser.ExprText = "[" + text + "]&[" + st.SubstEqStmt + "]";
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) {
    Beep(S);
    ShowStatus(S, S.Parser.ParseErr);
    return;
  }
  S.Parser.ExprText = text;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) {
    Beep(S);
    ShowStatus(S, S.Parser.ParseErr);
    return;
  }
  const std::vector<TokenRec> T = S.Parser.Tokens;
  const std::vector<NodeRec> N = S.Parser.Nodes;
  for (const std::string* side : {&st.SubstSource, &st.SubstTarget}) {
    S.Parser.ExprText = *side;
    ParseExpr(S.Parser);
    if (!S.Parser.ParseErr.empty()) {
      PostParseError(S);
      return;
    }
  }
  st.SubstTargetNodes = S.Parser.Nodes;

  bool any = false;
  for (int i = 1; i <= LastIndex(T) && !any; ++i) {
    PairText pt;
    any = ReplaceableAt(S, text, T, N, i, pt);
  }
  if (!any) {
    Beep(S);
    return;
  }
  if (!S.host || !S.host->ShowModal(kSubstitutionForm)) Beep(S);
  S.Doc.RuleMode = 0;
}

}  // namespace

void SubstituteRule(AppState& S, bool& FirstClickPending) {
  if (FirstClickPending) FirstClick(S, FirstClickPending);
  else SecondClick(S);
}

namespace {
void Activate(AppState& S, RichBox& Box) {
  SubstitutionState& st = SubstOf(S);
  st.Caption = "Substitute '" + st.SubstSource + "', Line " + std::to_string(S.Doc.RuleArg2);
  st.ContinueEnabled = false;
  st.ResetEnabled = false;
  st.SelectAllEnabled = true;
  ClearStatus(S);
  st.StatusLine = "Click on expression highlighted in blue, or Select ALL";
  Box.SetDefaultFont("Courier New", S.Ui.FontSize);

  const int line = S.Doc.RuleArg2;
  if (line < 1 || line > S.Doc.StmtCount) {
    Beep(S);
    return;
  }
  S.Parser.ExprText = StmtFormula(S.Doc, line);
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) {
    Beep(S);
    return;
  }
  SaveParse(S);
  const std::string text = S.Parser.ExprText;
  const std::vector<TokenRec> T = S.Parser.Tokens;
  const std::vector<NodeRec> N = S.Parser.Nodes;

  RichBox& work = *S.WorkArea;
  work.SetText(text);
  ReformatWA(S, kBlack);
  for (const TextSpan& sp : AllOccurrences(S, text, T, N)) {
    work.SetSelStart(sp.Start - 1);
    work.SetSelLength(sp.End - sp.Start + 1);
    work.SetSelColor(kOccurrenceColour);
    work.SetSelBold(true);
  }
  Box.SetRichText(work.RichText());
  st.SaveRTB = Box.RichText();
  Box.SetSelStart(0);
  Box.SetSelLength(0);
}

bool BoxClick(AppState& S, RichBox& Box) {
  SubstitutionState& st = SubstOf(S);
  st.StatusLine = kClickPrompt;
  st.ResetEnabled = true;
  std::string text;
  std::vector<TokenRec> T;
  std::vector<NodeRec> N;
  if (!ParseBox(S, Box, text, T, N)) return false;
  const int c = Box.SelStart() + 1;
  // Opening brackets from the left: of nested occurrences under the caret the
  // outermost is replaced.
  for (int i = 1; i <= LastIndex(T); ++i) {
    PairText pt;
    if (T[i].TPtr <= i || !SpanOfPair(T, i, pt)) continue;
    if (c < pt.Span.Start || c > pt.Span.End) continue;
    if (!ReplaceableAt(S, text, T, N, i, pt)) continue;
    const std::vector<TextSpan> one{pt.Span};
    const std::string message = CheckResult(S, Replaced(S, text, one));
    if (!message.empty()) {
      Beep(S);
      st.StatusLine = message;
      return false;
    }
    ReplaceInBox(S, Box, one, kClickedColour);
    st.ContinueEnabled = true;
    return true;
  }
  Beep(S);
  return false;
}

void SelectAll(AppState& S, RichBox& Box) {
  SubstitutionState& st = SubstOf(S);
  st.StatusLine = "";
  st.ResetEnabled = true;
  std::string text;
  std::vector<TokenRec> T;
  std::vector<NodeRec> N;
  if (!ParseBox(S, Box, text, T, N)) {
    Box.SetFocus();
    return;
  }
  const std::vector<TextSpan> spans = AllOccurrences(S, text, T, N);
  const std::string message = CheckResult(S, Replaced(S, text, spans));
  if (!message.empty()) {
    Beep(S);
    st.StatusLine = message;
    Box.SetFocus();
    return;
  }
  ReplaceInBox(S, Box, spans, kAllColour);
  st.ContinueEnabled = true;
  st.SelectAllEnabled = false;
  Box.SetSelStart(0);
  Box.SetSelLength(0);
  Box.SetFocus();
}

// A failure inside a handler (a parse it cannot read) beeps and is reported
// in the dialog's line; the dialog stays open and the proof is untouched.
template <class Fn>
auto Guarded(AppState& S, Fn fn) -> decltype(fn()) {
  try {
    return fn();
  } catch (const std::exception&) {
    Beep(S);
    SubstOf(S).StatusLine = kUnableMessage;
    return decltype(fn())();
  }
}
}  // namespace

void Substitution_Activate(AppState& S, RichBox& Box) {
  Guarded(S, [&] { Activate(S, Box); });
}

bool Substitution_Click(AppState& S, RichBox& Box) {
  return Guarded(S, [&] { return BoxClick(S, Box); });
}

void Substitution_SelectAll(AppState& S, RichBox& Box) {
  Guarded(S, [&] { SelectAll(S, Box); });
}

void Substitution_Reset(AppState& S, RichBox& Box) {
  SubstitutionState& st = SubstOf(S);
  Box.SetRichText(st.SaveRTB);
  st.ContinueEnabled = false;
  st.ResetEnabled = false;
  st.SelectAllEnabled = true;
  st.StatusLine = kClickPrompt;
  Box.SetFocus();
}

bool Substitution_Continue(AppState& S, RichBox& Box) {
  SubstitutionState& st = SubstOf(S);
  if (!st.ContinueEnabled) return false;
  const std::string text = ConvertEpsilon(Box);
  const std::string message = CheckResult(S, text);
  if (!message.empty()) {
    Beep(S);
    st.StatusLine = message;
    Box.SetFocus();
    return false;
  }
  S.Parser.ExprText = text;
  S.Doc.RuleMode = kRuleSubstitute;
  if (!PutWithUndo(S)) {
    Beep(S);
    st.StatusLine = kUnableMessage;
    Box.SetFocus();
    return false;
  }
  S.Doc.RuleMode = 0;
  return true;
}

void Substitution_Cancel(AppState& S) { S.Doc.RuleMode = 0; }

}  // namespace qv
