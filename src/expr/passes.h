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

// Puts an inserted "(" before token a and an inserted ")" after token F,
// renumbering every bracket partner. Old token a ends at a + 1, old F at F + 1.
void WrapTokens(std::vector<TokenRec>& Toks, int a, int F);

// Wraps every name in its own brackets and gives each distinct name one node,
// in order of first occurrence.
void BracketAtoms(std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList, std::string& Err);
// Wraps every name directly followed by a typed "(" group together with it.
void BracketApplications(std::vector<TokenRec>& Toks);
// One precedence level of binary (or prefix) operators.
void BracketBinaryOps(std::vector<TokenRec>& Toks, const std::string& Op1, int Op1Kind,
                      const std::string& Op2, int Op2Kind, bool LeftToRight, std::string& Err,
                      int16_t& ErrPos);
// The quantifiers and the logical negation, right to left.
void BracketPrefixOps(const std::string& Quant1, const std::string& Quant2,
                      const std::string& NotOp, std::vector<TokenRec>& Toks, std::string& Err,
                      int16_t& ErrPos);

// Node builders: each gets the index of a group's closing bracket, appends
// exactly one node and sets DPtr of both brackets of the group, or sets Err.
void BuildNegNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                  std::string& Err, int16_t& ErrPos);
void BuildNotNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                  std::string& Err, int16_t& ErrPos);
void BuildQuantNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                    std::string& Err, int16_t& ErrPos);
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
inline int UpperBound(const std::vector<TokenRec>& Toks) { return static_cast<int>(Toks.size()) - 1; }
inline int UpperBound(const std::vector<NodeRec>& Nodes) { return static_cast<int>(Nodes.size()) - 1; }

inline bool IsOpenBracket(const std::string& t) { return t == "(" || t == "["; }
inline bool IsCloseBracket(const std::string& t) { return t == ")" || t == "]"; }
inline bool IsLowerOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }
inline bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace qv
