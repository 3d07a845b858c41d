// The statement table and the proof text kept in step: the rule text of a
// line, the view positions of the visible blocks, the Introduction length and
// the checker of every layout invariant.
#include <string>

#include "document/document.h"
#include "expr/expr.h"

namespace qv {

void AppendRuleText(std::string& Out, const StmtRec& s) {
  if (s.Rule == kRuleConclusion) Out += "4 ";
  if (s.Rule >= 0 && s.Rule < static_cast<int>(RuleNames.size())) Out += RuleNames[s.Rule];
  auto cite = [&](int line) {
    char digits[8];
    int n = 0;
    for (; line > 0; line /= 10) digits[n++] = static_cast<char>('0' + line % 10);
    Out += ", ";
    while (n > 0) Out += digits[--n];
  };
  // A Premise's Arg1 is the line of the Conclusion that closed it, not a citation.
  if (s.Rule != kRulePremise && s.Arg1 > 0) cite(s.Arg1);
  if (s.Arg2 > 0) cite(s.Arg2);
}

std::string RuleTextOf(const StmtRec& s) {
  std::string r;
  AppendRuleText(r, s);
  return r;
}

void RecomputeViewPositions(DocState& d) {
  int32_t v = d.IntroLen > 0 ? d.IntroLen + 4 : 0;
  for (int k = 1; k <= d.StmtCount; ++k) {
    StmtRec& s = d.Stmts[k];
    if (s.Visible) {
      s.ViewerStartLine = v + 1;
      v += s.EndRule - s.StartLine + 5;
    } else {
      s.ViewerStartLine = 0;
    }
  }
}

void RecomputeIntroLen(DocState& d) {
  if (d.StmtCount < 1) {
    int32_t n = static_cast<int32_t>(d.ProofText.size());
    d.IntroLen = n >= 4 ? n - 4 : 0;
  } else if (d.Stmts[1].StartLine <= 1) {
    d.IntroLen = 0;
  } else {
    d.IntroLen = d.Stmts[1].StartLine - 5;
    if (d.IntroLen < 0) d.IntroLen = 0;
  }
}

namespace {

std::string Where(int k) { return "line " + std::to_string(k) + ": "; }

}  // namespace

bool LineBreaksWhole(std::string_view Text) {
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '\r' && (i + 1 >= Text.size() || Text[i + 1] != '\n')) return false;
    if (Text[i] == '\n' && (i == 0 || Text[i - 1] != '\r')) return false;
  }
  return true;
}

std::string CheckDocInvariants(const DocState& d, const ParsedLineFn& OnParsed) {
  const std::string& T = d.ProofText;
  const int32_t len = static_cast<int32_t>(T.size());
  auto at = [&](int32_t p) -> char { return p >= 1 && p <= len ? T[p - 1] : '\0'; };
  auto isBreak2 = [&](int32_t p) {  // CR LF CR LF at p .. p + 3
    return at(p) == '\r' && at(p + 1) == '\n' && at(p + 2) == '\r' && at(p + 3) == '\n';
  };

  if (d.StmtCount < 0 || d.StmtCount > kMaxStmts) return "StmtCount out of range";
  if (static_cast<int>(d.Stmts.size()) < d.StmtCount + 1) return "Stmts shorter than StmtCount";
  if (d.IntroLen < 0) return "negative IntroLen";
  // Every position of the view is computed with CR LF counted as two; a lone
  // CR or LF would shift every later one.
  if (!LineBreaksWhole(T)) return "lone CR or LF in the proof text";
  if (d.IntroLen > 0 && (len < d.IntroLen + 4 || !isBreak2(d.IntroLen + 1)))
    return "Introduction not followed by CR LF CR LF";
  // The one allowed prefix without an Introduction: an emptied Introduction.
  const bool emptyIntro = d.IntroLen == 0 && len >= 4 && isBreak2(1);

  if (d.StmtCount == 0) {
    int32_t want = d.IntroLen > 0 ? d.IntroLen + 4 : 0;
    if (len != want && !(emptyIntro && len == 4))
      return "proof text length " + std::to_string(len) + " without statements, expected " +
             std::to_string(want);
    return "";
  }

  int32_t expectStart = d.IntroLen > 0 ? d.IntroLen + 5 : 1;
  if (d.IntroLen == 0 && emptyIntro && d.Stmts[1].StartLine == 5) expectStart = 5;
  int32_t view = d.IntroLen > 0 ? d.IntroLen + 5 : 1;

  for (int k = 1; k <= d.StmtCount; ++k) {
    const StmtRec& s = d.Stmts[k];
    if (s.Rule < 1 || s.Rule >= static_cast<int>(RuleNames.size()))
      return Where(k) + "rule code " + std::to_string(s.Rule) + " outside 1.." +
             std::to_string(RuleNames.size() - 1);
    if (s.StartLine != expectStart)
      return Where(k) + "StartLine " + std::to_string(s.StartLine) + ", expected " +
             std::to_string(expectStart);
    int32_t num = s.StartLine;
    if (s.EndUserComment > 0) {
      if (s.EndUserComment < s.StartLine) return Where(k) + "comment ends before the block starts";
      if (!isBreak2(s.EndUserComment + 1)) return Where(k) + "comment not followed by CR LF CR LF";
      num = s.EndUserComment + 5;
    } else if (s.EndUserComment < 0) {
      return Where(k) + "negative EndUserComment";
    }
    int32_t tabs = 0;
    while (at(num) == '\t') ++num, ++tabs;
    const std::string digits = std::to_string(k);
    if (num + static_cast<int32_t>(digits.size()) - 1 > len ||
        T.compare(num - 1, digits.size(), digits) != 0)
      return Where(k) + "line number not found where expected";
    const int32_t numEnd = num + static_cast<int32_t>(digits.size()) - 1;
    if (at(numEnd + 1) != '\t') return Where(k) + "no TAB after the line number";
    if (s.StartStmt != numEnd + 2) return Where(k) + "StartStmt does not follow the number";
    if (s.EndStmt < s.StartStmt || s.EndStmt > len) return Where(k) + "empty or misplaced formula";
    for (int32_t p = s.StartStmt; p < s.EndStmt; ++p)
      if (at(p) == '\r' && (at(p + 1) != '\n' || at(p + 2) != '\t'))
        return Where(k) + "line break inside the formula not followed by a TAB";
    if (at(s.EndStmt + 1) != '\r' || at(s.EndStmt + 2) != '\n')
      return Where(k) + "formula not followed by CR LF";
    const int32_t depth = s.StartRule - s.EndStmt - 4;
    if (depth != tabs) return Where(k) + "rule line indentation differs from the number's";
    for (int32_t p = s.EndStmt + 3; p < s.StartRule; ++p)
      if (at(p) != '\t') return Where(k) + "rule line not indented by TABs";
    const std::string rule = RuleTextOf(s);
    if (s.EndRule != s.StartRule + static_cast<int32_t>(rule.size()) - 1)
      return Where(k) + "EndRule does not match the rule text length";
    if (s.EndRule > len || T.compare(s.StartRule - 1, rule.size(), rule) != 0)
      return Where(k) + "rule text is not \"" + rule + "\"";
    if (!isBreak2(s.EndRule + 1)) return Where(k) + "block not closed by CR LF CR LF";
    if (s.Visible) {
      if (s.ViewerStartLine != view)
        return Where(k) + "ViewerStartLine " + std::to_string(s.ViewerStartLine) + ", expected " +
               std::to_string(view);
      view += s.EndRule - s.StartLine + 5;
    }
    // Sub-proof links and citations.
    if (s.Rule == kRulePremise && s.Arg1 > 0) {
      if (s.Arg1 <= k || s.Arg1 > d.StmtCount || d.Stmts[s.Arg1].Rule != kRuleConclusion ||
          d.Stmts[s.Arg1].Arg1 != k)
        return Where(k) + "Premise closed by a line that is not its Conclusion";
    } else if (s.Rule == kRuleConclusion) {
      if (s.Arg1 < 1 || s.Arg1 >= k || d.Stmts[s.Arg1].Rule != kRulePremise ||
          d.Stmts[s.Arg1].Arg1 != k)
        return Where(k) + "Conclusion does not close its Premise";
    } else if (s.Arg1 < 0 || s.Arg1 >= k) {
      return Where(k) + "cites line " + std::to_string(s.Arg1);
    }
    if (s.Arg2 < 0 || s.Arg2 >= k) return Where(k) + "cites line " + std::to_string(s.Arg2);
    for (const std::string* list : {&s.FreeVars, &s.ScopedVars, &s.FlagVars})
      if (!list->empty() && (list->front() != ' ' || list->back() != ' ' || list->size() < 3))
        return Where(k) + "variable list not in list form";
    for (const std::string* text : {&s.NewVar, &s.FreeVars, &s.ScopedVars, &s.FlagVars})
      if (!LineBreaksWhole(*text)) return Where(k) + "lone CR or LF in a variable list";
    // Every statement entered the proof through the parser; one that no
    // longer parses cannot be drawn, cited or compared.
    const ParseResult parsed = ParseText(StmtFormula(d, k));
    if (!parsed.Err.empty()) return Where(k) + "formula does not parse: " + parsed.Err;
    if (OnParsed) OnParsed(k, parsed);
    expectStart = s.EndRule + 5;
  }
  if (len != d.Stmts[d.StmtCount].EndRule + 4)
    return "text after the last block: length " + std::to_string(len) + ", expected " +
           std::to_string(d.Stmts[d.StmtCount].EndRule + 4);
  return "";
}

}  // namespace qv
