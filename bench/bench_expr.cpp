// Parsing speed on a statement of 200 tokens (the bracketing passes are
// quadratic in the number of tokens, so this is the figure to watch).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "expr/expr.h"

namespace {

// ALL(a):EXIST(b):[c1 & c2 & ... & c14 & Q(a,b)] with clauses like
// a*x3 + b = f(c,3): 200 typed tokens.
std::string Statement200() {
  std::string s = "ALL(a):EXIST(b):[";
  for (int i = 1; i <= 14; ++i) {
    if (i > 1) s += " & ";
    s += "a*x" + std::to_string(i) + " + b = f(c," + std::to_string(i) + ")";
  }
  s += " & Q(a,b)]";
  return s;
}

int CountTokens(const std::string& text) {
  std::vector<qv::TokenRec> toks;
  std::string err;
  int16_t pos = 0;
  qv::TokenizeExpr(text, toks, err, pos);
  return err.empty() ? static_cast<int>(toks.size()) - 1 : -1;
}

void BM_ParseExpr200Tokens(benchmark::State& state) {
  qv::ParserState P;
  P.ExprText = Statement200();
  const int tokens = CountTokens(P.ExprText);
  if (tokens != 200) {
    state.SkipWithError("statement is not 200 tokens long");
    return;
  }
  for (auto _ : state) {
    qv::ParseExpr(P);
    benchmark::DoNotOptimize(P.Nodes.data());
  }
  if (!P.ParseErr.empty()) state.SkipWithError(P.ParseErr.c_str());
  state.SetItemsProcessed(state.iterations() * tokens);
}
BENCHMARK(BM_ParseExpr200Tokens);

void BM_SameStmt200Tokens(benchmark::State& state) {
  qv::ParserState P;
  const std::string a = Statement200();
  std::string b = a;
  b[4] = 'z';  // rename the first bound variable in its quantifier...
  for (size_t i = 17; i < b.size(); ++i)
    if (b[i] == 'a' && (b[i - 1] == '(' || b[i - 1] == '[' || b[i - 1] == ' ')) b[i] = 'z';
  for (auto _ : state) benchmark::DoNotOptimize(qv::SameStmt(P, a, b));
  if (!qv::SameStmt(P, a, b)) state.SkipWithError("renamed statement compared unequal");
  state.SetItemsProcessed(state.iterations() * 2 * 200);
}
BENCHMARK(BM_SameStmt200Tokens);

}  // namespace
