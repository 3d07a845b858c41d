// Parsing speed on one long statement. The figure to watch is how the time
// grows from 200 to 5,000 tokens: it must stay close to linear.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "expr/expr.h"

namespace {

// ALL(a):EXIST(b):[c1 & c2 & ... & Q(a,b)] with clauses like a*x3 + b = f(c,3)
// (13 tokens each with its "&"), padded with "& Rk" to exactly `tokens`
// tokens (at least 200).
std::string Statement(int tokens) {
  int clauses = (tokens - 18) / 13;
  if ((tokens - 18 - 13 * clauses) % 2 != 0) --clauses;
  const int pads = (tokens - 18 - 13 * clauses) / 2;
  std::string s = "ALL(a):EXIST(b):[";
  for (int i = 1; i <= clauses; ++i) {
    if (i > 1) s += " & ";
    s += "a*x" + std::to_string(i) + " + b = f(c," + std::to_string(i) + ")";
  }
  for (int i = 1; i <= pads; ++i) s += " & R" + std::to_string(i);
  s += " & Q(a,b)]";
  return s;
}

// ALL(x1):ALL(x2):...:[P(x1) & P(x2) & ...]: every quantifier's group holds
// all the ones inside it.
std::string NestedQuantifiers(int tokens) {
  const int depth = (tokens - 1) / 10;
  std::string s;
  for (int i = 1; i <= depth; ++i) s += "ALL(x" + std::to_string(i) + "):";
  s += "[";
  for (int i = 1; i <= depth; ++i) {
    if (i > 1) s += " & ";
    s += "P(x" + std::to_string(i) + ")";
  }
  return s + "]";
}

int CountTokens(const std::string& text) {
  std::vector<qv::TokenRec> toks;
  std::string err;
  int16_t pos = 0;
  qv::TokenizeExpr(text, toks, err, pos);
  return err.empty() ? static_cast<int>(toks.size()) - 1 : -1;
}

void RunParse(benchmark::State& state, const std::string& text, bool exactLength) {
  qv::ParserState P;
  P.ExprText = text;
  const int tokens = CountTokens(P.ExprText);
  if (exactLength && tokens != state.range(0)) {
    state.SkipWithError("statement has the wrong number of tokens");
    return;
  }
  for (auto _ : state) {
    qv::ParseExpr(P);
    benchmark::DoNotOptimize(P.Nodes.data());
  }
  if (!P.ParseErr.empty()) state.SkipWithError(P.ParseErr.c_str());
  state.counters["tokens"] = tokens;
  state.SetItemsProcessed(state.iterations() * tokens);
}

void BM_ParseExpr(benchmark::State& state) {
  RunParse(state, Statement(static_cast<int>(state.range(0))), true);
}
BENCHMARK(BM_ParseExpr)->Arg(200)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_ParseExprNestedQuantifiers(benchmark::State& state) {
  RunParse(state, NestedQuantifiers(static_cast<int>(state.range(0))), false);
}
BENCHMARK(BM_ParseExprNestedQuantifiers)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_SameStmt200Tokens(benchmark::State& state) {
  qv::ParserState P;
  const std::string a = Statement(200);
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
