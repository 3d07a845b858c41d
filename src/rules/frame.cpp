// The steps every click rule shares: the clicked statement, spans, name lists, the result put.
#include "rules/frame.h"

#include "view/view.h"
#include "platform/host.h"
#include "platform/richbox.h"

namespace qv {

void PostParseError(AppState& S) {
  Beep(S);
  ShowStatus(S, "PARSER ERROR: " + S.Parser.ParseErr);
}

void EndRule(AppState& S) {
  S.Doc.RuleMode = 0;
  ClearStatus(S);
}

int ClickedStatement(AppState& S, OnParseError OnError) {
  int line = 0;
  std::string text;
  GetActiveStmt(S, line, text);
  if (line == 0) {
    Beep(S);
    return 0;
  }
  S.Parser.ExprText = text;
  ParseExpr(S.Parser);
  if (S.Parser.ParseErr.empty()) return line;
  if (OnError == OnParseError::KeepSilent) {
    ShowStatus(S, "PARSER ERROR: " + S.Parser.ParseErr);
  } else {
    PostParseError(S);
    if (OnError == OnParseError::End) S.Doc.RuleMode = 0;
  }
  return 0;
}

int ClickedCitedStatement(AppState& S, OnParseError OnError) {
  const int line = ClickedStatement(S, OnError);
  if (line == 0) return 0;
  S.Doc.RuleArg1 = line;
  S.Doc.RuleArg2 = 0;
  return line;
}

// ---- Spans ----

bool IsRealToken(const TokenRec& t) { return t.Position > 0; }

int TokenLast(const TokenRec& t) {
  return t.Position + static_cast<int>(t.Token.size()) - 1;
}

namespace {

void Need(bool ok) {
  if (!ok) throw RuleFailure("operand span outside the statement");
}

// First real token at or after i, going forward.
int RealForward(const std::vector<TokenRec>& Toks, int i) {
  while (i >= 1 && i <= LastIndex(Toks) && !IsRealToken(Toks[i])) ++i;
  Need(i >= 1 && i <= LastIndex(Toks));
  return i;
}

// First real token at or before i, going backward.
int RealBackward(const std::vector<TokenRec>& Toks, int i) {
  while (i >= 1 && i <= LastIndex(Toks) && !IsRealToken(Toks[i])) --i;
  Need(i >= 1 && i <= LastIndex(Toks));
  return i;
}

// The first (or the last) token that stands for Node.
int TokenOfNode(const std::vector<TokenRec>& Toks, int Node, bool First) {
  int found = 0;
  if (First) {
    for (int i = 1; i <= LastIndex(Toks) && found == 0; ++i)
      if (Toks[i].DPtr == Node) found = i;
  } else {
    for (int i = LastIndex(Toks); i >= 1 && found == 0; --i)
      if (Toks[i].DPtr == Node) found = i;
  }
  Need(found > 0 && Node > 0);
  const int partner = Toks[found].TPtr;
  Need(partner >= 1 && partner <= LastIndex(Toks));
  return found;
}

// From the first real token at or after Open to the last character of the
// last real token at or before Close.
TextSpan RealSpan(const std::vector<TokenRec>& Toks, int Open, int Close) {
  TextSpan sp;
  sp.Start = Toks[RealForward(Toks, Open)].Position;
  sp.End = TokenLast(Toks[RealBackward(Toks, Close)]);
  return sp;
}
}  // namespace

TextSpan ForwardNodeSpan(const std::vector<TokenRec>& Toks, int Node) {
  const int first = TokenOfNode(Toks, Node, true);
  return RealSpan(Toks, first, Toks[first].TPtr);
}

TextSpan BackwardNodeSpan(const std::vector<TokenRec>& Toks, int Node) {
  const int last = TokenOfNode(Toks, Node, false);
  return RealSpan(Toks, Toks[last].TPtr, last);
}

TextSpan OperatorLeftSpan(const std::vector<TokenRec>& Toks, int K) {
  Need(K >= 2 && K <= LastIndex(Toks));
  return RealSpan(Toks, Toks[K - 1].TPtr, K - 1);
}

TextSpan OperatorRightSpan(const std::vector<TokenRec>& Toks, int K) {
  Need(K >= 1 && K + 1 <= LastIndex(Toks));
  return RealSpan(Toks, K + 1, Toks[K + 1].TPtr);
}

std::string SpanText(const std::string& Text, TextSpan Span) {
  Need(Span.Start >= 1 && Span.End >= Span.Start &&
       Span.End <= static_cast<int>(Text.size()));
  return Text.substr(Span.Start - 1, Span.End - Span.Start + 1);
}

std::string RealTokenText(const std::vector<TokenRec>& Toks, int From, int To) {
  std::string out;
  for (int i = std::max(From, 1); i <= To && i <= LastIndex(Toks); ++i)
    if (IsRealToken(Toks[i])) out += Toks[i].Token;
  return out;
}

std::string ReplaceTokens(const std::string& Text, const std::vector<TokenRec>& Toks,
                          const std::vector<std::string>& From, const std::vector<std::string>& To) {
  std::string out = Text;
  for (int i = LastIndex(Toks); i >= 1; --i) {
    const TokenRec& t = Toks[i];
    if (!IsRealToken(t)) continue;
    for (size_t k = 0; k < From.size() && k < To.size(); ++k) {
      if (t.Token != From[k]) continue;
      Need(TokenLast(t) <= static_cast<int>(out.size()));
      out.replace(t.Position - 1, t.Token.size(), To[k]);
      break;
    }
  }
  return out;
}

std::string ReplaceTokens(const std::string& Text, const std::vector<TokenRec>& Toks,
                          const std::string& From, const std::string& To) {
  return ReplaceTokens(Text, Toks, std::vector<std::string>{From}, std::vector<std::string>{To});
}

// ---- Name lists ----

void SaveParse(AppState& S) {
  S.Ui.SavedExprText = S.Parser.ExprText;
  S.Ui.SavedTokens = S.Parser.Tokens;
  S.Ui.SavedNodes = S.Parser.Nodes;
}

bool IsNameList(const std::vector<NodeRec>& Nodes, int N) {
  int count = LastIndex(Nodes);
  if (N < 1 || count != 2 * N - 1) return false;
  for (int i = 1; i <= N; ++i)
    if (Nodes[i].Rule != kAtom) return false;
  for (int i = N + 1; i <= count; ++i)
    if (Nodes[i].Rule != kNtuple) return false;
  return true;
}

// ---- Putting statements ----

namespace {
const char* const kUndoControls[4] = {"optUndo", "cmdUndo", "optRedo", "cmdRedo"};
}

ProofTransaction::ProofTransaction(AppState& S)
    : S_(S),
      IntroLen_(S.Doc.IntroLen),
      InsertLine_(S.Doc.InsertLine),
      ProofChanged_(S.Ui.ProofChanged) {
  for (int i = 0; i < 4; ++i) Enabled_[i] = S.host && S.host->ControlEnabled(kUndoControls[i]);
  if (S.host) InsertLabel_ = S.host->ControlCaption("InsertLineLabel");
  // A proof without statements takes no undo snapshot and leaves the one
  // it has (of the lines deleted before, say) where it is, for Undo: its
  // few characters are kept here instead.
  Own_ = S.Doc.StmtCount < 1;
  if (Own_) {
    ProofText_ = S.Doc.ProofText;
    Stmts_ = S.Doc.Stmts;
    StmtCount_ = S.Doc.StmtCount;
  } else {
    // The snapshot about to be replaced is kept for a rollback.
    Undo_ = std::move(S.Undo);
    S.Undo = UndoSnapshot{};
  }
  BackUpUndo(S);
}

void ProofTransaction::Rollback() {
  if (Own_) {
    S_.Doc.ProofText = std::move(ProofText_);
    S_.Doc.Stmts = std::move(Stmts_);
    S_.Doc.StmtCount = StmtCount_;
  } else {
    S_.Doc.ProofText = std::move(S_.Undo.ProofText);
    S_.Doc.Stmts = std::move(S_.Undo.Stmts);
    S_.Doc.StmtCount = S_.Undo.StmtCount;
  }
  S_.Doc.IntroLen = IntroLen_;
  S_.Doc.InsertLine = InsertLine_;
  if (!Own_) S_.Undo = std::move(Undo_);
  S_.Ui.ProofChanged = ProofChanged_;
  if (S_.host) {
    for (int i = 0; i < 4; ++i) S_.host->SetControlEnabled(kUndoControls[i], Enabled_[i]);
    S_.host->SetControlCaption("InsertLineLabel", InsertLabel_);
  }
  RecomputeViewPositions(S_.Doc);
  ResetFonts(S_);
}

bool PutStatements(AppState& S, const std::vector<std::string>& Texts) {
  ProofTransaction tx(S);
  bool ok = false;
  try {
    ok = PutStmts(S, Texts);
  } catch (...) {
    ok = false;
  }
  if (!ok) tx.Rollback();
  return ok;
}

bool PutWithUndo(AppState& S) { return PutStatements(S, {S.Parser.ExprText}); }

// ---- Shapes ----

std::string NodeShape(int Kind, const std::string& Name, const std::string& Op1,
                      const std::string& Op2) {
  std::string out = std::to_string(Kind);
  // The name's length first, so that no name can run into what follows.
  if (!Name.empty()) out += "#" + std::to_string(Name.size()) + ":" + Name;
  if (!Op1.empty() || !Op2.empty()) out += "(" + Op1 + "," + Op2 + ")";
  return out;
}

namespace {
// Shapes of all nodes, node Replaced (when not 0) standing for Shape.
std::vector<std::string> Shapes(const std::vector<NodeRec>& Nodes, int Replaced,
                                const std::string& Shape) {
  // Operands come before the nodes that use them, so one pass upward builds
  // every shape from shapes already built.
  std::vector<std::string> shapes(Nodes.size());
  for (int i = 1; i < static_cast<int>(Nodes.size()); ++i) {
    if (i == Replaced) {
      shapes[i] = Shape;
      continue;
    }
    const NodeRec& n = Nodes[i];
    auto op = [&](int p) -> std::string {
      if (p == 0) return "";
      if (p < 0 || p >= i) throw RuleFailure("operand after its node");
      return shapes[p];
    };
    shapes[i] = NodeShape(n.Rule, n.Name, op(n.Ptr1), op(n.Ptr2));
  }
  return shapes;
}
}  // namespace

std::vector<std::string> NodeShapes(const std::vector<NodeRec>& Nodes) {
  return Shapes(Nodes, 0, "");
}

std::string ShapeWith(const std::vector<NodeRec>& Nodes, int Replaced, const std::string& Shape) {
  if (Nodes.size() < 2) return "";
  return Shapes(Nodes, Replaced, Shape).back();
}

std::string RootShape(const std::vector<NodeRec>& Nodes) { return ShapeWith(Nodes, 0, ""); }

int OperatorNode(const std::vector<TokenRec>& Toks, const std::vector<NodeRec>& Nodes, int K) {
  const int last = LastIndex(Toks);
  if (K < 2 || K >= last) return 0;
  // The application's own inserted pair opens right before its left operand.
  const int open = Toks[K - 1].TPtr - 1;
  if (open < 1 || open > last || Toks[K - 1].TPtr > K - 1) return 0;
  const int node = Toks[open].DPtr;
  if (node < 1 || node >= static_cast<int>(Nodes.size())) return 0;
  if (Nodes[node].Ptr1 != Toks[K - 1].DPtr || Nodes[node].Ptr2 != Toks[K + 1].DPtr) return 0;
  return node;
}

namespace {
int TokenOfNodeIn(const std::vector<TokenRec>& Toks, int Node, int From, int To, bool First) {
  Need(From >= 1 && To <= LastIndex(Toks) && From <= To && Node > 0);
  int found = 0;
  if (First) {
    for (int i = From; i <= To && found == 0; ++i)
      if (Toks[i].DPtr == Node) found = i;
  } else {
    for (int i = To; i >= From && found == 0; --i)
      if (Toks[i].DPtr == Node) found = i;
  }
  Need(found > 0);
  const int partner = Toks[found].TPtr;
  Need(partner >= From && partner <= To);
  return found;
}
}  // namespace

TextSpan ForwardNodeSpanIn(const std::vector<TokenRec>& Toks, int Node, int From, int To) {
  const int first = TokenOfNodeIn(Toks, Node, From, To, true);
  return RealSpan(Toks, first, Toks[first].TPtr);
}

TextSpan BackwardNodeSpanIn(const std::vector<TokenRec>& Toks, int Node, int From, int To) {
  const int last = TokenOfNodeIn(Toks, Node, From, To, false);
  return RealSpan(Toks, Toks[last].TPtr, last);
}

RewriteCheck CheckRewrite(AppState& S, const std::string& Text, const std::string& Expected) {
  S.Parser.ExprText = Text;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return RewriteCheck::ParseError;
  return RootShape(S.Parser.Nodes) == Expected ? RewriteCheck::Ok : RewriteCheck::Changed;
}

bool ClickToken(AppState& S, ClickedToken& c) {
  SelectToken(S, c.Line, c.K);
  if (c.Line == 0 || c.K == 0) {
    Beep(S);
    return false;
  }
  c.T = S.Parser.ExprText;
  c.Toks = S.Parser.Tokens;
  c.Nodes = S.Parser.Nodes;
  return true;
}

void PutRewrite(AppState& S, int Line, const std::string& Text, const std::string& Expected,
                OnResultError OnError) {
  switch (CheckRewrite(S, Text, Expected)) {
    case RewriteCheck::ParseError:
      if (OnError == OnResultError::Silent) {
        Beep(S);
        return;
      }
      PostParseError(S);
      if (OnError == OnResultError::End) S.Doc.RuleMode = 0;
      return;
    case RewriteCheck::Changed: Beep(S); return;
    case RewriteCheck::Ok: break;
  }
  S.Doc.RuleArg1 = Line;
  S.Doc.RuleArg2 = 0;
  if (PutWithUndo(S)) EndRule(S);
}

bool OperandTextOf(const std::string& Text, TextSpan Span, const std::string& Shape,
                   std::string& Out) {
  Out = SpanText(Text, Span);
  const ParseResult r = ParseText(Out);
  return r.Err.empty() && RootShape(r.Nodes) == Shape;
}

}  // namespace qv
