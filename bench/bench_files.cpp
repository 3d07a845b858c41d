// Saving and opening a 5,000-statement proof.
#include <benchmark/benchmark.h>

#include "files/binformat.h"
#include "files/files.h"
#include "files/files_env.h"
#include "files/proof_builder.h"

namespace qv {
namespace {

// 500 blocks of ten lines each: a premise, eight inferences with comments on
// some of them, and the conclusion. Closed, each block is a collapsed
// subproof; open, every line shows (the premises stay open).
ProofBuilder BigProof(bool Closed) {
  ProofBuilder b;
  b.Intro("Prove: a long proof");
  const int depth = Closed ? 1 : 0;
  for (int block = 0; block < 500; ++block) {
    const int p = b.Add("x" + std::to_string(block) + "@n & ALL(a):[a@n => a+1@n]", kRulePremise, 0, 0, depth);
    for (int i = 0; i < 8; ++i)
      b.Add("ALL(a):ALL(b):[a@n & b@n => a+b@n & a*b@n] & x" + std::to_string(block) + "@n", kRuleSplit, p, 0, depth,
            i % 3 == 0 ? "As Required: step " + std::to_string(i) : "");
    if (Closed) {
      b.Add("x" + std::to_string(block) + "@n => x" + std::to_string(block) + "@n", kRuleConclusion, p);
      b.Close(p, p + 9);
    } else {
      b.Add("x" + std::to_string(block) + "@n", kRuleSplit, p);
    }
  }
  for (int k = 1; k <= b.d.StmtCount; ++k)
    if (b.d.Stmts[k].Rule == kRulePremise) b.Collapse(k);
  b.RecordVars();
  return b;
}

struct Env : FilesEnv {
  explicit Env(bool Closed = true) {
    S.Doc = BigProof(Closed).d;
    S.Ui.ProofFileName = Path("big.proof");
  }
};

void BM_WriteProofBytes(benchmark::State& st) {
  Env e;
  for (auto _ : st) benchmark::DoNotOptimize(WriteProofBytes("caption", e.S.Doc));
  st.counters["stmts"] = e.S.Doc.StmtCount;
}

void BM_ReadProofBytes(benchmark::State& st) {
  Env e;
  const std::string bytes = WriteProofBytes("caption", e.S.Doc);
  for (auto _ : st) {
    std::string caption;
    DocState d;
    if (!ReadProofBytes(bytes, caption, d).empty()) st.SkipWithError("refused");
    benchmark::DoNotOptimize(d);
  }
  st.counters["bytes"] = static_cast<double>(bytes.size());
}

// The whole Save command: file written to a temporary, flushed to disk and
// renamed, recent files updated.
void BM_SaveProofFile(benchmark::State& st) {
  Env e;
  for (auto _ : st) SaveProofFile(e.S);
}

// The whole open: read, check, collapse, redraw of the view, recent files.
void BM_OpenProof(benchmark::State& st) {
  Env e(st.range(0) != 0);
  SaveProofFile(e.S);
  for (auto _ : st) {
    OpenProof(e.S);
    if (e.S.Ui.DialogCancelled) st.SkipWithError("refused");
  }
  st.counters["view_chars"] = static_cast<double>(e.view.TextLength());
}

BENCHMARK(BM_WriteProofBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProofBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProofFile)->Unit(benchmark::kMillisecond);
// Argument 1: closed subproofs (the view shows 500 lines); 0: all 5,000 lines shown.
BENCHMARK(BM_OpenProof)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
