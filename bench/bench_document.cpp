// The proof view's redraw and the append of one statement on a proof of
// 2,000 statements, drawn into the in-memory rich-text box.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "platform/fakehost.h"
#include "platform/memrichbox.h"
#include "view/view.h"
#include "bench_document_proof.h"

namespace qv {
namespace {

struct Fixture {
  FakeHost host;
  MemRichBox view, status, work;
  AppState S;
  Fixture() {
    S.Attach(&host, &view, &status, &work);
    bench::BuildProof(S, 2000);
    const std::string err = CheckDocInvariants(S.Doc);
    if (!err.empty()) {
      std::fprintf(stderr, "benchmark proof is broken: %s\n", err.c_str());
      std::abort();
    }
  }
};

Fixture& Proof() {
  static Fixture f;
  return f;
}

void BM_ResetFonts2000(benchmark::State& state) {
  Fixture& f = Proof();
  for (auto _ : state) ResetFonts(f.S);
  state.counters["chars"] = static_cast<double>(f.view.TextLength());
}
BENCHMARK(BM_ResetFonts2000)->Unit(benchmark::kMillisecond);

// The first drawing into an empty view (opening a proof).
void BM_ResetFonts2000FromEmpty(benchmark::State& state) {
  Fixture& f = Proof();
  for (auto _ : state) {
    state.PauseTiming();
    f.view.SetText("");
    state.ResumeTiming();
    ResetFonts(f.S);
  }
}
BENCHMARK(BM_ResetFonts2000FromEmpty)->Unit(benchmark::kMillisecond);

void BM_PutStmtAppend2001st(benchmark::State& state) {
  Fixture& f = Proof();
  bench::TimeEachPut(state, f.S, [] {}, [&] { return bench::AppendJoin(f.S); });
}
BENCHMARK(BM_PutStmtAppend2001st)->Unit(benchmark::kMillisecond);

// Inserting at line 2 renumbers and moves every later block.
void BM_PutStmtInsertAtLine2(benchmark::State& state) {
  Fixture& f = Proof();
  bench::TimeEachPut(
      state, f.S,
      [&] {
        f.S.Doc.InsertMode = true;
        f.S.Doc.InsertLine = 2;
      },
      [&] {
        f.S.Parser.ExprText = "ALL(a):[a@n => a+1@n]";
        f.S.Doc.RuleMode = kRuleAxiom;
        f.S.Doc.RuleArg1 = 0;
        f.S.Doc.RuleArg2 = 0;
        return PutStmt(f.S);
      });
}
BENCHMARK(BM_PutStmtInsertAtLine2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
