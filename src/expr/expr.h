// The statement language: token and node tables, the tokeniser, the parser
// and the comparison of statements up to renaming of bound variables.
// Pure C++: no GUI headers here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// One token of a parsed text. Index 0 of a token table is an all-zero dummy.
struct TokenRec {
  std::string Token;
  int16_t Position = 0;  // 1-based position in the parsed text; 0 = inserted bracket
  int16_t TPtr = 0;      // bracket: index of the matching bracket
  int16_t DPtr = 0;      // bracket: node the group stands for
  bool Bound = false;    // occurrence of a variable bound by an enclosing quantifier
  int32_t Colour = 0;    // display colour of a free variable (set by the layout)
  bool Flag = false;
};

// One node of the parse tree. Index 0 is an all-zero dummy; the root is last.
struct NodeRec {
  int16_t Rule = 0;  // node kind 1..29
  std::string Name;  // Atom / Prop name
  int16_t Ptr1 = 0;
  int16_t Ptr2 = 0;
};

// Node kinds. Keep their order: the kind classes below
// test ranges of it (kAtom..kSubt, kAtom..kFunc, kEQ..kElt,
// kIntersection..kComplement).
enum NodeKind : int16_t {
  kAtom = 1, kExpo, kANeg, kMult, kDiv, kAdd, kSubt, kNtuple, kFunc,
  kEQ, kLT, kLE, kGT, kGE, kLNeg, kLAnd, kLOr, kImply, kIff,
  kALL, kEXIST, kElt, kSUM, kPROD, kProp, kPred, kIntersection, kUnion, kComplement
};

inline constexpr int kMaxTableIndex = 32767;

// The last index of a table whose element 0 is a dummy (tokens, nodes,
// statements): its size less one.
template <class Table>
int LastIndex(const Table& T) {
  return static_cast<int>(T.size()) - 1;
}

// Text without its leading and trailing Blanks (spaces unless told otherwise).
inline std::string TrimBlanks(const std::string& Text, std::string_view Blanks = " ") {
  const size_t b = Text.find_first_not_of(Blanks);
  if (b == std::string::npos) return "";
  const size_t e = Text.find_last_not_of(Blanks);
  return Text.substr(b, e - b + 1);
}

// The parser's shared variables: the input text, the tables of the last
// parse and its error.
struct ParserState {
  std::string ExprText;
  std::vector<TokenRec> Tokens{TokenRec{}};
  std::vector<NodeRec> Nodes{NodeRec{}};
  std::string ParseErr;
  int16_t ParseErrPos = 0;
  std::array<std::string, 31> NodeKindNames{};
  std::array<std::string, 31> OpSymbol{};
  std::array<int16_t, 31> OpPriority{};
};

// Kind classes of the node kinds 1..29 (0 and every other value belong to
// no class).
//  - algebraic term: 1-7 and 9 (the operands of arithmetic and relations);
//  - algebraic: 1-9 (a term or an n-tuple);
//  - logical: 10-22, 25, 26 (a formula).
//  - single term: 1-7, 9, 23, 24, 27-29, the class the rules work with: every
//    kind that stands for one value (no n-tuple), including the kinds the
//    parser never builds (23, 24, 27-29).
bool IsAlgebraicTermKind(int Kind);
bool IsAlgebraicKind(int Kind);
bool IsLogicalKind(int Kind);
bool IsSingleTermKind(int Kind);
inline bool IsFormulaKind(int Kind) { return IsLogicalKind(Kind); }

// Fills NodeKindNames, OpSymbol and OpPriority (ParseExpr does this itself at
// the start of every parse).
void FillKindTables(ParserState& P);

// The result of parsing one text, independent of any shared state.
struct ParseResult {
  std::vector<TokenRec> Tokens{TokenRec{}};
  std::vector<NodeRec> Nodes{NodeRec{}};
  std::string Err;  // empty on success
  int16_t ErrPos = 0;
};

// Parses Text. Never throws: any internal fault (table overflow, an index
// outside a table) becomes "Unable to parse expression" at position 0.
ParseResult ParseText(const std::string& Text);

// Splits Text into tokens (Toks reset to the dummy first). Err/ErrPos are
// empty/0 on success, else messages 17..20 and their position.
void TokenizeExpr(const std::string& Text, std::vector<TokenRec>& Toks, std::string& Err,
                  int16_t& ErrPos);
// Appends one token (TPtr, DPtr, Bound 0). Throws std::length_error when the
// table already holds 32,767 tokens.
void AddToken(std::string_view Tok, int16_t Pos, std::vector<TokenRec>& Toks);

// Parses P.ExprText into P.Tokens/P.Nodes; P.ParseErr empty on success.
void ParseExpr(ParserState& P);

// True when A and B are the same statement up to renaming of bound variables
// (and blanks and redundant brackets). Leaves P holding a parse of B's text.
bool SameStmt(ParserState& P, const std::string& A, const std::string& B);

}  // namespace qv
