// Fuzzes the parser and the statement comparison. Besides crashes and hangs
// it checks the structure every accepted parse must have, and that the
// comparison is reflexive and symmetric.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "expr/expr.h"

namespace {

void Fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "invariant broken: %s\ntext: [%s]\n", what, text.c_str());
  std::abort();
}

void CheckParse(const qv::ParserState& P) {
  const std::string& text = P.ExprText;
  const auto& T = P.Tokens;
  const auto& N = P.Nodes;
  if (T.empty() || N.empty()) Fail("tables lost their dummy element", text);
  if (P.ParseErr.empty()) {
    if (P.ParseErrPos != 0) Fail("position on success", text);
    const int last = static_cast<int>(T.size()) - 1;
    const int root = static_cast<int>(N.size()) - 1;
    if (root < 1) Fail("no node", text);
    if (last > 1 && (T[1].TPtr != last || T[1].DPtr != root || T[static_cast<size_t>(last)].DPtr != root))
      Fail("whole list is not the root group", text);
    // Brackets nest properly and partners agree.
    std::vector<int> open;
    for (int i = 1; i <= last; ++i) {
      const auto& t = T[static_cast<size_t>(i)];
      if (t.Token == "(" || t.Token == "[") {
        open.push_back(i);
      } else if (t.Token == ")" || t.Token == "]") {
        if (open.empty() || open.back() != t.TPtr || T[static_cast<size_t>(t.TPtr)].TPtr != i)
          Fail("crossing or unpaired brackets in an accepted parse", text);
        if (t.DPtr < 1 || t.DPtr > root || T[static_cast<size_t>(t.TPtr)].DPtr != t.DPtr)
          Fail("group without a node", text);
        open.pop_back();
      } else if (t.TPtr != 0 || t.DPtr != 0) {
        Fail("pointer on a non-bracket token", text);
      }
    }
    if (!open.empty()) Fail("unclosed bracket", text);
    bool namesDone = false;
    for (int i = 1; i <= root; ++i) {
      const auto& n = N[static_cast<size_t>(i)];
      const bool isName = n.Rule == qv::kAtom || n.Rule == qv::kProp;
      if (isName && namesDone) Fail("name node after an operator node", text);
      if (!isName) namesDone = true;
      if (!((n.Rule >= 1 && n.Rule <= 22) || n.Rule == qv::kProp || n.Rule == qv::kPred))
        Fail("kind the parser never builds", text);
      if (n.Ptr1 < 0 || n.Ptr1 >= i || n.Ptr2 < 0 || n.Ptr2 >= i) Fail("operand after its node", text);
      if (isName != !n.Name.empty()) Fail("name on a wrong node", text);
      if (isName && (n.Ptr1 != 0 || n.Ptr2 != 0)) Fail("name node with operands", text);
      if (!isName && n.Ptr1 == 0) Fail("operator without operand", text);
      for (int j = 1; isName && j < i; ++j)
        if (N[static_cast<size_t>(j)].Name == n.Name) Fail("name stored twice", text);
    }
  } else if (P.ParseErrPos < 0 || static_cast<size_t>(P.ParseErrPos) > text.size()) {
    Fail("error position outside the text", text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  // Two statements separated by a newline-free marker byte 0x01.
  const size_t cut = input.find('\x01');
  const std::string a = input.substr(0, cut);
  const std::string b = cut == std::string::npos ? a : input.substr(cut + 1);

  qv::ParserState P;
  P.ExprText = a;
  qv::ParseExpr(P);
  CheckParse(P);
  const bool aParses = P.ParseErr.empty();

  const bool same = qv::SameStmt(P, a, b);
  if (same != qv::SameStmt(P, b, a)) Fail("comparison is not symmetric", input);
  if (aParses && !qv::SameStmt(P, a, a)) Fail("statement differs from itself", a);
  if (aParses) {
    // The canonical text left behind parses again.
    P.ExprText = P.ExprText;
    qv::ParseExpr(P);
    if (!P.ParseErr.empty()) Fail("canonical text does not parse", P.ExprText);
    CheckParse(P);
  }
  return 0;
}
