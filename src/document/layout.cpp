// The canonical statement layout: a parse tree printed with the brackets its
// binding levels require, and the user's line breaks before connectives put
// back; where a statement's line number stands.
#include <stdexcept>
#include <string>
#include <vector>

#include "document/document.h"

namespace qv {

std::string WithoutTabs(const std::string& Text) {
  std::string r;
  r.reserve(Text.size());
  for (char c : Text)
    if (c != '\t') r += c;
  return r;
}

NumberArea LineNumberArea(const StmtRec& s) {
  NumberArea a;
  a.Line = s.EndUserComment > 0 ? s.EndUserComment + 5 : s.StartLine;
  a.Number = a.Line + (s.StartRule - s.EndStmt - 4);
  a.End = s.StartStmt;
  a.ToView = s.ViewerStartLine - s.StartLine;
  return a;
}

int Digits(int n) {
  int d = 1;
  for (; n >= 10; n /= 10) ++d;
  return d;
}

void AppendRenumberedBlock(std::string& Out, const std::string& Old, StmtRec& s, int Number) {
  const int32_t number = LineNumberArea(s).Number;
  const int32_t newStart = static_cast<int32_t>(Out.size()) + 1;
  // The comment and the indentation, then the new number and its TAB.
  Out.append(Old, static_cast<size_t>(s.StartLine - 1), static_cast<size_t>(number - s.StartLine));
  Out += std::to_string(Number);
  Out += '\t';
  // The formula and its rule line's CR LF and TABs, then the new rule text.
  const int32_t stmtShift = static_cast<int32_t>(Out.size()) + 1 - s.StartStmt;
  Out.append(Old, static_cast<size_t>(s.StartStmt - 1), static_cast<size_t>(s.StartRule - s.StartStmt));
  const int32_t ruleStart = static_cast<int32_t>(Out.size()) + 1;
  AppendRuleText(Out, s);
  const int32_t ruleEnd = static_cast<int32_t>(Out.size());
  Out.append(Old, static_cast<size_t>(s.EndRule), 4);  // CR LF CR LF
  if (s.EndUserComment > 0) s.EndUserComment += newStart - s.StartLine;
  s.StartLine = newStart;
  s.StartStmt += stmtShift;
  s.EndStmt += stmtShift;
  s.StartRule = ruleStart;
  s.EndRule = ruleEnd;
}

std::string StmtFormula(const DocState& d, int Line) {
  if (Line < 1 || Line > d.StmtCount || Line >= static_cast<int>(d.Stmts.size()))
    throw std::out_of_range("no such statement");
  const StmtRec& s = d.Stmts[Line];
  if (s.StartStmt < 1 || s.EndStmt < s.StartStmt ||
      s.EndStmt > static_cast<int32_t>(d.ProofText.size()))
    throw std::out_of_range("statement outside the proof text");
  return WithoutTabs(d.ProofText.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1));
}

std::string TabAfterBreaks(const std::string& Text) {
  std::string r;
  r.reserve(Text.size() + 8);
  for (size_t i = 0; i < Text.size(); ++i) {
    r += Text[i];
    if (Text[i] == '\n' && i > 0 && Text[i - 1] == '\r') r += '\t';
  }
  return r;
}

std::string LayoutTree(const ParserState& P) {
  const auto& N = P.Nodes;
  const int last = LastIndex(N);
  if (last < 1) return "";
  std::vector<std::string> T(N.size());
  auto kindOf = [&](int node) -> int {
    return node >= 0 && node <= last ? N[node].Rule : 0;
  };
  auto level = [&](int node) -> int {
    int k = kindOf(node);
    return k >= 0 && k < static_cast<int>(P.OpPriority.size()) ? P.OpPriority[k] : 0;
  };
  auto text = [&](int node) -> const std::string& {
    static const std::string empty;
    return node >= 1 && node <= last ? T[node] : empty;
  };
  auto sym = [&](int kind) -> const std::string& { return P.OpSymbol[kind]; };

  for (int i = 1; i <= last; ++i) {
    const NodeRec& n = N[i];
    const int k = n.Rule;
    const std::string& t1 = text(n.Ptr1);
    const std::string& t2 = text(n.Ptr2);
    const int p = (k >= 0 && k < static_cast<int>(P.OpPriority.size())) ? P.OpPriority[k] : 0;
    std::string& out = T[i];
    switch (k) {
      case kAtom:
      case kProp:
        out = n.Name;
        break;
      case kFunc:
      case kPred:
        out = t1 + "(" + t2 + ")";
        break;
      case kNtuple:
        out = t1 + "," + t2;
        break;
      case kANeg:
        if (kindOf(n.Ptr1) == kANeg) out = "_(" + t1 + ")";
        else if (level(n.Ptr1) <= p) out = "_" + t1;
        else out = "_(" + t1 + ")";
        break;
      case kLNeg:
        out = level(n.Ptr1) <= p ? "~" + t1 : "~[" + t1 + "]";
        break;
      case kComplement:
        out = level(n.Ptr1) <= p ? "`" + t1 : "`(" + t1 + ")";
        break;
      case kALL:
      case kEXIST:
        out = sym(k) + "(" + t1 + "):" + (level(n.Ptr2) <= p ? t2 : "[" + t2 + "]");
        break;
      case kSUM:
      case kPROD:
        out = sym(k) + "(" + t1 + "):" + (level(n.Ptr2) <= p ? t2 : "(" + t2 + ")");
        break;
      case kElt:
        out = (level(n.Ptr1) > p ? "(" + t1 + ") " : t1 + " ") + sym(k) + " " +
              (level(n.Ptr2) >= p ? "(" + t2 + ")" : t2);
        break;
      case kLAnd:
      case kLOr:
      case kImply:
      case kIff:
        out = (level(n.Ptr1) > p ? "[" + t1 + "] " : t1 + " ") + sym(k) + " " +
              (level(n.Ptr2) >= p ? "[" + t2 + "]" : t2);
        break;
      default:  // the infix term operators and relations: no blanks
        out = (level(n.Ptr1) > p ? "(" + t1 + ")" : t1) + sym(k) +
              (level(n.Ptr2) >= p ? "(" + t2 + ")" : t2);
        break;
    }
  }
  return T[last];
}

namespace {

// 0-based index of the c-th connective (1-based c) in Laid, npos when fewer.
size_t FindConnective(const std::string& Laid, int c) {
  const size_t n = Laid.size();
  int seen = 0;
  size_t i = 0;
  while (i < n) {
    const char ch = Laid[i];
    const char nx = i + 1 < n ? Laid[i + 1] : '\0';
    size_t width = 0;
    if (ch == '&' || ch == '|') {
      if (nx == ch) {
        i += 2;  // "&&" and "||" are set operators, not connectives
        continue;
      }
      width = 1;
    } else if (ch == '=' && nx == '>') {
      width = 2;
    } else if (ch == '<' && nx == '=' && i + 2 < n && Laid[i + 2] == '>') {
      width = 3;
    }
    if (width == 0) {
      ++i;
      continue;
    }
    if (++seen == c) return i;
    i += width;
  }
  return std::string::npos;
}

}  // namespace

std::string RestoreLineBreaks(const std::string& UserText, const std::vector<TokenRec>& UserTokens,
                              const std::string& Laid) {
  std::string out = Laid;
  int c = 0;
  for (size_t t = 1; t < UserTokens.size(); ++t) {
    const TokenRec& tok = UserTokens[t];
    if (tok.Token != "&" && tok.Token != "|" && tok.Token != "=>" && tok.Token != "<=>") continue;
    ++c;
    const int pos = tok.Position;  // 1-based; the character before it is pos - 1
    if (pos < 2 || pos - 2 >= static_cast<int>(UserText.size()) || UserText[pos - 2] != '\n')
      continue;
    const size_t at = FindConnective(out, c);
    if (at == std::string::npos || at == 0) continue;
    out.replace(at - 1, 1, "\r\n");
  }
  return out;
}

}  // namespace qv
