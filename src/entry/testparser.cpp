// The statement entry window: checks what the user typed for the pending rule.
#include "entry/testparser.h"

#include <exception>

#include "view/view.h"
#include "platform/host.h"

namespace qv {

namespace {

bool IsWordStart(const std::string& tok) {
  if (tok.empty()) return false;
  char c = tok[0];
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}


int RootKind(const ParserState& P) { return P.Nodes.size() > 1 ? P.Nodes.back().Rule : 0; }

}  // namespace

TestParser::TestParser(AppState& S, RichBox& box)
    : S_(S), box_(box), editor_(S, box, EditorKind::Entry) {}

// ---------------------------------------------------------------------------
// Window frame.

void TestParser::Activate() {
  Caption = EntryWindowOf(S_).EntryCaption;
  box_.SetDefaultFont(kEditorFont, S_.Ui.FontSize);
  box_.SetText("");
  box_.SetSelColor(kBlack);
  box_.SetSelBold(false);
  box_.SetSelFontSize(S_.Ui.FontSize);
  box_.SetFocus();
  const int mode = S_.Doc.RuleMode;
  if (mode == kRulePremise || mode == kRuleUSpec || mode == kRuleAxiom) {
    StatusLine = EntryWindowOf(S_).EntryHint;
  } else {
    StatusLine.clear();
  }
  editor_.UndoOn = false;
  editor_.RedoOn = false;
  editor_.ParseMarked = false;
  if (mode == kRuleUSpec) {
    SpecStmtText = S_.Parser.ExprText;
    SpecStmtTokens = S_.Parser.Tokens;
  }
}

void TestParser::Hide() {
  if (OnHide) OnHide();
}

void TestParser::Continue() {
  Parse();
  if (!S_.Parser.ParseErr.empty()) {
    S_.Parser.ParseErr.clear();  // the message stays in the message line
    box_.SetFocus();
    box_.SetSelLength(0);
    return;
  }
  Hide();
  ClearStatus(S_);
}

void TestParser::Cancel() {
  S_.Parser.ParseErr = "Cancelled";
  Hide();
  S_.Doc.RuleMode = 0;
  ClearStatus(S_);
}

void TestParser::QueryUnload() {
  S_.Parser.ParseErr = "Cancelled";
  ClearStatus(S_);
}

bool TestParser::FormKeyPress(char c) {
  if (c != kKeyEsc) return false;
  Cancel();
  return true;
}

// ---------------------------------------------------------------------------
// Helpers over the document.

int TestParser::Limit() const { return InsertionLimit(S_.Doc); }

bool TestParser::OccursFree(int line, const std::string& v) const {
  return line >= 1 && line <= S_.Doc.StmtCount && InList(S_.Doc.Stmts[line].FreeVars, v);
}

bool TestParser::InScope(int line, const std::string& v) const {
  return line >= 1 && line <= S_.Doc.StmtCount && InList(S_.Doc.Stmts[line].ScopedVars, v);
}


std::string TestParser::StmtText(int line) const {
  const StmtRec& s = S_.Doc.Stmts[line];
  if (s.StartStmt < 1 || s.EndStmt < s.StartStmt) return "";
  return S_.Doc.ProofText.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1);
}

bool TestParser::IsLogicalRoot() const { return IsLogicalKind(RootKind(S_.Parser)); }
bool TestParser::IsAlgebraicRoot() const { return IsAlgebraicTermKind(RootKind(S_.Parser)); }

std::vector<std::string> TestParser::FreeAtoms() const {
  std::vector<std::string> out;
  const ParserState& P = S_.Parser;
  for (size_t n = 1; n < P.Nodes.size(); ++n) {
    if (P.Nodes[n].Rule != kAtom) continue;
    const std::string& name = P.Nodes[n].Name;
    for (size_t t = 1; t < P.Tokens.size(); ++t) {
      if (P.Tokens[t].Token == name && !P.Tokens[t].Bound) {
        out.push_back(name);
        break;
      }
    }
  }
  return out;
}

void TestParser::Fail(const std::string& message) {
  if (S_.host) S_.host->Beep();
  S_.Parser.ParseErr = message;
  StatusLine = message;
  box_.SetFocus();
}

// Adds the statement built in ExprText under the pending rule, with its
// undo snapshot; `endRule` ends the pending rule once it is in.
void TestParser::AddStatement(bool endRule) {
  BackUpUndo(S_);
  if (!PutStmt(S_)) {
    Fail(kUnableMessage);
    return;
  }
  if (endRule) S_.Doc.RuleMode = 0;
  CommonEnd();
}

void TestParser::CommonEnd() {
  editor_.ParseMarked = true;
  box_.SetFocus();
  box_.SetSelLength(0);
}

// Paints the offending token red and puts the caret before it. boxOffset is
// the number of characters cut from the front of the typed text before it
// was parsed, so that the mark lands where the token stands in the box.
void TestParser::MarkError(int32_t boxOffset) {
  const ParserState& P = S_.Parser;
  if (P.ParseErrPos <= 0) return;
  PaintTokenRed(P, box_, P.ParseErrPos, boxOffset);
  box_.SetFocus();
  box_.SetSelStart(P.ParseErrPos - 1 + boxOffset);
}

// ---------------------------------------------------------------------------
// The check.

void TestParser::Parse() {
  try {
    ParseChecked();
  } catch (const std::exception&) {
    if (S_.host) S_.host->Beep();
    S_.Parser.ParseErr = kUnableMessage;
    StatusLine = S_.Parser.ParseErr;
  }
}

void TestParser::ParseChecked() {
  ParserState& P = S_.Parser;
  if (box_.Text().find('#') != std::string::npos) {
    Fail("Invalid character '#'");
    return;
  }
  box_.SetSelStart(0);
  box_.SetSelLength(box_.TextLength());
  box_.SetSelColor(kBlack);
  box_.SetSelBold(false);

  std::string text = ConvertEpsilon(box_);
  int32_t leading = 0;
  while (text.size() >= 2 && text[0] == '\r' && text[1] == '\n') {
    text.erase(0, 2);
    leading += 2;
  }
  while (text.size() >= 2 && text[text.size() - 2] == '\r' && text.back() == '\n') {
    text.resize(text.size() - 2);
  }
  P.ExprText = text;
  ParseExpr(P);
  StatusLine = P.ParseErr;
  if (!P.ParseErr.empty()) {
    if (S_.host) S_.host->Beep();
    MarkError(leading);
    CommonEnd();
    return;
  }
  switch (S_.Doc.RuleMode) {
    case kRulePremise: CheckPremise(); return;
    case kRuleAxiom: CheckAxiom(); return;
    case kRuleUSpec: CheckUSpec(); return;
    case kRuleReflex: CheckReflex(); return;
    case kRuleArbOr:
    case kRuleArbAnte:
    case kRuleArbCons:
    case kRuleOrNot: CheckArbitrary(); return;
    default: CommonEnd(); return;
  }
}

void TestParser::CheckPremise() {
  ParserState& P = S_.Parser;
  DocState& d = S_.Doc;
  if (!IsLogicalRoot()) Fail("Expecting a logical expression");  // later failures replace it
  if (!d.InsertMode) {
    CommonEnd();
    return;
  }
  const int limit = Limit();
  // A free variable of the premise must not be one that a following line
  // introduces itself.
  for (const std::string& v : FreeAtoms()) {
    for (int L = limit; L <= d.StmtCount; ++L) {
      const StmtRec& s = d.Stmts[L];
      if (IsWitnessOf(s, v)) {
        Fail("Variable '" + v + "' is introduced by E Spec on line " + std::to_string(L) +
             ". Consider using another name.");
        return;
      }
      if (s.Rule == kRulePremise && IntroducesName(s, v)) {
        Fail("Variable '" + v + "' was introduced by Premise on line " + std::to_string(L) +
             ". Consider using another name.");
        return;
      }
    }
  }
  // Every variable that a following line uses newly must still be
  // introduced at or after the insertion point. The walk up from that line
  // is not ActiveAbove's: from a closed subproof's Conclusion it goes to the
  // Premise itself, not above it, since that Premise may be the line that
  // introduces the name.
  for (int L = limit; L <= d.StmtCount; ++L) {
    for (const std::string& v : VarListNames(d.Stmts[L].FreeVars)) {
      if (InScope(L, v)) continue;
      int j = L;
      while (true) {
        if (j < limit || j < 1) {
          Fail("Inconsistent usage of variable '" + v + "' on line " + std::to_string(L) +
               ". Consider deleting that line.");
          return;
        }
        const StmtRec& s = d.Stmts[j];
        if (s.Rule == kRuleConclusion) {
          const int p = ClosedPremise(d, j);  // the premise may introduce v
          j = p > 0 ? p : j - 1;
        } else if (s.Rule == kRulePremise) {
          if (IntroducesName(s, v)) break;
          --j;
        } else if (s.Rule == kRuleESpec) {
          if (IsWitnessOf(s, v)) break;
          --j;
        } else {
          --j;
        }
      }
    }
  }
  (void)P;
  CommonEnd();
}

void TestParser::CheckAxiom() {
  DocState& d = S_.Doc;
  if (!IsLogicalRoot()) {
    Fail("Expecting a logical expression");
    CommonEnd();
    return;
  }
  // No free name of an axiom may be one that a line of the proof introduces,
  // an E Spec witness least of all, above or below the insertion point.
  for (const std::string& v : FreeAtoms()) {
    if (const int L = LineIntroducing(d, v)) {
      Fail("Variable '" + v + "' was previously introduced on line " + std::to_string(L));
      CommonEnd();
      return;
    }
  }
  CommonEnd();
}

int TestParser::SearchTerm(const std::string& t, bool atom, const std::string& atomName) {
  DocState& d = S_.Doc;
  for (int j = ActiveUpFrom(d, Limit() - 1); j >= 1; j = ActiveAbove(d, j)) {
    if (atom) {
      if (OccursFree(j, atomName)) return j;
    } else {
      const std::string text = StmtText(j);
      S_.Parser.ExprText = text;
      ParseExpr(S_.Parser);
      if (!S_.Parser.ParseErr.empty()) return -1;
      if (RootKind(S_.Parser) == kElt && text.compare(0, t.size() + 2, t + " @") == 0) return j;
    }
  }
  return 0;
}

int TestParser::SearchElement(const std::string& s, bool parseTest) {
  DocState& d = S_.Doc;
  const int limit = Limit();
  for (int j = ActiveFrom(d, 1); j < limit; j = ActiveFrom(d, j + 1)) {
    // An implication that closed a subproof states no membership, even when
    // its text begins like one.
    if (ClosedPremise(d, j) > 0) continue;
    const std::string text = StmtText(j);
    bool prefix = text.compare(0, s.size() + 2, s + " @") == 0;
    if (prefix && parseTest) {
      S_.Parser.ExprText = text;
      ParseExpr(S_.Parser);
      prefix = S_.Parser.ParseErr.empty() && RootKind(S_.Parser) == kElt;
    }
    if (prefix) return j;
  }
  return 0;
}

bool TestParser::CheckTypedTerm(bool& atom, std::string& atomName, int& found) {
  const ParserState& P = S_.Parser;
  if (!IsAlgebraicRoot()) {
    Fail("Expecting free variable expression");
    return false;
  }
  const std::string t = P.ExprText;
  atom = RootKind(P) == kAtom;
  atomName = atom ? P.Nodes.back().Name : "";
  found = SearchTerm(t, atom, atomName);
  if (found < 0) {
    Fail("Free variable expression not found in active statement");
    return false;
  }
  if (found == 0) {
    Fail(atom ? "'" + t + "' must occur in active statement" : "'" + t + "' must be an element of a set");
    return false;
  }
  return true;
}

void TestParser::CheckUSpec() {
  ParserState& P = S_.Parser;
  DocState& d = S_.Doc;
  SpecTokenText.clear();
  for (size_t i = 1; i < S_.Ui.SavedTokens.size(); ++i) SpecTokenText += S_.Ui.SavedTokens[i].Token;

  const std::string t = P.ExprText;
  bool atom = false;
  std::string atomName;
  int found = 0;
  if (!CheckTypedTerm(atom, atomName, found)) return;

  // The quantifier prefix ALL(v): of the statement being specified, read
  // from its tokens: the variable and where the body begins.
  const std::string& stmt = SpecStmtText;
  const auto& toks = SpecStmtTokens;
  std::vector<size_t> real;
  for (size_t i = 1; i < toks.size(); ++i)
    if (toks[i].Position > 0) real.push_back(i);
  if (real.size() < 5 || toks[real[0]].Token != "ALL" || toks[real[1]].Token != "(" ||
      toks[real[3]].Token != ")" || toks[real[4]].Token != ":") {
    Fail(kUnableMessage);
    return;
  }
  const std::string v = toks[real[2]].Token;
  const int32_t bodyStart = toks[real[4]].Position;  // 1-based position of ":"
  const std::string repl = atom ? atomName : "(" + t + ")";

  // Put the term in for every occurrence of v in the body, last first, so
  // that earlier positions stay valid; remember where each copy lands.
  std::string text = stmt;
  std::vector<int32_t> at;  // 1-based positions in the body of the inserted copies
  for (size_t k = real.size(); k-- > 5;) {
    const TokenRec& tk = toks[real[k]];
    if (tk.Token != v) continue;
    text.replace(tk.Position - 1, v.size(), repl);
    at.push_back(tk.Position);
  }
  std::string body = text.substr(bodyStart);
  // Positions of the copies in the body, in text order, allowing for the
  // growth of the copies before each one.
  std::vector<int32_t> starts;
  const int32_t grow = static_cast<int32_t>(repl.size()) - static_cast<int32_t>(v.size());
  for (size_t i = at.size(); i-- > 0;) {
    const int32_t before = static_cast<int32_t>(starts.size());
    starts.push_back(at[i] - bodyStart + before * grow);
  }

  P.ExprText = body;
  ParseExpr(P);
  if (!P.ParseErr.empty()) {
    Fail("Invalid substitution for function name '" + v + "'");
    return;
  }
  // A variable of the term must stay free where it is put in: a quantifier
  // of the statement that binds the same name would capture it and change
  // what the statement says.
  for (int32_t st : starts) {
    const int32_t end = st + static_cast<int32_t>(repl.size());
    for (size_t i = 1; i < P.Tokens.size(); ++i) {
      const TokenRec& tk = P.Tokens[i];
      if (tk.Position >= st && tk.Position < end && tk.Bound && IsWordStart(tk.Token)) {
        Fail("Invalid substitution: '" + tk.Token +
             "' would be bound by a quantifier of the statement. Consider another term.");
        return;
      }
    }
  }
  P.ExprText = body;
  d.RuleArg2 = atom ? 0 : found;
  AddStatement(true);
}

void TestParser::CheckReflex() {
  ParserState& P = S_.Parser;
  DocState& d = S_.Doc;
  S_.Ui.SavedExprText = P.ExprText;
  S_.Ui.SavedNodes = P.Nodes;
  const std::string t = P.ExprText;
  bool atom = false;
  std::string atomName;
  int found = 0;
  if (!CheckTypedTerm(atom, atomName, found)) return;
  d.RuleArg2 = 0;
  d.RuleArg1 = atom ? 0 : found;
  P.ExprText = t + "=" + t;
  AddStatement(false);  // Reflex stays armed until its opener resets it
}

void TestParser::CheckArbitrary() {
  ParserState& P = S_.Parser;
  DocState& d = S_.Doc;
  if (!IsLogicalRoot()) {
    Fail("Expecting a logical expression");
    CommonEnd();
    return;
  }
  const std::string Ptext = P.ExprText;
  const std::string C = S_.Ui.SavedExprText;
  const std::vector<TokenRec> toks = P.Tokens;
  const std::vector<std::string> freeAtoms = FreeAtoms();
  const int limit = Limit();

  // Every free variable of the typed formula must already occur free in an
  // active line above the insertion point. All of them are checked, not only
  // those before the formula's first predicate: a name first used here would
  // count as brought in by this line, so the scope records of the lines
  // below would no longer be those the proof file reads back, and an E Spec
  // witness below it (insert mode) would no longer be new at its line.
  for (const std::string& v : freeAtoms) {
    if (ActiveLineWithFree(d, v, limit) == 0) {
      Fail("Variable '" + v + "' not found in any active statement");
      CommonEnd();
      return;
    }
  }

  // Arithmetic sub-expressions and function values without bound variables
  // must be known elements of a set.
  const int n = LastIndex(toks);
  auto real = [&](int i) { return i >= 1 && i <= n && toks[i].Position > 0; };
  auto firstRealFrom = [&](int i) {
    while (i <= n && !real(i)) ++i;
    return i <= n ? i : 0;
  };
  auto lastRealFrom = [&](int i) {
    while (i >= 1 && !real(i)) --i;
    return i >= 1 ? i : 0;
  };
  auto anyBoundWord = [&](int a, int b) {
    for (int k = a; k <= b; ++k)
      if (IsWordStart(toks[k].Token) && toks[k].Bound) return true;
    return false;
  };
  auto textOf = [&](int a, int b) {
    const int32_t from = toks[a].Position;
    const int32_t to = toks[b].Position + static_cast<int32_t>(toks[b].Token.size()) - 1;
    if (from < 1 || to < from) return std::string();
    return Ptext.substr(from - 1, to - from + 1);
  };
  // The partner of a bracket token; any other token stands for itself.
  auto match = [&](int i) {
    return (i >= 1 && i <= n && toks[i].TPtr >= 1 && toks[i].TPtr <= n) ? int(toks[i].TPtr) : i;
  };

  for (int i = 1; i <= n; ++i) {
    const std::string& tk = toks[i].Token;
    if (tk == "(" || tk == ")" || tk == "[" || tk == "]" || tk == ":") continue;
    int a = 0, b = 0;
    bool parseTest = true;
    if (tk == "+" || tk == "-" || tk == "*" || tk == "/") {
      if (i - 1 < 1 || i + 1 > n) continue;
      // From the start of the left operand's group to the end of the right
      // operand's; a typed bracket at either end belongs to the text.
      a = firstRealFrom(match(i - 1));
      b = lastRealFrom(match(i + 1));
    } else if (tk == "_") {
      if (i + 1 > n) continue;
      a = i;
      b = lastRealFrom(match(i + 1));
      parseTest = false;
    } else if (IsWordStart(tk)) {
      if (toks[i].Bound || i + 2 > n || toks[i + 2].Token != "(") continue;
      const int m = match(i + 2);
      if (anyBoundWord(i + 2, m)) continue;
      a = i;
      b = lastRealFrom(m);
    } else {
      continue;
    }
    if (a < 1 || b < a) continue;
    if (anyBoundWord(a, b)) continue;
    const std::string s = textOf(a, b);
    if (s.empty()) continue;
    if (SearchElement(s, parseTest) == 0) {
      Fail("'" + s + "' must be an element of a set");
      CommonEnd();
      return;
    }
  }

  switch (d.RuleMode) {
    case kRuleArbOr:
      P.ExprText = EntryWindowOf(S_).ArbOrLeft ? "[" + Ptext + "]|[" + C + "]" : "[" + C + "]|[" + Ptext + "]";
      break;
    case kRuleArbAnte: P.ExprText = "[" + Ptext + "]=>[" + C + "]"; break;
    case kRuleArbCons: P.ExprText = "~[" + C + "]=>[" + Ptext + "]"; break;
    default: P.ExprText = "[" + Ptext + "]|~[" + Ptext + "]"; break;
  }
  ParseExpr(P);
  if (!P.ParseErr.empty()) {
    Fail("Incompatible antecedent and consequent");
    CommonEnd();
    return;
  }
  AddStatement(true);
}

void StartTypedStatement(AppState& S, int Mode, const std::string& Caption) {
  DocState& d = S.Doc;
  FocusView(S);
  d.RuleMode = Mode;
  d.RuleArg1 = 0;
  d.RuleArg2 = 0;
  d.PendingNewVar.clear();
  ClearStatus(S);
  EntryWindowOf(S).EntryCaption = Caption;
  EntryWindowOf(S).EntryHint = "Suggestion: Use letters a-j for bound variables";
}

}  // namespace qv
