// The proof file: its byte layout, the round trip, the refusal of damaged
// or foreign files, and saving without ever losing the previous file.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "files/binformat.h"
#include "view/view.h"
#include "files_fixture.h"

namespace qv {
namespace {

// Little-endian pieces of a hand-made file.
std::string I16(int v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
std::string I32(int32_t v) {
  auto u = static_cast<uint32_t>(v);
  return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF), static_cast<char>((u >> 16) & 0xFF),
          static_cast<char>(u >> 24)};
}
std::string Txt(const std::string& s) { return I16(static_cast<int>(s.size())) + s; }

// Two statements, written field by field in the file's order:
//   1  P(x)        Premise        (highlighted, free variable x)
//   2  P(x) | Q    Arb Or, 1
// with the caption "Demo" and no Introduction.
std::string HandMadeFile() {
  const std::string text =
      "1\tP(x)\r\n\tPremise\r\n\r\n"          // positions 1..20
      "2\tP(x) | Q\r\n\tArb Or, 1\r\n\r\n";  // positions 21..46
  std::string f = "Quorvane 1" + I16(2) + Txt("Demo");
  // Rule, Arg1, Arg2, NewVar, FreeVars, ScopedVars, FlagVars, Visible,
  // StartLine, EndUserComment, StartStmt, EndStmt, StartRule, EndRule,
  // ViewerStartLine, DeleteFlag, NewLineNo, Highlight.
  f += I16(1) + I16(0) + I16(0) + Txt("") + Txt(" x ") + Txt("") + Txt("") + I16(-1);
  f += I32(1) + I32(0) + I32(3) + I32(6) + I32(10) + I32(16) + I32(1) + I16(0) + I16(0) + I16(-1);
  f += I16(22) + I16(1) + I16(0) + Txt("") + Txt(" x ") + Txt(" x ") + Txt("") + I16(-1);
  f += I32(21) + I32(0) + I32(23) + I32(30) + I32(34) + I32(42) + I32(21) + I16(0) + I16(0) + I16(0);
  f += Txt(text);
  return f;
}

TEST(ProofBytes, ReadsAFileLaidOutByHandAndWritesItBackByteForByte) {
  const std::string file = HandMadeFile();
  std::string caption;
  DocState d;
  ASSERT_EQ(ReadProofBytes(file, caption, d), "");
  EXPECT_EQ(caption, "Demo");
  ASSERT_EQ(d.StmtCount, 2);
  EXPECT_EQ(d.IntroLen, 0);
  const StmtRec& p = d.Stmts[1];
  EXPECT_EQ(p.Rule, kRulePremise);
  EXPECT_EQ(p.FreeVars, " x ");
  EXPECT_TRUE(p.Highlight);
  EXPECT_EQ(p.EndStmt, 6);
  EXPECT_EQ(p.EndRule, 16);
  const StmtRec& a = d.Stmts[2];
  EXPECT_EQ(a.Rule, kRuleArbOr);
  EXPECT_EQ(a.Arg1, 1);
  EXPECT_EQ(a.ScopedVars, " x ");
  EXPECT_FALSE(a.Highlight);
  EXPECT_EQ(a.StartLine, 21);
  EXPECT_EQ(a.ViewerStartLine, 21);
  EXPECT_EQ(d.ProofText.size(), 46u);

  // 12 header + 6 caption + 2 * (42 + 4 texts) + proof text.
  EXPECT_EQ(WriteProofBytes(caption, d), file);
}

TEST(ProofBytes, IgnoresBytesAfterTheProofText) {
  std::string caption;
  DocState d;
  EXPECT_EQ(ReadProofBytes(HandMadeFile() + "old tail of a longer file", caption, d), "");
  EXPECT_EQ(d.StmtCount, 2);
}

TEST(ProofBytes, RoundTripKeepsStatementsTextAndCaption) {
  ProofBuilder b = SampleProof();
  ASSERT_EQ(CheckDocInvariants(b.d), "");
  std::string caption;
  DocState d;
  ASSERT_EQ(ReadProofBytes(WriteProofBytes("A caption", b.d), caption, d), "");
  EXPECT_EQ(caption, "A caption");
  EXPECT_EQ(d.ProofText, b.d.ProofText);
  EXPECT_EQ(d.IntroLen, b.d.IntroLen);
  ASSERT_EQ(d.StmtCount, b.d.StmtCount);
  for (int k = 1; k <= d.StmtCount; ++k) EXPECT_EQ(d.Stmts[k], b.d.Stmts[k]) << "line " << k;
}

TEST(ProofBytes, OpeningCollapsesClosedSubproofsWhateverWasStored) {
  ProofBuilder b = SampleProof();
  for (int k = 1; k <= b.d.StmtCount; ++k) b.d.Stmts[k].Visible = true;
  RecomputeViewPositions(b.d);
  std::string caption;
  DocState d;
  ASSERT_EQ(ReadProofBytes(WriteProofBytes("", b.d), caption, d), "");
  for (int k = 1; k <= d.StmtCount; ++k) {
    EXPECT_EQ(d.Stmts[k].Visible, k < 2 || k >= 7) << "line " << k;
    if (!d.Stmts[k].Visible) EXPECT_EQ(d.Stmts[k].ViewerStartLine, 0);
  }
  EXPECT_EQ(d.Stmts[7].ViewerStartLine, d.Stmts[1].ViewerStartLine + d.Stmts[1].EndRule - d.Stmts[1].StartLine + 5);
}

TEST(ProofBytes, EmptyProofsAndIntroductionOnly) {
  std::string caption;
  DocState d;
  DocState empty;
  ASSERT_EQ(ReadProofBytes(WriteProofBytes("", empty), caption, d), "");
  EXPECT_EQ(d.StmtCount, 0);
  EXPECT_EQ(d.ProofText, "");

  ProofBuilder b;
  b.Intro("Only an introduction");
  ASSERT_EQ(ReadProofBytes(WriteProofBytes("", b.d), caption, d), "");
  EXPECT_EQ(d.IntroLen, 20);
}

TEST(ProofBytes, TextsLongerThanTwoByteLengthsRoundTrip) {
  ProofBuilder b;
  b.Intro(std::string(70000, 'i'));
  b.Add("P", kRuleAxiom);
  std::string caption;
  DocState d;
  ASSERT_EQ(ReadProofBytes(WriteProofBytes(std::string(40000, 'c'), b.d), caption, d), "");
  EXPECT_EQ(d.ProofText, b.d.ProofText);
  EXPECT_EQ(caption.size(), 40000u);
}

TEST(ProofBytes, RefusesForeignAndDamagedFiles) {
  const std::string good = HandMadeFile();
  std::string caption = "kept";
  DocState d;
  auto refused = [&](std::string file) { return !ReadProofBytes(file, caption, d).empty(); };

  std::string f = good;
  f[9] = '2';  // "Quorvane 2"
  EXPECT_TRUE(refused(f));
  EXPECT_TRUE(refused("Quorvane 1" + I16(-1) + Txt("")));
  EXPECT_TRUE(refused("Quorvane 1" + I16(32767) + Txt("") + std::string(100, '\0')));
  // Every prefix of a good file is cut short somewhere.
  for (size_t n = 0; n < good.size(); ++n) EXPECT_TRUE(refused(good.substr(0, n))) << n << " bytes";

  auto withField = [&](size_t offset, const std::string& bytes) {
    std::string g = good;
    g.replace(offset, bytes.size(), bytes);
    return g;
  };
  // Record 1 takes 12 + 6 .. 70; record 2 starts at 71, its Arg1 at 73 and
  // its StartLine at 71 + 6 + 2 + 5 + 5 + 2 + 2 = 93.
  EXPECT_TRUE(refused(withField(73, I16(2))));   // cites itself
  EXPECT_TRUE(refused(withField(73, I16(5))));   // cites a line beyond the proof
  EXPECT_TRUE(refused(withField(71, I16(99))));  // unknown rule
  EXPECT_TRUE(refused(withField(93, I32(20))));  // block overlaps line 1
  EXPECT_TRUE(refused(withField(93, I32(-7))));
  // Line 1 a premise "closed" by line 2, which is no conclusion.
  EXPECT_TRUE(refused(withField(20, I16(2))));
  EXPECT_EQ(caption, "kept");
}

// A source that claims far more bytes than it holds, and records the most
// it was asked for.
class ClaimingSource : public ByteSource {
 public:
  explicit ClaimingSource(std::string head) : head_(std::move(head)) {}
  size_t Size() const override { return size_t(1) << 33; }
  bool ReadAt(size_t Offset, size_t Need, size_t Want, std::string& Out) override {
    asked = std::max(asked, Offset + Need);
    if (Offset + Need > head_.size()) return false;
    Out.append(head_, Offset, Want);
    return true;
  }
  size_t asked = 0;

 private:
  std::string head_;
};

// A caption, or any other text, whose length claims more than a file may
// hold is refused before a byte of it is asked for, however large the file.
TEST(ProofBytes, ATextLongerThanAnyFileHoldsIsRefusedBeforeItIsRead) {
  const std::string tooLong = I16(0xFFFF) + I32(static_cast<int32_t>(kMaxFileText + 1));
  const std::string line = I16(kRuleAxiom) + I16(0) + I16(0);
  const std::pair<const char*, std::string> files[] = {
      {"caption", "Quorvane 1" + I16(0) + tooLong},
      {"witness", "Quorvane 1" + I16(1) + Txt("") + line + tooLong},
      {"drawn names", "Quorvane 1" + I16(1) + Txt("") + line + Txt("") + Txt("") + Txt("") + tooLong},
  };
  for (const auto& [what, head] : files) {
    ClaimingSource source(head);
    ByteReader r(source);
    std::string caption = "kept";
    DocState d;
    EXPECT_NE(ReadProofBytes(r, caption, d), "") << what;
    EXPECT_LE(source.asked, head.size()) << what;
    EXPECT_EQ(caption, "kept") << what;
  }
}

// An axiom, an E Spec of it with the witness r, and a premise about r.
ProofBuilder WitnessProof() {
  ProofBuilder b;
  b.Add("EXIST(b):P(b)", kRuleAxiom);
  b.Add("P(r)", kRuleESpec, 1);
  b.d.Stmts[2].NewVar = "r";
  b.Add("Q(r)", kRulePremise);
  b.RecordVars();
  return b;
}

TEST(ProofBytes, RefusesVariableListsTheProgramWouldNotRecord) {
  std::string caption;
  DocState d;
  auto opens = [&](const ProofBuilder& b) { return ReadProofBytes(WriteProofBytes("", b.d), caption, d) == ""; };
  ASSERT_TRUE(opens(WitnessProof()));
  ASSERT_EQ(WitnessProof().d.Stmts[3].ScopedVars, " r ");
  auto damaged = [&](int line, std::string StmtRec::*field, const std::string& value) {
    ProofBuilder b = WitnessProof();
    b.d.Stmts[line].*field = value;
    return opens(b);
  };
  EXPECT_FALSE(damaged(2, &StmtRec::NewVar, ""));     // the witness hidden
  EXPECT_FALSE(damaged(2, &StmtRec::NewVar, "s"));    // another name
  EXPECT_FALSE(damaged(2, &StmtRec::FreeVars, ""));
  EXPECT_FALSE(damaged(3, &StmtRec::ScopedVars, ""));  // r new to the premise
  EXPECT_FALSE(damaged(3, &StmtRec::ScopedVars, " r q "));
  EXPECT_FALSE(damaged(1, &StmtRec::NewVar, "b"));    // a witness on an axiom

  // Wrong lists on line 2 and a formula that does not parse on line 3: the
  // broken invariant is told, as the invariants are checked first.
  ProofBuilder both = WitnessProof();
  both.d.Stmts[2].FreeVars = "";
  both.d.ProofText.replace(both.d.ProofText.find("Q(r)"), 4, "Q(r(");
  EXPECT_EQ(ReadProofBytes(WriteProofBytes("", both.d), caption, d).rfind("line 3: formula does not parse", 0), 0u);
}

TEST(ProofBytes, RefusesBrokenSubproofLinks) {
  ProofBuilder b = SampleProof();
  std::string caption;
  DocState d;
  b.d.Stmts[2].Arg1 = 5;  // premise 2 pointing at the conclusion of premise 3
  EXPECT_NE(ReadProofBytes(WriteProofBytes("", b.d), caption, d), "");
  b = SampleProof();
  b.d.Stmts[3].Arg1 = 8;  // inner subproof reaching outside the outer one
  EXPECT_NE(ReadProofBytes(WriteProofBytes("", b.d), caption, d), "");

  // Two subproofs that overlap, each link whole: premise 1 closed by line 3,
  // premise 2 by line 4.
  ProofBuilder o;
  o.Add("A", kRulePremise);
  o.Add("B", kRulePremise);
  o.Add("[A] => [B]", kRuleConclusion, 1);
  o.Add("[B] => [[A] => [B]]", kRuleConclusion, 2);
  o.Close(1, 3);
  o.Close(2, 4);
  EXPECT_EQ(ReadProofBytes(WriteProofBytes("", o.d), caption, d), "line 2: subproofs overlap");
}

// ---------------------------------------------------------------- on disk

TEST_F(FilesTest, SaveAndOpenRestoreTheProof) {
  ProofBuilder b = SampleProof();
  Load(b, "Sums of naturals");
  S.Ui.ProofFileName = Path("sample.proof");
  S.Ui.ProofChanged = true;
  SaveProofFile(S);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_FALSE(S.Ui.ProofChanged);
  EXPECT_EQ(host.windowTitle, " Sums of naturals  -  " + Path("sample.proof"));
  EXPECT_TRUE(host.messages.empty());

  AppState T;
  FakeHost host2;
  MemRichBox view2, status2, work2;
  T.host = &host2;
  T.View = &view2;
  T.StatusLine = &status2;
  T.WorkArea = &work2;
  T.Ui.SettingsPath = S.Ui.SettingsPath;
  T.Doc.RuleMode = kRuleJoin;
  T.Doc.InsertMode = true;
  T.Doc.InsertLine = 3;
  T.Ui.ProofChanged = true;
  T.Undo.Valid = true;
  T.Ui.ProofFileName = Path("sample.proof");
  OpenProof(T);
  EXPECT_FALSE(T.Undo.Valid);
  EXPECT_FALSE(T.Ui.DialogCancelled);
  EXPECT_EQ(T.Ui.ProofCaption, "Sums of naturals");
  EXPECT_EQ(T.Doc.ProofText, b.d.ProofText);
  ASSERT_EQ(T.Doc.StmtCount, b.d.StmtCount);
  for (int k = 1; k <= b.d.StmtCount; ++k) EXPECT_EQ(T.Doc.Stmts[k], b.d.Stmts[k]) << "line " << k;
  EXPECT_EQ(T.Doc.IntroLen, b.d.IntroLen);
  EXPECT_EQ(T.Doc.RuleMode, 0);
  EXPECT_FALSE(T.Doc.InsertMode);
  EXPECT_FALSE(T.Ui.ProofChanged);
  EXPECT_FALSE(host2.ControlEnabled("optUndo"));
  EXPECT_FALSE(host2.ControlEnabled("cmdRedo"));
  EXPECT_EQ(host2.windowTitle, " Sums of naturals  -  " + Path("sample.proof"));
  EXPECT_EQ(host2.ControlCaption("optFile1"), Path("sample.proof"));
}

TEST_F(FilesTest, RefusedFileLeavesTheOpenProofAlone) {
  ProofBuilder b = SampleProof();
  Load(b, "mine");
  host.windowTitle = "before";
  S.Doc.RuleMode = kRuleSplit;
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  S.Ui.ProofChanged = true;
  WriteBytes("foreign.proof", "PK\x03\x04 not a proof at all");
  const std::string truncated = WriteProofBytes("other", SampleProof().d);
  WriteBytes("cut.proof", truncated.substr(0, truncated.size() / 2));
  // Damage no writer leaves, each of the same length as the good text so that
  // every position still fits: a lone LF in line 2's formula (it still
  // parses), a lone CR in the caption, a formula that does not parse.
  auto damaged = [&](const std::string& from, const std::string& to) {
    std::string f = HandMadeFile();
    f.replace(f.find(from), from.size(), to);
    return f;
  };
  WriteBytes("lone-lf.proof", damaged("P(x) | Q", "P(x)\n| Q"));
  WriteBytes("lone-cr.proof", damaged("Demo", "De\rm"));
  WriteBytes("unparsable.proof", damaged("P(x) | Q", "P(x) | ("));
  // The E Spec line's witness and variable lists emptied by hand.
  ProofBuilder hidden = WitnessProof();
  hidden.d.Stmts[2].NewVar = hidden.d.Stmts[2].FreeVars = hidden.d.Stmts[2].ScopedVars = "";
  WriteBytes("hidden-witness.proof", WriteProofBytes("", hidden.d));

  for (const char* name : {"foreign.proof", "cut.proof", "missing.proof", "lone-lf.proof",
                           "lone-cr.proof", "unparsable.proof", "hidden-witness.proof"}) {
    S.Ui.DialogCancelled = false;
    S.Ui.ProofFileName = Path(name);
    const int beeps = host.beeps;
    OpenProof(S);
    EXPECT_TRUE(S.Ui.DialogCancelled) << name;
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(StatusText(S), "Open: Unable to open proof file");
    EXPECT_EQ(S.Doc.ProofText, b.d.ProofText);
    EXPECT_EQ(S.Doc.StmtCount, b.d.StmtCount);
    EXPECT_EQ(S.Ui.ProofCaption, "mine");
    EXPECT_EQ(host.windowTitle, "before");
    EXPECT_TRUE(S.Ui.ProofChanged);
  }
  // The pending rule and insert mode end even though the file was refused.
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_FALSE(S.Doc.InsertMode);
  EXPECT_EQ(S.Doc.InsertLine, 0);
  EXPECT_EQ(host.ControlCaption("InsertLineLabel"), "");
}

// Bytes this process has read so far, by any read call.
long long BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long long value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return -1;
}

// Two files of 200 MB with nothing after their first bytes: a valid empty
// proof (the rest is an old tail, ignored), and one whose caption claims
// 2 GB; and one larger than the longest caption a file may hold, whose
// caption claims one character more. The first opens, the others are
// refused with the open proof as it was, and none costs more than a small
// read.
TEST_F(FilesTest, OpeningReadsOnlyWhatTheRecordsNeed) {
  const off_t kHuge = off_t(200) << 20;
  auto huge = [&](const std::string& name, const std::string& head) {
    WriteBytes(name, head);
    ASSERT_EQ(::truncate(Path(name).c_str(), kHuge), 0);
  };
  huge("empty.proof", WriteProofBytes("", DocState{}));
  huge("claims.proof", "Quorvane 1" + I16(0) + I16(0xFFFF) + I32(0x7FFFFFFF));
  // A caption longer than any text a file holds, in a file that holds it.
  const std::string longCaption =
      "Quorvane 1" + I16(0) + I16(0xFFFF) + I32(static_cast<int32_t>(kMaxFileText + 1));
  WriteBytes("long-caption.proof", longCaption);
  ASSERT_EQ(::truncate(Path("long-caption.proof").c_str(),
                       static_cast<off_t>(longCaption.size() + kMaxFileText + 64)), 0);
  ASSERT_GE(BytesRead(), 0);

  S.Ui.ProofFileName = Path("empty.proof");
  long long before = BytesRead();
  OpenProof(S);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Ui.ProofFileName, Path("empty.proof"));
  EXPECT_LT(BytesRead() - before, 1 << 20);

  Load(SampleProof(), "mine");
  for (const char* name : {"claims.proof", "long-caption.proof"}) {
    S.Ui.DialogCancelled = false;
    S.Ui.ProofFileName = Path(name);
    before = BytesRead();
    OpenProof(S);
    EXPECT_TRUE(S.Ui.DialogCancelled) << name;
    EXPECT_EQ(StatusText(S), "Open: Unable to open proof file") << name;
    EXPECT_LT(BytesRead() - before, 1 << 20) << name;
    // Compared whole, not printed: a caption read in error is huge.
    EXPECT_TRUE(S.Ui.ProofCaption == "mine") << name << ": a caption of " << S.Ui.ProofCaption.size();
    EXPECT_TRUE(S.Doc.ProofText == SampleProof().d.ProofText) << name;
  }
}

// Files that really hold what their texts claim: each claim is the longest
// proof text a file may hold (536 MB), and a hole of a sparse file holds it.
// Each is refused at once, in a child process whose time and peak memory
// are measured, with the open proof as it was.
TEST_F(FilesTest, SparseFilesWhoseTextsClaim536MBAreRefusedAtOnceInLittleMemory) {
  const std::string claim = I16(0xFFFF) + I32(static_cast<int32_t>(kMaxFileText));
  // Rule, Arg1, Arg2 and an empty NewVar; Visible up to Highlight.
  const std::string lineHead = I16(kRuleAxiom) + I16(0) + I16(0) + Txt("");
  const std::string lineTail = I16(-1) + std::string(7 * 4 + 3 * 2, '\0');
  // The pieces of a file, a hole of the claimed length between each two.
  const std::pair<const char*, std::vector<std::string>> files[] = {
      {"a line's three name lists and the proof text",
       {"Quorvane 1" + I16(1) + Txt("") + lineHead + claim, claim, claim, lineTail + claim, ""}},
      {"the caption and the proof text", {"Quorvane 1" + I16(0) + claim, claim, ""}},
      {"the caption alone", {"Quorvane 1" + I16(0) + claim, Txt("")}},
  };
  Load(SampleProof(), "mine");
  host.windowTitle = "before";
  for (const auto& [what, pieces] : files) {
    S.Ui.ProofFileName = Path("claims.proof");
    const int fd = ::open(S.Ui.ProofFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    off_t at = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
      if (i > 0) at += static_cast<off_t>(kMaxFileText);
      ASSERT_EQ(::pwrite(fd, pieces[i].data(), pieces[i].size(), at), static_cast<ssize_t>(pieces[i].size()));
      at += static_cast<off_t>(pieces[i].size());
    }
    ASSERT_EQ(::ftruncate(fd, at), 0);
    ::close(fd);

    int answer[2];
    ASSERT_EQ(::pipe(answer), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      struct rusage before{}, after{};
      ::getrusage(RUSAGE_SELF, &before);
      const auto start = std::chrono::steady_clock::now();
      OpenProof(S);
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      ::getrusage(RUSAGE_SELF, &after);
      const bool untouched = S.Ui.DialogCancelled && StatusText(S) == "Open: Unable to open proof file" &&
                             S.Ui.ProofCaption == "mine" && S.Doc.ProofText == SampleProof().d.ProofText &&
                             S.Doc.StmtCount == SampleProof().d.StmtCount && host.windowTitle == "before";
      char out[64];
      const int n = std::snprintf(out, sizeof out, "%d %.3f %ld", untouched ? 1 : 0, seconds,
                                  (after.ru_maxrss - before.ru_maxrss) / 1024);
      [[maybe_unused]] const ssize_t w = ::write(answer[1], out, static_cast<size_t>(n));
      ::_exit(0);
    }
    ::close(answer[1]);
    // A child still busy after 20 seconds has failed; it is ended.
    pollfd wait{answer[0], POLLIN, 0};
    char in[64] = {};
    const bool answered = ::poll(&wait, 1, 20000) == 1 && ::read(answer[0], in, sizeof in - 1) > 0;
    if (!answered) ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(answer[0]);
    ASSERT_TRUE(answered) << what << ": still busy after 20 s";
    int untouched = 0;
    double seconds = 0;
    long peakMb = 0;
    ASSERT_EQ(std::sscanf(in, "%d %lf %ld", &untouched, &seconds, &peakMb), 3) << in;
    EXPECT_EQ(untouched, 1) << what << ": not refused, or the open proof changed";
    EXPECT_LT(seconds, 1.0) << what;
    EXPECT_LT(peakMb, 200) << what;
  }
}

// A FIFO where a proof file is looked for is never opened, neither to read
// it nor to save over it: a program waiting to write into it keeps waiting,
// where an open would let it write and what it wrote would be lost.
TEST_F(FilesTest, AFifoIsNeverOpenedSoAWriterWaitingOnItKeepsWaiting) {
  const std::string fifo = Path("pipe.proof");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  std::fflush(nullptr);
  const pid_t writer = ::fork();
  if (writer == 0) {
    ::close(ready[0]);
    const bool told = ::write(ready[1], "r", 1) == 1;
    const int fd = ::open(fifo.c_str(), O_WRONLY);  // waits for a reader
    if (fd >= 0 && told) static_cast<void>(::write(fd, "lost", 4));
    ::_exit(0);
  }
  ::close(ready[1]);
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ::close(ready[0]);
  auto stillWaiting = [writer] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    return ::waitpid(writer, nullptr, WNOHANG) == 0;
  };
  ASSERT_TRUE(stillWaiting());

  Load(SampleProof(), "mine");
  S.Ui.ProofFileName = fifo;
  OpenProof(S);
  EXPECT_TRUE(S.Ui.DialogCancelled);
  EXPECT_TRUE(stillWaiting()) << "the FIFO was opened to be read";
  EXPECT_FALSE(SaveProof(S));
  EXPECT_TRUE(stillWaiting()) << "the FIFO was opened to be saved over";
  ::kill(writer, SIGKILL);
  ::waitpid(writer, nullptr, 0);
}

TEST_F(FilesTest, ShorterProofSavedOverALongerFileOpensShort) {
  Load(SampleProof());
  S.Ui.ProofFileName = Path("p.proof");
  ASSERT_TRUE(SaveProof(S));
  ProofBuilder small;
  small.Add("Q", kRuleAxiom);
  Load(small);
  ASSERT_TRUE(SaveProof(S));
  S.Doc = DocState{};
  OpenProof(S);
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(S.Doc.ProofText, small.d.ProofText);
}

TEST_F(FilesTest, SaveShowsPleaseWaitThenRestoresTheStatusLine) {
  Load(SampleProof());
  ShowStatus(S, "Join:  Click a statement");
  S.Ui.ProofFileName = Path("p.proof");
  ASSERT_TRUE(SaveProof(S));
  EXPECT_EQ(StatusText(S), "Join:  Click a statement");
  EXPECT_FALSE(host.waitCursor);
  EXPECT_GE(host.waitCursorChanges, 2);
}

TEST_F(FilesTest, FailedSaveKeepsThePreviousFileAndTheProofUnsaved) {
  Load(SampleProof(), "caption");
  S.Ui.ProofFileName = Path("keep.proof");
  WriteBytes("keep.proof", "previous contents");
  S.Ui.ProofChanged = true;
  host.windowTitle = "title";

  // Writes past 64 bytes fail: the new file cannot be written whole.
  signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit tiny = old;
  tiny.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &tiny);
  SaveProofFile(S);
  setrlimit(RLIMIT_FSIZE, &old);

  EXPECT_EQ(Bytes("keep.proof"), "previous contents");
  EXPECT_TRUE(S.Ui.DialogCancelled);
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_EQ(host.windowTitle, "title");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Unable to save file");
  EXPECT_EQ(host.messages[0].title, "WARNING");
  // No temporary file is left behind.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().extension() != ".bin") ++files;
  EXPECT_EQ(files, 1);

  S.Ui.DialogCancelled = false;
  S.Ui.ProofFileName = Path("no such folder/x.proof");
  EXPECT_FALSE(SaveProof(S));
  EXPECT_TRUE(S.Ui.DialogCancelled);
}

TEST(ProofPath, ReplacesTheFileNamesExtensionOnly) {
  EXPECT_EQ(ProofPathFor("/a/b.txt"), "/a/b.proof");
  EXPECT_EQ(ProofPathFor("/a/b.proof"), "/a/b.proof");
  EXPECT_EQ(ProofPathFor("/a/b.c.d"), "/a/b.c.proof");
  EXPECT_EQ(ProofPathFor("/a.d/b"), "/a.d/b.proof");
  EXPECT_EQ(ProofPathFor("b"), "b.proof");
}

}  // namespace
}  // namespace qv
