// The input box's logic: what each rule does with the line typed there.
#include "rules/inputbox.h"

#include <string>
#include <vector>

#include "document/document.h"
#include "platform/host.h"
#include "rules/frame.h"

namespace qv {
namespace {

constexpr const char* kInvalidVariableName = "Invalid variable name";

}  // namespace

InputBoxOutcome Refuse(AppState& S, const std::string& Message) {
  Beep(S);
  InputBoxOf(S).Label2 = Message;
  InputBoxOutcome out;
  out.FocusText = Message != kInvalidVariableName;
  return out;
}

namespace {

// The common put step; the dialog stays open if the statement cannot be added.
InputBoxOutcome Put(AppState& S) {
  if (!PutWithUndo(S)) {
    return Refuse(S, S.Parser.ParseErr.empty() ? kUnableMessage
                                               : "PARSER ERROR: " + S.Parser.ParseErr);
  }
  S.Doc.RuleMode = 0;
  InputBoxOutcome out;
  out.Hide = true;
  return out;
}


// ---- E Spec (3): a new free variable replaces the existential variable ----
InputBoxOutcome ContinueESpec(AppState& S) {
  const std::vector<NodeRec>& typed = S.Parser.Nodes;
  if (LastIndex(typed) != 1 || typed[1].Rule != kAtom) return Refuse(S, kInvalidVariableName);
  const std::string x = typed[1].Name;

  // The nearest earlier use on an active line above the insertion point,
  // Conclusion lines included; the insides of closed subproofs are passed
  // over.
  DocState& d = S.Doc;
  int found = 0;
  for (int L = ActiveUpFrom(d, InsertionLimit(d) - 1); L >= 1; L = ActiveAbove(d, L)) {
    if (InList(d.Stmts[L].FreeVars, x)) {
      found = L;
      break;
    }
  }
  if (found == 0 && d.InsertMode) {
    for (int i = std::max(d.InsertLine, 1); i <= d.StmtCount; ++i) {
      if (InList(d.Stmts[i].FreeVars, x)) {
        found = i;
        break;
      }
    }
  }

  const std::vector<NodeRec>& saved = S.Ui.SavedNodes;
  for (int i = LastIndex(saved) - 1; i >= 1; --i) {
    const NodeRec& n = saved[i];
    if ((n.Rule == kALL || n.Rule == kEXIST) && n.Ptr1 >= 1 && n.Ptr1 <= LastIndex(saved) &&
        saved[n.Ptr1].Name == x)
      return Refuse(S, "Inconsistent usage of free variable in this statement");
  }
  if (found > 0) return Refuse(S, "Free variable already used in statement " + std::to_string(found));

  S.Doc.PendingNewVar = x;

  // The body of the saved EXIST statement.
  const std::vector<TokenRec>& toks = S.Ui.SavedTokens;
  const std::string& stmt = S.Ui.SavedExprText;
  const int last = LastIndex(toks);
  int e = 0;
  for (int i = 1; i <= last; ++i) {
    if (toks[i].Token == "EXIST") {
      e = i;
      break;
    }
  }
  if (e == 0 || e + 7 > last) throw RuleFailure("no EXIST in the saved statement");
  std::string body;
  const TokenRec& open = toks[e + 7];
  if ((open.Token == "[" || open.Token == "(") && IsRealToken(open)) {
    if (open.TPtr < 1 || open.TPtr > last) throw RuleFailure("unmatched bracket");
    body = SpanText(stmt, {open.Position + 1, toks[open.TPtr].Position - 1});
  } else {
    int f = e + 8;
    while (f <= last && !IsRealToken(toks[f])) ++f;
    if (f > last) throw RuleFailure("empty body");
    body = SpanText(stmt, {toks[f].Position, static_cast<int>(stmt.size())});
  }
  S.Parser.ExprText = TrimBlanks(body);
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return Refuse(S, "PARSER ERROR: " + S.Parser.ParseErr);

  S.Parser.ExprText = ReplaceTokens(S.Parser.ExprText, S.Parser.Tokens, InputBoxOf(S).SpecVar, x);
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return Refuse(S, "PARSER ERROR: " + S.Parser.ParseErr);
  return Put(S);
}

// ---- Sum and Prod (42, 43): the recursive definition over the index set n ----
InputBoxOutcome ContinueSumProd(AppState& S) {
  const std::vector<NodeRec>& typed = S.Parser.Nodes;
  if (LastIndex(typed) != 3 || typed[1].Rule != kAtom || typed[2].Rule != kAtom ||
      typed[3].Rule != kNtuple)
    return Refuse(S, "Invalid variable names");
  const std::string U = typed[1].Name;
  const std::string W = typed[2].Name;

  const std::vector<TokenRec>& toks = S.Ui.SavedTokens;
  const std::vector<NodeRec>& nodes = S.Ui.SavedNodes;
  const int last = LastIndex(toks);
  for (int i = 1; i <= last; ++i)
    if (toks[i].Token == U || toks[i].Token == W)
      return Refuse(S, "Variable '" + toks[i].Token + "' already used in expression");

  // The term f(a) of the consequent f(a)@n.
  const int root = LastIndex(nodes);
  if (root < 2) throw RuleFailure("no saved statement");
  const int cons = nodes[root - 1].Ptr2;
  if (cons < 1 || cons > root) throw RuleFailure("no consequent");
  const int m = nodes[cons].Ptr1;
  int t0 = 0;
  for (int i = 1; i <= last; ++i) {
    if (toks[i].DPtr == m) {
      t0 = i;
      break;
    }
  }
  if (t0 == 0 || toks[t0].TPtr < 1 || toks[t0].TPtr > last) throw RuleFailure("no term");
  int a = t0;
  while (a <= last && !IsRealToken(toks[a])) ++a;
  int b = toks[t0].TPtr;
  while (b >= 1 && !IsRealToken(toks[b])) --b;
  if (a > last || b < 1) throw RuleFailure("no term");
  // The whole of the last token: a term that ends in a longer name keeps it.
  const std::string F = "(" + SpanText(S.Ui.SavedExprText, {toks[a].Position, TokenLast(toks[b])}) + ")";

  S.Parser.ExprText = F;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return Refuse(S, "PARSER ERROR: " + S.Parser.ParseErr);
  const std::string& s = InputBoxOf(S).SpecVar;
  const std::string F1 = ReplaceTokens(F, S.Parser.Tokens, s, U);
  const std::string Fs = ReplaceTokens(F, S.Parser.Tokens, s, "(" + W + "+1)");

  const bool sum = S.Doc.RuleMode == kRuleSum;
  const std::string OP = sum ? "SUM" : "PROD";
  const std::string OPR = sum ? "+" : "*";
  const std::string CRLF = "\r\n";
  S.Parser.ExprText =
      "ALL(" + U + "):[" + U + "@n => " + OP + "(" + s + "," + U + "," + U + "):" + F + "=" + F1 +
      "]" + CRLF + "& ALL(" + U + "):ALL(" + W + "):[" + U + "@n &" + W + "@n =>" + OP + "(" + s +
      "," + U + "," + W + "+1):" + F + "=" + OP + "(" + s + "," + U + "," + W + "):" + F + OPR + Fs +
      "]" + CRLF + "& ALL(" + U + "):ALL(" + W + "):[" + U + "@n &" + W + "@n & " + U + "<=" + W +
      "=>" + OP + "(" + s + "," + U + "," + W + "):" + F + "@n]";
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return Refuse(S, "PARSER ERROR: " + S.Parser.ParseErr);
  S.Doc.RuleArg2 = 0;
  return Put(S);
}

// Reads N names typed as a comma list into Names; returns the refusal
// message, or "" when the list is valid.
std::string ReadNameList(AppState& S, int N, std::vector<std::string>& Names) {
  const std::string message = N == 1 ? "Invalid bound variable" : "Invalid list of bound variables";
  S.Parser.ExprText = InputBoxOf(S).Text1;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return message;
  // Only plain names count: "f(y)" or "a,b+c" is no list of names.
  if (!IsNameList(S.Parser.Nodes, N)) return message;
  Names.clear();
  for (int i = 1; i <= N; ++i) Names.push_back(S.Parser.Nodes[i].Name);
  return "";
}

std::vector<std::string> Entries(const std::vector<std::string>& List, int Count) {
  std::vector<std::string> out;
  for (int i = 1; i <= Count && i < static_cast<int>(List.size()); ++i) out.push_back(List[i]);
  if (static_cast<int>(out.size()) != Count) throw RuleFailure("name list shorter than its count");
  return out;
}

// ---- Rename (46) ----
InputBoxOutcome ContinueRename(AppState& S) {
  const int N = InputBoxOf(S).NumBoundVars;
  std::vector<std::string> names;
  std::string err = ReadNameList(S, N, names);
  if (!err.empty()) return Refuse(S, err);
  const std::string text =
      ReplaceTokens(S.Ui.SavedExprText, S.Ui.SavedTokens, Entries(InputBoxOf(S).BoundVarNames, N), names);
  if (!SameStmt(S.Parser, S.Ui.SavedExprText, text))
    return Refuse(S, "New bound variable already used in statement");
  S.Parser.ExprText = text;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return Refuse(S, S.Parser.ParseErr);
  return Put(S);
}

// ---- Conclusion (7): names of the generalised variables; nothing is put ----
InputBoxOutcome ContinueConclusion(AppState& S) {
  const int nb = InputBoxOf(S).NumBoundVars;
  const int ne = InputBoxOf(S).NumExistVars;
  std::vector<std::string> names;
  std::string err = ReadNameList(S, nb + ne, names);
  if (!err.empty()) return Refuse(S, err);
  std::vector<std::string> from = Entries(InputBoxOf(S).BoundVarNames, nb);
  std::vector<std::string> exist = Entries(InputBoxOf(S).ExistVarNames, ne);
  from.insert(from.end(), exist.begin(), exist.end());
  const std::string text = ReplaceTokens(S.Ui.SavedExprText, S.Ui.SavedTokens, from, names);
  if (!SameStmt(S.Parser, S.Ui.SavedExprText, text))
    return Refuse(S, "New bound variable already used in premise or last statement");
  S.Parser.ExprText = text;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return Refuse(S, S.Parser.ParseErr);
  InputBoxOutcome out;
  out.Hide = true;
  return out;
}

// ---- Reorder (47): a rearranged prefix of universal quantifiers ----
InputBoxOutcome ContinueReorder(AppState& S) {
  std::string s;
  for (char ch : TrimBlanks(InputBoxOf(S).Text1))
    if (ch != ' ') s += ch;
  const int N = InputBoxOf(S).NumBoundVars;
  const std::vector<std::string> names = Entries(InputBoxOf(S).BoundVarNames, N);
  std::vector<bool> read(N, false);
  size_t p = 0;  // 0-based here
  for (int k = 0; k < N; ++k) {
    if (s.compare(p, 4, "ALL(") != 0) return Refuse(S, "Invalid list of quantifiers");
    size_t close = s.find("):", p + 4);
    if (close == std::string::npos) return Refuse(S, "Invalid list of quantifiers");
    std::string name = s.substr(p + 4, close - (p + 4));
    for (int i = 0; i < N; ++i) {
      if (names[i] != name) continue;
      if (read[i]) return Refuse(S, "Duplicate bound variable '" + name + "'");
      read[i] = true;
      break;
    }
    p += name.size() + 6;
  }
  for (int i = 0; i < N; ++i)
    if (!read[i]) return Refuse(S, "Missing bound variable '" + names[i] + "'");
  s = s.substr(0, p);

  // The new prefix replaces the statement's own prefix of N quantifiers, cut
  // after its N-th colon. The statement is the saved one, so a retry after a
  // refused attempt starts from the same text.
  const std::string& stmt = S.Ui.SavedExprText;
  size_t e = std::string::npos;
  size_t from = 0;
  for (int k = 0; k < N; ++k) {
    e = stmt.find(':', from);
    if (e == std::string::npos) throw RuleFailure("quantifier prefix not found");
    from = e + 1;
  }
  S.Parser.ExprText = s + stmt.substr(from);
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) return Refuse(S, S.Parser.ParseErr);
  return Put(S);
}

}  // namespace

void MyInputBox_Activate(AppState& S) {
  const int m = S.Doc.RuleMode;
  if (m != kRuleConclusion && m != kRuleRename && m != kRuleReorder) InputBoxOf(S).Text1.clear();
}

InputBoxOutcome MyInputBox_Continue(AppState& S) {
  try {
    if (InputBoxOf(S).Text1.find('#') != std::string::npos) {
      Beep(S);
      InputBoxOf(S).Label2 = "Invalid character '#'";
      InputBoxOutcome out;
      out.FocusText = true;
      return out;
    }
    switch (S.Doc.RuleMode) {
      case kRuleRename: return ContinueRename(S);
      case kRuleReorder: return ContinueReorder(S);
      case kRuleConclusion: return ContinueConclusion(S);
      case kRuleCartProd: case kRulePowerSet: case kRuleFunction: case kRuleSetEquality:
      case kRuleNtupleEquality: case kRuleFnSpace: case kRuleFnEquality:
        return SchemaContinue(S);
      default: break;
    }
    S.Parser.ExprText = InputBoxOf(S).Text1;
    ParseExpr(S.Parser);
    if (!S.Parser.ParseErr.empty()) return Refuse(S, kInvalidVariableName);
    switch (S.Doc.RuleMode) {
      case kRuleESpec: return ContinueESpec(S);
      case kRuleSum:
      case kRuleProd: return ContinueSumProd(S);
      default: return InputBoxOutcome{};  // U Gen and others: nothing further
    }
  } catch (...) {
    return Refuse(S, kUnableMessage);
  }
}

void MyInputBox_Cancel(AppState& S) {
  S.Doc.RuleMode = 0;
  S.Parser.ParseErr = "Cancelled";
}

void MyInputBox_QueryUnload(AppState& S) { S.Doc.RuleMode = 0; }

bool ShowInputBox(AppState& S) { return S.host && S.host->ShowModal(kInputBoxForm); }

}  // namespace qv
