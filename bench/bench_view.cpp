// Every action that changes the proof view, timed on proofs of 1,000, 5,000,
// 20,000 and 32,767 statements, the largest the format holds (all shown:
// comments long enough to wrap, closed sub-proofs and the element-of sign
// included), on the Qt box (offscreen, the layout and paint that follow
// included) and on the in-memory box; and on the Qt box a change of the
// window's width. QV_BENCH_SIZES picks other sizes. Where a command adds
// lines, its proof is that much shorter, so that it ends at the size named.
// Besides: a Split into 1,000 conjuncts on 5,000 statements, a line added to
// a proof of 50 MB (20,000 statements, each with a long comment), and 500
// nested sub-proofs closed one after the other.
//
// Each round starts from the same proof drawn in the view (not timed) and
// times one command. Run with --benchmark_repetitions and take the median.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "bench_document_proof.h"
#include "files/binformat.h"
#include "files/files.h"
#include "mainwindow/dispatch.h"
#include "mainwindow/maincommands.h"
#include "mainwindow/viewcommands.h"
#include "rules/rules.h"
#include "platform/fakehost.h"
#include "platform/memrichbox.h"
#if __has_include("platform/memory.h")
#include "platform/memory.h"
#endif
#include "view/view.h"
// The class of the main window's proof view (the rich-text box in builds
// that have no view of their own, so the figures of older builds compare).
#if __has_include("platform/qt/qtproofview.h")
#include "platform/qt/qtproofview.h"
namespace qv { using ProofViewWidget = QtProofView; }
#else
#include "platform/qt/qtrichbox.h"
namespace qv { using ProofViewWidget = QtRichBox; }
#endif

namespace qv {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_view";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: the views of the last fixture outlive main().
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

void Settle() { QApplication::processEvents(); }

// A comment on every seventh statement, so comments are drawn too; each is
// wider than the view, so it wraps. Huge: one on every statement, about
// 2,500 characters long.
void AddComments(DocState& d, bool huge) {
  std::string text;
  text.reserve(d.ProofText.size() + static_cast<size_t>(d.StmtCount) * 4);
  text.append(d.ProofText, 0, static_cast<size_t>(d.Stmts[1].StartLine - 1));
  for (int k = 1; k <= d.StmtCount; ++k) {
    StmtRec& s = d.Stmts[k];
    const int32_t from = s.EndUserComment > 0 ? s.EndUserComment + 5 : s.StartLine;  // start of the number
    const int32_t depth = s.StartRule - s.EndStmt - 4;
    const int32_t newStart = static_cast<int32_t>(text.size()) + 1;
    const int32_t shift = newStart - s.StartLine;
    std::string comment;
    if (k % 7 == 3 || huge) {
      comment.assign(static_cast<size_t>(depth), '\t');
      comment += "As Required: x@y step " + std::to_string(k);
      for (int i = 0; i < (huge ? 14 : 1); ++i)
        comment += ", since every member of the set on the left is a member of the set on the right, and the"
                   " names chosen above were free in no line before this one, so the rule may use them here";
      comment += ".\r\n\r\n";
    }
    text += comment;
    text.append(d.ProofText, static_cast<size_t>(from - 1), static_cast<size_t>(s.EndRule + 4 - from + 1));
    const int32_t grow = static_cast<int32_t>(comment.size()) - (from - s.StartLine);
    ShiftStmtPositions(s, shift + grow);
    s.StartLine = newStart;
    s.EndUserComment = comment.empty() ? 0 : newStart + static_cast<int32_t>(comment.size()) - 5;
  }
  d.ProofText = std::move(text);
  RecomputeViewPositions(d);
}

struct Fixture {
  explicit Fixture(bool qt, int n, bool huge = false) : n(n), huge(huge) {
    if (qt) {
      App();
      qtView = std::make_unique<ProofViewWidget>();
      qtView->resize(1000, 700);
      qtView->show();
      view = qtView.get();
    } else {
      view = &memView;
    }
    dir = std::filesystem::temp_directory_path() / ("qv-bench-view-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    Attach();
    host.OnModal("Warning", [] {});
    if (!bench::BuildProof(S, n)) {
      std::fprintf(stderr, "the program refused the benchmark proof at line %d of %d\n", S.Doc.StmtCount + 1, n);
      std::abort();
    }
    AddComments(S.Doc, huge);
    const std::string err = CheckDocInvariants(S.Doc);
    if (!err.empty()) {
      std::fprintf(stderr, "benchmark proof is broken: %s\n", err.c_str());
      std::abort();
    }
    base = S.Doc;
    file = (dir / "big.proof").string();
    std::ofstream(file, std::ios::binary) << WriteProofBytes("caption", base);
    Restore();
  }
  ~Fixture() { std::filesystem::remove_all(dir); }

  void Attach() {
    S.Attach(&host, view, &status, &work);
    S.Ui.AppPath = dir.string();
    S.Ui.SettingsPath = ChooseSettingsPath(S.Ui.AppPath);
  }

  // The proof as built, all shown, at text size 10, drawn and settled.
  void Restore() {
    S.Doc = base;
    S.Undo.Valid = false;
    S.Redo.Valid = false;
    S.Ui.FontSize = 10;
    S.Ui.SmallFontSize = 8;
    S.Ui.ProofChanged = false;
    ResetFonts(S);
    Caret(0);
    if (qtView) {
      qtView->resize(1000, 700);
      Settle();
    }
  }
  void Caret(int32_t at) {
    view->SetSelStart(at);
    view->SetSelLength(0);
  }
  // The caret on statement k's number (where a click on it puts it).
  void CaretOnNumber(int k) {
    const StmtRec& s = S.Doc.Stmts[k];
    const int32_t number = s.EndUserComment > 0 ? s.EndUserComment + 5 : s.StartLine;
    Caret(number - s.StartLine + s.ViewerStartLine - 1 + (s.StartRule - s.EndStmt - 4));
  }

  int n;
  bool huge;
  std::unique_ptr<ProofViewWidget> qtView;
  MemRichBox memView, status, work;
  RichBox* view = nullptr;
  FakeHost host;
  AppState S;
  DocState base;
  std::filesystem::path dir;
  std::string file;
};

// One fixture at a time, so the memory of one size does not weigh on the next.
Fixture& Get(bool qt, int n, bool huge = false) {
  static std::unique_ptr<Fixture> f;
  static bool fQt = false;
  if (!f || f->n != n || fQt != qt || f->huge != huge) {
    f.reset();
    f = std::make_unique<Fixture>(qt, n, huge);
    fQt = qt;
    // At exit the last fixture's folder goes, but not its view: Qt's own
    // statics may be gone by then.
    static const int cleanup = std::atexit([] {
      if (!f) return;
      std::filesystem::remove_all(f->dir);
      f->qtView.release();
      f.release();
    });
    (void)cleanup;
  }
  return *f;
}

bool InsertAtLine2(AppState& S) {
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  S.Parser.ExprText = "ALL(a):[a@n => a+1@n]";
  S.Doc.RuleMode = kRuleAxiom;
  S.Doc.RuleArg1 = 0;
  S.Doc.RuleArg2 = 0;
  return PutStmt(S);
}

// Times Act after Prepare, both on the restored proof.
// The proof has range(0) statements, less range(1), the lines the command
// adds (with its preparation), so that no round passes the largest proof.
template <class Prepare, class Act>
void Time(benchmark::State& st, bool qt, Prepare prepare, Act act, bool huge = false) {
  Fixture& f = Get(qt, static_cast<int>(st.range(0) - st.range(1)), huge);
  for (auto _ : st) {
    st.PauseTiming();
    f.Restore();
    prepare(f);
    if (qt) Settle();
    st.ResumeTiming();
    const std::string err = act(f);
    if (qt) Settle();
    if (!err.empty()) {
      st.SkipWithError(err.c_str());
      break;
    }
  }
  st.counters["stmts_after"] = static_cast<double>(f.S.Doc.StmtCount);
  f.Restore();
  st.counters["view_chars"] = static_cast<double>(f.view->TextLength());
}

auto None = [](Fixture&) {};

void Append(benchmark::State& st, bool qt) {
  Time(st, qt, None, [](Fixture& f) {
    return bench::AppendJoin(f.S) ? std::string() : std::string("append refused");
  });
}
void Insert(benchmark::State& st, bool qt) {
  Time(st, qt, None, [](Fixture& f) {
    return InsertAtLine2(f.S) ? std::string() : std::string("insert refused");
  });
}
void Delete(benchmark::State& st, bool qt) {
  Time(st, qt, [](Fixture& f) { f.CaretOnNumber(2); }, [](Fixture& f) {
    DeleteAllRef(f.S);
    return f.S.Doc.StmtCount < f.base.StmtCount - 1 ? std::string() : std::string("nothing deleted");
  });
}
void Undo(benchmark::State& st, bool qt) {
  Time(st, qt, [](Fixture& f) {
    BackUpUndo(f.S);
    InsertAtLine2(f.S);
  }, [](Fixture& f) {
    optUndo_Click(f.S);
    return f.S.Doc.StmtCount == f.base.StmtCount ? std::string() : std::string("undo failed");
  });
}
void Redo(benchmark::State& st, bool qt) {
  Time(st, qt, [](Fixture& f) {
    BackUpUndo(f.S);
    InsertAtLine2(f.S);
    optUndo_Click(f.S);
  }, [](Fixture& f) {
    optRedo_Click(f.S);
    return f.S.Doc.StmtCount == f.base.StmtCount + 1 ? std::string() : std::string("redo failed");
  });
}
// A double click on the number of the first Conclusion hides its sub-proof.
void Hide(benchmark::State& st, bool qt) {
  Time(st, qt, [](Fixture& f) { f.CaretOnNumber(10); }, [](Fixture& f) {
    RTB_DblClick(f.S);
    return !f.S.Doc.Stmts[2].Visible ? std::string() : std::string("not hidden");
  });
}
// A double click on the number of a line that is not highlighted (6) hides
// the lines after the highlighted one before it (3 .. 5); the second only
// ends the highlight; the third shows them again.
void Show(benchmark::State& st, bool qt) {
  Time(st, qt, [](Fixture& f) {
    for (int i = 0; i < 2; ++i) {
      f.CaretOnNumber(6);
      RTB_DblClick(f.S);
    }
    f.CaretOnNumber(6);
  }, [](Fixture& f) {
    if (f.S.Doc.Stmts[3].Visible) return std::string("not hidden before");
    RTB_DblClick(f.S);
    return f.S.Doc.Stmts[3].Visible ? std::string() : std::string("not shown");
  });
}
template <void (*Cmd)(AppState&)>
void Filter(benchmark::State& st, bool qt) {
  Time(st, qt, None, [](Fixture& f) {
    Cmd(f.S);
    return std::string();
  });
}
// Show All Stmts from the view that Hide All Details left.
void ShowAll(benchmark::State& st, bool qt) {
  Time(st, qt, [](Fixture& f) { optHideDetails_Click(f.S); }, [](Fixture& f) {
    optShowAllStmts_Click(f.S);
    return std::string();
  });
}
void ShowLast(benchmark::State& st, bool qt) {
  Time(st, qt, [](Fixture& f) { optHideDetails_Click(f.S); }, [](Fixture& f) {
    optShowLastDetails_Click(f.S);
    return std::string();
  });
}
// Opening the proof file into an empty window of a program just started
// (nothing of the proof drawn before): read, check, first draw.
void Open(benchmark::State& st, bool qt) {
  Time(st, qt, [](Fixture& f) {
    f.S = AppState();
    f.Attach();
    f.S.Ui.ProofFileName = f.file;
    f.view->SetText("");
  }, [](Fixture& f) {
    OpenProof(f.S);
    return f.S.Doc.StmtCount == f.base.StmtCount ? std::string() : std::string("open failed");
  });
}

// The window made narrower: the proof wraps again at the new width.
void Narrow(benchmark::State& st, bool qt) {
  Time(st, qt, None, [](Fixture& f) {
    if (f.qtView) f.qtView->resize(640, 700);
    return std::string();
  });
}

// The Split rule (a click rule) on a line of Parts conjuncts added at the end.
template <int Parts>
void SplitInto(benchmark::State& st, bool qt) {
  Time(st, qt, [](Fixture& f) {
    std::string text = "C1";
    for (int i = 2; i <= Parts; ++i) text += " & C" + std::to_string(i);
    f.S.Parser.ExprText = text;
    f.S.Doc.RuleMode = kRuleAxiom;
    f.S.Doc.RuleArg1 = 0;
    f.S.Doc.RuleArg2 = 0;
    PutStmt(f.S);
    f.CaretOnNumber(f.S.Doc.StmtCount);
    f.S.Doc.RuleMode = kRuleSplit;
  }, [](Fixture& f) {
    Split(f.S);
    return f.S.Doc.StmtCount == f.base.StmtCount + 1 + Parts ? std::string() : std::string("not split");
  });
}
// A line added to the end of a proof of about 50 MB.
void Append50MB(benchmark::State& st, bool qt) {
  Time(st, qt, None, [](Fixture& f) {
    return bench::AppendJoin(f.S) ? std::string() : std::string("append refused");
  }, true);
}

// 500 premises, each inside the one before, then 500 Conclusions closing
// them from the innermost out, all timed together.
void Nested500(benchmark::State& st) {
  App();
  for (auto _ : st) {
    st.PauseTiming();
    FakeHost host;
    ProofViewWidget view;
    MemRichBox status, work;
    view.resize(1000, 700);
    view.show();
    AppState S;
    S.Attach(&host, &view, &status, &work);
    for (int i = 1; i <= 500; ++i) {
      S.Parser.ExprText = "P" + std::to_string(i);
      S.Doc.RuleMode = kRulePremise;
      S.Doc.RuleArg1 = 0;
      S.Doc.RuleArg2 = 0;
      PutStmt(S);
    }
    S.Parser.ExprText = "Q";
    S.Doc.RuleMode = kRuleAxiom;
    PutStmt(S);
    Settle();
    st.ResumeTiming();
    for (int i = 0; i < 500; ++i) optConclusion_Click(S);
    Settle();
    st.PauseTiming();
    if (S.Doc.StmtCount != 1001) st.SkipWithError("not every sub-proof closed");
    st.counters["text_chars"] = static_cast<double>(S.Doc.ProofText.size());
    st.ResumeTiming();
  }
}

long ResidentKb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// The resident size of this process with the proof open in the Qt view.
void Resident(benchmark::State& st) {
  Fixture& f = Get(true, static_cast<int>(st.range(0)));
  for (auto _ : st) {
    f.S = AppState();
    f.Attach();
    f.view->SetText("");
    f.S.Ui.ProofFileName = f.file;
    OpenProof(f.S);
    Settle();
  }
  st.counters["rss_mb"] = static_cast<double>(ResidentKb()) / 1024.0;
}

// The proof sizes: QV_BENCH_SIZES, a comma-separated list, or by default
// 1,000, 5,000, 20,000 and the largest proof the format holds.
std::vector<int> Sizes() {
  std::vector<int> sizes;
  const char* env = std::getenv("QV_BENCH_SIZES");
  for (const char* p = env ? env : ""; *p != '\0';) {
    char* end = nullptr;
    const long n = std::strtol(p, &end, 10);
    if (end == p) break;
    if (n > 0 && n <= kMaxStmts) sizes.push_back(static_cast<int>(n));
    p = *end == ',' ? end + 1 : end;
  }
  if (sizes.empty()) sizes = {1000, 5000, 20000, kMaxStmts};
  return sizes;
}

void Register() {
#if __has_include("platform/memory.h")
  KeepFreedMemory();  // as the program does at its start
#endif
  struct Item {
    const char* name;
    void (*fn)(benchmark::State&, bool);
    int adds;  // the statements the command and its preparation add
  };
  // Grouped by what they add, so that each size's proof is built once for
  // the commands that run on it.
  const Item items[] = {
      {"DeleteLine2", Delete, 0},
      {"HideByDoubleClick", Hide, 0},
      {"ShowByDoubleClick", Show, 0},
      {"HideAllDetails", Filter<optHideDetails_Click>, 0},
      {"ShowAllActive", Filter<optShowDetails_Click>, 0},
      {"ShowLastActive", ShowLast, 0},
      {"ShowAllStmts", ShowAll, 0},
      {"ShowHighlights", Filter<optShowHighlights_Click>, 0},
      {"TextMedium", Filter<optMediumText_Click>, 0},
      {"TextLarge", Filter<optLargeText_Click>, 0},
      {"Open", Open, 0},
      {"Narrow", Narrow, 0},
      {"Append", Append, 1},
      {"InsertAtLine2", Insert, 1},
      {"Undo", Undo, 1},
      {"Redo", Redo, 1},
      {"SplitInTwo", SplitInto<2>, 3},
  };
  const std::vector<int> sizes = Sizes();
  for (bool qt : {true, false})
    for (int n : sizes)
      for (const Item& it : items) {
        if (!qt && it.fn == Narrow) continue;  // the in-memory box has no width
        const std::string name = std::string(qt ? "Qt/" : "Mem/") + it.name;
        auto* b = benchmark::RegisterBenchmark(name.c_str(), [fn = it.fn, qt](benchmark::State& st) { fn(st, qt); });
        b->Args({n, n + it.adds > kMaxStmts ? n + it.adds - kMaxStmts : 0});
        b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
      }
  for (bool qt : {true, false}) {
    const std::string side = qt ? "Qt/" : "Mem/";
    benchmark::RegisterBenchmark((side + "Split1000").c_str(), [qt](benchmark::State& st) { SplitInto<1000>(st, qt); })
        ->Args({5000, 0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    benchmark::RegisterBenchmark((side + "Append50MB").c_str(), [qt](benchmark::State& st) { Append50MB(st, qt); })
        ->Args({20000, 0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
  }
  benchmark::RegisterBenchmark("Qt/Nested500Conclusions", Nested500)
      ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
  for (int n : sizes)
    if (n >= 20000)
      benchmark::RegisterBenchmark("Qt/ResidentAfterOpen", Resident)->Arg(n)->Iterations(1)->Unit(benchmark::kMillisecond);
}

const int registered = (Register(), 0);

}  // namespace
}  // namespace qv
