// The parser's inner steps: the bracketing passes that rewrite the token list
// until every operator application stands in its own bracket pair, and the
// node builders that read the tree off those brackets.
//
// These work on tables that the parser owns and may throw ParseFault when an
// index leaves a table or a table would pass 32,767 entries; ParseText and
// ParseExpr catch it. Callers outside the parser use ParseText / ParseExpr.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "expr/expr.h"

namespace qv {

struct ParseFault : std::runtime_error {
  ParseFault() : std::runtime_error("Unable to parse expression") {}
};

inline constexpr const char* kUnableToParse = "Unable to parse expression";

// Kinds of the operators of BracketBinaryOps.
inline constexpr int kOpUnused = 0;
inline constexpr int kOpPrefix = 1;
inline constexpr int kOpInfix = 2;

// The token list while the passes insert brackets: a doubly linked list over
// records that stay where they were appended, so wrapping a stretch costs the
// same wherever it stands, however long the list. A token is named by its id;
// partners are ids too. Ids 1..n are the tokens of the table it was made from,
// in order; inserted brackets get the following ids. Id 0 is the dummy and
// stands for "no token" (past either end of the list, or no partner).
// Indexes, and TPtr as an index, exist again once the list is written back.
class TokenChain {
 public:
  explicit TokenChain(std::vector<TokenRec> Toks);

  int First() const { return next_[0]; }
  int Last() const { return prev_[0]; }
  int Next(int id) const { return id == 0 ? 0 : next_[static_cast<size_t>(id)]; }
  int Prev(int id) const { return id == 0 ? 0 : prev_[static_cast<size_t>(id)]; }
  // The token k places after id, or 0 when the list ends before it.
  int Ahead(int id, int k) const;
  // The record of token id (never of the dummy); a ParseFault for id 0 or an
  // id beyond the list. The reference lasts only until the next Wrap.
  TokenRec& At(int id) {
    if (id < 1 || id >= static_cast<int>(recs_.size())) throw ParseFault();
    return recs_[static_cast<size_t>(id)];
  }
  int Partner(int id) const { return partner_[static_cast<size_t>(id)]; }
  // Number of tokens in the list (the upper bound of its table).
  int Size() const { return size_; }

  // Puts an inserted "(" before token a and an inserted ")" after token F
  // (F at or after a), partners of each other. Returns the ids of the two new
  // brackets. A ParseFault, with the list unchanged, when a or F is no token
  // or the table would pass 32,767 entries.
  std::pair<int, int> Wrap(int a, int F);

  // Writes the list back as a table, dummy first, TPtr as indexes; the chain
  // is used up.
  void WriteTo(std::vector<TokenRec>& Toks) &&;

 private:
  // Appends an inserted bracket (Position 0) with the given partner.
  int Append(char Bracket, int Partner);

  std::vector<TokenRec> recs_;
  std::vector<int> prev_;
  std::vector<int> next_;
  std::vector<int> partner_;
  int size_ = 0;
};

// Wraps every name in its own brackets and gives each distinct name one node,
// in order of first occurrence.
void BracketAtoms(TokenChain& Toks, std::vector<NodeRec>& NodeList);
// Wraps every name directly followed by a typed "(" group together with it.
void BracketApplications(TokenChain& Toks);
// One precedence level of binary (or prefix) operators. Only a token equal
// to Op1 or Op2 is acted on (or refused); Op2 empty: no second operator.
void BracketBinaryOps(TokenChain& Toks, std::string_view Op1, int Op1Kind, std::string_view Op2,
                      int Op2Kind, bool LeftToRight, std::string& Err, int16_t& ErrPos);
// The quantifiers and the logical negation, right to left. Only a token
// equal to one of the three is acted on (or refused).
void BracketPrefixOps(std::string_view Quant1, std::string_view Quant2, std::string_view NotOp,
                      TokenChain& Toks, std::string& Err, int16_t& ErrPos);

// Where each lower-case name or numeral stands in a bracketed token table, in
// index order, so that a quantifier finds its variable's occurrences without
// reading its whole group. Valid while the table's tokens stay as they are.
class NameOccurrences {
 public:
  explicit NameOccurrences(const std::vector<TokenRec>& Toks);
  // The indexes of the tokens equal to Name, ascending; empty for any other name.
  const std::vector<int>& Of(const std::string& Name) const;
  // The first token (its index) of a name that is Bound at some occurrences
  // and free at others, 0 when there is none.
  int FirstMixed(const std::vector<TokenRec>& Toks) const;

 private:
  std::unordered_map<std::string, std::vector<int>> at_;
};

// Node builders: each gets the index of a group's closing bracket, appends
// exactly one node and sets DPtr of both brackets of the group, or sets Err.
void BuildNegNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                  std::string& Err, int16_t& ErrPos);
void BuildNotNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                  std::string& Err, int16_t& ErrPos);
// Names: the occurrences of the names in Toks (the quantifier marks its
// variable's occurrences in its group as bound).
void BuildQuantNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                    const NameOccurrences& Names, std::string& Err, int16_t& ErrPos);
void BuildFuncNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                   std::string& Err, int16_t& ErrPos);
void BuildBinaryNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                     std::string& Err, int16_t& ErrPos);

// Checked access to the tables: an index outside the table is a ParseFault.
inline TokenRec& TokAt(std::vector<TokenRec>& Toks, int i) {
  if (i < 0 || i >= static_cast<int>(Toks.size())) throw ParseFault();
  return Toks[static_cast<size_t>(i)];
}
inline NodeRec& NodeAt(std::vector<NodeRec>& Nodes, int i) {
  if (i < 0 || i >= static_cast<int>(Nodes.size())) throw ParseFault();
  return Nodes[static_cast<size_t>(i)];
}

// Token texts are one to a few characters, compared for every token of
// every pass: a loop over the characters costs less than a call of the
// library's compare for each.
constexpr bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}
inline bool IsQuantifier(std::string_view t) { return SameText(t, "ALL") || SameText(t, "EXIST"); }
inline bool IsOpenBracket(std::string_view t) { return t.size() == 1 && (t[0] == '(' || t[0] == '['); }
inline bool IsCloseBracket(std::string_view t) { return t.size() == 1 && (t[0] == ')' || t[0] == ']'); }
inline bool IsLowerOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }
inline bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace qv
