// The proof view's redraw of a 2,000-statement proof on the Qt rich-text box
// (offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "platform/fakehost.h"
#include "platform/memrichbox.h"
#include "view/view.h"
#include "platform/qt/qtrichbox.h"
#include "bench_document_proof.h"

namespace qv {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_document_qt";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

struct Fixture {
  FakeHost host;
  MemRichBox status, work;
  QtRichBox* view;
  AppState S;
  Fixture() {
    App();
    view = new QtRichBox;
    view->resize(1000, 700);
    view->show();
    S.Attach(&host, view, &status, &work);
    bench::BuildProof(S, 2000);
    if (!CheckDocInvariants(S.Doc).empty()) std::abort();
  }
};

Fixture& Proof() {
  static Fixture f;
  return f;
}

void BM_ResetFonts2000Qt(benchmark::State& state) {
  Fixture& f = Proof();
  for (auto _ : state) {
    ResetFonts(f.S);
    QApplication::processEvents();  // the layout and paint that follow a redraw
  }
}
BENCHMARK(BM_ResetFonts2000Qt)->Unit(benchmark::kMillisecond);

// The first drawing into an empty view (opening a proof).
void BM_ResetFonts2000FromEmptyQt(benchmark::State& state) {
  Fixture& f = Proof();
  for (auto _ : state) {
    state.PauseTiming();
    f.view->SetText("");
    QApplication::processEvents();
    state.ResumeTiming();
    ResetFonts(f.S);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ResetFonts2000FromEmptyQt)->Unit(benchmark::kMillisecond);

void BM_PutStmtAppend2001stQt(benchmark::State& state) {
  Fixture& f = Proof();
  bench::TimeEachPut(state, f.S, [] { QApplication::processEvents(); }, [&] {
    const bool ok = bench::AppendJoin(f.S);
    QApplication::processEvents();
    return ok;
  });
}
BENCHMARK(BM_PutStmtAppend2001stQt)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
