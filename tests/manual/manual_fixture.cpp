#include "manual/manual_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <tuple>
#include <fstream>
#include <sstream>

#include "axioms/install.h"
#include "document/document.h"
#include "entry/comment.h"
#include "entry/testparser.h"
#include "entry/warning.h"
#include "mainwindow/dispatch.h"
#include "mainwindow/helpcopyprint.h"
#include "mainwindow/rulecommands.h"
#include "mainwindow/viewcommands.h"
#include "platform/qt/qtrichbox.h"
#include "rules/egen.h"
#include "rules/inputbox.h"
#include "rules/substitute.h"

namespace qv {

namespace {

// Program output (examples, messages) and what the user types.
const char* const kOpen[] = {"<pre class=\"example\" id=\"", "<span class=\"msg\" id=\"",
                             "<code class=\"typed\" id=\""};
const char* const kClose[] = {"</pre>", "</span>", "</code>"};

std::string PagePath(const std::string& name) { return std::string(QV_HELP_DIR) + "/" + name; }

std::string Decode(const std::string& html) {
  static const std::pair<std::string, std::string> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
  std::string out;
  for (size_t i = 0; i < html.size();) {
    bool done = false;
    for (const auto& [from, to] : entities)
      if (html.compare(i, from.size(), from) == 0) {
        out += to;
        i += from.size();
        done = true;
        break;
      }
    if (!done) out += html[i++];
  }
  return out;
}

std::string Encode(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

// A box's text as the screen shows it (the element-of sign, the arrows),
// in UTF-8 as the pages hold it, with LF line breaks.
std::string Shown(const MemRichBox& box, int32_t from = 0) {
  const std::string text = box.Text();
  QString out;
  for (int32_t i = from; i < static_cast<int32_t>(text.size()); ++i)
    if (text[i] != '\r') out += QtRichBox::DisplayChar(text[i], box.FormatAt(i).font);
  return out.toStdString();
}
std::string Shown(const std::string& latin1) {
  std::string out;
  for (char c : latin1)
    if (c != '\r') out += QString(QChar::fromLatin1(c)).toStdString();
  return out;
}

// Calls f(id, start, end) for the inner text of every marked block.
template <class F>
void ForEachMarked(const std::string& html, F f) {
  for (int kind = 0; kind < 3; ++kind) {
    for (size_t at = html.find(kOpen[kind]); at != std::string::npos; at = html.find(kOpen[kind], at + 1)) {
      const size_t idStart = at + std::string(kOpen[kind]).size();
      const size_t idEnd = html.find('"', idStart);
      const size_t inner = html.find('>', idEnd) + 1;
      const size_t end = html.find(kClose[kind], inner);
      if (idEnd == std::string::npos || end == std::string::npos) return;
      f(html.substr(idStart, idEnd - idStart), inner, end);
    }
  }
}

}  // namespace

ManualPage ReadManualPage(const std::string& name) {
  ManualPage p;
  p.file = PagePath(name);
  std::ifstream in(p.file, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  p.html = all.str();
  ForEachMarked(p.html, [&p](const std::string& id, size_t from, size_t to) {
    p.marked[id] = Decode(p.html.substr(from, to - from));
  });
  return p;
}

ManualTest::ManualTest() {
  S.Attach(&host, &view, &status, &work);
  // The program's folder (settings, recent files) and the saved proofs go
  // to a scratch folder of the test's own.
  static int serial = 0;
  dir = std::filesystem::temp_directory_path() /
        ("qv-manual-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  S.Ui.AppPath = dir.string();
  S.Ui.SettingsPath = dir.string();
  RegisterMainCommands(S, W, commands);
  RegisterRuleCommands(S, commands);
  RegisterViewCommands(S, commands);
  RegisterHelpCommands(S, commands);
  InstallAxiomCommands(S, commands, nullptr);

  host.OnModal("TestParser", [this] {
    TestParser entry(S, entryBox);
    bool open = true;
    entry.OnHide = [&open] { open = false; };
    entry.Activate();
    entryCaption = entry.Caption;
    std::vector<std::string> texts;
    if (!typed_.empty()) {
      texts = typed_.front();
      typed_.pop_front();
    }
    for (const std::string& t : texts) {
      entryBox.SetText(t);
      entry.Continue();
      if (!open) return;
      entryMessage = entry.StatusLine;
    }
    entry.Cancel();
  });
  host.OnModal(kInputBoxForm, [this] {
    MyInputBox_Activate(S);
    boxCaption = InputBoxOf(S).Caption;
    std::vector<std::string> texts;
    if (!answered_.empty()) {
      texts = answered_.front();
      answered_.pop_front();
    }
    for (const std::string& t : texts) {
      InputBoxOf(S).Text1 = t;
      if (MyInputBox_Continue(S).Hide) return;
      boxMessage = InputBoxOf(S).Label2;
    }
    MyInputBox_Cancel(S);
  });
}

ManualTest::~ManualTest() { std::filesystem::remove_all(dir); }

void ManualTest::Page(const std::string& name) { page_ = ReadManualPage(name); }

void ManualTest::Run(const std::string& command) { ASSERT_TRUE(commands.Run(command)) << command; }

void ManualTest::Fresh() {
  S.Ui.ProofChanged = false;
  Run("optNew");
}

void ManualTest::Premise(const std::string& text) {
  WillType({text});
  Run("optPremise");
}

void ManualTest::Axiom(const std::string& text) {
  WillType({text});
  Run("optAxiom");
}

void ManualTest::Click(int k, int offset) {
  const StmtRec& s = S.Doc.Stmts[k];
  view.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1 + offset);
  view.SetSelLength(0);
  RTB_Click(S);
}

void ManualTest::ClickOn(int k, const std::string& text, int n, bool inRule) {
  const StmtRec& s = S.Doc.Stmts[k];
  const std::string f = inRule ? S.Doc.ProofText.substr(s.StartRule - 1, s.EndRule - s.StartRule + 1)
                               : StmtFormula(S.Doc, k);
  size_t at = std::string::npos;
  for (int i = 0; i < n; ++i) at = f.find(text, at == std::string::npos ? 0 : at + 1);
  ASSERT_NE(at, std::string::npos) << text << " in line " << k;
  Click(k, static_cast<int>(at) + (inRule ? s.StartRule - s.StartStmt : 0));
}

void ManualTest::ClickNumber(int k) {
  const StmtRec& s = S.Doc.Stmts[k];
  const NumberArea area = LineNumberArea(s);
  view.SetSelStart(area.Number + area.ToView - 1);
  view.SetSelLength(0);
  RTB_Click(S);
}

void ManualTest::DoubleClickNumber(int k) {
  ClickNumber(k);
  RTB_MouseUp(S, false);
  RTB_DblClick(S);
  RTB_MouseUp(S, false);
}

void ManualTest::WillType(std::vector<std::string> texts) { typed_.push_back(std::move(texts)); }
void ManualTest::WillAnswer(std::vector<std::string> texts) { answered_.push_back(std::move(texts)); }

void ManualTest::WillGeneralize(const std::string& var, std::vector<std::pair<std::string, int>> clicks) {
  host.OnModal(kGeneralizeForm, [this, var, clicks] {
    Generalize g(S, dialogBox);
    g.Form_Activate();
    g.BoundVarText = var;
    g.BoundVarTextBox_Change();
    if (clicks.empty()) g.cmdSelectAll_Click();
    for (const auto& [text, n] : clicks) {
      size_t at = std::string::npos;
      for (int i = 0; i < n; ++i) at = dialogBox.Text().find(text, at == std::string::npos ? 0 : at + 1);
      dialogBox.SetSelStart(static_cast<int32_t>(at));
      dialogBox.SetSelLength(0);
      g.RTB_Click();
    }
    g.cmdContinue_Click();
  });
}

void ManualTest::WillSubstituteAll() {
  host.OnModal(kSubstitutionForm, [this] {
    Substitution_Activate(S, dialogBox);
    Substitution_SelectAll(S, dialogBox);
    if (!Substitution_Continue(S, dialogBox)) Substitution_Cancel(S);
  });
}

void ManualTest::WillConfirmDelete(bool yes) {
  host.OnModal("Warning", [this, yes] {
    WarningBox w(S);
    w.Activate();
    if (yes) w.Continue();
    else w.Cancel();
  });
}

void ManualTest::WillComment(const std::string& text) {
  host.OnModal("Comment", [this, text] {
    CommentEditor c(S, commentBox);
    c.Activate();
    commentBox.SetText(text);
    c.Continue();
  });
}

void ManualTest::Shows(const std::string& id, int fromLine) {
  Compare(id, Shown(view, fromLine > 0 ? S.Doc.Stmts[fromLine].ViewerStartLine - 1 : 0));
}
void ManualTest::Says(const std::string& id) { Compare(id, Shown(status)); }
void ManualTest::EntrySays(const std::string& id) { Compare(id, Shown(entryMessage)); }
void ManualTest::BoxSays(const std::string& id) { Compare(id, Shown(boxMessage)); }
void ManualTest::BoxCaption(const std::string& id) { Compare(id, Shown(boxCaption)); }
void ManualTest::MessageSays(const std::string& id) {
  Compare(id, Shown(host.LastMessage() ? host.LastMessage()->text : std::string()));
}
std::string ManualTest::Typed(const std::string& id) {
  compared_.insert(id);
  auto it = page_.marked.find(id);
  EXPECT_NE(it, page_.marked.end()) << page_.file << " has no typed text \"" << id << "\"";
  return it == page_.marked.end() ? std::string() : it->second;
}

void ManualTest::Is(const std::string& id, const std::string& actual) { Compare(id, Shown(actual)); }

void ManualTest::Compare(const std::string& id, std::string actual) {
  // A proof ends in a blank line the page need not show.
  while (!actual.empty() && actual.back() == '\n') actual.pop_back();
  compared_.insert(id);
  if (std::getenv("QV_MANUAL_WRITE")) {
    written_[id] = actual;
    return;
  }
  auto it = page_.marked.find(id);
  ASSERT_NE(it, page_.marked.end()) << page_.file << " has no example \"" << id << "\"";
  std::string expected = it->second;
  while (!expected.empty() && expected.back() == '\n') expected.pop_back();
  while (!expected.empty() && expected.front() == '\n') expected.erase(0, 1);
  EXPECT_EQ(actual, expected) << "example \"" << id << "\" of " << page_.file
                              << " differs from what the program does";
}

void ManualTest::TearDown() {
  if (page_.file.empty()) return;
  for (const auto& [id, text] : page_.marked)
    EXPECT_TRUE(compared_.count(id)) << "example \"" << id << "\" of " << page_.file << " is never replayed";
  if (!std::getenv("QV_MANUAL_WRITE") || written_.empty()) return;
  // Writes the program's texts into the page's marked blocks.
  std::string html = page_.html, out;
  size_t copied = 0;
  std::vector<std::tuple<size_t, size_t, std::string>> spans;
  ForEachMarked(html, [&](const std::string& id, size_t from, size_t to) {
    auto it = written_.find(id);
    if (it != written_.end()) spans.emplace_back(from, to, it->second);
  });
  std::sort(spans.begin(), spans.end());
  for (const auto& [from, to, text] : spans) {
    out += html.substr(copied, from - copied) + Encode(text);
    copied = to;
  }
  out += html.substr(copied);
  std::ofstream(page_.file, std::ios::binary) << out;
}

}  // namespace qv
