// The HTML page and its export command, and Find / Repeat Find, over
// in-memory boxes and a scripted host.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "document/doc_fixture.h"
#include "files/fileio.h"
#include "platform/commands.h"
#include "mainwindow/find.h"
#include "mainwindow/htmlexport.h"
#include "view/view.h"
#include "mainwindow/maincommands.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class HtmlFindTest : public DocTest {
 protected:
  HtmlFindTest() {
    dir = fs::temp_directory_path() / ("qv-htmlfind-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    F.Hide = [this] { ++hides; };
  }
  ~HtmlFindTest() override { fs::remove_all(dir); }

  // Introduction "Intro Zed"; 1, 2 Axioms; 3 Premise "Q" with 4 inside its
  // sub-proof, closed by the Conclusion 5; 6 hidden; comment "Define: x" on 2.
  void BuildProof() {
    PutAxioms(2);
    Put("Q", kRulePremise);
    Put("Q & P1", kRuleJoin, 3, 1);
    Close(3, "Q => Q & P1");
    Put("P2 & P1", kRuleJoin, 2, 1);
    AddComment(2, "Define: x");
    DocState& d = S.Doc;
    const std::string intro = "Intro Zed\r\n\r\n";
    d.ProofText.insert(0, intro);
    for (int k = 1; k <= d.StmtCount; ++k)
      ShiftStmtPositions(d.Stmts[k], static_cast<int32_t>(intro.size()));
    d.Stmts[6].Visible = false;
    RecomputeIntroLen(d);
    RecomputeViewPositions(d);
    ResetFonts(S);
    Check();
  }

  // The view position of the last occurrence of What in line k's formula.
  int32_t ViewPosIn(int k, const std::string& What) const {
    const StmtRec& s = Line(k);
    return s.StartStmt + static_cast<int32_t>(Formula(k).rfind(What)) - s.StartLine +
           s.ViewerStartLine - 1;
  }

  void Type(FindForm& form, const std::string& text) {
    for (char c : text)
      if (form.KeyPress(c)) search.SetSelText(std::string(1, c));
  }

  std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  fs::path dir;
  MemRichBox search;
  FindState F;
  int hides = 0;
};

const std::string kHead = "<html><head><title>Untitled</title></head><body><pre>";
const std::string kEnd = "</pre></body></html>";
const std::string kBlue = "<font size=\"3\" face=\"Courier New\" color=\"#000096\">";
const std::string kGrey = "<font size=\"3\" face=\"Courier New\" color=\"#808080\">";

TEST_F(HtmlFindTest, PageOfAnEmptyProofIsHeadAndEnd) {
  EXPECT_EQ(HtmlPage(S), kHead + kEnd);
}

TEST_F(HtmlFindTest, PageEscapesMarkupAndShowsElementOf) {
  Put("x@s & y@s", kRuleAxiom);
  AddComment(1, "a<b > c");
  S.Ui.ProofCaption = "A<B & \xe9";
  const std::string page = HtmlPage(S);
  EXPECT_EQ(page.rfind("<html><head><title>A&lt;B &amp; &#233;</title>", 0), 0u) << page;
  EXPECT_NE(page.find("<b>A&lt;B &amp; &#233;</b></font>\r\n\r\n"), std::string::npos);
  // The comment in blue, then the statement in black, then the rule in grey.
  EXPECT_NE(page.find(kBlue + "a&lt;b &gt; c</font>"), std::string::npos) << page;
  EXPECT_NE(page.find("x &#949; s &amp; y &#949; s</font>"), std::string::npos) << page;
  EXPECT_EQ(page.find('@'), std::string::npos);
  EXPECT_EQ(page.find("\xe9"), std::string::npos);
  EXPECT_EQ(page.substr(page.size() - kEnd.size()), kEnd);
  EXPECT_EQ(InsertGifs("&lt;"), "&amp;lt;");
}

TEST_F(HtmlFindTest, PageHoldsEveryStatementAndDropsTheConclusionTag) {
  BuildProof();
  const std::string page = HtmlPage(S);
  EXPECT_NE(page.find(kBlue + "Intro Zed\r\n\r\n</font>"), std::string::npos);
  // The hidden line is on the page too.
  EXPECT_NE(page.find("P2 &amp; P1</font>"), std::string::npos);
  // Rule pieces: CR LF CR LF after an ordinary rule, CR LF CR after the
  // Conclusion, whose "4 " tag is left out.
  const std::string conclusion = kGrey + "\r\n\tConclusion, 3\r\n\r</font>";
  EXPECT_NE(page.find(conclusion), std::string::npos) << page;
  EXPECT_NE(page.find("Join, 3, 1\r\n\r\n</font>"), std::string::npos);
  EXPECT_EQ(page.find("4 Conclusion"), std::string::npos);
  EXPECT_EQ(page.find(kBlue + "Define: x\r\n\r\n</font>"), std::string::npos);
  EXPECT_NE(page.find(kBlue + "Define: x</font>"), std::string::npos);
}

TEST_F(HtmlFindTest, ExportWritesThePageAndProposesAnHtmlName) {
  Put("P", kRuleAxiom);
  ShowStatus(S, "kept");
  S.Ui.ProofChanged = false;
  const fs::path target = dir / "a.b" / "proof.html";
  fs::create_directories(target.parent_path());
  MainWindowOf(S).DialogFileName = (dir / "a.b" / "proof.proof").string();
  host.fileAnswers.push_back(target.string());
  optHTML_Click(S);
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_EQ(host.fileDialogs[0].request.fileName, target.string());
  EXPECT_EQ(host.fileDialogs[0].request.filter, "HTML (*.html)|*.html");
  EXPECT_EQ(ReadFile(target), HtmlPage(S) + "\r\n");
  EXPECT_EQ(StatusText(S), "kept");
  EXPECT_FALSE(S.Ui.ProofChanged);
  EXPECT_FALSE(host.waitCursor);
  // A dot in a folder name is no extension; a bare name gets ".html".
  EXPECT_EQ(HtmlPathFor("/x.y/name"), "/x.y/name.html");
  EXPECT_EQ(HtmlPathFor("name"), "name.html");
}

TEST_F(HtmlFindTest, ExportCancelledOrFailedLeavesFilesAlone) {
  ShowStatus(S, "kept");
  optHTML_Click(S);  // no answer: cancelled
  EXPECT_TRUE(S.Ui.DialogCancelled);
  EXPECT_EQ(StatusText(S), "");
  EXPECT_TRUE(host.messages.empty());

  const fs::path target = dir / "old.html";
  { std::ofstream(target) << "old"; }
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  host.fileAnswers.push_back(target.string());
  optHTML_Click(S);
  fs::permissions(dir, fs::perms::owner_all);
  if (::geteuid() != 0) {
    ASSERT_EQ(host.MessageTexts(), std::vector<std::string>{"Unable to save HTML file"});
    EXPECT_EQ(host.LastMessage()->title, "WARNING");
    EXPECT_EQ(ReadFile(target), "old");
  }
  EXPECT_FALSE(host.waitCursor);
}

TEST_F(HtmlFindTest, FindReportsWhyNothingWasShown) {
  BuildProof();
  FindForm form(S, F, search);
  form.Find();
  EXPECT_EQ(form.StatusLine, "No string specified");
  search.SetText("Zed");  // only in the Introduction
  form.Find();
  EXPECT_EQ(form.StatusLine, "String not found in any visible statement");
  search.SetText("P2 & P1");  // only in the hidden line
  F.ActiveOnly = true;
  form.Find();
  EXPECT_EQ(form.StatusLine, "String not found in any active or visible statement");
  search.SetText("define:");  // case matters
  form.Find();
  EXPECT_EQ(form.StatusLine, "String not found in any statement");
  EXPECT_EQ(host.beeps, 4);
  EXPECT_EQ(hides, 0);
  EXPECT_EQ(view.SelLength(), 0);

  form.ChooseHeading(FindHeading::Define);
  EXPECT_EQ(search.Text(), "Define:");
  form.Find();
  EXPECT_EQ(view.SelText(), "Define:");
  EXPECT_EQ(hides, 1);
}

TEST_F(HtmlFindTest, ActiveOnlySkipsClosedSubproofsButNotTheirConclusion) {
  BuildProof();
  FindForm form(S, F, search);
  F.ActiveOnly = true;
  search.SetText("Q");
  form.Find();
  EXPECT_EQ(view.SelStart(), ViewPosIn(5, "Q => ") + 0) << form.StatusLine;
  EXPECT_EQ(view.SelText(), "Q");
  F.ActiveOnly = false;
  form.Find();
  EXPECT_EQ(view.SelStart(), ViewPosIn(3, "Q"));
}

TEST_F(HtmlFindTest, BackwardFindAndRepeatWalkToTheTopThenBeep) {
  BuildProof();
  optRepeatFind_Click(S, F);  // before any Find
  EXPECT_EQ(host.beeps, 1);
  FindForm form(S, F, search);
  F.Forward = false;
  search.SetText("P1");
  form.Find();  // from the end: the hidden line 6 is passed over
  EXPECT_EQ(view.SelStart(), ViewPosIn(5, "P1"));
  optRepeatFind_Click(S, F);
  EXPECT_EQ(view.SelStart(), ViewPosIn(4, "P1"));
  optRepeatFind_Click(S, F);
  EXPECT_EQ(view.SelStart(), ViewPosIn(1, "P1"));
  EXPECT_EQ(hides, 3);
  optRepeatFind_Click(S, F);
  EXPECT_EQ(host.beeps, 2);
  EXPECT_EQ(view.SelStart(), ViewPosIn(1, "P1"));
  EXPECT_EQ(view.SelText(), "P1");
}

TEST_F(HtmlFindTest, SearchBoxKeysAndActivation) {
  Put("x@s & y@s", kRuleAxiom);
  FindForm form(S, F, search);
  // Opening takes the view's selection, element-of glyph included.
  view.SetSelStart(ViewPosIn(1, "y @ s"));
  view.SetSelLength(5);
  form.Activate();
  EXPECT_EQ(ConvertEpsilon(search), "y @ s");
  // Ctrl alone is discarded; Enter searches; "@" types the glyph.
  EXPECT_TRUE(form.KeyDown(true, false, false));
  EXPECT_FALSE(form.KeyDown(true, true, false));
  search.SetText("");
  Type(form, "x @");
  EXPECT_EQ(search.Text(), "x e");
  search.SetSelStart(2);
  search.SetSelLength(1);
  EXPECT_EQ(search.SelFontName(), kSymbolFont);
  search.SetSelStart(3);
  EXPECT_FALSE(form.KeyPress(13));
  EXPECT_EQ(view.SelStart(), ViewPosIn(1, "x @ s"));
  EXPECT_EQ(view.SelText(), "x e");
  // Typing "@" over a selection replaces it with the glyph alone.
  search.SetText("abc");
  search.SetSelStart(1);
  search.SetSelLength(2);
  form.KeyPress('@');
  EXPECT_EQ(search.Text(), "ae");
  EXPECT_EQ(search.SelStart(), 2);
}

TEST_F(HtmlFindTest, CommandsAreRegisteredAndFindBeepsWithoutAWindow) {
  CommandRegistry commands;
  RegisterHtmlCommands(S, commands);
  RegisterFindCommands(S, commands, nullptr);
  for (const char* name : {"optHTML", "optFind", "optRepeatFind"}) EXPECT_TRUE(commands.Has(name));
  commands.Run("optFind");
  commands.Run("optRepeatFind");
  EXPECT_EQ(host.beeps, 2);
}

}  // namespace
}  // namespace qv
