// Splits a statement text into tokens and pairs its brackets.
#include <stdexcept>
#include <string_view>
#include <vector>

#include "expr/expr.h"
#include "expr/passes.h"

namespace qv {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Pairs the brackets Open/Close among themselves only, so a round and a square
// pair never see each other. A bracket without partner keeps TPtr 0.
void PairBrackets(std::vector<TokenRec>& Toks, char Open, char Close) {
  std::vector<int> open;
  for (int i = 1; i <= LastIndex(Toks); ++i) {
    const std::string& t = Toks[static_cast<size_t>(i)].Token;
    if (t.size() != 1) continue;
    if (t[0] == Open) {
      open.push_back(i);
    } else if (t[0] == Close && !open.empty()) {
      int o = open.back();
      open.pop_back();
      Toks[static_cast<size_t>(o)].TPtr = static_cast<int16_t>(i);
      Toks[static_cast<size_t>(i)].TPtr = static_cast<int16_t>(o);
    }
  }
}

}  // namespace

void AddToken(std::string_view Tok, int16_t Pos, std::vector<TokenRec>& Toks) {
  if (LastIndex(Toks) >= kMaxTableIndex) throw std::length_error("token table full");
  TokenRec& t = Toks.emplace_back();
  t.Token.assign(Tok);
  t.Position = Pos;
}

void TokenizeExpr(const std::string& Text, std::vector<TokenRec>& Toks, std::string& Err,
                  int16_t& ErrPos) {
  Toks.assign(1, TokenRec{});
  Err.clear();
  ErrPos = 0;
  // Positions are 16-bit: a longer text cannot be addressed.
  if (Text.size() > static_cast<size_t>(kMaxTableIndex)) {
    Err = kUnableToParse;
    return;
  }
  if (Text.find_first_not_of(' ') == std::string::npos) {
    Err = "17. No expression found.";
    return;
  }
  try {
    const size_t n = Text.size();
    // No token is shorter than a character: the table never grows past this.
    Toks.reserve(n + 1);
    size_t p = 0;  // 0-based here; positions stored 1-based
    while (p < n) {
      const char c = Text[p];
      const int16_t pos = static_cast<int16_t>(p + 1);
      auto next = [&](size_t k) { return p + k < n ? Text[p + k] : '\0'; };
      if (IsDigit(c) || (c >= 'a' && c <= 'z')) {
        size_t e = p + 1;
        while (e < n && (IsLetter(Text[e]) || IsDigit(Text[e]) || Text[e] == '\'' || Text[e] == '#'))
          ++e;
        std::string_view tok = std::string_view(Text).substr(p, e - p);
        if (SameText(tok, "all")) tok = "ALL";
        else if (SameText(tok, "exist")) tok = "EXIST";
        AddToken(tok, pos, Toks);
        p = e;
      } else if (IsUpper(c)) {
        size_t e = p + 1;
        while (e < n && (IsLetter(Text[e]) || IsDigit(Text[e]) || Text[e] == '\'')) ++e;
        std::string_view tok = std::string_view(Text).substr(p, e - p);
        if (SameText(tok, "All")) tok = "ALL";
        else if (SameText(tok, "Exist")) tok = "EXIST";
        AddToken(tok, pos, Toks);
        p = e;
      } else if (std::string_view("()[]+-*/^_,~`:@").find(c) != std::string_view::npos) {
        AddToken(std::string_view(&Text[p], 1), pos, Toks);
        p += 1;
      } else if (c == '=') {
        if (next(1) == '>') { AddToken("=>", pos, Toks); p += 2; }
        else { AddToken("=", pos, Toks); p += 1; }
      } else if (c == '<') {
        if (next(1) == '=') {
          if (next(2) == '>') { AddToken("<=>", pos, Toks); p += 3; }
          else { AddToken("<=", pos, Toks); p += 2; }
        } else {
          AddToken("<", pos, Toks);
          p += 1;
        }
      } else if (c == '>') {
        if (next(1) == '=') { AddToken(">=", pos, Toks); p += 2; }
        else { AddToken(">", pos, Toks); p += 1; }
      } else if (c == '&') {
        if (next(1) == '&') { AddToken("&&", pos, Toks); p += 2; }
        else { AddToken("&", pos, Toks); p += 1; }
      } else if (c == '|') {
        if (next(1) == '|') { AddToken("||", pos, Toks); p += 2; }
        else { AddToken("|", pos, Toks); p += 1; }
      } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
        p += 1;
      } else {
        Err = std::string("18. Illegal character ") + c;
        ErrPos = pos;
        return;
      }
    }
  } catch (const std::exception&) {
    Err = kUnableToParse;
    ErrPos = 0;
    return;
  }
  if (LastIndex(Toks) == 0) {
    Err = "19. Expecting expression";
    return;
  }
  PairBrackets(Toks, '(', ')');
  PairBrackets(Toks, '[', ']');
  for (int i = 1; i <= LastIndex(Toks); ++i) {
    const TokenRec& t = Toks[static_cast<size_t>(i)];
    if ((IsOpenBracket(t.Token) || IsCloseBracket(t.Token)) && t.TPtr == 0) {
      Err = "20. Unmatched bracket(s)";
      ErrPos = t.Position;
      return;
    }
  }
}

}  // namespace qv
